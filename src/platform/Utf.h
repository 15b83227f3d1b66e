// Conversions between the system's UTF-16 text and UTF-8 at the edges.
#pragma once

#include <string>
#include <string_view>

namespace sendnote::platform {

// Returns the UTF-8 form; unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// Returns the UTF-16 form; malformed sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);
// Returns true if the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace sendnote::platform
