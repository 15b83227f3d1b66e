#include "docx/FileIo.h"
#include "platform/Word.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "docx/DocxErrors.h"
#include "docx/FileBatch.h"
#include "fileio/BoundedFile.h"
#include "platform/ComError.h"

namespace sendnote::docx {

std::string ReadWholeFile(const std::filesystem::path& path, uint64_t maxBytes) {
  using Status = fileio::BoundedFile::Status;
  fileio::BoundedFile file = fileio::ReadBoundedFile(path, maxBytes);
  switch (file.status) {
    case Status::kRead:
      return std::move(file.bytes);
    case Status::kNotFound:
      RaiseWithDetail(platform::kErrWordFileNotFound, u"This file could not be found.",
                      path.string());
    case Status::kNotAFile:
      RaiseBadPackage("not a regular file: " + path.string());
    case Status::kTooLarge:
      RaiseBadPackage("the file is larger than the limit of " + std::to_string(maxBytes) +
                      " bytes");
    case Status::kNoAccess:
      break;
  }
  RaiseAccess(path, file.error);
}

fileio::Descriptor OpenFileToRead(const std::filesystem::path& path, uint64_t maxBytes) {
  // Not blocking: a pipe is refused below instead of waited on.
  fileio::Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      RaiseWithDetail(platform::kErrWordFileNotFound, u"This file could not be found.",
                      path.string());
    }
    RaiseAccess(path, errno);
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) RaiseAccess(path, errno);
  if (!S_ISREG(st.st_mode)) RaiseBadPackage("not a regular file: " + path.string());
  if (static_cast<uint64_t>(st.st_size) > maxBytes) {
    RaiseBadPackage("the file is larger than the limit of " + std::to_string(maxBytes) + " bytes");
  }
  return fd;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         bool overwrite) {
  WriteFileAtomically(path, overwrite, [&](int fd) {
    size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) RaiseAccess(path, errno);
      written += static_cast<size_t>(n);
    }
  });
}

void WriteFileAtomically(const std::filesystem::path& path, bool overwrite,
                         const std::function<void(int fd)>& produce) {
  FileBatch batch;
  batch.Stage(path, overwrite, produce);
  std::vector<FileBatch::Outcome> outcomes = batch.Commit();
  if (outcomes.front().error) throw *outcomes.front().error;
}

std::filesystem::path AbsolutePath(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) RaiseAccess(path, error.value());
  return absolute.lexically_normal();
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat sa, sb;
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace sendnote::docx
