// Reading a whole file and writing one atomically: the written file appears complete or
// not at all.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "fileio/Descriptor.h"

namespace sendnote::docx {

// Returns the file's bytes. Raises Word's "file not found" (5174) when it does not exist,
// Path/File access error (75) when it cannot be read, and the bad-package error when it
// is larger than `maxBytes` or not a regular file.
std::string ReadWholeFile(const std::filesystem::path& path, uint64_t maxBytes);
// Opens the file for reading only, with the same refusals as ReadWholeFile, and reads
// nothing yet.
fileio::Descriptor OpenFileToRead(const std::filesystem::path& path, uint64_t maxBytes);

// Writes `bytes` to `path` through a temporary file in the same folder that is flushed to
// disk and then renamed into place. An existing file is replaced only when `overwrite`;
// otherwise raises File already exists (58). Raises Path/File access error (75) when the
// folder cannot be written. Leaves no temporary file behind on any path.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, bool overwrite);
// The same with the content written by `produce` into the open, empty temporary file it
// is given.
void WriteFileAtomically(const std::filesystem::path& path, bool overwrite,
                         const std::function<void(int fd)>& produce);

// Returns the absolute, normalized form of `path`; raises Path/File access error (75)
// when there is no current folder to resolve it against.
std::filesystem::path AbsolutePath(const std::filesystem::path& path);

// True when both paths name the same existing file (also through links).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace sendnote::docx
