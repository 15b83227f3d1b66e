// The portable edition's user interface: every box is written to standard error as its
// title and text; on a terminal the Yes/No/Cancel box and the input box ask the user,
// elsewhere each box takes its default button. Answers given on the command line take
// the place of the user's.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/UserInterface.h"

namespace sendnote::portable {

struct TerminalAnswers {
  // The answer to the prefix question: Yes, or No followed by this prefix.
  std::optional<std::u16string> prefix;  // set with `yes` false: answer No and type this
  bool yes = false;
  // The output dialog's address choice (list position 0 to 3).
  int32_t addressKind = 0;
  // The output dialog's output choice (0 to 2); unset keeps the dialog's own.
  std::optional<int32_t> output;
};

class TerminalUi : public platform::UserInterface {
 public:
  // `in`/`err` are the terminal's streams; `interactive` says whether a person answers.
  TerminalUi(std::istream& in, std::ostream& err, bool interactive, TerminalAnswers answers);

  // Opens a help page with the desktop's viewer; returns false when there is none.
  void SetHelpOpener(std::function<bool(const std::string& path)> opener) {
    helpOpener_ = std::move(opener);
  }
  // The folder holding the help pages (index.html).
  void SetHelpFolder(std::string folder) { helpFolder_ = std::move(folder); }

  bool Interactive() const { return interactive_; }

  // Asks for a line on the terminal; empty when not interactive or at end of input.
  std::optional<std::u16string> AskLine(std::u16string_view question);

  // For a run of letters: the output dialog's summary, the prefix question with its input
  // box, and a notice already shown appear once; later letters take the first answers.
  void SetAnswerOnce(bool once) { once_ = once; }
  // True once the prefix question was answered Cancel while answering once.
  bool CancelledOnce() const { return onceAnswer_ == platform::kVbCancel; }
  // Gets each message box's text; a line it returns is printed after the box.
  void SetBoxNote(std::function<std::string(std::u16string_view text)> note) {
    note_ = std::move(note);
  }
  // On a terminal, shows `line` in place of the previous progress line, cut to the width.
  void ShowProgress(std::string_view line);
  // Clears the progress line; anything else printed clears it first.
  void EndProgress();
  // Prints a line of the command's own.
  void Note(std::string_view line);
  // The terminal's width in columns, for the progress line.
  void SetColumns(int columns) { columns_ = columns; }

  int32_t MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) override;
  std::u16string InputBox(std::u16string_view prompt, std::u16string_view title,
                          std::u16string_view defaultText) override;
  void ShowModal(platform::TemplateDialogForm& form) override;
  void ShowModal(platform::AboutForm& form) override;
  // Lists the documents; on a terminal asks for a number (Enter keeps the active one, an
  // empty input stream cancels), elsewhere takes the active one.
  void ShowModal(platform::DocumentListForm& form) override;
  void SetMousePointer(int32_t pointer) override { pointer_ = pointer; }
  int32_t MousePointer() const override { return pointer_; }
  intptr_t ShowHelp(std::u16string_view file) override;

 private:
  void PrintBox(std::u16string_view title, std::u16string_view text);
  int32_t AskPrefixQuestion();

  std::istream& in_;
  std::ostream& err_;
  bool interactive_;
  TerminalAnswers answers_;
  std::function<bool(const std::string&)> helpOpener_;
  std::string helpFolder_;
  int32_t pointer_ = platform::kVbDefault;
  bool once_ = false;
  bool summaryShown_ = false;
  std::optional<int32_t> onceAnswer_;
  std::optional<std::u16string> oncePrefix_;
  std::set<std::u16string> noticesShown_;
  std::function<std::string(std::u16string_view)> note_;
  int columns_ = 80;
  bool progressShown_ = false;
};

}  // namespace sendnote::portable
