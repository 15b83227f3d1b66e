// The zip layer: a checked, read-only view of an archive held in memory or in an open
// file, and rewriting an archive so that only the entries that changed are compressed
// again. Stored and deflated entries only (what Word writes), over zlib.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/Descriptor.h"

namespace sendnote::docx {

// What an archive may hold before it is refused as a zip bomb.
struct ZipLimits {
  uint64_t maxEntries = 10000;
  uint64_t maxExpandedBytes = 512ull << 20;  // all entries together, as declared
  uint64_t maxEntryBytes = 16ull << 20;      // one entry read into memory (an XML part)
  // All XML parts read into memory together: what their parsed trees cost is a few times
  // their text, so this bounds the memory of a document.
  uint64_t maxXmlBytes = 32ull << 20;
  // Expanded size per stored byte an entry may declare once it is larger than
  // ratioFreeBytes: Word's XML compresses about 10:1, a bomb thousands to one.
  uint64_t maxRatio = 200;
  uint64_t ratioFreeBytes = 1ull << 20;
};

struct ZipEntry {
  std::string name;
  uint64_t size = 0;  // expanded
  uint64_t compressedSize = 0;
  uint32_t crc = 0;
  int32_t method = 0;
  bool directory = false;  // a name ending in "/": no part
  // As the central directory records them, for copying the entry as stored.
  uint16_t flags = 0;
  uint16_t dosTime = 0;
  uint16_t dosDate = 0;
  uint16_t versionMadeBy = 0;
  uint16_t versionNeeded = 0;
  uint16_t internalAttributes = 0;
  uint32_t externalAttributes = 0;
  uint64_t headerOffset = 0;  // of the local header
};

class ZipArchive {
 public:
  // Opens the archive held in `bytes`. Raises the bad-package error when it is not a zip
  // archive, is damaged (also a local header that disagrees with the directory), exceeds
  // the limits, has encrypted entries, entries compressed in an unsupported way,
  // duplicate names or names that climb out of the package.
  static std::unique_ptr<ZipArchive> Open(std::shared_ptr<const std::string> bytes,
                                          const ZipLimits& limits = {});
  // Opens the archive in the regular file open as `file`, read in place as it is needed
  // and never written; raises as above. The file must not change while it is read: any
  // read that finds it changed raises Path/File access error (75).
  static std::unique_ptr<ZipArchive> Open(fileio::Descriptor file, const ZipLimits& limits = {});
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  const std::vector<ZipEntry>& Entries() const { return entries_; }
  // Returns the index of the entry of that name (ASCII case ignored), or empty.
  std::optional<size_t> Find(std::string_view name) const;
  // Returns the expanded data of an entry; raises the bad-package error when it is
  // damaged (also a wrong checksum) or larger than declared or than the limit.
  std::string Read(size_t index) const;
  // Returns the entry's data as stored (compressed), for comparing packages.
  std::string ReadRaw(size_t index) const;
  // The archive's bytes when it is held in memory, else null.
  const std::shared_ptr<const std::string>& Bytes() const { return bytes_; }
  const ZipLimits& Limits() const { return limits_; }

  // Where the entry's stored data lies: its offset in the archive (after the local header).
  uint64_t DataOffset(size_t index) const;
  // Reads `length` bytes at `offset` of the archive; raises when they are not all there.
  void ReadAt(uint64_t offset, size_t length, char* out) const;
  // The open file the archive lies in, or -1 when it is held in memory.
  int FileDescriptor() const { return file_.get(); }
  // Raises Path/File access error (75) when the file has changed since it was opened
  // (its size or modification time); nothing for an archive in memory.
  void CheckUnchanged() const;

 private:
  ZipArchive(std::shared_ptr<const std::string> bytes, fileio::Descriptor file,
             const ZipLimits& limits);
  // Reads and checks the central directory and every local header.
  void ReadDirectory();
  // Raises the changed-file error when the file changed, else the bad-package one.
  [[noreturn]] void RaiseDamaged(const std::string& reason) const;

  std::shared_ptr<const std::string> bytes_;
  fileio::Descriptor file_;
  struct stat opened_ = {};  // the file as it was when opened
  uint64_t size_ = 0;
  std::string tail_;  // the file's last bytes (with the directory), read once
  uint64_t tailStart_ = 0;
  class Inflater;
  mutable std::unique_ptr<Inflater> inflater_;  // made on first use, for every entry
  ZipLimits limits_;
  std::vector<ZipEntry> entries_;
  std::vector<uint64_t> dataOffsets_;  // by entry
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
// an entry cannot be copied or compressed, or the package would need zip64.
std::string RewriteZip(const ZipArchive& archive, const ZipEdits& edits);
// Writes the same into the open file `fd` (from its start, replacing what it held) in one
// pass, without holding the new archive in memory (large entries copied as stored go from
// file to file through one buffer); raises like RewriteZip, and Path/File access error (75) when
// the file cannot be written (a full disk, a size limit) or the archive's own file changed
// while it was copied.
void RewriteZipToDescriptor(const ZipArchive& archive, const ZipEdits& edits, int fd);

// Reads every entry's stored data once, checked as copying checks it (checksum, declared
// size, ratio limit), holding no entry whole; raises the bad-package error naming the first
// that fails, and Path/File access error (75) when the archive's file changed meanwhile.
void CheckEntries(const ZipArchive& archive);

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
