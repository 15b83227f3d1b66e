// The kind of a file as a person would name it, for refusals that say what is in the way.
#pragma once

#include <sys/types.h>

namespace sendnote::fileio {

// "a regular file", "a folder", "a symbolic link", "a character device", "a block device",
// "a FIFO", "a socket" or "an unknown kind of file", from a stat mode.
const char* FileKindName(mode_t mode);

}  // namespace sendnote::fileio
