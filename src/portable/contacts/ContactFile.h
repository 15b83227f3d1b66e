// Reading contact files: vCard (2.1 as Outlook writes it, 3.0, 4.0) and the CSV exports of
// Outlook and Google Contacts, into neutral contact records.
//
// Failures raise platform::ComError:
//   53  (platform::kErrFileNotFound)  no file at the path;
//   75  (platform::kErrPathAccess)    the path is a directory, not a regular file, or unreadable;
//   321 (kErrInvalidFileFormat)       the content is not a readable contact file: larger than
//                                     kMaxFileBytes (64 MiB), a line longer than kMaxLineLength
//                                     (16 MiB), more than kMaxContacts (50000) contacts,
//                                     malformed, undecodable, or without contacts.
//   438 (platform::kErrNotSupported)  the system cannot convert a character set at all.
// Descriptions name the file and, for content errors, the line.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "portable/contacts/ContactCsv.h"
#include "portable/contacts/ContactEntry.h"
#include "portable/contacts/ContactFileError.h"
#include "portable/contacts/VCardReader.h"

namespace sendnote::contacts {

// Returns the contacts of the file, in file order (see ParseContactFile); a contact that
// cannot be read keeps its place with its problem, and only a file without any readable
// contact is refused.
// Warnings about the file (columns of a CSV that are not read, text outside a vCard's cards)
// go to `warnings` when given.
std::vector<ContactEntry> ReadContactFile(const std::filesystem::path& path,
                                          std::vector<std::u16string>* warnings = nullptr);

// Returns the contacts of a contact file's bytes: vCard when the text (after a byte order mark
// and blank lines) begins with BEGIN:VCARD or the name ends in ".vcf" or ".vcard", else
// CSV (Outlook's or Google's). Text is UTF-16 when it has a UTF-16 byte order mark, or none
// but begins with BEGIN:VCARD or a contact CSV heading row in ASCII UTF-16 (every other byte
// zero) of either order. name names the file in error descriptions.
std::vector<ContactEntry> ParseContactFile(std::string_view bytes, std::u16string_view name,
                                           std::vector<std::u16string>* warnings = nullptr);

}  // namespace sendnote::contacts
