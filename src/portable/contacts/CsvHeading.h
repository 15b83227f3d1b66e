// Headings of contact CSV files: how they compare, and which unknown one resembles a known
// one closely enough to be a misspelling worth a warning.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sendnote::contacts {

// Returns the heading as compared: without blanks and byte order marks, ASCII in lower case,
// full-width parentheses as ASCII ones.
std::u16string HeadingKey(std::u16string_view heading);

// Returns the known heading that `key` (a HeadingKey) is a near miss of: one edited in at most
// two characters and in fewer than half of its own ("住所 2 (会社)" for "番地 2 (会社)"), the
// closest first; nothing when none is that close.
std::optional<std::u16string> NearMissOf(std::u16string_view key,
                                         const std::vector<std::u16string>& knownHeadings);

}  // namespace sendnote::contacts
