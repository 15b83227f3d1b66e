// Quoted-printable values of contact files.
#pragma once

#include <string>
#include <string_view>

namespace sendnote::contacts {

// Returns the bytes that the quoted-printable text encodes ("=XX" in either case). Soft
// line breaks must already be joined; an "=" not followed by two hex digits stays as it is.
std::string DecodeQuotedPrintable(std::string_view text);

}  // namespace sendnote::contacts
