// The GUIDs of Identities.h as GUID values, parsed at compile time from the one text form.
#pragma once

#include "windows/com/Win32.h"

#include "windows/dll/Identities.h"

namespace sendnote::windows {

namespace detail {
constexpr unsigned HexDigit(char c) {
  return c >= '0' && c <= '9'   ? unsigned(c - '0')
         : c >= 'A' && c <= 'F' ? unsigned(c - 'A' + 10)
         : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10)
                                : throw "not a hexadecimal digit";
}
constexpr unsigned long long Hex(const char* text, int digits) {
  unsigned long long value = 0;
  for (int i = 0; i < digits; ++i) value = value * 16 + HexDigit(text[i]);
  return value;
}
}  // namespace detail

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; a malformed text fails the build.
constexpr GUID ParseGuid(const char (&text)[39]) {
  if (text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-' ||
      text[37] != '}') {
    throw "not a braced GUID";
  }
  GUID g{};
  g.Data1 = static_cast<unsigned long>(detail::Hex(text + 1, 8));
  g.Data2 = static_cast<unsigned short>(detail::Hex(text + 10, 4));
  g.Data3 = static_cast<unsigned short>(detail::Hex(text + 15, 4));
  g.Data4[0] = static_cast<unsigned char>(detail::Hex(text + 20, 2));
  g.Data4[1] = static_cast<unsigned char>(detail::Hex(text + 22, 2));
  for (int i = 0; i < 6; ++i) {
    g.Data4[2 + i] = static_cast<unsigned char>(detail::Hex(text + 25 + 2 * i, 2));
  }
  return g;
}

inline constexpr GUID kLibId = ParseGuid(SENDNOTE_LIBID_TEXT);
inline constexpr GUID kClsid = ParseGuid(SENDNOTE_CLSID_TEXT);
inline constexpr GUID kIidDsrOutlookToWord = ParseGuid(SENDNOTE_IID_TEXT);
inline constexpr GUID kIidExtensibility2 = ParseGuid(SENDNOTE_IID_EXTENSIBILITY_TEXT);
inline constexpr GUID kIidRibbonExtensibility = ParseGuid(SENDNOTE_IID_RIBBON_EXTENSIBILITY_TEXT);

}  // namespace sendnote::windows
