#include "docx/ZipWriter.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "docx/DocxErrors.h"
#include "platform/ComError.h"

namespace sendnote::docx {
namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kFlagDeflateOptions = 0x0006;
constexpr uint16_t kFlagUtf8 = 0x0800;
constexpr uint16_t kVersion20 = 20;  // deflate and stored entries
// The compression of rewritten XML: it runs for every letter.
constexpr int kDeflateLevel = 6;
// Pending bytes are written out once they reach this much.
constexpr size_t kFlushBytes = 1 << 20;
// Entries from this size on are copied from file to file on their own.
constexpr uint64_t kOwnCopyBytes = 64 << 10;

void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

uint32_t Narrow(uint64_t value) {
  if (value > 0xFFFFFFFEull) RaiseBadPackage("the package would be too large (zip64)");
  return static_cast<uint32_t>(value);
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

// The check of one copied entry, fed its stored bytes in order: stored data is summed as it
// is, deflated data inflated into a small buffer and summed, never past the declared size.
class ZipWriter::CopyCheck {
 public:
  CopyCheck(ZipWriter& writer, const ZipEntry& entry, const ZipLimits& limits)
      : writer_(writer), entry_(entry), crc_(::crc32_z(0, nullptr, 0)) {
    const uint64_t stored = std::max<uint64_t>(entry.compressedSize, 1);
    if (entry.size > limits.ratioFreeBytes && entry.size / stored > limits.maxRatio) {
      RaiseBadPackage("entry " + entry.name + " compresses " + std::to_string(entry.size / stored) +
                      ":1, beyond the limit of " + std::to_string(limits.maxRatio) + ":1");
    }
    if (entry.method != 8) return;
    if (!writer_.inflater_) {
      writer_.inflater_ = std::make_unique<z_stream>();
      if (::inflateInit2(writer_.inflater_.get(), -MAX_WBITS) != Z_OK) {
        writer_.inflater_.reset();
        RaiseBadPackage("cannot check the package: the decompressor cannot start");
      }
    } else {
      ::inflateReset(writer_.inflater_.get());
    }
    if (writer_.checkBuffer_.empty()) writer_.checkBuffer_.resize(64 << 10);
  }

  void Feed(const char* data, size_t length) {
    if (entry_.method != 8) {
      Sum(data, length);
      return;
    }
    z_stream& stream = *writer_.inflater_;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    stream.avail_in = static_cast<uInt>(length);
    // Bytes after the end of the compressed stream are copied but never read, as readers
    // (this one's too) stop at its end.
    // A full buffer may leave output pending even when all input is taken: inflate again
    // until it needs more input (no progress then) or the stream ends.
    bool more = true;
    while (more && !ended_) {
      stream.next_out = reinterpret_cast<Bytef*>(writer_.checkBuffer_.data());
      stream.avail_out = static_cast<uInt>(writer_.checkBuffer_.size());
      const int result = ::inflate(&stream, Z_NO_FLUSH);
      if (result == Z_BUF_ERROR && stream.avail_in == 0) break;  // wants the next bytes
      if (result != Z_OK && result != Z_STREAM_END) Raise("its compressed data is damaged");
      Sum(writer_.checkBuffer_.data(), writer_.checkBuffer_.size() - stream.avail_out);
      ended_ = result == Z_STREAM_END;
      more = stream.avail_in > 0 || stream.avail_out == 0;
    }
  }

  void Finish() {
    if (entry_.method == 8 && !ended_) Raise("its compressed data is cut short");
    if (expanded_ != entry_.size) Raise("it does not expand to its declared size");
    if (crc_ != entry_.crc) Raise("its checksum differs");
  }

 private:
  void Sum(const char* data, size_t length) {
    expanded_ += length;
    if (expanded_ > entry_.size) Raise("it expands beyond its declared size");
    crc_ = ::crc32_z(crc_, reinterpret_cast<const Bytef*>(data), length);
  }
  [[noreturn]] void Raise(const std::string& why) const {
    RaiseBadPackage("entry " + entry_.name + " is damaged: " + why);
  }

  ZipWriter& writer_;
  const ZipEntry& entry_;
  uLong crc_;
  uint64_t expanded_ = 0;
  bool ended_ = false;
};

ZipWriter::ZipWriter(int fd) : fd_(fd) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const int year = local.tm_year + 1900 < 1980 ? 0 : local.tm_year + 1900 - 1980;
  dosDate_ = static_cast<uint16_t>((year << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  dosTime_ =
      static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  // A new, empty file is left alone: on ext4 cutting a file to nothing makes its close
  // start writing it out.
  struct stat st = {};
  if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || st.st_size != 0) && ::ftruncate(fd_, 0) != 0) {
    RaiseWrite(errno);
  }
}

ZipWriter::~ZipWriter() {
  if (deflater_) ::deflateEnd(deflater_.get());
  if (inflater_) ::inflateEnd(inflater_.get());
}

void ZipWriter::RaiseWrite(int error) const {
  RaiseWithDetail(platform::kErrPathAccess, u"Path/File access error", std::strerror(error));
}

void ZipWriter::Flush() {
  if (fd_ < 0) return;
  size_t done = 0;
  while (done < pending_.size()) {
    const ssize_t n = ::pwrite(fd_, pending_.data() + done, pending_.size() - done,
                               static_cast<off_t>(pendingAt_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseWrite(errno);
    done += static_cast<size_t>(n);
  }
  pendingAt_ += pending_.size();
  pending_.clear();
}

void ZipWriter::Header(const ZipEntry& entry, std::string_view name) {
  Central central{std::string(name), entry};
  central.entry.headerOffset = size_;
  const size_t before = pending_.size();
  Put32(pending_, kLocalSignature);
  Put16(pending_, entry.versionNeeded);
  Put16(pending_, entry.flags);
  Put16(pending_, static_cast<uint16_t>(entry.method));
  Put16(pending_, entry.dosTime);
  Put16(pending_, entry.dosDate);
  Put32(pending_, entry.crc);
  Put32(pending_, Narrow(entry.compressedSize));
  Put32(pending_, Narrow(entry.size));
  Put16(pending_, static_cast<uint16_t>(name.size()));
  Put16(pending_, 0);  // no extra fields
  pending_.append(name);
  size_ += pending_.size() - before;
  Narrow(central.entry.headerOffset);
  central_.push_back(std::move(central));
}

uint64_t ZipWriter::CopyFromFile(int from, uint64_t offset, uint64_t length, CopyCheck& check) {
  Flush();
  // Through one buffer: on ext4 this costs less processor time than copy_file_range,
  // whose copy inside the kernel is slower than a read and a write from here.
  if (copyBuffer_.empty()) copyBuffer_.resize(kFlushBytes);
  uint64_t done = 0;
  while (done < length) {
    const auto want = static_cast<size_t>(std::min<uint64_t>(length - done, copyBuffer_.size()));
    const ssize_t r = ::pread(from, copyBuffer_.data(), want, static_cast<off_t>(offset + done));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;  // the source ended early
    check.Feed(copyBuffer_.data(), static_cast<size_t>(r));
    size_t written = 0;
    while (written < static_cast<size_t>(r)) {
      const ssize_t w =
          ::pwrite(fd_, copyBuffer_.data() + written, static_cast<size_t>(r) - written,
                   static_cast<off_t>(pendingAt_ + done + written));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) RaiseWrite(errno);
      written += static_cast<size_t>(w);
    }
    done += static_cast<uint64_t>(r);
  }
  return done;
}

void ZipWriter::Copy(const ZipArchive& archive, size_t index) {
  const ZipEntry& source = archive.Entries().at(index);
  ZipEntry entry = source;
  // The sizes and checksum go into the local header, so no data descriptor follows.
  entry.flags = static_cast<uint16_t>(source.flags & ~kFlagDataDescriptor);
  if (entry.method == 0 || entry.method == 8) entry.versionNeeded = kVersion20;
  const uint64_t data = archive.DataOffset(index);
  CopyCheck check(*this, source, archive.Limits());
  Header(entry, source.name);
  const uint64_t start = size_;
  if (archive.FileDescriptor() >= 0 && fd_ >= 0 && source.compressedSize >= kOwnCopyBytes) {
    const uint64_t copied =
        CopyFromFile(archive.FileDescriptor(), data, source.compressedSize, check);
    pendingAt_ += copied;
    if (copied != source.compressedSize) {
      archive.CheckUnchanged();  // the file shrank
      RaiseBadPackage("entry " + source.name + " is cut short");
    }
  } else if (const auto& bytes = archive.Bytes()) {
    pending_.append(*bytes, static_cast<size_t>(data), static_cast<size_t>(source.compressedSize));
    check.Feed(bytes->data() + data, static_cast<size_t>(source.compressedSize));
  } else {
    // Small entries join the pending bytes: fewer calls than a copy of their own.
    const size_t at = pending_.size();
    pending_.resize(at + static_cast<size_t>(source.compressedSize));
    archive.ReadAt(data, static_cast<size_t>(source.compressedSize), pending_.data() + at);
    check.Feed(pending_.data() + at, static_cast<size_t>(source.compressedSize));
  }
  // A file changed under the copy is that, not damage.
  try {
    check.Finish();
  } catch (const platform::ComError&) {
    archive.CheckUnchanged();
    throw;
  }
  size_ = start + source.compressedSize;
  if (pending_.size() >= kFlushBytes) Flush();
}

void ZipWriter::Check(const ZipArchive& archive, size_t index) {
  const ZipEntry& source = archive.Entries().at(index);
  CopyCheck check(*this, source, archive.Limits());
  const uint64_t data = archive.DataOffset(index);
  if (const auto& bytes = archive.Bytes()) {
    check.Feed(bytes->data() + data, static_cast<size_t>(source.compressedSize));
  } else {
    if (copyBuffer_.empty()) copyBuffer_.resize(kFlushBytes);
    for (uint64_t done = 0; done < source.compressedSize;) {
      const auto n =
          static_cast<size_t>(std::min<uint64_t>(source.compressedSize - done, copyBuffer_.size()));
      archive.ReadAt(data + done, n, copyBuffer_.data());
      check.Feed(copyBuffer_.data(), n);
      done += n;
    }
  }
  try {
    check.Finish();
  } catch (const platform::ComError&) {
    archive.CheckUnchanged();
    throw;
  }
}

void ZipWriter::Add(std::string_view name, std::string_view data, const ZipEntry* like,
                    bool store) {
  ZipEntry entry;
  if (like) {
    entry = *like;
    name = like->name;
  } else {
    entry.versionMadeBy = kVersion20;
    entry.flags = IsAscii(name) ? 0 : kFlagUtf8;
  }
  entry.flags = static_cast<uint16_t>(entry.flags & ~(kFlagDataDescriptor | kFlagDeflateOptions));
  entry.versionNeeded = kVersion20;
  entry.method = store ? 0 : 8;
  entry.dosTime = dosTime_;
  entry.dosDate = dosDate_;
  entry.size = data.size();
  entry.crc = static_cast<uint32_t>(::crc32_z(
      ::crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()), data.size()));
  if (store) {
    entry.compressedSize = data.size();
    Header(entry, name);
    pending_.append(data);
    size_ += data.size();
    if (pending_.size() >= kFlushBytes) Flush();
    return;
  }

  // One compressor for every entry: starting one allocates and clears a few hundred KB.
  if (!deflater_) {
    deflater_ = std::make_unique<z_stream>();
    if (::deflateInit2(deflater_.get(), kDeflateLevel, Z_DEFLATED, -MAX_WBITS, 8,
                       Z_DEFAULT_STRATEGY) != Z_OK) {
      deflater_.reset();
      RaiseBadPackage("cannot write the package: the compressor cannot start");
    }
  } else {
    ::deflateReset(deflater_.get());
  }
  z_stream& stream = *deflater_;
  std::string compressed(::deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(compressed.data());
  stream.avail_out = static_cast<uInt>(compressed.size());
  const int result = ::deflate(&stream, Z_FINISH);
  compressed.resize(stream.total_out);
  if (result != Z_STREAM_END) RaiseBadPackage("cannot write the package: compression failed");
  entry.compressedSize = compressed.size();

  Header(entry, name);
  pending_.append(compressed);
  size_ += compressed.size();
  if (pending_.size() >= kFlushBytes) Flush();
}

std::string ZipWriter::Finish() {
  const uint64_t start = size_;
  const size_t before = pending_.size();
  for (const Central& c : central_) {
    const ZipEntry& e = c.entry;
    Put32(pending_, kCentralSignature);
    Put16(pending_, e.versionMadeBy);
    Put16(pending_, e.versionNeeded);
    Put16(pending_, e.flags);
    Put16(pending_, static_cast<uint16_t>(e.method));
    Put16(pending_, e.dosTime);
    Put16(pending_, e.dosDate);
    Put32(pending_, e.crc);
    Put32(pending_, Narrow(e.compressedSize));
    Put32(pending_, Narrow(e.size));
    Put16(pending_, static_cast<uint16_t>(c.name.size()));
    Put16(pending_, 0);  // extra fields
    Put16(pending_, 0);  // comment
    Put16(pending_, 0);  // disk
    Put16(pending_, e.internalAttributes);
    Put32(pending_, e.externalAttributes);
    Put32(pending_, Narrow(e.headerOffset));
    pending_.append(c.name);
  }
  const uint64_t directory = pending_.size() - before;
  if (central_.size() > 0xFFFE) RaiseBadPackage("the package would have too many entries (zip64)");
  Put32(pending_, kEndSignature);
  Put16(pending_, 0);
  Put16(pending_, 0);
  Put16(pending_, static_cast<uint16_t>(central_.size()));
  Put16(pending_, static_cast<uint16_t>(central_.size()));
  Put32(pending_, Narrow(directory));
  Put32(pending_, Narrow(start));
  Put16(pending_, 0);  // comment
  size_ = start + directory + 22;
  if (fd_ < 0) return std::move(pending_);
  Flush();
  return {};
}

}  // namespace sendnote::docx
