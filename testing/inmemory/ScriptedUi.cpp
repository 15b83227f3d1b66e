#include "inmemory/ScriptedUi.h"

#include <algorithm>

#include "platform/ComError.h"

namespace sendnote::inmemory {
namespace {

constexpr int32_t kVbOKCancel = 1;
constexpr int32_t kVbAbortRetryIgnore = 2;
constexpr int32_t kVbYesNo = 4;
constexpr int32_t kVbRetryCancel = 5;
constexpr int32_t kVbAbort = 3;
constexpr int32_t kVbRetry = 4;
constexpr int32_t kVbIgnore = 5;
constexpr int32_t kErrInvalidPropertyValue = 380;
constexpr intptr_t kHelpViewerWindow = 0x00A1B2;  // what the viewer answers when it shows

// Counts an open modal form for its scope, whatever way the show ends.
class OpenFormScope {
 public:
  explicit OpenFormScope(int& count) : count_(count) { ++count_; }
  ~OpenFormScope() { --count_; }
  OpenFormScope(const OpenFormScope&) = delete;
  OpenFormScope& operator=(const OpenFormScope&) = delete;

 private:
  int& count_;
};

}  // namespace

std::vector<int32_t> ScriptedUi::ButtonsOf(int32_t style) {
  switch (style & 0xF) {
    case kVbOKCancel:
      return {platform::kVbOK, platform::kVbCancel};
    case kVbAbortRetryIgnore:
      return {kVbAbort, kVbRetry, kVbIgnore};
    case platform::kVbYesNoCancel:
      return {platform::kVbYes, platform::kVbNo, platform::kVbCancel};
    case kVbYesNo:
      return {platform::kVbYes, platform::kVbNo};
    case kVbRetryCancel:
      return {kVbRetry, platform::kVbCancel};
    default:
      return {platform::kVbOK};
  }
}

int32_t ScriptedUi::DefaultAnswer(int32_t style) {
  // Bits 8-9 choose the default button (vbDefaultButton2 = 256, ...); the first otherwise.
  std::vector<int32_t> buttons = ButtonsOf(style);
  size_t index = static_cast<size_t>((style >> 8) & 0x3);
  return index < buttons.size() ? buttons[index] : buttons.front();
}

int32_t ScriptedUi::MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) {
  Enter(u"MsgBox");
  int32_t answer = DefaultAnswer(style);
  if (!msgBoxAnswers_.empty()) {
    answer = msgBoxAnswers_.front();
    msgBoxAnswers_.pop_front();
    std::vector<int32_t> buttons = ButtonsOf(style);
    if (std::find(buttons.begin(), buttons.end(), answer) == buttons.end()) {
      platform::Raise(platform::kErrInvalidCall, u"scripted answer is not a button of this box");
    }
  }
  msgBoxes_.push_back({std::u16string(prompt), style, std::u16string(title), answer, pointer_});
  return answer;
}

std::u16string ScriptedUi::InputBox(std::u16string_view prompt, std::u16string_view title,
                                    std::u16string_view defaultText) {
  Enter(u"InputBox");
  std::u16string answer(defaultText);
  if (!inputAnswers_.empty()) {
    answer = inputAnswers_.front().value_or(std::u16string());
    inputAnswers_.pop_front();
  }
  inputBoxes_.push_back(
      {std::u16string(prompt), std::u16string(title), std::u16string(defaultText), answer});
  return answer;
}

void ScriptedUi::Play(platform::TemplateDialogForm& form, const DialogAction& action) {
  using Kind = DialogAction::Kind;
  auto& controls = form.Controls();
  switch (action.kind) {
    case Kind::kSelectOutput:
      if (action.index < 0 || action.index > 2) platform::Raise(platform::kErrInvalidCall);
      controls.SelectOutput(action.index);
      return;
    case Kind::kPickAddress:
      // A drop-down list offers only its entries.
      if (action.index < 0 || static_cast<size_t>(action.index) >= controls.cboAddress.size()) {
        platform::Raise(kErrInvalidPropertyValue, u"Invalid property value");
      }
      controls.cboAddressListIndex = action.index;
      return;
    case Kind::kClickIcon:
      form.imgIcon_Click(static_cast<int16_t>(action.index));
      return;
    case Kind::kOk:
      form.OKButton_Click();
      return;
    case Kind::kCancel:
      form.CancelButton_Click();
      return;
    case Kind::kHelp:
      form.cmdHelp_Click();
      return;
    case Kind::kVersion:
      form.cmdVersion_Click();
      return;
    case Kind::kCloseBox:
      form.Unload();
      return;
    case Kind::kRun:
      if (action.run) action.run(form);
      return;
  }
}

void ScriptedUi::ShowModal(platform::TemplateDialogForm& form) {
  Enter(u"ShowModal");
  if (form.Unloaded()) platform::Raise(platform::kErrInvalidCall);
  OpenFormScope open(openForms_);
  DialogScript script;
  if (!dialogScripts_.empty()) {
    script = std::move(dialogScripts_.front());
    dialogScripts_.pop_front();
  }
  // An index, not a reference: nested shows may grow the record list.
  size_t record = dialogs_.size();
  dialogs_.emplace_back();
  try {
    form.Form_Load();
    dialogs_[record].atLoad = form.Controls();
    for (const DialogAction& action : script) {
      if (form.Unloaded()) break;
      ++dialogs_[record].actionsPlayed;
      if (action.kind == DialogAction::Kind::kCloseBox) dialogs_[record].closedByCloseBox = true;
      Play(form, action);
    }
    if (!form.Unloaded()) {
      dialogs_[record].closedByCloseBox = true;
      form.Unload();
    }
  } catch (...) {
    dialogs_[record].failed = true;
    dialogs_[record].atClose = form.Controls();
    throw;
  }
  dialogs_[record].atClose = form.Controls();
}

void ScriptedUi::ShowModal(platform::AboutForm& form) {
  Enter(u"ShowModal");
  if (form.Unloaded()) platform::Raise(platform::kErrInvalidCall);
  OpenFormScope open(openForms_);
  AboutScript script;
  if (!aboutScripts_.empty()) {
    script = std::move(aboutScripts_.front());
    aboutScripts_.pop_front();
  }
  size_t record = aboutBoxes_.size();
  aboutBoxes_.emplace_back();
  try {
    form.Form_Load();
    aboutBoxes_[record].atLoad = form.Controls();
    for (AboutAction action : script) {
      if (form.Unloaded()) break;
      if (action == AboutAction::kOk) {
        form.cmdOK_Click();
      } else {
        aboutBoxes_[record].closedByCloseBox = true;
        form.Unload();
      }
    }
    if (!form.Unloaded()) {
      aboutBoxes_[record].closedByCloseBox = true;
      form.Unload();
    }
  } catch (...) {
    aboutBoxes_[record].failed = true;
    aboutBoxes_[record].atClose = form.Controls();
    throw;
  }
  aboutBoxes_[record].atClose = form.Controls();
}

void ScriptedUi::ShowModal(platform::DocumentListForm& form) {
  Enter(u"ShowModal");
  if (form.Unloaded()) platform::Raise(platform::kErrInvalidCall);
  OpenFormScope open(openForms_);
  ListScript script;
  if (!listScripts_.empty()) {
    script = std::move(listScripts_.front());
    listScripts_.pop_front();
  }
  DocumentListRecord record;
  form.Form_Load();
  record.atLoad = form.Controls();
  for (const ListAction& action : script) {
    if (form.Unloaded()) break;
    switch (action.kind) {
      case ListAction::Kind::kPick:
        form.Controls().lstDocumentsListIndex = action.index;
        break;
      case ListAction::Kind::kOk:
        form.OKButton_Click();
        break;
      case ListAction::Kind::kCancel:
        form.CancelButton_Click();
        break;
      case ListAction::Kind::kCloseBox:
        record.closedByCloseBox = true;
        form.Unload();
        break;
    }
  }
  if (!form.Unloaded()) {
    record.closedByCloseBox = true;
    form.Unload();
  }
  record.atClose = form.Controls();
  documentLists_.push_back(std::move(record));
}

void ScriptedUi::SetMousePointer(int32_t pointer) {
  Enter(u"SetMousePointer");
  pointer_ = pointer;
  pointerHistory_.push_back(pointer);
}

intptr_t ScriptedUi::ShowHelp(std::u16string_view file) {
  Enter(u"ShowHelp");
  helpRequests_.emplace_back(file);
  bool exists = helpFiles_.contains(file) || (helpExists_ && helpExists_(file));
  return exists ? kHelpViewerWindow : 0;
}

}  // namespace sendnote::inmemory
