// UTF-16 text between the system's std::u16string and Windows' wchar_t (both 16-bit here).
#pragma once

#include <string>
#include <string_view>

namespace sendnote::com {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16");

inline std::wstring ToWide(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

inline std::u16string FromWide(std::wstring_view text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

}  // namespace sendnote::com
