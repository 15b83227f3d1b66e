// ASCII-only text helpers of the contact file readers (names, parameters, markers).
#pragma once

#include <string>
#include <string_view>

namespace sendnote::contacts {

// Returns the text without leading and trailing blanks and tabs.
std::string_view TrimBlanks(std::string_view text);
// Returns the text with ASCII letters in upper case.
std::string UpperAscii(std::string_view text);
// Returns true if the texts are equal apart from the case of ASCII letters.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix);

}  // namespace sendnote::contacts
