#include "system/addin/dsrOutlookToWord.h"

#include <optional>
#include <string>

#include "system/addin/Placeholder.h"
#include "system/addin/modAddin.h"
#include "system/common/HostBarrier.h"
#include "system/common/ReportWatch.h"
#include "system/common/clsMsg.h"
#include "system/common/clsOccation.h"
#include "system/common/modFunc.h"
#include "system/letter/modSendnote.h"

namespace sendnote {

using platform::As;
using platform::kTrue;
using platform::Must;

namespace {

constexpr int32_t kExtCmStartup = 1;
constexpr int32_t kExtDmUserClosed = 1;
constexpr int32_t kOlFolderDisplayNormal = 0;

// The Contacts folder of the application's MAPI namespace.
std::shared_ptr<platform::MAPIFolder> ContactsFolder(platform::OutlookApplication& app) {
  return Must(app.GetNamespace(u"MAPI")).GetDefaultFolder(platform::kOlFolderContacts);
}

// The explorer one event works in: an existing one, or a hidden one made on the Contacts
// folder. On every path out, a switched folder is switched back and a hidden explorer is
// closed, so that no undisplayed window outlives the event.
class WorkExplorer {
 public:
  // Uses `existing`, or makes a hidden explorer on `contacts` when it is empty.
  WorkExplorer(std::shared_ptr<platform::Explorer> existing, platform::MAPIFolder& contacts)
      : explorer_(std::move(existing)) {
    if (explorer_) return;
    explorer_ = contacts.GetExplorer(kOlFolderDisplayNormal);
    made_ = true;
  }
  WorkExplorer(const WorkExplorer&) = delete;
  WorkExplorer& operator=(const WorkExplorer&) = delete;
  // Only reached with work left after a failed step, which is the one reported.
  ~WorkExplorer() {
    try {
      RestoreFolder();
    } catch (...) {
    }
    try {
      End();
    } catch (...) {
    }
  }

  platform::Explorer& get() { return Must(explorer_); }
  // Shows `folder` until RestoreFolder, remembering the folder shown now.
  void SwitchFolder(const std::shared_ptr<platform::MAPIFolder>& folder) {
    auto& explorer = get();
    previous_ = explorer.CurrentFolder();
    explorer.SetCurrentFolder(folder);
    switched_ = true;
  }
  void RestoreFolder() {
    if (!switched_) return;
    switched_ = false;
    get().SetCurrentFolder(previous_);
  }
  // Restores the folder and closes a hidden explorer.
  void End() {
    RestoreFolder();
    if (!made_) return;
    made_ = false;
    get().Close();
  }

 private:
  std::shared_ptr<platform::Explorer> explorer_;
  std::shared_ptr<platform::MAPIFolder> previous_;
  bool made_ = false;
  bool switched_ = false;
};

}  // namespace

void dsrOutlookToWord::IDTExtensibility2_OnConnection(
    const std::shared_ptr<platform::Object>& application, int32_t connectMode,
    const std::shared_ptr<platform::AddInInstance>& addInInst) {
  clsMsg status;
  const bool done = RunHostEntryPoint(u"IDTExtensibility2_OnConnection", [&] {
    // A host that is not Outlook fails here, before anything is installed.
    outlook_app_ = As<platform::OutlookApplication>(application);
    static_data_ = std::make_shared<clsStatic>();
    auto& app = Must(outlook_app_);
    auto contacts = ContactsFolder(app);
    const std::u16string progId = Must(addInInst).ProgId();

    {
      auto explorers = app.Explorers();
      std::shared_ptr<platform::Explorer> active;
      if (Must(explorers).Count() > 0) {
        active = app.ActiveExplorer();
        Must(active);
      }
      WorkExplorer work(std::move(active), Must(contacts));
      // The explorer's menus follow the folder it shows: at start-up the button goes in
      // while it shows Contacts, and the user's folder comes back afterwards.
      if (connectMode == kExtCmStartup) work.SwitchFolder(contacts);
      auto button =
          InstallButton(work.get().CommandBars(), progId, ButtonTag, ButtonCaption, ExplorerMenuId);
      if (button) BindButton(std::move(button));
      work.RestoreFolder();

      const int32_t explorerCount = explorers->Count();
      for (int32_t i = 1; i <= explorerCount; ++i) {
        InstallButton(Must(explorers->Item(i)).CommandBars(), progId, ButtonTag, ButtonCaption,
                      ExplorerMenuId);
      }
      work.End();
    }

    auto inspectors = app.Inspectors();
    const int32_t inspectorCount = Must(inspectors).Count();
    for (int32_t i = 1; i <= inspectorCount; ++i) {
      // Held for the loop's body: over automation nothing else keeps the inspector alive.
      const auto inspector = inspectors->Item(i);
      if (IsContactItem(Must(inspector).CurrentItem()) != kTrue) continue;
      InstallButton(inspector->CommandBars(), progId, ButtonTag, ButtonCaption, InspectorMenuId);
    }
    if (inspectorCount == 0) {
      BorrowContactInspector(contacts, [&progId](const auto& commandBars) {
        InstallButton(commandBars, progId, ButtonTag, ButtonCaption, InspectorMenuId);
      });
    }
  });
  if (!done) status.SetCancel(kTrue);
}

void dsrOutlookToWord::IDTExtensibility2_OnDisconnection(int32_t removeMode) {
  static constexpr char16_t kProcedure[] = u"IDTExtensibility2_OnDisconnection";
  clsMsg status;
  RunHostEntryPoint(kProcedure, [&] {
    if (removeMode == kExtDmUserClosed) {
      const bool removed = RunHostEntryPoint(kProcedure, [&] {
        auto& app = Must(outlook_app_);
        auto contacts = ContactsFolder(app);
        {
          // Explorers keep the button in their saved menus; a hidden one reaches those.
          std::optional<WorkExplorer> work;
          auto explorers = app.Explorers();
          if (Must(explorers).Count() == 0) work.emplace(nullptr, Must(contacts));
          const int32_t explorerCount = explorers->Count();
          for (int32_t i = 1; i <= explorerCount; ++i) {
            RemoveButton(Must(explorers->Item(i)).CommandBars(), ButtonTag);
          }
          if (work) work->End();
        }

        auto inspectors = app.Inspectors();
        const int32_t inspectorCount = Must(inspectors).Count();
        for (int32_t i = 1; i <= inspectorCount; ++i) {
          const auto inspector = inspectors->Item(i);
          if (IsContactItem(Must(inspector).CurrentItem()) != kTrue) continue;
          RemoveButton(inspector->CommandBars(), ButtonTag);
        }
        if (inspectorCount == 0) {
          BorrowContactInspector(
              contacts, [](const auto& commandBars) { RemoveButton(commandBars, ButtonTag); });
        }
      });
      if (!removed) status.SetCancel(kTrue);
      // Removed by the user: no click may reach the add-in, and Outlook is let go, even when
      // a button could not be taken out.
      BindButton(nullptr);
      outlook_app_.reset();
    }
    static_data_.reset();
  });
}

void dsrOutlookToWord::IDTExtensibility2_OnStartupComplete() {
  RunHostEntryPoint(u"IDTExtensibility2_OnStartupComplete", [] {});
}

void dsrOutlookToWord::IDTExtensibility2_OnAddInsUpdate() {
  RunHostEntryPoint(u"IDTExtensibility2_OnAddInsUpdate", [] {});
}

void dsrOutlookToWord::IDTExtensibility2_OnBeginShutdown() {
  RunHostEntryPoint(u"IDTExtensibility2_OnBeginShutdown", [this] {
    BindButton(nullptr);
    outlook_app_.reset();
  });
}

void dsrOutlookToWord::cbbAddin_Click(const std::shared_ptr<platform::CommandBarButton>&,
                                      platform::Flag&) {
  std::shared_ptr<clsOccation> occasion;
  ClickOutcome outcome;
  ReportWatch reports;
  const bool done = RunHostEntryPoint(u"cbbAddin_Click", [&] {
    occasion = std::make_shared<clsOccation>();
    occasion->SetStaticData(static_data_);
    MainSendnote(outlook_app_, occasion);
    if (occasion->Msg()->Cancel() == kTrue) {
      outcome.message = occasion->Msg()->MsgText();
      if (auto window = platform::Must(outlook_app_).ActiveWindow()) window->Activate();
      ShowMsg(occasion->Msg()->MsgText());
    } else {
      static_data_ = occasion->StaticData();
      outcome.kind = ClickOutcome::Kind::kCompleted;
      outcome.document = occasion->Letter();
    }
  });
  if (!done && occasion) occasion->Msg()->SetCancel(kTrue);
  // Any report shown during the click makes it a failure, whatever came after it.
  if (!done || !reports.Reports().empty()) {
    outcome.kind = ClickOutcome::Kind::kFailed;
    outcome.message = reports.Reports().empty() ? u"" : reports.Reports().front();
    outcome.document.reset();
  }
  // The context ends here: its StaticData reference goes with it.
  occasion.reset();
  if (click_listener_) click_listener_(outcome);
}

void dsrOutlookToWord::BindButton(std::shared_ptr<platform::CommandBarButton> button) {
  cbb_addin_click_.Reset();
  cbb_addin_ = std::move(button);
  if (!cbb_addin_) return;
  cbb_addin_click_ =
      cbb_addin_->ConnectClick([this](const std::shared_ptr<platform::CommandBarButton>& ctrl,
                                      platform::Flag& cancel) { cbbAddin_Click(ctrl, cancel); });
}

}  // namespace sendnote
