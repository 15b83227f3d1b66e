#include "docx/Zip.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "docx/DocxErrors.h"
#include "docx/ZipWriter.h"
#include "platform/AsciiCase.h"
#include "platform/ComError.h"

namespace sendnote::docx {
namespace {

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct SourceFreer {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
struct FileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveCloser>;
using SourcePtr = std::unique_ptr<zip_source_t, SourceFreer>;
using FilePtr = std::unique_ptr<zip_file_t, FileCloser>;

// zip_error_t with its cleanup.
class ZipError {
 public:
  ZipError() { zip_error_init(&error_); }
  ~ZipError() { zip_error_fini(&error_); }
  ZipError(const ZipError&) = delete;
  ZipError& operator=(const ZipError&) = delete;
  zip_error_t* get() { return &error_; }
  int code() const { return error_.zip_err; }
  std::string text() { return zip_error_strerror(&error_); }

 private:
  zip_error_t error_;
};

uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint64_t Le64(const unsigned char* p) {
  return static_cast<uint64_t>(Le32(p)) | (static_cast<uint64_t>(Le32(p + 4)) << 32);
}

// What the end records say of the central directory.
struct EndRecord {
  uint64_t entries = 0;
  uint64_t directorySize = 0;
  uint64_t directoryOffset = 0;
};

constexpr size_t kEndSize = 22;
constexpr size_t kLongestEndSearch = kEndSize + 0xFFFF;  // the record and its longest comment

// Finds the end records in `tail`, the last bytes of an archive of `size` bytes; `read`
// reads elsewhere in the archive (for a zip64 record). Empty when there is no end record.
// Read before libzip allocates anything for the entries.
template <typename Read>
std::optional<EndRecord> FindEnd(std::string_view tail, uint64_t size, const Read& read) {
  if (tail.size() < kEndSize) return std::nullopt;
  const auto* data = reinterpret_cast<const unsigned char*>(tail.data());
  const uint64_t tailStart = size - tail.size();
  for (size_t pos = tail.size() - kEndSize + 1; pos-- > 0;) {
    if (Le32(data + pos) != 0x06054b50) continue;
    EndRecord end;
    end.entries = Le16(data + pos + 10);
    end.directorySize = Le32(data + pos + 12);
    end.directoryOffset = Le32(data + pos + 16);
    // A zip64 archive keeps the real values in its own record, found through a locator.
    const bool wide = end.entries == 0xFFFF || end.directorySize == 0xFFFFFFFF ||
                      end.directoryOffset == 0xFFFFFFFF;
    if (wide && pos >= 20 && Le32(data + pos - 20) == 0x07064b50) {
      const uint64_t record = Le64(data + pos - 20 + 8);
      if (record + 56 <= tailStart + pos - 20) {
        const std::string bytes = read(record, 56);
        const auto* r = reinterpret_cast<const unsigned char*>(bytes.data());
        if (Le32(r) == 0x06064b50) {
          end.entries = Le64(r + 32);
          end.directorySize = Le64(r + 40);
          end.directoryOffset = Le64(r + 48);
        }
      }
    }
    return end;
  }
  return std::nullopt;
}

// The fields of one central directory record that libzip does not tell, read from
// `directory` at `pos`; returns the position of the next record, or 0 when it is damaged.
size_t ParseCentralRecord(std::string_view directory, size_t pos, ZipEntry& entry,
                          std::string& rawName) {
  if (pos + 46 > directory.size()) return 0;
  const auto* d = reinterpret_cast<const unsigned char*>(directory.data()) + pos;
  if (Le32(d) != 0x02014b50) return 0;
  entry.versionMadeBy = Le16(d + 4);
  entry.versionNeeded = Le16(d + 6);
  entry.flags = Le16(d + 8);
  entry.dosTime = Le16(d + 12);
  entry.dosDate = Le16(d + 14);
  uint64_t compressed = Le32(d + 20), size = Le32(d + 24), offset = Le32(d + 42);
  const size_t nameLength = Le16(d + 28), extraLength = Le16(d + 30), commentLength = Le16(d + 32);
  entry.internalAttributes = Le16(d + 36);
  entry.externalAttributes = Le32(d + 38);
  const size_t next = pos + 46 + nameLength + extraLength + commentLength;
  if (next > directory.size()) return 0;
  rawName.assign(directory.substr(pos + 46, nameLength));
  // The zip64 extra field holds, in this order, the values whose 32-bit field is full.
  std::string_view extra = directory.substr(pos + 46 + nameLength, extraLength);
  while (extra.size() >= 4) {
    const auto* e = reinterpret_cast<const unsigned char*>(extra.data());
    const size_t length = Le16(e + 2);
    if (4 + length > extra.size()) break;
    if (Le16(e) == 0x0001) {
      size_t at = 4;
      for (uint64_t* value : {&size, &compressed, &offset}) {
        if (*value != 0xFFFFFFFF) continue;
        if (at + 8 > 4 + length) return 0;
        *value = Le64(e + at);
        at += 8;
      }
    }
    extra.remove_prefix(4 + length);
  }
  if (compressed != entry.compressedSize || size != entry.size) return 0;
  entry.headerOffset = offset;
  return next;
}

// Returns why an entry name is unsafe, or empty when it is a plain relative name.
std::string UnsafeNameReason(std::string_view name) {
  if (name.empty()) return "an entry has an empty name";
  if (name.find('\0') != std::string_view::npos) return "an entry name holds a NUL character";
  if (name.front() == '/' || name.find('\\') != std::string_view::npos) {
    return "entry name climbs out of the package: " + std::string(name);
  }
  std::string_view rest = name;
  if (rest.back() == '/') rest.remove_suffix(1);  // a directory entry
  bool firstSegment = true;
  while (true) {
    const size_t slash = rest.find('/');
    const std::string_view segment = rest.substr(0, slash);
    if (segment.empty() || segment == "." || segment == ".." ||
        (firstSegment && segment.find(':') != std::string_view::npos)) {
      return "entry name climbs out of the package: " + std::string(name);
    }
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
    firstSegment = false;
  }
  return {};
}

std::string OpenFailureReason(ZipError& error) {
  switch (error.code()) {
    case ZIP_ER_NOZIP:
      return "not a zip archive";
    case ZIP_ER_INCONS:
      return "the zip archive is damaged or truncated";
    case ZIP_ER_MEMORY:
      return "out of memory";
    default:
      return "the zip archive cannot be read: " + error.text();
  }
}

std::string ReadFromFile(zip_file_t* file, uint64_t size, uint64_t index, const ZipLimits& limits,
                         std::string_view name) {
  if (size > limits.maxEntryBytes) {
    RaiseBadPackage("entry too large to expand (" + std::string(name) + ")");
  }
  // One byte more than declared shows an entry that expands beyond its declared size.
  std::string data(static_cast<size_t>(size) + 1, '\0');
  uint64_t filled = 0;
  while (filled < data.size()) {
    const zip_int64_t n = zip_fread(file, data.data() + filled, data.size() - filled);
    if (n < 0) {
      RaiseBadPackage("entry " + std::to_string(index) + " (" + std::string(name) +
                      ") is damaged: " + zip_file_strerror(file));
    }
    if (n == 0) break;
    filled += static_cast<uint64_t>(n);
  }
  if (filled != size) {
    RaiseBadPackage("entry " + std::string(name) + " does not expand to its declared size");
  }
  data.resize(static_cast<size_t>(size));
  return data;
}

}  // namespace

struct ZipArchive::Handle {
  ArchivePtr archive;
};

std::string FoldCase(std::string_view name) { return platform::AsciiLowered(name); }

ZipArchive::ZipArchive(std::shared_ptr<const std::string> bytes, fileio::Descriptor file,
                       const ZipLimits& limits)
    : bytes_(std::move(bytes)),
      file_(std::move(file)),
      limits_(limits),
      handle_(std::make_unique<Handle>()) {}

ZipArchive::~ZipArchive() = default;

namespace {

// True when the time `a` (seconds and nanoseconds) is before `b`.
bool Before(const auto& a, const auto& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}
bool SameTime(const auto& a, const auto& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}
// Every write moves the modification time; the change time also moves when the file is
// only renamed, replaced under its name or given other permissions, which leave its
// bytes as they were.
bool SameFileState(const struct stat& a, const struct stat& b) {
  return a.st_size == b.st_size && SameTime(a.st_mtim, b.st_mtim);
}

[[noreturn]] void RaiseChanged() {
  RaiseWithDetail(platform::kErrPathAccess, u"Path/File access error",
                  "the template changed while it was read; nothing was written from it");
}

}  // namespace

std::unique_ptr<ZipArchive> ZipArchive::Open(std::shared_ptr<const std::string> bytes,
                                             const ZipLimits& limits) {
  const uint64_t size = bytes->size();
  std::unique_ptr<ZipArchive> archive(
      new ZipArchive(std::move(bytes), fileio::Descriptor(), limits));
  archive->size_ = size;
  return OpenChecked(std::move(archive));
}

std::unique_ptr<ZipArchive> ZipArchive::Open(fileio::Descriptor file, const ZipLimits& limits) {
  std::unique_ptr<ZipArchive> archive(new ZipArchive(nullptr, std::move(file), limits));
  const int fd = archive->file_.get();
  struct stat first = {};
  if (::fstat(fd, &first) != 0) RaiseBadPackage("the file cannot be examined");
  // A write in the same clock tick as the file's last write leaves its time as it is:
  // when it was written within this tick, wait for the tick to pass (a few ms at most).
  decltype(first.st_mtim) now = {};
  for (int i = 0; i < 50; ++i) {
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    if (Before(first.st_mtim, now)) break;
    ::usleep(1000);
  }
  if (::fstat(fd, &archive->opened_) != 0) RaiseBadPackage("the file cannot be examined");
  if (!SameFileState(first, archive->opened_)) RaiseChanged();
  archive->size_ = static_cast<uint64_t>(archive->opened_.st_size);
  return OpenChecked(std::move(archive));
}

void ZipArchive::CheckUnchanged() const {
  if (file_.get() < 0) return;
  struct stat now = {};
  if (::fstat(file_.get(), &now) != 0 || !SameFileState(now, opened_)) RaiseChanged();
}

void ZipArchive::RaiseDamaged(const std::string& reason) const {
  CheckUnchanged();
  RaiseBadPackage(reason);
}

void ZipArchive::ReadAt(uint64_t offset, size_t length, char* out) const {
  if (offset > size_ || length > size_ - offset) {
    RaiseDamaged("the zip archive is damaged or truncated");
  }
  if (bytes_) {
    std::memcpy(out, bytes_->data() + offset, length);
    return;
  }
  size_t done = 0;
  while (done < length) {
    const ssize_t n =
        ::pread(file_.get(), out + done, length - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) RaiseDamaged("the zip archive is damaged or truncated");
    done += static_cast<size_t>(n);
  }
}

uint64_t ZipArchive::DataOffset(size_t index) const {
  const ZipEntry& entry = entries_.at(index);
  char header[30];
  ReadAt(entry.headerOffset, sizeof header, header);
  const auto* h = reinterpret_cast<const unsigned char*>(header);
  if (Le32(h) != 0x04034b50) RaiseDamaged("the local header of " + entry.name + " is damaged");
  const uint64_t data = entry.headerOffset + 30 + Le16(h + 26) + Le16(h + 28);
  if (data > size_ || entry.compressedSize > size_ - data) {
    RaiseDamaged("the data of " + entry.name + " lies beyond the end of the archive");
  }
  return data;
}

std::unique_ptr<ZipArchive> ZipArchive::OpenChecked(std::unique_ptr<ZipArchive> result) {
  ZipArchive& self = *result;
  const ZipLimits& limits = self.limits_;
  const size_t tailLength = static_cast<size_t>(std::min<uint64_t>(self.size_, kLongestEndSearch));
  std::string tail(tailLength, '\0');
  self.ReadAt(self.size_ - tailLength, tailLength, tail.data());
  const auto read = [&](uint64_t offset, size_t length) {
    std::string out(length, '\0');
    self.ReadAt(offset, length, out.data());
    return out;
  };
  const std::optional<EndRecord> end = FindEnd(tail, self.size_, read);
  if (!end) self.RaiseDamaged("not a zip archive");
  if (end->entries > limits.maxEntries) {
    RaiseBadPackage("too many entries (" + std::to_string(end->entries) + ", the limit is " +
                    std::to_string(limits.maxEntries) + ")");
  }
  if (end->directoryOffset > self.size_ || end->directorySize > self.size_ - end->directoryOffset) {
    self.RaiseDamaged("the zip archive is damaged or truncated");
  }

  ZipError error;
  SourcePtr source;
  if (self.bytes_) {
    source.reset(
        zip_source_buffer_create(self.bytes_->data(), self.bytes_->size(), 0, error.get()));
  } else {
    // libzip reads through a stream of its own over the same open file.
    FILE* stream = nullptr;
    const int copy = ::fcntl(self.file_.get(), F_DUPFD_CLOEXEC, 0);
    if (copy >= 0) stream = ::fdopen(copy, "rb");
    if (!stream) {
      if (copy >= 0) ::close(copy);
      RaiseBadPackage("the file cannot be read");
    }
    source.reset(zip_source_filep_create(stream, 0, -1, error.get()));
    if (!source) std::fclose(stream);
  }
  if (!source) RaiseBadPackage(OpenFailureReason(error));
  zip_t* archive = zip_open_from_source(source.get(), ZIP_RDONLY | ZIP_CHECKCONS, error.get());
  if (!archive) {
    self.CheckUnchanged();
    RaiseBadPackage(OpenFailureReason(error));
  }
  source.release();  // the archive owns it now
  self.handle_->archive.reset(archive);

  const zip_int64_t count = zip_get_num_entries(archive, 0);
  if (count < 0 || static_cast<uint64_t>(count) > limits.maxEntries) {
    RaiseBadPackage("too many entries (" + std::to_string(count) + ", the limit is " +
                    std::to_string(limits.maxEntries) + ")");
  }
  std::string directory(static_cast<size_t>(end->directorySize), '\0');
  self.ReadAt(end->directoryOffset, directory.size(), directory.data());
  size_t recordAt = 0;
  uint64_t expanded = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW, &st) != 0) {
      self.RaiseDamaged("the zip archive is damaged: " + std::string(zip_strerror(archive)));
    }
    ZipEntry entry;
    entry.name = st.name ? st.name : "";
    if (std::string reason = UnsafeNameReason(entry.name); !reason.empty()) {
      RaiseBadPackage(reason);
    }
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
      RaiseBadPackage("the document is encrypted");
    }
    entry.size = st.size;
    entry.compressedSize = st.comp_size;
    entry.crc = st.crc;
    entry.method = st.comp_method;
    entry.directory = entry.name.back() == '/';
    if (!zip_compression_method_supported(entry.method, 0)) {
      RaiseBadPackage("entry " + entry.name + " uses an unsupported compression method");
    }
    expanded += entry.size;
    if (entry.size > limits.maxExpandedBytes || expanded > limits.maxExpandedBytes) {
      RaiseBadPackage("the expanded size exceeds the limit of " +
                      std::to_string(limits.maxExpandedBytes) + " bytes");
    }
    // The record libzip read, once more for what it does not tell (where the entry lies).
    std::string rawName;
    recordAt = ParseCentralRecord(directory, recordAt, entry, rawName);
    if (recordAt == 0 || rawName != entry.name) {
      self.RaiseDamaged("the central directory does not match its entries");
    }
    if (!self.byFoldedName_.emplace(FoldCase(entry.name), self.entries_.size()).second) {
      RaiseBadPackage("duplicate entry name: " + entry.name);
    }
    self.entries_.push_back(std::move(entry));
  }
  return result;
}

std::optional<size_t> ZipArchive::Find(std::string_view name) const {
  const auto it = byFoldedName_.find(FoldCase(name));
  if (it == byFoldedName_.end()) return std::nullopt;
  return it->second;
}

std::string ZipArchive::Read(size_t index) const {
  const ZipEntry& entry = entries_.at(index);
  FilePtr file(zip_fopen_index(handle_->archive.get(), index, 0));
  if (!file) {
    RaiseDamaged("entry " + entry.name +
                 " cannot be read: " + zip_strerror(handle_->archive.get()));
  }
  try {
    return ReadFromFile(file.get(), entry.size, index, limits_, entry.name);
  } catch (const platform::ComError&) {
    CheckUnchanged();  // a change of the file is the reason, not damage
    throw;
  }
}

std::string ZipArchive::ReadRaw(size_t index) const {
  const ZipEntry& entry = entries_.at(index);
  FilePtr file(zip_fopen_index(handle_->archive.get(), index, ZIP_FL_COMPRESSED));
  if (!file) {
    RaiseDamaged("entry " + entry.name +
                 " cannot be read: " + zip_strerror(handle_->archive.get()));
  }
  return ReadFromFile(file.get(), entry.compressedSize, index, limits_, entry.name);
}

namespace {

// Adds `data` (which must outlive the archive's commit) as the content of an entry.
zip_source_t* BufferSource(zip_t* archive, const std::string& data) {
  zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
  if (!source) RaiseBadPackage(std::string("cannot write the package: ") + zip_strerror(archive));
  return source;
}

// Commits `archive` into `source` and returns the source's new bytes.
std::string CommitToBuffer(ArchivePtr archive, zip_source_t* source) {
  if (zip_close(archive.get()) != 0) {
    RaiseBadPackage(std::string("cannot write the package: ") + zip_strerror(archive.get()));
  }
  archive.release();  // closed
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_source_stat(source, &st) != 0 || zip_source_open(source) != 0) {
    RaiseBadPackage("cannot read back the written package");
  }
  std::string out(static_cast<size_t>(st.size), '\0');
  const zip_int64_t n = zip_source_read(source, out.data(), out.size());
  zip_source_close(source);
  if (n < 0 || static_cast<uint64_t>(n) != st.size) {
    RaiseBadPackage("cannot read back the written package");
  }
  return out;
}

// 2026-01-01 00:00:00 as a zip entry's date and time.
constexpr zip_uint16_t kFixedDosDate = ((2026 - 1980) << 9) | (1 << 5) | 1;
constexpr zip_uint16_t kFixedDosTime = 0;

// Writes the entries of `archive` with `edits` applied, in order: untouched entries as
// stored (same compressed bytes and method), replaced ones compressed anew, added ones last.
std::string WriteEdited(const ZipArchive& archive, const ZipEdits& edits, int fd) {
  ZipWriter writer(fd);
  for (size_t i = 0; i < archive.Entries().size(); ++i) {
    if (std::find(edits.removed.begin(), edits.removed.end(), i) != edits.removed.end()) continue;
    const ZipEntry& entry = archive.Entries()[i];
    const auto replaced = edits.replaced.find(i);
    if (replaced != edits.replaced.end()) {
      writer.Add(entry.name, replaced->second, &entry);
    } else {
      writer.Copy(archive, i);
    }
  }
  for (const auto& [name, data] : edits.added) writer.Add(name, data, nullptr);
  std::string out = writer.Finish();
  archive.CheckUnchanged();
  return out;
}

}  // namespace

std::string RewriteZip(const ZipArchive& archive, const ZipEdits& edits) {
  return WriteEdited(archive, edits, -1);
}

void RewriteZipToDescriptor(const ZipArchive& archive, const ZipEdits& edits, int fd) {
  WriteEdited(archive, edits, fd);
}

std::string WriteZip(const std::vector<NewZipEntry>& entries) {
  ZipError error;
  SourcePtr source(zip_source_buffer_create(nullptr, 0, 0, error.get()));
  if (!source) RaiseBadPackage("cannot write the package: " + error.text());
  zip_source_keep(source.get());
  ArchivePtr out(zip_open_from_source(source.get(), ZIP_CREATE | ZIP_TRUNCATE, error.get()));
  if (!out) {
    zip_source_free(source.get());
    RaiseBadPackage("cannot write the package: " + error.text());
  }
  zip_t* za = out.get();
  for (const NewZipEntry& entry : entries) {
    zip_source_t* s = BufferSource(za, entry.data);
    const zip_int64_t index = zip_file_add(za, entry.name.c_str(), s, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(s);
      RaiseBadPackage(std::string("cannot write the package: ") + zip_strerror(za));
    }
    zip_set_file_compression(za, static_cast<zip_uint64_t>(index),
                             entry.store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    // A fixed time, given in the zip format's own form so that no time zone enters:
    // the same entries always make the same bytes.
    zip_file_set_dostime(za, static_cast<zip_uint64_t>(index), kFixedDosTime, kFixedDosDate, 0);
  }
  return CommitToBuffer(std::move(out), source.get());
}

}  // namespace sendnote::docx
