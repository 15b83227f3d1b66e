#include "portable/contacts/ContactFile.h"

#include <optional>
#include <string>

#include "fileio/BoundedFile.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "portable/contacts/AsciiText.h"

namespace sendnote::contacts {
namespace {

bool LooksLikeVCard(std::string_view bytes, std::u16string_view name) {
  if (EndsWithNoCase(name, u".vcf") || EndsWithNoCase(name, u".vcard")) return true;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  const size_t start = bytes.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return false;
  return StartsWithNoCase(bytes.substr(start), "BEGIN:VCARD");
}

// Returns UTF-16 text (after its byte order mark) as UTF-8 with a byte order mark, or
// empty when the bytes have no UTF-16 mark. Windows and some phones write contact files
// so. Raises for an odd byte count or a surrogate without its pair.
std::optional<std::string> Utf16AsUtf8(std::string_view bytes, std::u16string_view name) {
  const bool little = bytes.starts_with("\xFF\xFE");
  if (!little && !bytes.starts_with("\xFE\xFF")) return std::nullopt;
  bytes.remove_prefix(2);
  if (bytes.size() % 2 != 0) {
    RaiseFileError(kErrInvalidFileFormat, name, u"UTF-16 text with an odd number of bytes");
  }
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
    const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<char16_t>(little ? (b1 << 8 | b0) : (b0 << 8 | b1));
  }
  for (size_t i = 0; i < text.size(); ++i) {
    const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
    const bool paired =
        high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (low || (high && !paired)) {
      RaiseFileError(
          kErrInvalidFileFormat, name,
          u"not valid UTF-16 text (a lone surrogate at byte " + DecimalText(2 + 2 * i) + u")");
    }
    if (paired) ++i;
  }
  return "\xEF\xBB\xBF" + platform::ToUtf8(text);
}

}  // namespace

std::vector<ContactEntry> ParseContactFile(std::string_view bytes, std::u16string_view name,
                                           std::vector<std::u16string>* warnings) {
  if (const std::optional<std::string> utf8 = Utf16AsUtf8(bytes, name)) {
    return ParseContactFile(*utf8, name, warnings);
  }
  if (LooksLikeVCard(bytes, name)) return ParseVCard(bytes, name);
  return ParseContactCsv(bytes, name, warnings);
}

std::vector<ContactEntry> ReadContactFile(const std::filesystem::path& path,
                                          std::vector<std::u16string>* warnings) {
  using Status = fileio::BoundedFile::Status;
  const std::u16string name = platform::FromUtf8(path.string());
  const fileio::BoundedFile file = fileio::ReadBoundedFile(path, kMaxFileBytes);
  switch (file.status) {
    case Status::kRead:
      return ParseContactFile(file.bytes, name, warnings);
    case Status::kNotFound:
      RaiseFileError(platform::kErrFileNotFound, name, u"File not found");
    case Status::kNotAFile:
      RaiseFileError(platform::kErrPathAccess, name, u"Path/File access error (not a file)");
    case Status::kTooLarge:
      RaiseTooLarge(name);
    case Status::kNoAccess:
      break;
  }
  RaiseFileError(platform::kErrPathAccess, name, u"Path/File access error");
}

}  // namespace sendnote::contacts
