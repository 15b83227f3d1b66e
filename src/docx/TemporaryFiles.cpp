#include "docx/TemporaryFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace sendnote::docx {
namespace {

// One registered file. The signal handler reads `used` and then the rest; the rest is
// written before `used` is set, so it never sees a half-written name.
struct Slot {
  std::atomic<bool> used{false};
  int folderFd = -1;
  char name[64] = {};
};

Slot g_slots[TemporaryFiles::kCapacity];
std::atomic<size_t> g_count{0};
std::mutex g_mutex;  // between registering threads; the handler takes no lock

void RemoveAll() {
  for (Slot& slot : g_slots) {
    if (slot.used.load(std::memory_order_acquire)) ::unlinkat(slot.folderFd, slot.name, 0);
  }
}

void OnSignal(int signal) {
  const int saved = errno;
  RemoveAll();
  // End as the signal would have ended the process.
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
  errno = saved;
  ::raise(signal);
}

}  // namespace

int TemporaryFiles::Create(int folderFd, std::string& name, size_t& slot) {
  std::lock_guard<std::mutex> lock(g_mutex);
  size_t free = kCapacity;
  for (size_t i = 0; i < kCapacity; ++i) {
    if (!g_slots[i].used.load(std::memory_order_relaxed)) {
      free = i;
      break;
    }
  }
  if (free == kCapacity) {
    errno = ENOSPC;
    return -1;
  }
  // Names relative to the open folder (mkstemp needs a whole path); O_EXCL settles
  // collisions.
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = std::string(kPrefix) + std::to_string(::getpid()) + "-";
    unsigned value = static_cast<unsigned>(::random()) ^ (static_cast<unsigned>(attempt) << 20);
    for (int i = 0; i < 6; ++i) {
      candidate += kChars[value % 36];
      value /= 36;
    }
    candidate += kSuffix;
    Slot& s = g_slots[free];
    std::memcpy(s.name, candidate.c_str(), candidate.size() + 1);
    s.folderFd = folderFd;
    // Registered before the file exists, so that no moment leaves it unwatched.
    s.used.store(true, std::memory_order_release);
    const int fd =
        ::openat(folderFd, candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      name = candidate;
      slot = free;
      g_count.fetch_add(1);
      return fd;
    }
    const int error = errno;
    s.used.store(false, std::memory_order_release);
    if (error != EEXIST) {
      errno = error;
      return -1;
    }
  }
  errno = EEXIST;
  return -1;
}

void TemporaryFiles::Forget(size_t slot) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (slot >= kCapacity || !g_slots[slot].used.load()) return;
  g_slots[slot].used.store(false, std::memory_order_release);
  g_count.fetch_sub(1);
}

size_t TemporaryFiles::Count() { return g_count.load(); }

void TemporaryFiles::RemoveOnSignals() {
  static std::once_flag once;
  std::call_once(once, [] {
    ::srandom(static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(::time(nullptr)));
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
      struct sigaction previous = {};
      // A signal ignored by whoever started us stays ignored.
      if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
      ::sigaction(signal, &action, nullptr);
    }
  });
}

bool TemporaryFiles::IsOurs(const std::string& name) {
  const size_t prefix = std::strlen(kPrefix), suffix = std::strlen(kSuffix);
  return name.size() > prefix + suffix && name.compare(0, prefix, kPrefix) == 0 &&
         name.compare(name.size() - suffix, suffix, kSuffix) == 0;
}

void TemporaryFiles::RemoveStale(const std::filesystem::path& folder, const timespec& before) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  const int fd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!IsOurs(name)) continue;
    // The process id between the prefix and the next "-": a running process keeps its
    // own files, even when they are older than this run.
    const pid_t pid = static_cast<pid_t>(std::atol(name.c_str() + std::strlen(kPrefix)));
    if (pid == ::getpid()) continue;
    if (pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM)) continue;
    struct stat st;
    if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    const bool older = st.st_mtim.tv_sec < before.tv_sec ||
                       (st.st_mtim.tv_sec == before.tv_sec && st.st_mtim.tv_nsec < before.tv_nsec);
    if (!S_ISREG(st.st_mode) || !older) continue;
    ::unlinkat(fd, entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace sendnote::docx
