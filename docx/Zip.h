// The zip layer: a checked, read-only view of an archive held in memory, and rewriting
// an archive so that only the entries that changed are compressed again.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sendnote::docx {

// What an archive may hold before it is refused as a zip bomb.
struct ZipLimits {
  uint64_t maxEntries = 10000;
  uint64_t maxExpandedBytes = 512ull << 20;  // all entries together, as declared
  uint64_t maxEntryBytes = 128ull << 20;     // one entry read into memory
};

struct ZipEntry {
  std::string name;
  uint64_t size = 0;  // expanded
  uint64_t compressedSize = 0;
  uint32_t crc = 0;
  int32_t method = 0;
  bool directory = false;  // a name ending in "/": no part
};

class ZipArchive {
 public:
  // Opens the archive held in `bytes`. Raises the bad-package error when it is not a zip
  // archive, is damaged, exceeds the limits, has encrypted entries, entries compressed in
  // an unsupported way, duplicate names or names that climb out of the package.
  static std::unique_ptr<ZipArchive> Open(std::shared_ptr<const std::string> bytes,
                                          const ZipLimits& limits = {});
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  const std::vector<ZipEntry>& Entries() const { return entries_; }
  // Returns the index of the entry of that name (ASCII case ignored), or empty.
  std::optional<size_t> Find(std::string_view name) const;
  // Returns the expanded data of an entry; raises the bad-package error when it is
  // damaged or larger than declared or than the limit.
  std::string Read(size_t index) const;
  // Returns the entry's data as stored (compressed), for comparing packages.
  std::string ReadRaw(size_t index) const;
  const std::shared_ptr<const std::string>& Bytes() const { return bytes_; }
  const ZipLimits& Limits() const { return limits_; }

  // The libzip archive, for copying entries as stored.
  struct Handle;
  const Handle& Native() const { return *handle_; }

 private:
  ZipArchive(std::shared_ptr<const std::string> bytes, const ZipLimits& limits);

  std::shared_ptr<const std::string> bytes_;
  ZipLimits limits_;
  std::unique_ptr<Handle> handle_;
  std::vector<ZipEntry> entries_;
  std::map<std::string, size_t, std::less<>> byFoldedName_;
};

// Changes to apply to an archive. Replaced entries keep their place, added ones come
// last in the order given; all other entries keep their compressed data as it was.
struct ZipEdits {
  std::map<size_t, std::string> replaced;                  // entry index -> new data
  std::vector<size_t> removed;                             // entry indexes
  std::vector<std::pair<std::string, std::string>> added;  // name, data
};

// Returns the bytes of `archive` with `edits` applied; raises the bad-package error when
// libzip fails.
std::string RewriteZip(const ZipArchive& archive, const ZipEdits& edits);
// Writes the same into the open file `fd` (from its start, replacing what it held) in one
// pass, without holding the new archive in memory; raises like RewriteZip, and Path/File
// access error (75) when the file cannot be written (a full disk, a size limit).
void RewriteZipToDescriptor(const ZipArchive& archive, const ZipEdits& edits, int fd);

struct NewZipEntry {
  std::string name;
  std::string data;
  bool store = false;  // kept uncompressed (already compressed data such as images)
};

// Returns a new archive holding the entries in order.
std::string WriteZip(const std::vector<NewZipEntry>& entries);

// Returns the name with ASCII letters lower-cased: part names compare without case.
std::string FoldCase(std::string_view name);

}  // namespace sendnote::docx
