#include "docx/Zip.h"

#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "docx/DocxErrors.h"
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

// Returns the entry count the end-of-central-directory record declares, or empty when
// there is no such record. Read before libzip allocates anything for the entries.
std::optional<uint64_t> DeclaredEntryCount(std::string_view bytes) {
  constexpr size_t kEocdSize = 22;
  if (bytes.size() < kEocdSize) return std::nullopt;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t last = bytes.size() - kEocdSize;
  const size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
  for (size_t pos = last + 1; pos-- > first;) {
    if (Le32(data + pos) != 0x06054b50) continue;
    uint64_t count = Le16(data + pos + 10);
    // A zip64 archive keeps the real count in its own record, found through a locator.
    if (count == 0xFFFF && pos >= 20 && Le32(data + pos - 20) == 0x07064b50) {
      const uint64_t record = Le64(data + pos - 20 + 8);
      if (record + 56 <= bytes.size() && Le32(data + record) == 0x06064b50) {
        count = Le64(data + record + 32);
      }
    }
    return count;
  }
  return std::nullopt;
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

ZipArchive::ZipArchive(std::shared_ptr<const std::string> bytes, const ZipLimits& limits)
    : bytes_(std::move(bytes)), limits_(limits), handle_(std::make_unique<Handle>()) {}

ZipArchive::~ZipArchive() = default;

std::unique_ptr<ZipArchive> ZipArchive::Open(std::shared_ptr<const std::string> bytes,
                                             const ZipLimits& limits) {
  const std::optional<uint64_t> declared = DeclaredEntryCount(*bytes);
  if (!declared) RaiseBadPackage("not a zip archive");
  if (*declared > limits.maxEntries) {
    RaiseBadPackage("too many entries (" + std::to_string(*declared) + ", the limit is " +
                    std::to_string(limits.maxEntries) + ")");
  }

  std::unique_ptr<ZipArchive> result(new ZipArchive(std::move(bytes), limits));
  ZipError error;
  SourcePtr source(
      zip_source_buffer_create(result->bytes_->data(), result->bytes_->size(), 0, error.get()));
  if (!source) RaiseBadPackage(OpenFailureReason(error));
  zip_t* archive = zip_open_from_source(source.get(), ZIP_RDONLY | ZIP_CHECKCONS, error.get());
  if (!archive) RaiseBadPackage(OpenFailureReason(error));
  source.release();  // the archive owns it now
  result->handle_->archive.reset(archive);

  const zip_int64_t count = zip_get_num_entries(archive, 0);
  if (count < 0 || static_cast<uint64_t>(count) > limits.maxEntries) {
    RaiseBadPackage("too many entries (" + std::to_string(count) + ", the limit is " +
                    std::to_string(limits.maxEntries) + ")");
  }
  uint64_t expanded = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW, &st) != 0) {
      RaiseBadPackage("the zip archive is damaged: " + std::string(zip_strerror(archive)));
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
    if (!result->byFoldedName_.emplace(FoldCase(entry.name), result->entries_.size()).second) {
      RaiseBadPackage("duplicate entry name: " + entry.name);
    }
    result->entries_.push_back(std::move(entry));
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
    RaiseBadPackage("entry " + entry.name +
                    " cannot be read: " + zip_strerror(handle_->archive.get()));
  }
  return ReadFromFile(file.get(), entry.size, index, limits_, entry.name);
}

std::string ZipArchive::ReadRaw(size_t index) const {
  const ZipEntry& entry = entries_.at(index);
  FilePtr file(zip_fopen_index(handle_->archive.get(), index, ZIP_FL_COMPRESSED));
  if (!file) {
    RaiseBadPackage("entry " + entry.name +
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

// The compression of rewritten XML: fast, since it runs for every letter.
constexpr zip_uint32_t kDeflateLevel = 6;
// 2026-01-01 00:00:00 as a zip entry's date and time.
constexpr zip_uint16_t kFixedDosDate = ((2026 - 1980) << 9) | (1 << 5) | 1;
constexpr zip_uint16_t kFixedDosTime = 0;

}  // namespace

namespace {

// Adds the entries of `archive` with `edits` applied to the empty archive `out`, in
// order: untouched entries as stored (same compressed bytes and method), replaced ones
// compressed anew, added ones last.
void AddEditedEntries(zip_t* out, const ZipArchive& archive, const ZipEdits& edits) {
  zip_t* in = archive.Native().archive.get();
  for (size_t i = 0; i < archive.Entries().size(); ++i) {
    if (std::find(edits.removed.begin(), edits.removed.end(), i) != edits.removed.end()) continue;
    const ZipEntry& entry = archive.Entries()[i];
    const auto replaced = edits.replaced.find(i);
    zip_source_t* s = replaced != edits.replaced.end()
                          ? BufferSource(out, replaced->second)
                          : zip_source_zip(out, in, i, 0, 0, -1);  // whole entry: as stored
    if (!s) RaiseBadPackage(std::string("cannot write the package: ") + zip_strerror(out));
    const zip_int64_t index = zip_file_add(out, entry.name.c_str(), s, 0);
    if (index < 0) {
      zip_source_free(s);
      RaiseBadPackage(std::string("cannot write the package: ") + zip_strerror(out));
    }
    const auto at = static_cast<zip_uint64_t>(index);
    if (replaced != edits.replaced.end()) {
      zip_set_file_compression(out, at, ZIP_CM_DEFLATE, kDeflateLevel);
    } else {
      // The method of the stored data, so that it is copied and never compressed again.
      zip_set_file_compression(out, at, entry.method, 0);
    }
  }
  for (const auto& [name, data] : edits.added) {
    zip_source_t* s = BufferSource(out, data);
    const zip_int64_t index = zip_file_add(out, name.c_str(), s, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(s);
      RaiseBadPackage(std::string("cannot write the package: ") + zip_strerror(out));
    }
    zip_set_file_compression(out, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, kDeflateLevel);
  }
}

}  // namespace

std::string RewriteZip(const ZipArchive& archive, const ZipEdits& edits) {
  ZipError error;
  SourcePtr source(zip_source_buffer_create(nullptr, 0, 0, error.get()));
  if (!source) RaiseBadPackage("cannot write the package: " + error.text());
  zip_source_keep(source.get());  // read back after the archive has committed into it
  ArchivePtr out(zip_open_from_source(source.get(), ZIP_CREATE | ZIP_TRUNCATE, error.get()));
  if (!out) {
    zip_source_free(source.get());  // the reference zip_open_from_source did not take
    RaiseBadPackage("cannot write the package: " + error.text());
  }
  AddEditedEntries(out.get(), archive, edits);
  return CommitToBuffer(std::move(out), source.get());
}

namespace {

// A libzip source that writes the new archive straight into an open file, buffered, so
// that the package is written once and in few system calls. It is a new, empty archive:
// nothing is ever read back from it.
class DescriptorSink {
 public:
  explicit DescriptorSink(int fd) : fd_(fd) { zip_error_init(&error_); }
  ~DescriptorSink() { zip_error_fini(&error_); }
  DescriptorSink(const DescriptorSink&) = delete;
  DescriptorSink& operator=(const DescriptorSink&) = delete;

  static zip_int64_t Callback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    return static_cast<DescriptorSink*>(state)->Handle(data, length, cmd);
  }

  // The system error of a write into the file that failed, or 0: such a failure is the
  // output's (a full disk, a size limit), not the template's.
  int WriteErrno() const { return writeErrno_; }

 private:
  static constexpr size_t kBufferBytes = 1 << 20;

  zip_int64_t Fail(int code, int system) {
    zip_error_set(&error_, code, system);
    return -1;
  }
  zip_int64_t FailWrite() {
    writeErrno_ = errno;
    return Fail(ZIP_ER_WRITE, writeErrno_);
  }

  // Writes the buffer at its place in the file.
  bool Flush() {
    size_t done = 0;
    while (done < buffer_.size()) {
      const ssize_t n = ::pwrite(fd_, buffer_.data() + done, buffer_.size() - done,
                                 static_cast<off_t>(bufferStart_ + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      done += static_cast<size_t>(n);
    }
    bufferStart_ += buffer_.size();
    buffer_.clear();
    return true;
  }

  zip_int64_t Handle(void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    switch (cmd) {
      case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_WRITABLE;
      case ZIP_SOURCE_STAT: {
        // An existing, empty file: opened with ZIP_TRUNCATE, it becomes a new archive.
        auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &error_);
        if (!st) return -1;
        zip_stat_init(st);
        st->size = 0;
        st->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
      }
      case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&error_, data, length);
      case ZIP_SOURCE_OPEN:
      case ZIP_SOURCE_CLOSE:
      case ZIP_SOURCE_FREE:
      case ZIP_SOURCE_ROLLBACK_WRITE:
      case ZIP_SOURCE_REMOVE:
        return 0;
      case ZIP_SOURCE_READ:
        return 0;  // empty
      case ZIP_SOURCE_SEEK:
      case ZIP_SOURCE_TELL:
        return 0;
      case ZIP_SOURCE_BEGIN_WRITE:
        buffer_.clear();
        bufferStart_ = 0;
        position_ = 0;
        buffer_.reserve(kBufferBytes);
        if (::ftruncate(fd_, 0) != 0) return FailWrite();
        return 0;
      case ZIP_SOURCE_WRITE: {
        // libzip goes back to rewrite each entry's header: within the buffer that costs
        // nothing; elsewhere the buffer is written out and a new one starts there.
        if (position_ < bufferStart_ || position_ > bufferStart_ + buffer_.size()) {
          if (!Flush()) return FailWrite();
          bufferStart_ = position_;
        }
        const auto at = static_cast<size_t>(position_ - bufferStart_);
        const auto n = static_cast<size_t>(length);
        if (at + n > buffer_.size()) buffer_.resize(at + n);
        std::memcpy(buffer_.data() + at, data, n);
        position_ += length;
        if (buffer_.size() >= kBufferBytes && position_ == bufferStart_ + buffer_.size() &&
            !Flush()) {
          return FailWrite();
        }
        return static_cast<zip_int64_t>(length);
      }
      case ZIP_SOURCE_SEEK_WRITE: {
        auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, length, &error_);
        if (!args) return -1;
        const uint64_t end = std::max(bufferStart_ + buffer_.size(), written_);
        int64_t base = 0;
        if (args->whence == SEEK_CUR) base = static_cast<int64_t>(position_);
        if (args->whence == SEEK_END) base = static_cast<int64_t>(end);
        const int64_t target = base + args->offset;
        if (target < 0) return Fail(ZIP_ER_INVAL, 0);
        written_ = end;
        position_ = static_cast<uint64_t>(target);
        return 0;
      }
      case ZIP_SOURCE_TELL_WRITE:
        return static_cast<zip_int64_t>(position_);
      case ZIP_SOURCE_COMMIT_WRITE:
        if (!Flush()) return FailWrite();
        return 0;
      default:
        return Fail(ZIP_ER_OPNOTSUPP, 0);
    }
  }

  int fd_;
  zip_error_t error_;
  std::string buffer_;        // bytes for [bufferStart_, bufferStart_ + size)
  uint64_t bufferStart_ = 0;  // file offset of the buffer
  uint64_t position_ = 0;     // where the next write goes
  uint64_t written_ = 0;      // the furthest end written so far
  int writeErrno_ = 0;
};

}  // namespace

void RewriteZipToDescriptor(const ZipArchive& archive, const ZipEdits& edits, int fd) {
  DescriptorSink sink(fd);
  ZipError error;
  SourcePtr source(zip_source_function_create(&DescriptorSink::Callback, &sink, error.get()));
  if (!source) RaiseBadPackage("cannot write the package: " + error.text());
  ArchivePtr out(zip_open_from_source(source.get(), ZIP_CREATE | ZIP_TRUNCATE, error.get()));
  if (!out) RaiseBadPackage("cannot write the package: " + error.text());
  source.release();  // the archive owns it now
  AddEditedEntries(out.get(), archive, edits);
  if (zip_close(out.get()) != 0) {
    if (sink.WriteErrno() != 0) {
      RaiseWithDetail(platform::kErrPathAccess, u"Path/File access error",
                      std::strerror(sink.WriteErrno()));
    }
    RaiseBadPackage(std::string("cannot write the package: ") + zip_strerror(out.get()));
  }
  out.release();  // closed
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
