#include "portable/contacts/ContactFile.h"

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

}  // namespace

std::vector<ContactRecord> ParseContactFile(std::string_view bytes, std::u16string_view name) {
  if (LooksLikeVCard(bytes, name)) return ParseVCard(bytes, name);
  return ParseOutlookCsv(bytes, name);
}

std::vector<ContactRecord> ReadContactFile(const std::filesystem::path& path) {
  using Status = fileio::BoundedFile::Status;
  const std::u16string name = platform::FromUtf8(path.string());
  const fileio::BoundedFile file = fileio::ReadBoundedFile(path, kMaxFileBytes);
  switch (file.status) {
    case Status::kRead:
      return ParseContactFile(file.bytes, name);
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
