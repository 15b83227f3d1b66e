// How Word reads a field code, which every Word implementation follows: the field's type
// from its first word, and the property a DOCPROPERTY code names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sendnote::wordrules {

// What Word shows for a DOCPROPERTY field naming no existing property.
inline constexpr std::u16string_view kUnknownPropertyText =
    u"Error! Unknown document property name.";
// Word's type for a field whose code names no known field (wdFieldEmpty).
inline constexpr int32_t kWdFieldEmpty = -1;

// Returns Word's field type for a field code: the first word, in any letter case, looked
// up among the common field names (DOCPROPERTY 85, REF 3, DATE 31, TIME 32, PAGE 33,
// MERGEFIELD 59, ...); -1 for an empty code or an unknown word.
int32_t FieldTypeOfCode(std::u16string_view code);
// Returns the property name a DOCPROPERTY code names: the text between the first pair
// of quotes after the field word, or the first unquoted word; empty if none.
std::u16string DocPropertyNameOfCode(std::u16string_view code);

}  // namespace sendnote::wordrules
