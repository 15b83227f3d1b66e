#include "portable/contacts/Charset.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <utility>

#include "platform/ComError.h"
#include "platform/Utf.h"

namespace sendnote::contacts {
namespace {

constexpr std::string_view kAscii = "US-ASCII";
constexpr std::string_view kLatin1 = "ISO-8859-1";

// Usual names of the supported sets, compared without case, '-' and '_'.
constexpr std::array<std::pair<std::string_view, std::string_view>, 21> kAliases = {{
    {"UTF8", kCharsetUtf8},
    {"SHIFTJIS", kCharsetCp932},
    {"SJIS", kCharsetCp932},
    {"XSJIS", kCharsetCp932},
    {"MSKANJI", kCharsetCp932},
    {"CSSHIFTJIS", kCharsetCp932},
    {"WINDOWS31J", kCharsetCp932},
    {"CP932", kCharsetCp932},
    {"MS932", kCharsetCp932},
    {"XMSCP932", kCharsetCp932},
    {"WINDOWS932", kCharsetCp932},
    {"USASCII", kAscii},
    {"ASCII", kAscii},
    {"ISO88591", kLatin1},
    {"LATIN1", kLatin1},
    {"WINDOWS1252", "CP1252"},
    {"CP1252", "CP1252"},
    {"EUCJP", "EUC-JP"},
    {"XEUCJP", "EUC-JP"},
    {"ISO2022JP", "ISO-2022-JP"},
    {"CSISO2022JP", "ISO-2022-JP"},
}};

std::string AliasKey(std::string_view name) {
  std::string key;
  for (char c : name) {
    if (c == '-' || c == '_') continue;
    key += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return key;
}

// Closes the conversion descriptor on every path.
class IconvHandle {
 public:
  explicit IconvHandle(iconv_t cd) : cd_(cd) {}
  ~IconvHandle() {
    if (Valid()) iconv_close(cd_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return cd_; }

 private:
  iconv_t cd_;
};

DecodedText DecodeWithIconv(std::string_view bytes, std::string_view canonical) {
  const std::string from(canonical);
  IconvHandle cd(iconv_open("UTF-16LE", from.c_str()));
  if (!cd.Valid()) {
    platform::Raise(platform::kErrNotSupported,
                    u"Character set " + platform::FromUtf8(canonical) + u" is not available");
  }
  DecodedText result;
  std::string in(bytes);
  char* inPtr = in.data();
  size_t inLeft = in.size();
  std::string out(in.size() * 2 + 16, '\0');
  size_t produced = 0;
  // Converts the input, then (no input) ends any shift state; grows the output as needed.
  bool flushing = false;
  while (true) {
    char* outPtr = out.data() + produced;
    size_t outLeft = out.size() - produced;
    const size_t rc = flushing ? iconv(cd.Get(), nullptr, nullptr, &outPtr, &outLeft)
                               : iconv(cd.Get(), &inPtr, &inLeft, &outPtr, &outLeft);
    const int error = errno;
    produced = out.size() - outLeft;
    if (rc != static_cast<size_t>(-1)) {
      if (flushing) break;
      flushing = true;
      continue;
    }
    if (error == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    result.ok = false;
    result.errorOffset = static_cast<size_t>(inPtr - in.data());
    return result;
  }
  result.text.reserve(produced / 2);
  for (size_t i = 0; i + 1 < produced; i += 2) {
    result.text += static_cast<char16_t>(static_cast<unsigned char>(out[i]) |
                                         (static_cast<unsigned char>(out[i + 1]) << 8));
  }
  return result;
}

}  // namespace

std::string CanonicalCharset(std::string_view name) {
  const std::string key = AliasKey(name);
  for (const auto& [alias, canonical] : kAliases) {
    if (key == alias) return std::string(canonical);
  }
  return {};
}

DecodedText DecodeCharset(std::string_view bytes, std::string_view canonical) {
  DecodedText result;
  if (canonical == kCharsetUtf8) {
    result.ok = platform::IsValidUtf8(bytes);
    if (result.ok) result.text = platform::FromUtf8(bytes);
    return result;
  }
  if (canonical == kAscii || canonical == kLatin1) {
    result.text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (b >= 0x80 && canonical == kAscii) {
        return DecodedText{{}, false, i};
      }
      result.text += static_cast<char16_t>(b);
    }
    return result;
  }
  return DecodeWithIconv(bytes, canonical);
}

}  // namespace sendnote::contacts
