#include "portable/LetterName.h"

#include "platform/Utf.h"
#include "portable/VisibleText.h"

namespace sendnote::portable {

namespace {

constexpr char16_t kUntitled[] = u"無題";
constexpr std::string_view kExtension = ".docx";

bool Forbidden(char16_t c) {
  if (IsControl(c)) return true;  // the name is printed, and it is the contact's text
  switch (c) {
    case u'/':
    case u'\\':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::u16string LetterName::Safe(std::u16string text) {
  for (char16_t& c : text) {
    if (Forbidden(c)) c = u'_';
  }
  return text;
}

std::string LetterName::Cut(std::string utf8, std::size_t bytes) {
  if (utf8.size() <= bytes) return utf8;
  std::size_t end = bytes;
  // Continuation bytes (10xxxxxx) belong to the character that starts before them.
  while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
  utf8.resize(end);
  return utf8;
}

std::string LetterName::Next(std::u16string_view contactName) {
  std::u16string base = templateStem_;
  if (!base.empty()) base += u' ';
  base += contactName.empty() ? std::u16string_view(kUntitled) : contactName;
  const std::string stem = platform::ToUtf8(Safe(std::move(base)));
  // The number is counted per name, so that a thousand equal names stay linear, and goes
  // on past names already taken (a contact may itself be called "name (2)").
  int& number = nextNumber_[stem];
  for (;;) {
    ++number;
    const std::string suffix = number == 1 ? "" : " (" + std::to_string(number) + ")";
    std::string name = Cut(stem, kMaxBytes - kExtension.size() - suffix.size());
    name += suffix;
    name += kExtension;
    if (taken_.insert(name).second) return name;
  }
}

}  // namespace sendnote::portable
