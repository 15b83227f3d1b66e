#include "portable/TerminalUi.h"

#include <filesystem>
#include <istream>
#include <ostream>

#include "platform/Utf.h"

namespace sendnote::portable {

using platform::FromUtf8;
using platform::ToUtf8;

namespace {

// Message texts break lines with a lone carriage return; a terminal wants line feeds.
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
  return ToUtf8(out);
}

// Removes the accelerator marker from a caption ("ヘルプ(&H)" → "ヘルプ(H)").
std::string Caption(std::u16string_view caption) {
  std::u16string out;
  for (char16_t c : caption)
    if (c != u'&') out += c;
  return ToUtf8(out);
}

}  // namespace

TerminalUi::TerminalUi(std::istream& in, std::ostream& err, bool interactive,
                       TerminalAnswers answers)
    : in_(in), err_(err), interactive_(interactive), answers_(std::move(answers)) {}

void TerminalUi::PrintBox(std::u16string_view title, std::u16string_view text) {
  err_ << "[" << TerminalText(title) << "] " << TerminalText(text) << "\n";
  err_.flush();
}

std::optional<std::u16string> TerminalUi::AskLine(std::u16string_view question) {
  if (!interactive_) return std::nullopt;
  err_ << TerminalText(question);
  err_.flush();
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return FromUtf8(line);
}

int32_t TerminalUi::MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) {
  PrintBox(title, prompt);
  if ((style & 0x0F) != platform::kVbYesNoCancel) return platform::kVbOK;

  // The only Yes/No/Cancel box is the prefix question.
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
  PrintBox(title, prompt);
  if (answers_.prefix) return *answers_.prefix;
  if (!interactive_) return std::u16string(defaultText);
  // Appended rather than joined with operator+: GCC 12 at -O3 reports a false overlap
  // (-Wrestrict) inside the inlined concatenation of a literal and a string.
  std::u16string question = u"[";
  question.append(defaultText).append(u"]: ");
  auto answer = AskLine(question);
  if (!answer) return u"";  // end of input is the box's Cancel
  return answer->empty() ? std::u16string(defaultText) : *answer;
}

void TerminalUi::ShowModal(platform::TemplateDialogForm& form) {
  form.Form_Load();
  if (form.Unloaded()) return;
  auto& c = form.Controls();
  if (answers_.addressKind >= 0 && answers_.addressKind < static_cast<int32_t>(c.cboAddress.size()))
    c.cboAddressListIndex = answers_.addressKind;
  const int output = c.SelectedOutput();
  err_ << "[" << TerminalText(c.caption) << "] " << Caption(c.frameCaption) << ": "
       << (output >= 0 ? Caption(c.optOutputCaption[output]) : std::string("-")) << " / "
       << Caption(c.addressLabel) << " "
       << (c.cboAddressListIndex >= 0 ? ToUtf8(c.cboAddress[c.cboAddressListIndex]) : "-") << "\n";
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

intptr_t TerminalUi::ShowHelp(std::u16string_view) {
  // The help pages lie beside the program as HTML rather than in a compiled help file.
  const std::filesystem::path index = std::filesystem::path(helpFolder_) / "index.html";
  std::error_code ec;
  if (helpFolder_.empty() || !std::filesystem::is_regular_file(index, ec)) return 0;
  if (!helpOpener_ || !helpOpener_(index.string())) {
    err_ << "help: " << index.string() << "\n";
  }
  return 1;
}

}  // namespace sendnote::portable
