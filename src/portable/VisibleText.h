// Text from contact files as it may be printed: a control character would forge a line of
// --list or reach the terminal as an escape sequence, so each is shown as an escape instead
// ("\t", "\n", "\x1b", "\u009b"), as ls -b and git show them in names.
#pragma once

#include <string>
#include <string_view>

namespace sendnote::portable {

// True for the characters Visible() shows as escapes: C0 controls, DEL, C1 controls, the
// Unicode line and paragraph separators and the bidirectional embeddings, overrides and
// isolates (which reorder what follows them on the line).
bool IsControl(char32_t c);

// `text` with every control character shown as an escape; `keepLineBreaks` leaves CR and
// LF as they are (message boxes break their lines with them).
std::u16string Visible(std::u16string_view text, bool keepLineBreaks = false);
// The same as UTF-8, for the streams.
std::string VisibleUtf8(std::u16string_view text, bool keepLineBreaks = false);
// The same for UTF-8 text (a path, a message already converted).
std::string VisibleUtf8(std::string_view utf8);

}  // namespace sendnote::portable
