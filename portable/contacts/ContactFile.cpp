#include "portable/contacts/ContactFile.h"

#include <fstream>
#include <string>
#include <system_error>

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
  namespace fs = std::filesystem;
  const std::u16string name = platform::FromUtf8(path.string());
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) {
    RaiseFileError(platform::kErrFileNotFound, name, u"File not found");
  }
  if (error) RaiseFileError(platform::kErrPathAccess, name, u"Path/File access error");
  if (status.type() != fs::file_type::regular) {
    RaiseFileError(platform::kErrPathAccess, name, u"Path/File access error (not a file)");
  }
  const uintmax_t size = fs::file_size(path, error);
  if (error) RaiseFileError(platform::kErrPathAccess, name, u"Path/File access error");
  if (size > kMaxFileBytes) {
    RaiseFileError(kErrInvalidFileFormat, name,
                   u"the file is larger than " + DecimalText(kMaxFileBytes) + u" bytes");
  }

  std::ifstream in(path, std::ios::binary);
  if (!in) RaiseFileError(platform::kErrPathAccess, name, u"Path/File access error");
  // Reads at most one byte past the limit, in case the file grew since its size was taken.
  std::string bytes(static_cast<size_t>(size) + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) RaiseFileError(platform::kErrPathAccess, name, u"Path/File access error");
  bytes.resize(static_cast<size_t>(in.gcount()));
  while (bytes.size() <= kMaxFileBytes && in.good()) {
    char chunk[4096];
    in.read(chunk, sizeof chunk);
    bytes.append(chunk, static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) RaiseFileError(platform::kErrPathAccess, name, u"Path/File access error");
  return ParseContactFile(bytes, name);
}

}  // namespace sendnote::contacts
