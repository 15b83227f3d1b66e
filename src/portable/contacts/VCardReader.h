// Reads vCard text: 2.1 as Outlook writes it (quoted-printable, CHARSET=SHIFT_JIS, bare types
// like ADR;WORK;PREF), 3.0 and 4.0 (UTF-8, TYPE lists, PREF, LABEL parameter).
#pragma once

#include <string_view>
#include <vector>

#include "portable/contacts/ContactEntry.h"
#include "portable/contacts/ContactFileError.h"

namespace sendnote::contacts {

// Returns the cards of the text as contacts, in file order.
//
// Members: N gives LastName, FirstName (middle name ignored), Title and Suffix; FN the
// Subject (composed from the names when absent); ORG CompanyName and Department (further units
// joined by a blank); TITLE JobTitle; NOTE Body. ADR of type WORK is the business address,
// HOME the home address, any other (POSTAL, none, ...) the other address; its parts give the
// post-office box, street, city, state, postal code and country. Its extended address (a
// building, floor or suite) is the street's last line (CR LF before it), or the street when
// that is empty; only on a card that Outlook wrote (an X-MS- property or a Microsoft PRODID)
// is the business address's extended part the OfficeLocation. The whole address is the LABEL
// of that kind (property or 4.0 parameter), else composed by ComposeAddress.
// TEL: CELL is the mobile number; FAX the fax of its place (WORK, HOME, else other); WORK or
// HOME the telephone of that place; VOICE, PREF or no type the other telephone; pagers, car
// phones and the like are skipped. EMAIL gives Email1Address.
// X-PHONETIC-FIRST-NAME, X-PHONETIC-LAST-NAME and X-PHONETIC-ORG give the Yomi names, else
// the SORT-AS parameter of N and ORG, else SORT-STRING ("last first").
//
// Where a card holds several values for one member, the most preferred wins (PREF, TYPE=pref
// or the lowest PREF=n), the first among equals. SelectedMailingAddress is
// X-MS-OL-DEFAULT-POSTAL-ADDRESS (0 to 3) when present, else the kind of the most preferred
// address, else of the card's first address, else 0.
//
// Values are decoded (quoted-printable, then the CHARSET) before structured values are split
// at ';', so Shift_JIS characters ending in byte 0x5C survive. A value without CHARSET is
// UTF-8 when it is well-formed UTF-8, else Windows' Shift_JIS (code page 932).
//
// A card that cannot be read keeps its place as an entry with its problem ("line N: reason"):
// a malformed line, no END:VCARD (at the end of the text or before the next BEGIN:VCARD), an
// unknown version, character set or encoding, text not valid in its character set, a
// quoted-printable soft line break at the end of the text, or one followed by an indented
// line where the blank reads both as text and as indentation.
//
// Text outside the cards (a mail header, a stray word between cards) is skipped, with one
// warning naming its first line added to `warnings` (when given).
//
// Raises kErrInvalidFileFormat, naming source and line, for text larger than kMaxFileBytes,
// more than kMaxContacts cards, a line longer than kMaxLineLength, no card at all (naming the
// first line outside a card: "expected BEGIN:VCARD"), or no card that can be read (with the
// first card's problem).
std::vector<ContactEntry> ParseVCard(std::string_view bytes, std::u16string_view source = {},
                                     std::vector<std::u16string>* warnings = nullptr);

}  // namespace sendnote::contacts
