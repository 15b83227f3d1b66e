// Error numbers, limits and error raising shared by the contact file readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sendnote::contacts {

// Raised for content that is not a readable contact file (malformed, too large, no contacts).
// Missing files raise platform::kErrFileNotFound (53), unreadable ones platform::kErrPathAccess
// (75).
inline constexpr int32_t kErrInvalidFileFormat = 321;

// Largest file (and byte string) the readers accept; larger input is refused unread.
inline constexpr size_t kMaxFileBytes = size_t{64} << 20;
// Longest logical vCard line (after unfolding) or CSV record, in bytes or UTF-16 units.
inline constexpr size_t kMaxLineLength = size_t{16} << 20;
// Most contacts one file may hold; every contact costs memory even when it is empty.
inline constexpr size_t kMaxContacts = 50000;

// Raises `number` with "source: message" ("message" alone when source is empty).
[[noreturn]] void RaiseFileError(int32_t number, std::u16string_view source,
                                 std::u16string_view message);
// Raises kErrInvalidFileFormat with "source, line N: message".
[[noreturn]] void RaiseLineError(std::u16string_view source, size_t line,
                                 std::u16string_view message);
// Returns "line N: message", the problem of one contact that cannot be read.
std::u16string LineProblem(size_t line, std::u16string_view message);
// Raises kErrInvalidFileFormat with "source, problem" ("problem" alone when source is empty).
[[noreturn]] void RaiseProblem(std::u16string_view source, std::u16string_view problem);

// Raises kErrInvalidFileFormat ("source, line N: ...") if records already holds kMaxContacts,
// before the contact beginning on that line is added.
void CheckContactCount(size_t count, std::u16string_view source, size_t line);

// Raises the too-large error for more than kMaxFileBytes, the one message of that limit.
[[noreturn]] void RaiseTooLarge(std::u16string_view source);
// Returns the content of a contact file without its UTF-8 byte order mark; raises the
// too-large error for more than kMaxFileBytes.
std::string_view ContactFileText(std::string_view bytes, std::u16string_view source);

// Returns the decimal form of n.
std::u16string DecimalText(size_t n);

}  // namespace sendnote::contacts
