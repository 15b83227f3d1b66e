#include "portable/VisibleText.h"

#include "platform/Utf.h"

namespace sendnote::portable {

bool IsControl(char32_t c) {
  return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x2028 || c == 0x2029 ||
         (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}

std::u16string Visible(std::u16string_view text, bool keepLineBreaks) {
  static constexpr char16_t kHex[] = u"0123456789abcdef";
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (!IsControl(c) || (keepLineBreaks && (c == u'\r' || c == u'\n'))) {
      out += c;
      continue;
    }
    out += u'\\';
    // \a \b \t \n \v \f \r are the C escapes of 7 to 13.
    if (c >= 7 && c <= 13) {
      out += u"abtnvfr"[c - 7];
      continue;
    }
    if (c < 0x80) {
      out += u'x';
    } else {
      out += u'u';
      out += kHex[(c >> 12) & 0xf];
      out += kHex[(c >> 8) & 0xf];
    }
    out += kHex[(c >> 4) & 0xf];
    out += kHex[c & 0xf];
  }
  return out;
}

std::string VisibleUtf8(std::u16string_view text, bool keepLineBreaks) {
  return platform::ToUtf8(Visible(text, keepLineBreaks));
}

std::string VisibleUtf8(std::string_view utf8) {
  // Byte by byte, so that a name that is not valid UTF-8 is printed as it is: only the
  // encodings of control characters are replaced.
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(utf8[k]); };
    size_t length = 0;
    char32_t c = 0;
    if (byte(i) < 0x80) {
      length = 1;
      c = byte(i);
    } else if (byte(i) == 0xc2 && i + 1 < utf8.size() && (byte(i + 1) & 0xc0) == 0x80) {
      length = 2;  // U+0080 to U+00BF
      c = byte(i + 1);
    } else if (byte(i) == 0xe2 && i + 2 < utf8.size() && (byte(i + 1) & 0xc0) == 0x80 &&
               (byte(i + 2) & 0xc0) == 0x80) {
      length = 3;  // U+2000 to U+2FFF
      c = 0x2000 | ((byte(i + 1) & 0x3fu) << 6) | (byte(i + 2) & 0x3fu);
    }
    if (length > 0 && IsControl(c)) {
      out += VisibleUtf8(std::u16string(1, static_cast<char16_t>(c)));
      i += length;
    } else {
      out += utf8[i++];
    }
  }
  return out;
}

}  // namespace sendnote::portable
