// Reading a whole file of bounded size: what both the template reader and the contact
// file reader need, each turning the outcome into its own error.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace sendnote::fileio {

struct BoundedFile {
  enum class Status {
    kRead,      // `bytes` holds the whole file
    kNotFound,  // no such file (or a folder on the way is missing)
    kNotAFile,  // a folder, a pipe, a device: not a regular file
    kTooLarge,  // more than the limit, also when it grew past it while being read
    kNoAccess,  // it could not be opened or read; `error` is the errno value
  };
  Status status = Status::kNoAccess;
  std::string bytes;
  int error = 0;
};

// Reads the regular file at `path` if it holds at most `maxBytes`. Never waits on a pipe,
// never holds more than `maxBytes` plus one chunk in memory, and throws nothing but
// std::bad_alloc.
BoundedFile ReadBoundedFile(const std::filesystem::path& path, uint64_t maxBytes);

}  // namespace sendnote::fileio
