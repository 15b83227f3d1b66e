// Writes a zip archive in one pass, front to back: entries copied as stored from another
// archive (from file to file when both are files), entries deflated here, then the
// central directory. No second copy is involved, so an untouched entry
// costs only the copying of its bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "docx/Zip.h"

struct z_stream_s;

namespace sendnote::docx {

class ZipWriter {
  class CopyCheck;

 public:
  // Writes into the open file `fd` from its start, cutting off what it held; with -1,
  // into memory (see Finish).
  explicit ZipWriter(int fd);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // Copies entry `index` of `archive` with its stored data, method, checksum and time,
  // checking the data as it passes (no entry is held whole): it must expand to its declared
  // size with its declared checksum, within the archive's ratio limit; raises the
  // bad-package error naming the entry otherwise. The caller checks afterwards that the
  // archive's file has not changed meanwhile.
  void Copy(const ZipArchive& archive, size_t index);
  // The same check of entry `index` without writing anything.
  void Check(const ZipArchive& archive, size_t index);
  // Adds an entry whose data is deflated here (or kept as it is with `store`). `like`
  // (may be null) is the entry it replaces, whose name, flags and attributes it keeps.
  void Add(std::string_view name, std::string_view data, const ZipEntry* like, bool store = false);
  // The time of the entries added from now on (by default the time the writer was made),
  // in the zip format's own form.
  void SetTime(uint16_t dosTime, uint16_t dosDate) {
    dosTime_ = dosTime;
    dosDate_ = dosDate;
  }
  // Writes the central directory; returns the whole archive when writing into memory.
  // Raises Path/File access error (75) when the file cannot be written, and the
  // bad-package error when the archive would need zip64 records.
  std::string Finish();

 private:
  struct Central {
    std::string name;
    ZipEntry entry;  // with the new header offset and sizes
  };
  void Header(const ZipEntry& entry, std::string_view name);
  void Flush();
  // Copies from the file `from` to the end of the file; returns how much it could copy.
  uint64_t CopyFromFile(int from, uint64_t offset, uint64_t length, CopyCheck& check);
  [[noreturn]] void RaiseWrite(int error) const;

  int fd_;
  std::string pending_;     // bytes not yet in the file (in memory: the whole archive)
  uint64_t pendingAt_ = 0;  // their offset in the archive
  uint64_t size_ = 0;       // everything written or pending
  uint16_t dosTime_ = 0;    // the time of new entries
  uint16_t dosDate_ = 0;
  std::vector<Central> central_;
  std::unique_ptr<z_stream_s> deflater_;  // made on first use
  std::unique_ptr<z_stream_s> inflater_;  // for checking copied entries, made on first use
  std::string checkBuffer_;               // what the check inflates into
  std::string copyBuffer_;                // for large entries copied from a file
};

}  // namespace sendnote::docx
