#include "docx/FileBatch.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <time.h>
#include <cerrno>
#include <cstring>

#include "docx/DocxErrors.h"
#include "docx/TemporaryFiles.h"
#include "fileio/Descriptor.h"
#include "fileio/FileKind.h"
#include "platform/Word.h"

namespace sendnote::docx {
namespace {

using fileio::Descriptor;

// Raises when something other than a regular file holds the name: a rename would put the
// letter in place of a device, a FIFO or a link, and a folder cannot be replaced at all.
void RefuseUnlessRegular(const std::filesystem::path& path, const struct stat& st) {
  if (S_ISREG(st.st_mode)) return;
  std::string detail = path.string();
  detail += " is ";
  detail += fileio::FileKindName(st.st_mode);
  detail += "; only a regular file is replaced";
  RaiseWithDetail(platform::kErrPathAccess, u"Path/File access error", detail);
}

// Gives the temporary file `temporary` in `folderFd` the name `path`; raises on failure.
void Place(int folderFd, const std::string& temporary, const std::filesystem::path& path,
           bool overwrite) {
  const std::string target = path.filename().string();
  if (overwrite) {
    // Looked at again just before the rename: the name may have changed since it was staged.
    struct stat st;
    if (::fstatat(folderFd, target.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
      RefuseUnlessRegular(path, st);
    }
    if (::renameat(folderFd, temporary.c_str(), folderFd, target.c_str()) != 0) {
      RaiseAccess(path, errno);
    }
    return;
  }
  if (::renameat2(folderFd, temporary.c_str(), folderFd, target.c_str(), RENAME_NOREPLACE) == 0) {
    return;
  }
  if (errno == EEXIST) RaiseWithDetail(kErrFileExists, u"File already exists", path.string());
  if (errno != EINVAL && errno != ENOSYS) RaiseAccess(path, errno);
  // A file system without the no-replace rename: link() refuses an existing name too;
  // the temporary name is removed afterwards.
  if (::linkat(folderFd, temporary.c_str(), folderFd, target.c_str(), 0) != 0) {
    if (errno == EEXIST) RaiseWithDetail(kErrFileExists, u"File already exists", path.string());
    RaiseAccess(path, errno);
  }
  ::unlinkat(folderFd, temporary.c_str(), 0);
}

}  // namespace

FileBatch::~FileBatch() {
  for (Staged& staged : staged_) Discard(staged);
  CloseFolders();
}

bool FileBatch::Full() const { return TemporaryFiles::Count() >= TemporaryFiles::kCapacity; }

int FileBatch::FolderOf(const std::filesystem::path& path) {
  const std::filesystem::path parent = path.parent_path();
  const std::string key = parent.empty() ? "." : parent.string();
  if (const auto it = folders_.find(key); it != folders_.end()) return it->second;
  const int fd = ::open(key.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) RaiseAccess(path, errno);
  folders_.emplace(key, fd);
  // The first use of a folder tidies what a killed run left there.
  timespec now = {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  TemporaryFiles::RemoveStale(key, now);
  return fd;
}

void FileBatch::Discard(Staged& staged) {
  if (staged.temporary.empty()) return;
  ::unlinkat(staged.folderFd, staged.temporary.c_str(), 0);
  TemporaryFiles::Forget(staged.slot);
  staged.temporary.clear();
}

void FileBatch::CloseFolders() {
  for (const auto& [key, fd] : folders_) ::close(fd);
  folders_.clear();
}

void FileBatch::Stage(const std::filesystem::path& path, bool overwrite,
                      const std::function<void(int fd)>& produce) {
  if (path.filename().empty()) RaiseAccess(path, EISDIR);
  // A name that cannot be examined is left to the rename to refuse.
  struct stat existing;
  const bool exists = ::lstat(path.c_str(), &existing) == 0;
  if (exists) RefuseUnlessRegular(path, existing);
  if (exists && !overwrite) RaiseWithDetail(kErrFileExists, u"File already exists", path.string());
  Staged staged;
  staged.path = path;
  staged.overwrite = overwrite;
  staged.folderFd = FolderOf(path);
  Descriptor fd(TemporaryFiles::Create(staged.folderFd, staged.temporary, staged.slot));
  if (fd.get() < 0) RaiseAccess(path, errno);
  try {
    // The replacement keeps the replaced file's permissions (and, where we may give them,
    // its owner and group); the owner first, as a change of owner clears set-id bits.
    if (exists) {
      if (::geteuid() == 0 && ::fchown(fd.get(), existing.st_uid, existing.st_gid) != 0) {
        RaiseAccess(path, errno);
      }
      if (::fchmod(fd.get(), existing.st_mode & 07777) != 0) RaiseAccess(path, errno);
    }
    produce(fd.get());
    if (!fd.Close()) RaiseAccess(path, errno);
  } catch (...) {
    Discard(staged);
    throw;
  }
  staged_.push_back(std::move(staged));
}

std::vector<FileBatch::Outcome> FileBatch::Commit() {
  std::vector<Outcome> outcomes;
  std::optional<platform::ComError> syncError;
  // Durable before any takes its name, so that a crash never leaves a partial file under it.
  try {
    if (staged_.size() == 1) {
      // Its data and what finds them (size, blocks); its times need not wait for the disk.
      const Staged& only = staged_.front();
      Descriptor fd(::openat(only.folderFd, only.temporary.c_str(), O_RDONLY | O_CLOEXEC));
      // A kept mode without read permission: the file system's sync instead.
      if (fd.get() < 0 && errno == EACCES) {
        if (::syncfs(only.folderFd) != 0) RaiseAccess(only.path, errno);
      } else if (fd.get() < 0 || ::fdatasync(fd.get()) != 0) {
        RaiseAccess(only.path, errno);
      }
    } else {
      for (const auto& [key, fd] : folders_) {
        if (::syncfs(fd) != 0) RaiseAccess(key, errno);
      }
    }
  } catch (const platform::ComError& e) {
    syncError = e;
  }
  for (Staged& staged : staged_) {
    Outcome outcome{staged.path, syncError};
    if (!syncError) {
      try {
        Place(staged.folderFd, staged.temporary, staged.path, staged.overwrite);
        TemporaryFiles::Forget(staged.slot);
        staged.temporary.clear();
      } catch (const platform::ComError& e) {
        outcome.error = e;
      }
    }
    Discard(staged);
    outcomes.push_back(std::move(outcome));
  }
  staged_.clear();
  // The new names survive a crash once their folders are synced.
  for (const auto& [key, fd] : folders_) ::fsync(fd);
  CloseFolders();
  return outcomes;
}

}  // namespace sendnote::docx
