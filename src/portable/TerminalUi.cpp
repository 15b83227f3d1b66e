#include "portable/TerminalUi.h"

#include <cstdlib>
#include <filesystem>
#include <istream>
#include <ostream>

#include "platform/Utf.h"
#include "portable/VisibleText.h"

namespace sendnote::portable {

using platform::FromUtf8;
using platform::ToUtf8;

namespace {

// Message texts break lines with a lone carriage return; a terminal wants line feeds.
// Other control characters (a contact's name is in some boxes) are shown as escapes.
std::string TerminalText(std::u16string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      out += u'\n';
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      out += text[i];
    }
  }
  return VisibleUtf8(out, true);
}

// Removes the accelerator marker from a caption ("ヘルプ(&H)" → "ヘルプ(H)").
std::string Caption(std::u16string_view caption) {
  std::u16string out;
  for (char16_t c : caption)
    if (c != u'&') out += c;
  return ToUtf8(out);
}

// Columns a character takes on a terminal: East Asian characters take two. Counted
// generously, so that a cut line never wraps (a wrapped line cannot be overwritten).
int Columns(char32_t c) { return c < 0x1100 ? 1 : 2; }

// `text` cut to fit `columns` columns.
std::string FitColumns(std::string_view text, int columns) {
  const std::u16string wide = FromUtf8(text);
  int used = 0;
  size_t end = 0;
  while (end < wide.size()) {
    const bool pair = wide[end] >= 0xD800 && wide[end] < 0xDC00 && end + 1 < wide.size();
    const int width = pair ? 2 : Columns(wide[end]);
    if (used + width > columns) break;
    used += width;
    end += pair ? 2 : 1;
  }
  return ToUtf8(std::u16string_view(wide).substr(0, end));
}

// Back to the start of the line and clear it.
constexpr char kClearLine[] = "\r\x1b[K";

}  // namespace

TerminalUi::TerminalUi(std::istream& in, std::ostream& err, bool interactive,
                       TerminalAnswers answers)
    : in_(in), err_(err), interactive_(interactive), answers_(std::move(answers)) {}

void TerminalUi::PrintBox(std::u16string_view title, std::u16string_view text) {
  EndProgress();
  err_ << "[" << TerminalText(title) << "] " << TerminalText(text) << "\n";
  err_.flush();
}

void TerminalUi::ShowProgress(std::string_view line) {
  if (!interactive_) return;
  // The last column is left free: writing into it makes some terminals wrap.
  err_ << kClearLine << FitColumns(VisibleUtf8(line), columns_ - 1);
  err_.flush();
  progressShown_ = true;
}

void TerminalUi::EndProgress() {
  if (!progressShown_) return;
  err_ << kClearLine;
  err_.flush();
  progressShown_ = false;
}

void TerminalUi::Note(std::string_view line) {
  EndProgress();
  err_ << VisibleUtf8(line) << "\n";
  err_.flush();
}

std::optional<std::u16string> TerminalUi::AskLine(std::u16string_view question) {
  if (!interactive_) return std::nullopt;
  EndProgress();
  err_ << TerminalText(question);
  err_.flush();
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return FromUtf8(line);
}

int32_t TerminalUi::MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) {
  // The only Yes/No/Cancel box is the prefix question.
  const bool question = (style & 0x0F) == platform::kVbYesNoCancel;
  if (question && once_ && onceAnswer_) return *onceAnswer_;
  if (!question && once_ && (style & 0x70) == platform::kVbInformation &&
      !noticesShown_.emplace(prompt).second) {
    return platform::kVbOK;
  }
  PrintBox(title, prompt);
  if (note_) {
    const std::string line = note_(prompt);
    if (!line.empty()) Note(line);
  }
  if (!question) return platform::kVbOK;
  const int32_t answer = AskPrefixQuestion();
  if (once_) onceAnswer_ = answer;
  return answer;
}

int32_t TerminalUi::AskPrefixQuestion() {
  if (answers_.yes) return platform::kVbYes;
  if (answers_.prefix) return platform::kVbNo;
  for (;;) {
    auto answer = AskLine(u"はい(Y) / いいえ(N) / キャンセル(C) [Y]: ");
    if (!answer) return interactive_ ? platform::kVbCancel : platform::kVbYes;
    if (answer->empty() || *answer == u"y" || *answer == u"Y") return platform::kVbYes;
    if (*answer == u"n" || *answer == u"N") return platform::kVbNo;
    if (*answer == u"c" || *answer == u"C") return platform::kVbCancel;
  }
}

std::u16string TerminalUi::InputBox(std::u16string_view prompt, std::u16string_view title,
                                    std::u16string_view defaultText) {
  if (once_ && oncePrefix_) return *oncePrefix_;
  PrintBox(title, prompt);
  std::u16string typed;
  if (answers_.prefix) {
    typed = *answers_.prefix;
  } else if (!interactive_) {
    typed = defaultText;
  } else {
    // Appended rather than joined with operator+: GCC 12 at -O3 reports a false overlap
    // (-Wrestrict) inside the inlined concatenation of a literal and a string.
    std::u16string question = u"[";
    question.append(defaultText).append(u"]: ");
    auto answer = AskLine(question);
    if (!answer) {
      typed.clear();  // end of input is the box's Cancel
    } else {
      typed = answer->empty() ? std::u16string(defaultText) : *answer;
    }
  }
  if (once_) oncePrefix_ = typed;
  return typed;
}

void TerminalUi::ShowModal(platform::TemplateDialogForm& form) {
  form.Form_Load();
  if (form.Unloaded()) return;
  auto& c = form.Controls();
  if (answers_.addressKind >= 0 && answers_.addressKind < static_cast<int32_t>(c.cboAddress.size()))
    c.cboAddressListIndex = answers_.addressKind;
  if (answers_.output) c.SelectOutput(*answers_.output);
  const int output = c.SelectedOutput();
  if (!once_ || !summaryShown_) {
    EndProgress();
    err_ << "[" << TerminalText(c.caption) << "] " << Caption(c.frameCaption) << ": "
         << (output >= 0 ? Caption(c.optOutputCaption[output]) : std::string("-")) << " / "
         << Caption(c.addressLabel) << " "
         << (c.cboAddressListIndex >= 0 ? ToUtf8(c.cboAddress[c.cboAddressListIndex]) : "-")
         << "\n";
    summaryShown_ = true;
  }
  form.OKButton_Click();
  // A failed OK keeps the dialog open; nobody can press OK again here, so close it.
  if (!form.Unloaded()) form.Unload();
}

void TerminalUi::ShowModal(platform::AboutForm& form) {
  form.Form_Load();
  if (form.Unloaded()) return;
  const auto& c = form.Controls();
  PrintBox(c.caption, c.titleCaption + u"\r" + c.version);
  form.cmdOK_Click();
  if (!form.Unloaded()) form.Unload();
}

void TerminalUi::ShowModal(platform::DocumentListForm& form) {
  form.Form_Load();
  if (form.Unloaded()) return;
  auto& c = form.Controls();
  EndProgress();
  err_ << "[" << TerminalText(c.caption) << "] " << Caption(c.listLabel) << "\n";
  for (size_t i = 0; i < c.lstDocuments.size(); ++i) {
    err_ << "  " << (i + 1) << " " << TerminalText(c.lstDocuments[i]) << "\n";
  }
  while (interactive_ && !form.Unloaded()) {
    std::string question = "[";
    question.append(std::to_string(c.lstDocumentsListIndex + 1)).append("]: ");
    const auto answer = AskLine(FromUtf8(question));
    if (!answer) {
      form.CancelButton_Click();
      break;
    }
    if (answer->empty()) break;
    const std::string text = ToUtf8(*answer);
    const int number = std::atoi(text.c_str());
    if (number >= 1 && number <= static_cast<int>(c.lstDocuments.size())) {
      c.lstDocumentsListIndex = number - 1;
      break;
    }
  }
  if (!form.Unloaded()) form.OKButton_Click();
  if (!form.Unloaded()) form.Unload();
}

intptr_t TerminalUi::ShowHelp(std::u16string_view) {
  // The help pages lie beside the program as HTML rather than in a compiled help file.
  const std::filesystem::path index = std::filesystem::path(helpFolder_) / "index.html";
  std::error_code ec;
  if (helpFolder_.empty() || !std::filesystem::is_regular_file(index, ec)) return 0;
  if (!helpOpener_ || !helpOpener_(index.string())) {
    EndProgress();
    err_ << "help: " << index.string() << "\n";
  }
  return 1;
}

}  // namespace sendnote::portable
