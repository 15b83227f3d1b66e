#include "wordrules/FieldFormat.h"

namespace sendnote::wordrules {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000; }

// ASCII, Latin-1 (à to þ, not ÷) and full-width Latin letters, which differ by 0x20.
char16_t Upper(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
      (c >= 0xFF41 && c <= 0xFF5A))
    return static_cast<char16_t>(c - 0x20);
  return c;
}
char16_t Lower(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
      (c >= 0xFF21 && c <= 0xFF3A))
    return static_cast<char16_t>(c + 0x20);
  return c;
}

std::u16string Folded(std::u16string_view word) {
  std::u16string out;
  for (char16_t c : word) out += Lower(c);
  return out;
}

}  // namespace

FormatSwitches ReadFormatSwitches(std::u16string_view code) {
  FormatSwitches switches;
  bool quoted = false;
  for (size_t i = 0; i < code.size(); ++i) {
    if (code[i] == u'"') quoted = !quoted;
    if (quoted || code[i] != u'\\' || i + 1 >= code.size() || code[i + 1] != u'*') continue;
    size_t start = i + 2;
    while (start < code.size() && IsBlank(code[start])) ++start;
    size_t end = start;
    while (end < code.size() && !IsBlank(code[end]) && code[end] != u'\\') ++end;
    const std::u16string word = Folded(code.substr(start, end - start));
    if (word == u"charformat") switches.charFormat = true;
    if (word == u"upper") switches.letterCase = FormatSwitches::Case::kUpper;
    if (word == u"lower") switches.letterCase = FormatSwitches::Case::kLower;
    if (word == u"firstcap") switches.letterCase = FormatSwitches::Case::kFirstCap;
    if (word == u"caps") switches.letterCase = FormatSwitches::Case::kCaps;
    i = end - 1;
  }
  return switches;
}

std::u16string ApplyCase(std::u16string_view text, FormatSwitches::Case letterCase) {
  std::u16string out(text);
  bool wordStart = true;
  bool first = true;
  for (char16_t& c : out) {
    switch (letterCase) {
      case FormatSwitches::Case::kUpper:
        c = Upper(c);
        break;
      case FormatSwitches::Case::kLower:
        c = Lower(c);
        break;
      case FormatSwitches::Case::kFirstCap:
        if (first && !IsBlank(c)) {
          c = Upper(c);
          first = false;
        }
        break;
      case FormatSwitches::Case::kCaps:
        if (wordStart && !IsBlank(c)) c = Upper(c);
        break;
      case FormatSwitches::Case::kAsIs:
        break;
    }
    wordStart = IsBlank(c);
  }
  return out;
}

}  // namespace sendnote::wordrules
