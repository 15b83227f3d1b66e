// Whole addresses and full names composed from their parts, as Outlook keeps them.
#pragma once

#include <string>
#include <string_view>

namespace sendnote::contacts {

// The parts of one postal address; multi-line parts break lines with CR LF.
struct AddressParts {
  std::u16string postOfficeBox;
  std::u16string extended;  // building, floor, suite, ...
  std::u16string street;
  std::u16string city;
  std::u16string state;
  std::u16string postalCode;
  std::u16string country;

  // Returns true if no part has text.
  bool Empty() const;
};

// Returns the whole address in Japanese order, lines joined by CR LF and empty lines left out:
// the postal code; state, city and the street's first line; the street's further lines; the
// extended address; the post-office box; the country, unless it is Japan. Parts on one line
// run together, except that a blank separates two parts that meet with ASCII characters on
// both sides ("東京都千代田区丸の内1-1", "Osaka Kita-ku").
std::u16string ComposeAddress(const AddressParts& parts);

// Makes the extended part (a building, floor or suite) the street's last line, after CR LF,
// as Outlook stores a two-line street; the street itself when that is empty (some phones
// write all of it there).
void MergeExtendedIntoStreet(AddressParts& parts);

// Returns the text with every line break (CR LF, LF or a lone CR) as CR LF.
std::u16string NormalizeLineBreaks(std::u16string_view text);

// Returns the full name of a contact that has no file-as text of its own: "Last First Middle"
// when any name holds a non-ASCII character (Japanese order), else "First Middle Last"; empty
// names are left out and the rest joined by one blank. Without any name, the company name.
std::u16string ComposeFullName(std::u16string_view first, std::u16string_view middle,
                               std::u16string_view last, std::u16string_view company);

}  // namespace sendnote::contacts
