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

// Returns the start of bytes read as UTF-16 in that byte order, as far as every other byte is
// zero (ASCII text): up to the end of its first line that is not blank.
std::u16string AsciiLead(std::string_view bytes, bool little) {
  std::u16string lead;
  bool text = false;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto high = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
    const auto low = static_cast<unsigned char>(bytes[little ? i : i + 1]);
    if (high != 0 || low == 0 || low >= 0x80) break;
    const bool blank = low == ' ' || low == '\t' || low == '\r' || low == '\n';
    if (text && (low == '\r' || low == '\n')) break;
    text = text || !blank;
    lead += static_cast<char16_t>(low);
  }
  return lead;
}

// Returns true if UTF-16 text without a byte order mark, in that order, begins with
// BEGIN:VCARD or a contact CSV heading row (some address books write such files).
bool UnmarkedUtf16(std::string_view bytes, bool little) {
  const std::u16string lead = AsciiLead(bytes, little);
  const size_t start = lead.find_first_not_of(u" \t\r\n");
  if (start == std::u16string::npos) return false;
  const std::u16string_view line = std::u16string_view(lead).substr(start);
  return StartsWithNoCase(platform::ToUtf8(line), "BEGIN:VCARD") || IsContactCsvHeading(line);
}

// Returns UTF-16 text (after its byte order mark, if any) as UTF-8 with a byte order mark,
// or empty when the bytes are not UTF-16: they have no UTF-16 mark and do not begin as
// UnmarkedUtf16 says. Windows and some phones write contact files so. Raises for an odd byte
// count or a surrogate without its pair.
std::optional<std::string> Utf16AsUtf8(std::string_view bytes, std::u16string_view name) {
  bool little = bytes.starts_with("\xFF\xFE");
  size_t markBytes = 2;
  if (!little && !bytes.starts_with("\xFE\xFF")) {
    markBytes = 0;
    little = UnmarkedUtf16(bytes, true);
    if (!little && !UnmarkedUtf16(bytes, false)) return std::nullopt;
  }
  bytes.remove_prefix(markBytes);
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
      RaiseFileError(kErrInvalidFileFormat, name,
                     u"not valid UTF-16 text (a lone surrogate at byte " +
                         DecimalText(markBytes + 2 * i) + u")");
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
  if (LooksLikeVCard(bytes, name)) return ParseVCard(bytes, name, warnings);
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
