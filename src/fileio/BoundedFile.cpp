#include "fileio/BoundedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fileio/Descriptor.h"

namespace sendnote::fileio {
namespace {

BoundedFile Failed(BoundedFile::Status status, int error = 0) {
  BoundedFile result;
  result.status = status;
  result.error = error;
  return result;
}

}  // namespace

BoundedFile ReadBoundedFile(const std::filesystem::path& path, uint64_t maxBytes) {
  using Status = BoundedFile::Status;
  // Not blocking: a pipe is refused below instead of waited on.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Failed(Status::kNotFound, errno);
    return Failed(Status::kNoAccess, errno);
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return Failed(Status::kNoAccess, errno);
  if (!S_ISREG(st.st_mode)) return Failed(Status::kNotAFile);
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return Failed(Status::kTooLarge);

  // The size read first is a guess: the file may shrink or grow while it is read, and
  // reading goes on to its end but never past the limit.
  BoundedFile result;
  result.bytes.resize(static_cast<size_t>(st.st_size));
  size_t filled = 0;
  for (;;) {
    if (filled == result.bytes.size()) {
      if (filled > maxBytes) return Failed(Status::kTooLarge);
      result.bytes.resize(filled + 4096);
    }
    const ssize_t n = ::read(fd.get(), result.bytes.data() + filled, result.bytes.size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Failed(Status::kNoAccess, errno);
    if (n == 0) break;
    filled += static_cast<size_t>(n);
  }
  if (filled > maxBytes) return Failed(Status::kTooLarge);
  result.bytes.resize(filled);
  result.status = Status::kRead;
  return result;
}

}  // namespace sendnote::fileio
