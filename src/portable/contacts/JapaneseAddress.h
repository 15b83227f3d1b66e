// Splitting a Japanese address written on one line ("東京都渋谷区桜丘町26-1") into the parts
// that a letter prints on lines of their own, as phones and hand-typed exports keep it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "portable/contacts/AddressText.h"

namespace sendnote::contacts {

struct JapaneseAddress {
  std::u16string postalCode;  // without its 〒; empty when the text has none
  std::u16string prefecture;
  std::u16string municipality;  // empty when no municipality of the prefecture follows it
  std::u16string rest;
};

// Splits text that begins with one of the 47 prefectures, after an optional postal code
// ("〒150-0031 ", "150-0031 ", "1500031", in ASCII or full-width digits): the prefecture, the
// longest municipality of that prefecture that follows (JapaneseMunicipalities.h), the rest.
// Blanks and line breaks between the parts are dropped; every part is kept as written.
// Nothing for text that does not begin so.
std::optional<JapaneseAddress> SplitJapaneseAddress(std::u16string_view text);

// Splits the street of an address that has a street but neither state nor city: the
// prefecture becomes the state, the municipality the city, the rest the street, and the
// postal code moves into an empty postal code. A street whose postal code differs from the
// address's own is left as it is. Returns true if the address was split.
bool SplitOneLineAddress(AddressParts& parts);

}  // namespace sendnote::contacts
