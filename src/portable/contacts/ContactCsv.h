// Reads contact CSV files: Outlook's export of a contacts folder (English or Japanese
// headings, comma- or tab-separated) and Google Contacts' export (its older and newer
// headings), in UTF-8 (with or without byte order mark) or Shift_JIS (code page 932).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "portable/contacts/ContactEntry.h"

namespace sendnote::contacts {

// Returns one entry per non-empty row after the heading row, in file order.
//
// The text is UTF-8 when it is well-formed UTF-8, else code page 932 when it is that; in text
// that is neither as a whole each row is UTF-8 or else code page 932, and a row that is
// neither is an entry that cannot be read ("line N: the row is neither UTF-8 nor ...").
// The headings choose the form: Google's when any heading is one that only Google's export
// has (GoogleCsvColumns), else Outlook's (OutlookCsvColumns) when any heading is one of its
// own. Each heading that is nearly one of the form's read ones but is not ("住所 2 (会社)")
// adds one warning to `warnings` (when given).
//
// Raises kErrInvalidFileFormat, naming source and line, for text larger than kMaxFileBytes,
// a heading row that is neither UTF-8 nor code page 932, headings of neither form (the
// description lists the headings expected), an unterminated quoted field, a record longer
// than kMaxLineLength, more than kMaxContacts rows, no contact row, or no row that can be
// read.
std::vector<ContactEntry> ParseContactCsv(std::string_view bytes, std::u16string_view source = {},
                                          std::vector<std::u16string>* warnings = nullptr);

// Returns true if the line is a heading row of a form that ParseContactCsv reads.
bool IsContactCsvHeading(std::u16string_view line);

}  // namespace sendnote::contacts
