// Files saved together: each is written to a temporary file beside its name, then all
// are made durable with one sync, renamed into place and their folders synced once. After
// a crash each name holds either its whole new file or what it held before.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ComError.h"

namespace sendnote::docx {

class FileBatch {
 public:
  struct Outcome {
    std::filesystem::path path;
    std::optional<platform::ComError> error;  // empty: the file is in place
  };

  FileBatch() = default;
  // Removes the temporary files that were not committed.
  ~FileBatch();
  FileBatch(const FileBatch&) = delete;
  FileBatch& operator=(const FileBatch&) = delete;

  // Writes the file that is to take `path`: `produce` fills the open, empty temporary
  // file it is given. Raises File already exists (58) when `path` exists and not
  // `overwrite`, Path/File access error (75) when the folder cannot be written or `path`
  // holds anything but a regular file (a folder, device, FIFO, socket or link), and what
  // `produce` raises; nothing is left behind then. A replaced file's mode is kept, and its
  // owner and group when running as root.
  void Stage(const std::filesystem::path& path, bool overwrite,
             const std::function<void(int fd)>& produce);
  size_t Size() const { return staged_.size(); }
  // True when no more files can wait: commit before staging another.
  bool Full() const;

  // Makes the staged files durable (one file: its own data sync; more: one sync of their file
  // system), renames them into place and syncs their folders; returns what became of each
  // one, in staged order. The batch is empty afterwards.
  std::vector<Outcome> Commit();

 private:
  struct Staged {
    std::filesystem::path path;
    bool overwrite = false;
    int folderFd = -1;
    std::string temporary;  // name in the folder
    size_t slot = 0;
  };
  int FolderOf(const std::filesystem::path& path);
  void Discard(Staged& staged);
  void CloseFolders();

  std::vector<Staged> staged_;
  std::map<std::string, int> folders_;  // folder path -> open descriptor
};

}  // namespace sendnote::docx
