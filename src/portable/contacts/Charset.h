// Character sets of contact files and their decoding to the system's UTF-16 text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sendnote::contacts {

inline constexpr std::string_view kCharsetUtf8 = "UTF-8";
// Windows' Shift_JIS: every Shift_JIS name decodes as this set.
inline constexpr std::string_view kCharsetCp932 = "CP932";

// Returns the canonical name of a supported character set given by any of its usual
// names ("SHIFT_JIS", "x-sjis", "utf8", ...), or empty if the set is not supported.
std::string CanonicalCharset(std::string_view name);

struct DecodedText {
  std::u16string text;
  bool ok = true;          // false if the bytes are not well-formed text of the set
  size_t errorOffset = 0;  // offset of the first bad byte when !ok (UTF-8: not located, 0)
};

// Decodes bytes of a set named by CanonicalCharset. Shift_JIS is Windows code page 932, so
// 0x817C becomes U+FF0D (full-width hyphen-minus) and 0x5C stays the backslash U+005C.
// Raises platform::kErrNotSupported if the system cannot convert the set at all.
DecodedText DecodeCharset(std::string_view bytes, std::string_view canonical);

}  // namespace sendnote::contacts
