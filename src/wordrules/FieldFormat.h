// The general format switches of a field code (\* MERGEFORMAT, \* CHARFORMAT, \* Upper,
// \* Lower, \* FirstCap, \* Caps) and what they do to a result's text. Every Word
// implementation applies them alike when it refreshes a field.
#pragma once

#include <string>
#include <string_view>

namespace sendnote::wordrules {

struct FormatSwitches {
  bool charFormat = false;  // the result takes the format of the code's first character
  enum class Case { kAsIs, kUpper, kLower, kFirstCap, kCaps } letterCase = Case::kAsIs;
};

// Reads the \* switches of a field code; switch words compare without regard to case,
// and quoted text is not searched. Other switches (\@, \#) do not change a text result.
FormatSwitches ReadFormatSwitches(std::u16string_view code);

// Returns `text` with the letter case the switches ask for (Latin letters, full-width
// ones included).
std::u16string ApplyCase(std::u16string_view text, FormatSwitches::Case letterCase);

}  // namespace sendnote::wordrules
