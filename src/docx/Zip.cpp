#include "docx/Zip.h"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "docx/DocxErrors.h"
#include "docx/ZipWriter.h"
#include "platform/AsciiCase.h"
#include "platform/ComError.h"

namespace sendnote::docx {
namespace {

constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagStrongEncryption = 0x0040;
constexpr int32_t kStored = 0;
constexpr int32_t kDeflated = 8;
// Compressed data is read and expanded in pieces of this size.
constexpr size_t kReadPiece = 64 << 10;

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

// Reads the central directory record at `pos` of `directory` into `entry`; returns the
// position of the next record, or 0 when it is damaged.
size_t ParseCentralRecord(std::string_view directory, size_t pos, ZipEntry& entry) {
  if (pos + 46 > directory.size()) return 0;
  const auto* d = reinterpret_cast<const unsigned char*>(directory.data()) + pos;
  if (Le32(d) != 0x02014b50) return 0;
  entry.versionMadeBy = Le16(d + 4);
  entry.versionNeeded = Le16(d + 6);
  entry.flags = Le16(d + 8);
  entry.method = Le16(d + 10);
  entry.dosTime = Le16(d + 12);
  entry.dosDate = Le16(d + 14);
  entry.crc = Le32(d + 16);
  uint64_t compressed = Le32(d + 20), size = Le32(d + 24), offset = Le32(d + 42);
  const size_t nameLength = Le16(d + 28), extraLength = Le16(d + 30), commentLength = Le16(d + 32);
  entry.internalAttributes = Le16(d + 36);
  entry.externalAttributes = Le32(d + 38);
  const size_t next = pos + 46 + nameLength + extraLength + commentLength;
  if (next > directory.size()) return 0;
  entry.name.assign(directory.substr(pos + 46, nameLength));
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
  entry.compressedSize = compressed;
  entry.size = size;
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

std::string FoldCase(std::string_view name) { return platform::AsciiLowered(name); }

// inflate's state with its cleanup.
class ZipArchive::Inflater {
 public:
  Inflater() {
    if (::inflateInit2(&stream_, -MAX_WBITS) != Z_OK) RaiseBadPackage("out of memory");
  }
  ~Inflater() { ::inflateEnd(&stream_); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  z_stream& get() { return stream_; }

 private:
  z_stream stream_{};
};

ZipArchive::ZipArchive(std::shared_ptr<const std::string> bytes, fileio::Descriptor file,
                       const ZipLimits& limits)
    : bytes_(std::move(bytes)), file_(std::move(file)), limits_(limits) {}

ZipArchive::~ZipArchive() = default;

std::unique_ptr<ZipArchive> ZipArchive::Open(std::shared_ptr<const std::string> bytes,
                                             const ZipLimits& limits) {
  const uint64_t size = bytes->size();
  std::unique_ptr<ZipArchive> archive(
      new ZipArchive(std::move(bytes), fileio::Descriptor(), limits));
  archive->size_ = size;
  archive->ReadDirectory();
  return archive;
}

std::unique_ptr<ZipArchive> ZipArchive::Open(fileio::Descriptor file, const ZipLimits& limits) {
  std::unique_ptr<ZipArchive> archive(new ZipArchive(nullptr, std::move(file), limits));
  const int fd = archive->file_.get();
  struct stat first = {};
  if (::fstat(fd, &first) != 0) RaiseBadPackage("the file cannot be examined");
  // A write in the same clock tick as the file's last write leaves its time as it is:
  // when it was written within this tick, wait for the tick to pass (a few ms at most).
  // A time further ahead is another clock's (a copied or remote file): no use waiting.
  decltype(first.st_mtim) now = {};
  for (int i = 0; i < 50; ++i) {
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    if (Before(first.st_mtim, now) || first.st_mtim.tv_sec > now.tv_sec + 1) break;
    ::usleep(1000);
  }
  if (::fstat(fd, &archive->opened_) != 0) RaiseBadPackage("the file cannot be examined");
  if (!SameFileState(first, archive->opened_)) RaiseChanged();
  archive->size_ = static_cast<uint64_t>(archive->opened_.st_size);
  archive->ReadDirectory();
  return archive;
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
  if (offset >= tailStart_ && !tail_.empty()) {
    std::memcpy(out, tail_.data() + (offset - tailStart_), length);
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

uint64_t ZipArchive::DataOffset(size_t index) const { return dataOffsets_.at(index); }

void ZipArchive::ReadDirectory() {
  // The end of the archive, where its directory lies, is read once and kept: a small
  // template is then read with this one call.
  const size_t tailLength = static_cast<size_t>(std::min<uint64_t>(size_, kLongestEndSearch));
  std::string tail(tailLength, '\0');
  ReadAt(size_ - tailLength, tailLength, tail.data());
  if (!bytes_) {
    tail_ = tail;
    tailStart_ = size_ - tailLength;
  }
  const auto read = [&](uint64_t offset, size_t length) {
    std::string out(length, '\0');
    ReadAt(offset, length, out.data());
    return out;
  };
  // Counted before anything is allocated for the entries.
  const std::optional<EndRecord> end = FindEnd(tail, size_, read);
  if (!end) RaiseDamaged("not a zip archive");
  if (end->entries > limits_.maxEntries) {
    RaiseBadPackage("too many entries (" + std::to_string(end->entries) + ", the limit is " +
                    std::to_string(limits_.maxEntries) + ")");
  }
  if (end->directoryOffset > size_ || end->directorySize > size_ - end->directoryOffset ||
      end->directorySize < end->entries * 46) {
    RaiseDamaged("the zip archive is damaged or truncated");
  }
  std::string directory(static_cast<size_t>(end->directorySize), '\0');
  ReadAt(end->directoryOffset, directory.size(), directory.data());

  size_t recordAt = 0;
  uint64_t expanded = 0;
  for (uint64_t i = 0; i < end->entries; ++i) {
    ZipEntry entry;
    recordAt = ParseCentralRecord(directory, recordAt, entry);
    if (recordAt == 0) RaiseDamaged("the zip archive is damaged or truncated");
    if (std::string reason = UnsafeNameReason(entry.name); !reason.empty()) {
      RaiseBadPackage(reason);
    }
    if (entry.flags & (kFlagEncrypted | kFlagStrongEncryption)) {
      RaiseBadPackage("the document is encrypted");
    }
    entry.directory = entry.name.back() == '/';
    if (entry.method != kStored && entry.method != kDeflated) {
      RaiseBadPackage("entry " + entry.name + " uses an unsupported compression method");
    }
    // Made on Unix with a file type in its attributes: only a regular file or a folder is
    // a part; a link would be copied into the letter for a tool to follow.
    const uint32_t unixType = (entry.externalAttributes >> 16) & S_IFMT;
    if ((entry.versionMadeBy >> 8) == 3 && unixType != 0 && unixType != S_IFREG &&
        unixType != S_IFDIR) {
      RaiseBadPackage("entry " + entry.name + " is not a file (a link or a special file)");
    }
    expanded += entry.size;
    if (entry.size > limits_.maxExpandedBytes || expanded > limits_.maxExpandedBytes) {
      RaiseBadPackage("the expanded size exceeds the limit of " +
                      std::to_string(limits_.maxExpandedBytes) + " bytes");
    }
    if (!byFoldedName_.emplace(FoldCase(entry.name), entries_.size()).second) {
      RaiseBadPackage("duplicate entry name: " + entry.name);
    }
    entries_.push_back(std::move(entry));
  }
  // Each local header must agree with the directory, and its data lie before the directory.
  dataOffsets_.reserve(entries_.size());
  for (const ZipEntry& entry : entries_) {
    std::string header(30 + entry.name.size(), '\0');
    if (entry.headerOffset > end->directoryOffset ||
        header.size() > end->directoryOffset - entry.headerOffset) {
      RaiseDamaged("the zip archive is damaged or truncated");
    }
    ReadAt(entry.headerOffset, header.size(), header.data());
    const auto* h = reinterpret_cast<const unsigned char*>(header.data());
    if (Le32(h) != 0x04034b50 || Le16(h + 8) != entry.method || Le16(h + 26) != entry.name.size() ||
        header.compare(30, entry.name.size(), entry.name) != 0) {
      RaiseDamaged("the local header of " + entry.name + " does not match the directory");
    }
    const uint64_t data = entry.headerOffset + 30 + Le16(h + 26) + Le16(h + 28);
    if (data > end->directoryOffset || entry.compressedSize > end->directoryOffset - data) {
      RaiseDamaged("the data of " + entry.name + " runs into the directory");
    }
    dataOffsets_.push_back(data);
  }
}

std::optional<size_t> ZipArchive::Find(std::string_view name) const {
  const auto it = byFoldedName_.find(FoldCase(name));
  if (it == byFoldedName_.end()) return std::nullopt;
  return it->second;
}

std::string ZipArchive::Read(size_t index) const {
  const ZipEntry& entry = entries_.at(index);
  if (entry.size > limits_.maxEntryBytes) {
    RaiseBadPackage("entry too large to expand (" + entry.name + ")");
  }
  const uint64_t stored = std::max<uint64_t>(entry.compressedSize, 1);
  if (entry.size > limits_.ratioFreeBytes && entry.size / stored > limits_.maxRatio) {
    RaiseBadPackage("entry " + entry.name + " compresses " + std::to_string(entry.size / stored) +
                    ":1, beyond the limit of " + std::to_string(limits_.maxRatio) + ":1");
  }
  const std::string wrongSize = "entry " + entry.name + " does not expand to its declared size";
  std::string data;
  if (entry.method == kStored) {
    if (entry.compressedSize != entry.size) RaiseDamaged(wrongSize);
    data = ReadRaw(index);
  } else {
    // Expanded piece by piece into room for one byte more than declared, which shows an
    // entry that expands beyond its declared size.
    data.assign(static_cast<size_t>(entry.size) + 1, '\0');
    if (!inflater_) {
      inflater_ = std::make_unique<Inflater>();
    } else {
      ::inflateReset(&inflater_->get());
    }
    z_stream& z = inflater_->get();
    z.next_out = reinterpret_cast<Bytef*>(data.data());
    z.avail_out = static_cast<uInt>(data.size());
    std::string piece(static_cast<size_t>(std::min<uint64_t>(entry.compressedSize, kReadPiece)),
                      '\0');
    uint64_t offset = dataOffsets_.at(index), left = entry.compressedSize;
    int result = Z_OK;
    while (result == Z_OK) {
      const auto n = static_cast<size_t>(std::min<uint64_t>(left, piece.size()));
      ReadAt(offset, n, piece.data());
      offset += n;
      left -= n;
      z.next_in = reinterpret_cast<Bytef*>(piece.data());
      z.avail_in = static_cast<uInt>(n);
      result = ::inflate(&z, left == 0 ? Z_FINISH : Z_NO_FLUSH);
      if (result == Z_BUF_ERROR && left > 0) result = Z_OK;  // needs more input
      if (z.avail_out == 0) break;                           // expands beyond what it declares
    }
    if (result != Z_STREAM_END && z.avail_out != 0) {
      RaiseDamaged("entry " + entry.name + " is damaged: its compressed data is invalid");
    }
    if (z.total_out != entry.size) RaiseDamaged(wrongSize);
    data.resize(static_cast<size_t>(entry.size));
  }
  const auto crc = static_cast<uint32_t>(::crc32_z(
      ::crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()), data.size()));
  if (crc != entry.crc) RaiseDamaged("entry " + entry.name + " is damaged: its checksum differs");
  return data;
}

std::string ZipArchive::ReadRaw(size_t index) const {
  const ZipEntry& entry = entries_.at(index);
  if (entry.compressedSize > limits_.maxEntryBytes) {
    RaiseBadPackage("entry too large to read (" + entry.name + ")");
  }
  std::string data(static_cast<size_t>(entry.compressedSize), '\0');
  ReadAt(dataOffsets_.at(index), data.size(), data.data());
  return data;
}

namespace {

// 2026-01-01 00:00:00 as a zip entry's date and time.
constexpr uint16_t kFixedDosDate = ((2026 - 1980) << 9) | (1 << 5) | 1;
constexpr uint16_t kFixedDosTime = 0;

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

void CheckEntries(const ZipArchive& archive) {
  ZipWriter checker(-1);  // writes nothing: only its check of copies is used
  for (size_t i = 0; i < archive.Entries().size(); ++i) {
    if (!archive.Entries()[i].directory) checker.Check(archive, i);
  }
}

std::string WriteZip(const std::vector<NewZipEntry>& entries) {
  ZipWriter writer(-1);
  // A fixed time, given in the zip format's own form so that no time zone enters: the
  // same entries always make the same bytes.
  writer.SetTime(kFixedDosTime, kFixedDosDate);
  for (const NewZipEntry& entry : entries) writer.Add(entry.name, entry.data, nullptr, entry.store);
  return writer.Finish();
}

}  // namespace sendnote::docx
