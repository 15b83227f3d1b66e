// The temporary files that become saved documents: named recognisably, removed by the
// signal handlers when the process is interrupted, and removed by a later run when an
// earlier one was killed before it could.
#pragma once

#include <time.h>

#include <filesystem>
#include <string>

namespace sendnote::docx {

class TemporaryFiles {
 public:
  // How many temporary files may wait at once (a batch is committed before it grows past).
  static constexpr size_t kCapacity = 1024;
  // Every temporary file is named kPrefix + process id + "-" + six characters + kSuffix.
  static constexpr const char* kPrefix = ".~sendnote-";
  static constexpr const char* kSuffix = ".tmp";

  // Creates a new temporary file in the folder open as `folderFd` (kept open until the
  // file is forgotten); returns its descriptor (or -1 with errno set) and its name, and
  // registers it for removal on a signal. Fails with ENOSPC when kCapacity files wait.
  static int Create(int folderFd, std::string& name, size_t& slot);
  // Stops watching the file of `slot` (renamed into place or removed).
  static void Forget(size_t slot);
  // Number of files currently registered.
  static size_t Count();

  // Makes SIGINT, SIGTERM, SIGHUP and SIGQUIT remove every registered file before the
  // process ends as the signal's default would.
  static void RemoveOnSignals();

  // Removes the temporary files of ours in `folder` that a process that no longer runs
  // left there before `before` (a CLOCK_REALTIME time). Errors are ignored: this is
  // tidying.
  static void RemoveStale(const std::filesystem::path& folder, const timespec& before);

  // True when `name` has our temporary files' form.
  static bool IsOurs(const std::string& name);
};

}  // namespace sendnote::docx
