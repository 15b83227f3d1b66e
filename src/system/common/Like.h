// The automation language's Like operator, binary (case-sensitive) comparison.
#pragma once

#include <string_view>

namespace sendnote {

// True when `text` matches `pattern`: `*` any run (also none), `?` any one character,
// `#` one digit 0-9, `[list]` one character in the list (ranges `a-z`), `[!list]` one
// not in it, `[]` no character. Pattern characters act as such wherever they occur.
// Raises Invalid pattern string (93) for an unclosed list or a descending range.
bool Like(std::u16string_view text, std::u16string_view pattern);

}  // namespace sendnote
