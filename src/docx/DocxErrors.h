// The errors this engine raises, with Word's numbers where Word has one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/ComError.h"

namespace sendnote::docx {

using platform::kErrFileExists;

// Raises Word's "cannot open this file" error (5981) for a file that is not a usable Word
// package; `reason` says why, in plain English.
[[noreturn]] void RaiseBadPackage(std::string_view reason);

// Raises `number` with `text` followed by the path (or another detail).
[[noreturn]] void RaiseWithDetail(int32_t number, std::u16string_view text,
                                  std::string_view detail);

// Raises Path/File access error (75) for `path`, with the text of the errno value `error`.
[[noreturn]] void RaiseAccess(const std::filesystem::path& path, int error);

}  // namespace sendnote::docx
