// ASCII letter case, the only case the object models fold (names, keywords, file names):
// every other character, full-width letters included, is left as it is.
#pragma once

#include <string>
#include <string_view>

namespace sendnote::platform {

template <typename Char>
constexpr Char AsciiLower(Char c) {
  return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <typename Char>
constexpr Char AsciiUpper(Char c) {
  return (c >= Char('a') && c <= Char('z')) ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

// Returns `text` with its ASCII letters in lower (upper) case.
template <typename Char>
std::basic_string<Char> AsciiLowered(std::basic_string_view<Char> text) {
  std::basic_string<Char> out(text);
  for (Char& c : out) c = AsciiLower(c);
  return out;
}
template <typename Char>
std::basic_string<Char> AsciiUppered(std::basic_string_view<Char> text) {
  std::basic_string<Char> out(text);
  for (Char& c : out) c = AsciiUpper(c);
  return out;
}

// True when `a` and `b` are equal apart from ASCII letter case.
template <typename Char>
bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}
inline bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return EqualsIgnoringAsciiCase<char16_t>(a, b);
}
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return EqualsIgnoringAsciiCase<char>(a, b);
}

}  // namespace sendnote::platform
