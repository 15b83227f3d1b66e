#include "system/addin/dsrOutlookToWord.h"

#include <optional>
#include <string>

#include "platform/Runtime.h"
#include "system/addin/Placeholder.h"
#include "system/addin/modAddin.h"
#include "system/addin/modRibbon.h"
#include "system/common/HostBarrier.h"
#include "system/common/ReportError.h"
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

// Subscribes to a window event. An Outlook that offers no such event leaves windows opened
// later without the button until its next start: no reason to refuse the connection.
template <class Subscribe>
void SubscribeQuietly(platform::EventConnection& connection, Subscribe&& subscribe) {
  try {
    connection = subscribe();
  } catch (const platform::ComError&) {
    connection.Reset();
  }
}

}  // namespace

void dsrOutlookToWord::IDTExtensibility2_OnConnection(
    const std::shared_ptr<platform::Object>& application, int32_t connectMode,
    const std::shared_ptr<platform::AddInInstance>& addInInst) {
  static constexpr char16_t kProcedure[] = u"IDTExtensibility2_OnConnection";
  clsMsg status;
  const bool done = RunHostEntryPoint(kProcedure, [&] {
    // A host that is not Outlook fails here, before anything is installed.
    outlook_app_ = As<platform::OutlookApplication>(application);
    static_data_ = std::make_shared<clsStatic>();
    connect_mode_ = connectMode;
    deferred_report_.reset();
    // An Outlook with a ribbon asks for the button itself (GetCustomUI): its start-up gets
    // nothing else from us, not even a box. A version that cannot be read counts as such
    // an Outlook, and the failure waits for the first click.
    try {
      outlook_major_ = OutlookMajorVersion(Must(outlook_app_).Version());
    } catch (const platform::ComError& error) {
      outlook_major_ = 0;
      deferred_report_ = DeferredReport{kProcedure, error};
    }
    if (ExplorerHasRibbon(outlook_major_)) return;
    InstallCommandBarButtons(addInInst);
  });
  if (!done) status.SetCancel(kTrue);
}

void dsrOutlookToWord::InstallCommandBarButtons(
    const std::shared_ptr<platform::AddInInstance>& addInInst) {
  auto& app = Must(outlook_app_);
  auto contacts = ContactsFolder(app);
  prog_id_ = Must(addInInst).ProgId();

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
    if (connect_mode_ == kExtCmStartup) work.SwitchFolder(contacts);
    auto button = Install(work.get().CommandBars(), ExplorerMenuId);
    if (button) BindButton(std::move(button));
    work.RestoreFolder();

    const int32_t explorerCount = explorers->Count();
    for (int32_t i = 1; i <= explorerCount; ++i) {
      Install(Must(explorers->Item(i)).CommandBars(), ExplorerMenuId);
    }
    work.End();
    // Subscribed once the hidden explorer is gone, which needs no button of its own.
    SubscribeQuietly(col_explorers_, [&] {
      return explorers->ConnectNewExplorer(
          [this](const std::shared_ptr<platform::Explorer>& opened) {
            colExplorers_NewExplorer(opened);
          });
    });
  }

  // Outlook 2007's inspectors show the ribbon's button instead.
  if (InspectorHasRibbon(outlook_major_)) return;
  auto inspectors = app.Inspectors();
  const int32_t inspectorCount = Must(inspectors).Count();
  for (int32_t i = 1; i <= inspectorCount; ++i) {
    // Held for the loop's body: over automation nothing else keeps the inspector alive.
    const auto inspector = inspectors->Item(i);
    if (IsContactItem(Must(inspector).CurrentItem()) != kTrue) continue;
    Install(inspector->CommandBars(), InspectorMenuId);
  }
  if (inspectorCount == 0) {
    BorrowContactInspector(
        contacts, [this](const auto& commandBars) { Install(commandBars, InspectorMenuId); });
  }
  SubscribeQuietly(col_inspectors_, [&] {
    return inspectors->ConnectNewInspector(
        [this](const std::shared_ptr<platform::Inspector>& opened) {
          colInspectors_NewInspector(opened);
        });
  });
}

std::shared_ptr<platform::CommandBarButton> dsrOutlookToWord::Install(
    const std::shared_ptr<platform::CommandBars>& commandBars, int16_t menuId) {
  auto button = InstallButton(commandBars, prog_id_, ButtonTag, ButtonCaption, menuId);
  if (button) return button;
  // Once a session: every window of a kind lacks the menu alike.
  const bool explorer = menuId == ExplorerMenuId;
  bool& noted = explorer ? noted_explorer_menu_ : noted_inspector_menu_;
  if (!noted) {
    noted = true;
    platform::CurrentRuntime().Note(
        explorer ? u"フォルダーのウィンドウにメニュー(ID "
                   u"30141)がないため、「添書票の作成」ボタンを登録できませんでした。"
                 : u"連絡先のウィンドウにメニュー(ID "
                   u"30130)がないため、「添書票の作成」ボタンを登録できませんでした。");
  }
  return nullptr;
}

void dsrOutlookToWord::colExplorers_NewExplorer(
    const std::shared_ptr<platform::Explorer>& explorer) {
  RunHostEntryPoint(u"colExplorers_NewExplorer",
                    [&] { Install(Must(explorer).CommandBars(), ExplorerMenuId); });
}

void dsrOutlookToWord::colInspectors_NewInspector(
    const std::shared_ptr<platform::Inspector>& inspector) {
  RunHostEntryPoint(u"colInspectors_NewInspector", [&] {
    if (IsContactItem(Must(inspector).CurrentItem()) != kTrue) return;
    Install(inspector->CommandBars(), InspectorMenuId);
  });
}

void dsrOutlookToWord::IDTExtensibility2_OnDisconnection(int32_t removeMode) {
  static constexpr char16_t kProcedure[] = u"IDTExtensibility2_OnDisconnection";
  clsMsg status;
  RunHostEntryPoint(kProcedure, [&] {
    if (removeMode == kExtDmUserClosed) {
      // The windows the removal opens itself must not get a button again.
      col_explorers_.Reset();
      col_inspectors_.Reset();
      const bool removed = RunHostEntryPoint(kProcedure, [&] {
        // A ribbon's button goes with the add-in; there is nothing of ours in the bars.
        if (ExplorerHasRibbon(outlook_major_)) return;
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

        if (InspectorHasRibbon(outlook_major_)) return;
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
  RunClick(u"cbbAddin_Click", nullptr);
}

void dsrOutlookToWord::Ribbon_OnAction(const std::shared_ptr<platform::OutlookWindow>& window) {
  RunClick(u"Ribbon_OnAction", window);
}

std::u16string dsrOutlookToWord::GetCustomUI(std::u16string_view ribbonId) const noexcept {
  try {
    return RibbonMarkup(ribbonId, outlook_major_);
  } catch (...) {
    // Out of memory: Office treats empty markup as no customization.
    return {};
  }
}

void dsrOutlookToWord::RunClick(std::u16string_view procedure,
                                const std::shared_ptr<platform::OutlookWindow>& window) {
  // A click while one runs (its dialog or a box lets Outlook's messages through) makes no
  // second letter and no second dialog; the running click's windows stay in front.
  if (click_running_) {
    if (click_listener_) click_listener_(ClickOutcome{});
    return;
  }
  click_running_ = true;
  struct Running {
    bool& flag;
    ~Running() { flag = false; }
  } running{click_running_};

  if (deferred_report_) {
    const DeferredReport report = std::move(*deferred_report_);
    deferred_report_.reset();
    ReportErrorToHost(report.procedure, report.error);
  }
  std::shared_ptr<clsOccation> occasion;
  ClickOutcome outcome;
  ReportWatch reports;
  const bool done = RunHostEntryPoint(procedure, [&] {
    // The letter works on the active window: the one clicked in, brought to the front.
    if (window) window->Activate();
    occasion = std::make_shared<clsOccation>();
    occasion->SetStaticData(static_data_);
    MainSendnote(outlook_app_, occasion);
    if (occasion->Msg()->Cancel() == kTrue) {
      outcome.message = occasion->Msg()->MsgText();
      if (auto active = platform::Must(outlook_app_).ActiveWindow()) active->Activate();
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
  // Unbinding lets go of Outlook: the window subscriptions end with the button's.
  if (!button) {
    col_explorers_.Reset();
    col_inspectors_.Reset();
  }
  cbb_addin_ = std::move(button);
  if (!cbb_addin_) return;
  cbb_addin_click_ =
      cbb_addin_->ConnectClick([this](const std::shared_ptr<platform::CommandBarButton>& ctrl,
                                      platform::Flag& cancel) { cbbAddin_Click(ctrl, cancel); });
}

}  // namespace sendnote
