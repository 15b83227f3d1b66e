// Reads the CSV file that Outlook exports from a contacts folder, with English or Japanese
// headings, in UTF-8 (with or without byte order mark) or Shift_JIS (code page 932).
#pragma once

#include <string_view>
#include <vector>

#include "portable/contacts/ContactEntry.h"
#include "portable/contacts/ContactFileError.h"

namespace sendnote::contacts {

// Returns one contact per non-empty row after the heading row, in file order.
//
// The text is UTF-8 when it is well-formed UTF-8, else code page 932. Columns are recognised
// by their heading, compared without blanks and ASCII case ("First Name", "姓", "番地 (会社)",
// "Business Street 2", "会社住所私書箱", ...); other columns are ignored. "敬称" is the
// Suffix, except next to a "敬称 (英語)" column, where it is the Title (and "敬称 (英語)" the
// Suffix). Street lines 1 to 3 are joined by CR LF. Subject is ComposeFullName of the names;
// each whole address is ComposeAddress of its parts; SelectedMailingAddress is the first of
// business, home and other that has any address part, else 0.
//
// Raises kErrInvalidFileFormat, naming source and line, for text larger than kMaxFileBytes,
// text that is neither UTF-8 nor code page 932, an unterminated quoted field, a record longer
// than kMaxLineLength, a first row without any known heading, more than kMaxContacts rows, or
// no contact row.
std::vector<ContactEntry> ParseOutlookCsv(std::string_view bytes, std::u16string_view source = {});

}  // namespace sendnote::contacts
