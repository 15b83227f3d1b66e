// A user interface driven by a script: tests queue the user's answers and actions in
// advance, and every box, form, pointer change and help request is recorded.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "inmemory/Faults.h"
#include "platform/Forms.h"
#include "platform/UserInterface.h"

namespace sendnote::inmemory {

// One user action on the output dialog.
struct DialogAction {
  enum class Kind {
    kSelectOutput,  // click option button `index`
    kPickAddress,   // choose entry `index` of the address list
    kClickIcon,     // click picture `index`
    kOk,
    kCancel,
    kHelp,
    kVersion,
    kCloseBox,  // the window's close box (also Alt+F4, system menu)
    kRun,       // a test hook run while the dialog is open
  };
  Kind kind;
  int index = 0;
  std::function<void(platform::TemplateDialogForm&)> run;

  static DialogAction SelectOutput(int index) { return {Kind::kSelectOutput, index, nullptr}; }
  static DialogAction PickAddress(int index) { return {Kind::kPickAddress, index, nullptr}; }
  static DialogAction ClickIcon(int index) { return {Kind::kClickIcon, index, nullptr}; }
  static DialogAction Ok() { return {Kind::kOk, 0, nullptr}; }
  static DialogAction Cancel() { return {Kind::kCancel, 0, nullptr}; }
  static DialogAction Help() { return {Kind::kHelp, 0, nullptr}; }
  static DialogAction Version() { return {Kind::kVersion, 0, nullptr}; }
  static DialogAction CloseBox() { return {Kind::kCloseBox, 0, nullptr}; }
  static DialogAction Run(std::function<void(platform::TemplateDialogForm&)> hook) {
    return {Kind::kRun, 0, std::move(hook)};
  }
};
using DialogScript = std::vector<DialogAction>;

// One user action on the version information box.
enum class AboutAction { kOk, kCloseBox };
using AboutScript = std::vector<AboutAction>;

// One user action on the open-documents list: choose entry `index`, OK, Cancel, the
// close box.
struct ListAction {
  enum class Kind { kPick, kOk, kCancel, kCloseBox };
  Kind kind;
  int index = 0;

  static ListAction Pick(int index) { return {Kind::kPick, index}; }
  static ListAction Ok() { return {Kind::kOk, 0}; }
  static ListAction Cancel() { return {Kind::kCancel, 0}; }
  static ListAction CloseBox() { return {Kind::kCloseBox, 0}; }
};
using ListScript = std::vector<ListAction>;

struct DocumentListRecord {
  platform::DocumentListControls atLoad;
  platform::DocumentListControls atClose;
  bool closedByCloseBox = false;  // the script ran out, or asked for the close box
};

struct MsgBoxRecord {
  std::u16string prompt;
  int32_t style = 0;
  std::u16string title;
  int32_t answer = 0;
  int32_t mousePointer = 0;  // the pointer while the box was up
};

struct InputBoxRecord {
  std::u16string prompt;
  std::u16string title;
  std::u16string defaultText;
  std::u16string answer;
};

// One showing of the output dialog: its controls right after Form_Load and when it closed.
struct DialogRecord {
  platform::TemplateDialogControls atLoad;
  platform::TemplateDialogControls atClose;
  int actionsPlayed = 0;
  bool closedByCloseBox = false;  // the script ran out, or asked for the close box
  bool failed = false;            // an event procedure raised out of the show
};

struct AboutRecord {
  platform::AboutControls atLoad;
  platform::AboutControls atClose;
  bool closedByCloseBox = false;
  bool failed = false;
};

class ScriptedUi : public platform::UserInterface, public Faultable {
 public:
  // --- Script ---
  // Answers for the next message boxes, in order; with none left a box answers its
  // default button. An answer that is not a button of the box raises Invalid call (5).
  void QueueMsgBoxAnswer(int32_t answer) { msgBoxAnswers_.push_back(answer); }
  // Answers for the next input boxes: the text typed and OK, or the box's Cancel. With
  // none left the box answers its default text.
  void QueueInput(std::u16string text) { inputAnswers_.emplace_back(std::move(text)); }
  void QueueInputCancel() { inputAnswers_.emplace_back(std::nullopt); }
  // The user's actions for the next output dialogs, one script per showing.
  void QueueDialog(DialogScript script) { dialogScripts_.push_back(std::move(script)); }
  void QueueAbout(AboutScript script) { aboutScripts_.push_back(std::move(script)); }
  void QueueDocumentList(ListScript script) { listScripts_.push_back(std::move(script)); }
  // Help files the viewer can show; alternatively a predicate deciding it.
  void AddHelpFile(std::u16string path) { helpFiles_.insert(std::move(path)); }
  void SetHelpFileExists(std::function<bool(std::u16string_view)> exists) {
    helpExists_ = std::move(exists);
  }

  // --- Records ---
  const std::vector<MsgBoxRecord>& MsgBoxes() const { return msgBoxes_; }
  const std::vector<InputBoxRecord>& InputBoxes() const { return inputBoxes_; }
  const std::vector<DialogRecord>& Dialogs() const { return dialogs_; }
  const std::vector<AboutRecord>& AboutBoxes() const { return aboutBoxes_; }
  const std::vector<DocumentListRecord>& DocumentLists() const { return documentLists_; }
  const std::vector<int32_t>& MousePointerHistory() const { return pointerHistory_; }
  const std::vector<std::u16string>& HelpRequests() const { return helpRequests_; }
  // Queued answers and scripts not consumed yet.
  size_t PendingMsgBoxAnswers() const { return msgBoxAnswers_.size(); }
  size_t PendingInputs() const { return inputAnswers_.size(); }
  size_t PendingDialogs() const { return dialogScripts_.size(); }
  size_t PendingAbouts() const { return aboutScripts_.size(); }
  // How many modal forms are open right now (nesting depth).
  int OpenForms() const { return openForms_; }

  // The buttons of a message box style, in order, and its default answer.
  static std::vector<int32_t> ButtonsOf(int32_t style);
  static int32_t DefaultAnswer(int32_t style);

  // --- platform::UserInterface ---
  int32_t MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) override;
  std::u16string InputBox(std::u16string_view prompt, std::u16string_view title,
                          std::u16string_view defaultText) override;
  void ShowModal(platform::TemplateDialogForm& form) override;
  void ShowModal(platform::AboutForm& form) override;
  void ShowModal(platform::DocumentListForm& form) override;
  void SetMousePointer(int32_t pointer) override;
  int32_t MousePointer() const override { return pointer_; }
  intptr_t ShowHelp(std::u16string_view file) override;

 private:
  void Play(platform::TemplateDialogForm& form, const DialogAction& action);

  std::deque<int32_t> msgBoxAnswers_;
  std::deque<std::optional<std::u16string>> inputAnswers_;
  std::deque<DialogScript> dialogScripts_;
  std::deque<AboutScript> aboutScripts_;
  std::deque<ListScript> listScripts_;
  std::set<std::u16string, std::less<>> helpFiles_;
  std::function<bool(std::u16string_view)> helpExists_;

  std::vector<MsgBoxRecord> msgBoxes_;
  std::vector<InputBoxRecord> inputBoxes_;
  std::vector<DialogRecord> dialogs_;
  std::vector<AboutRecord> aboutBoxes_;
  std::vector<DocumentListRecord> documentLists_;
  std::vector<int32_t> pointerHistory_;
  std::vector<std::u16string> helpRequests_;
  int32_t pointer_ = platform::kVbDefault;
  int openForms_ = 0;
};

}  // namespace sendnote::inmemory
