// The zip layer: damaged and hostile archives are refused with the bad-package error,
// rewriting keeps untouched entries' stored bytes and the entry order, and an archive read
// in place from its file is refused once the file changes under it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include <filesystem>
#include <memory>
#include <string>

#include "docx/Zip.h"
#include "fileio/Descriptor.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "tests/docx/DocxTestSupport.h"

namespace sendnote::docx {
namespace {

using testing::ErrorOf;
using testing::HandEntry;
using testing::HandMadeZip;

// Opens `bytes` and returns the refusal's description, or "" when it opened.
std::string Refusal(std::string bytes, const ZipLimits& limits = {}) {
  auto error =
      ErrorOf([&] { ZipArchive::Open(std::make_shared<const std::string>(bytes), limits); });
  if (!error) return "";
  EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
  return platform::ToUtf8(error->Description());
}

std::string Sample() {
  return WriteZip({{"[Content_Types].xml", "<Types/>", false},
                   {"word/document.xml", std::string(5000, 'x'), false},
                   {"word/media/image1.png", "\x89PNG data", true}});
}

TEST(ZipOpen, RefusesWhatIsNotACompleteArchive) {
  EXPECT_NE(Refusal(""), "");
  EXPECT_NE(Refusal("plain text, no archive at all"), "");
  const std::string good = Sample();
  EXPECT_EQ(Refusal(good), "");
  EXPECT_NE(Refusal(good.substr(0, good.size() / 2)), "");  // end records gone
  EXPECT_NE(Refusal(good.substr(0, good.size() - 1)), "");  // end record cut
  std::string shifted = good.substr(40);                    // data before the directory gone
  EXPECT_NE(Refusal(shifted), "");
  EXPECT_NE(Refusal("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(600, '\0')), "");
}

TEST(ZipOpen, RefusesTooManyEntries) {
  std::vector<HandEntry> entries;
  // Appended: GCC 12 at -O3 falsely warns (-Wrestrict) on a literal + a temporary string.
  for (int i = 0; i < 12; ++i) entries.push_back({std::string("e").append(std::to_string(i)), "x"});
  ZipLimits limits;
  limits.maxEntries = 11;
  EXPECT_NE(Refusal(HandMadeZip(entries), limits).find("too many entries"), std::string::npos);
  limits.maxEntries = 12;
  EXPECT_EQ(Refusal(HandMadeZip(entries), limits), "");
}

TEST(ZipOpen, RefusesArchivesThatExpandBeyondTheLimits) {
  // Declared sizes are checked before anything is expanded.
  EXPECT_NE(Refusal(HandMadeZip({{"big.xml", "tiny", 0, 0xFFFFFF00u}})).find("expanded size"),
            std::string::npos);
  // A real bomb: 32 MiB of zeros deflate to a few kilobytes.
  const std::string bomb = WriteZip({{"word/document.xml", std::string(32u << 20, '\0'), false}});
  ASSERT_LT(bomb.size(), 200000u);
  ZipLimits limits;
  limits.maxExpandedBytes = 16u << 20;
  EXPECT_NE(Refusal(bomb, limits).find("expanded size"), std::string::npos);
  // Within the total but beyond what one entry may expand to in memory.
  limits.maxExpandedBytes = 64u << 20;
  limits.maxEntryBytes = 1u << 20;
  auto archive = ZipArchive::Open(std::make_shared<const std::string>(bomb), limits);
  auto error = ErrorOf([&] { archive->Read(0); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
}

TEST(ZipOpen, RefusesAnEntryThatExpandsBeyondItsDeclaredSize) {
  const std::string zip = HandMadeZip({{"word/document.xml", std::string(100, 'a'), 0, 10}});
  auto error = ErrorOf([&] {
    auto archive = ZipArchive::Open(std::make_shared<const std::string>(zip));
    archive->Read(0);
  });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
}

// Damage that only the entries show: data that no longer matches its checksum, compressed
// data that cannot be expanded, a local header that disagrees with the directory.
TEST(ZipOpen, RefusesDamagedEntriesAndHeaders) {
  struct Damage {
    const char* label;
    const char* entry;
    size_t at;  // from the start of the entry's data; npos: the name in its local header
    bool whenRead;
    const char* reason;
  };
  const Damage damages[] = {
      {"stored data", "word/media/image1.png", 3, true, "checksum"},
      {"deflated data", "word/document.xml", 0, true, "damaged"},
      {"local header", "word/document.xml", std::string::npos, false, "local header"},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.label);
    std::string zip = Sample();
    const std::string name = d.entry;
    const size_t header = zip.find(name);  // the first copy: the local header's
    ASSERT_NE(header, std::string::npos);
    const size_t at = d.at == std::string::npos ? header : header + name.size() + d.at;
    zip[at] = static_cast<char>(zip[at] ^ 0xFF);
    auto error = ErrorOf([&] {
      auto archive = ZipArchive::Open(std::make_shared<const std::string>(zip));
      archive->Read(*archive->Find(name));
    });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
    EXPECT_NE(platform::ToUtf8(error->Description()).find(d.reason), std::string::npos)
        << platform::ToUtf8(error->Description());
    if (d.whenRead) {
      EXPECT_EQ(Refusal(zip), "");  // opens; only reading it shows the damage
    }
  }
}

TEST(ZipOpen, RefusesEncryptedEntries) {
  EXPECT_NE(Refusal(HandMadeZip({{"word/document.xml", "secret", 1}})).find("encrypted"),
            std::string::npos);
}

TEST(ZipOpen, RefusesNamesThatClimbOutOfThePackage) {
  for (const char* name : {"../evil.xml", "/etc/passwd", "word/../../evil.xml", "C:/evil.xml",
                           "word\\..\\evil.xml", "word//document.xml", "./word.xml", "word/.."}) {
    EXPECT_NE(Refusal(HandMadeZip({{"ok.xml", "x"}, {name, "x"}})).find("climbs out"),
              std::string::npos)
        << name;
  }
  EXPECT_EQ(Refusal(HandMadeZip({{"word/", ""}, {"word/a..b.xml", "x"}})), "");
}

TEST(ZipOpen, RefusesNamesThatDifferOnlyInCase) {
  EXPECT_NE(Refusal(HandMadeZip({{"word/a.xml", "1"}, {"Word/A.xml", "2"}})).find("duplicate"),
            std::string::npos);
}

TEST(ZipOpen, FindsEntriesWithoutRegardToCase) {
  auto archive = ZipArchive::Open(std::make_shared<const std::string>(Sample()));
  ASSERT_TRUE(archive->Find("WORD/Document.XML"));
  EXPECT_EQ(archive->Read(*archive->Find("WORD/Document.XML")), std::string(5000, 'x'));
  EXPECT_FALSE(archive->Find("word/document"));
}

TEST(ZipRewrite, KeepsUntouchedEntriesAsStoredAndTheOrder) {
  const std::string original = Sample();
  auto archive = ZipArchive::Open(std::make_shared<const std::string>(original));
  ZipEdits edits;
  edits.replaced[1] = "<new/>";
  edits.added.emplace_back("docProps/custom.xml", "<Properties/>");
  const std::string rewritten = RewriteZip(*archive, edits);

  const auto before = testing::RawEntries(original);
  const auto after = testing::RawEntries(rewritten);
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[0].name, "[Content_Types].xml");
  EXPECT_EQ(after[1].name, "word/document.xml");
  EXPECT_EQ(after[2].name, "word/media/image1.png");
  EXPECT_EQ(after[3].name, "docProps/custom.xml");
  for (size_t i : {0u, 2u}) {
    EXPECT_EQ(after[i].raw, before[i].raw) << after[i].name;
    EXPECT_EQ(after[i].crc, before[i].crc);
    EXPECT_EQ(after[i].method, before[i].method);
  }
  EXPECT_EQ(testing::EntryText(rewritten, "word/document.xml"), "<new/>");
  EXPECT_EQ(testing::EntryText(rewritten, "docProps/custom.xml"), "<Properties/>");
  EXPECT_FALSE(testing::UsesZip64(rewritten));
  EXPECT_FALSE(testing::UsesZip64(original));
}

TEST(ZipRewrite, RemovesEntries) {
  auto archive = ZipArchive::Open(std::make_shared<const std::string>(Sample()));
  ZipEdits edits;
  edits.removed.push_back(2);
  const auto after = testing::RawEntries(RewriteZip(*archive, edits));
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[1].name, "word/document.xml");
}

// Opens the archive in the file at `path` in place.
std::unique_ptr<ZipArchive> OpenInPlace(const std::filesystem::path& path) {
  fileio::Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  EXPECT_GE(fd.get(), 0);
  return ZipArchive::Open(std::move(fd));
}

// Writing into an open file gives the same entries as writing into memory, also when
// entries are larger than the writer's buffer, the file held longer content before, and
// the archive is read in place from its own file (entries copied from file to file).
TEST(ZipRewrite, IntoAnOpenFileMatchesTheArchiveWrittenInMemory) {
  struct Case {
    const char* label;
    size_t pictureBytes;
    size_t staleBytes;
    bool inPlace;
  };
  const Case cases[] = {{"small", 10, 0, false},
                        {"larger than the buffer", 3u << 20, 0, false},
                        {"over longer old content", 100, 5u << 20, false},
                        {"small, from its file", 10, 0, true},
                        {"larger than the buffer, from its file", 3u << 20, 0, true},
                        {"over longer old content, from its file", 100, 5u << 20, true}};
  for (const Case& c : cases) {
    std::string picture(c.pictureBytes, '\0');
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<char>(i * 7919 >> 3);
    const std::string original = WriteZip({{"[Content_Types].xml", "<Types/>", false},
                                           {"word/media/image1.png", picture, true},
                                           {"word/document.xml", std::string(70000, 'x'), false},
                                           {"word/media/image2.png", picture, false}});
    testing::TempDir dir;
    testing::WriteFile(dir.File("template.zip"), original);
    auto archive = c.inPlace ? OpenInPlace(dir.File("template.zip"))
                             : ZipArchive::Open(std::make_shared<const std::string>(original));
    ASSERT_EQ(archive->Bytes() == nullptr, c.inPlace) << c.label;
    ZipEdits edits;
    edits.replaced[2] = "<new/>";
    edits.added.emplace_back("docProps/custom.xml", "<Properties/>");

    const auto path = dir.File("out.zip");
    testing::WriteFile(path, std::string(c.staleBytes, 'z'));
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    RewriteZipToDescriptor(*archive, edits, fd);
    ::close(fd);

    const std::string written = testing::ReadFile(path);
    const auto before = testing::RawEntries(original);
    const auto expected = testing::RawEntries(RewriteZip(*archive, edits));
    const auto actual = testing::RawEntries(written);
    ASSERT_EQ(actual.size(), expected.size()) << c.label;
    for (size_t i = 0; i < actual.size(); ++i) {
      EXPECT_EQ(actual[i].name, expected[i].name) << c.label;
      EXPECT_EQ(actual[i].raw, expected[i].raw) << c.label << " " << actual[i].name;
      EXPECT_EQ(actual[i].crc, expected[i].crc) << c.label;
    }
    for (size_t i : {0u, 1u, 3u}) {
      EXPECT_EQ(actual[i].raw, before[i].raw) << c.label << " " << actual[i].name;
      EXPECT_EQ(actual[i].method, before[i].method) << c.label;
    }
    EXPECT_EQ(testing::EntryText(written, "word/media/image1.png"), picture) << c.label;
    EXPECT_EQ(testing::EntryText(written, "word/media/image2.png"), picture) << c.label;
    EXPECT_EQ(testing::EntryText(written, "word/document.xml"), "<new/>") << c.label;
    EXPECT_EQ(testing::ReadFile(dir.File("template.zip")), original) << c.label;
  }
}

// An archive read in place whose file changes afterwards (grows, is rewritten with the
// same size at once, is cut short) is refused with Path/File access error when it is
// read or copied: what it would give could mix old and new bytes.
TEST(ZipInPlace, AFileThatChangesWhileReadIsRefused) {
  struct Change {
    const char* label;
    void (*apply)(int fd, size_t size);
  };
  const Change changes[] = {
      {"grown", [](int fd, size_t size) { ASSERT_EQ(::pwrite(fd, "tail", 4, size), 4); }},
      {"rewritten, same size",
       [](int fd, size_t size) { ASSERT_EQ(::pwrite(fd, "XXXX", 4, size / 2), 4); }},
      {"cut short",
       [](int fd, size_t size) { ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size / 2)), 0); }},
  };
  std::string picture(200000, '\0');
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<char>(i * 31 >> 2);
  const std::string original = WriteZip({{"word/document.xml", std::string(5000, 'x'), false},
                                         {"word/media/image1.png", picture, true}});
  for (const Change& change : changes) {
    for (const bool copy : {false, true}) {
      SCOPED_TRACE(std::string(change.label) + (copy ? ", copied" : ", read"));
      testing::TempDir dir;
      testing::WriteFile(dir.File("template.zip"), original);
      auto archive = OpenInPlace(dir.File("template.zip"));  // at once: within the same tick
      const int writer = ::open(dir.File("template.zip").c_str(), O_RDWR | O_CLOEXEC);
      ASSERT_GE(writer, 0);
      change.apply(writer, original.size());
      ::close(writer);
      auto error = ErrorOf([&] {
        if (!copy) {
          archive->Read(1);
          archive->CheckUnchanged();
          return;
        }
        const int out = ::open(dir.File("out.zip").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        ZipEdits edits;
        edits.replaced[0] = "<new/>";
        RewriteZipToDescriptor(*archive, edits, out);
        ::close(out);
      });
      ASSERT_TRUE(error);
      EXPECT_EQ(error->Number(), platform::kErrPathAccess);
      EXPECT_NE(platform::ToUtf8(error->Description()).find("changed while it was read"),
                std::string::npos);
    }
  }
  // Unchanged, the same archive reads and copies.
  testing::TempDir dir;
  testing::WriteFile(dir.File("template.zip"), original);
  auto archive = OpenInPlace(dir.File("template.zip"));
  EXPECT_EQ(archive->Read(1), picture);
  EXPECT_EQ(testing::EntryText(RewriteZip(*archive, {}), "word/media/image1.png"), picture);
}

// A file that cannot take the archive (a device that is always full, a file size limit) is
// the output's failure, Path/File access error with the system's reason, never a complaint
// about the archive read.
// Patches the central directory record of `name` (found after the local header's copy of
// the name): `at` counts from the record's start.
void PatchCentral(std::string& zip, const std::string& name, size_t at, uint32_t value, int bytes) {
  const size_t central = zip.find(name, zip.find(name) + name.size()) - 46;
  ASSERT_EQ(zip.compare(central, 4, "PK\x01\x02"), 0);
  for (int i = 0; i < bytes; ++i) zip[central + at + i] = static_cast<char>(value >> (8 * i));
}

// The same in the local header too (the two must agree).
void PatchBoth(std::string& zip, const std::string& name, size_t centralAt, size_t localAt,
               uint32_t value) {
  PatchCentral(zip, name, centralAt, value, 4);
  const size_t local = zip.find(name) - 30;
  for (int i = 0; i < 4; ++i) zip[local + localAt + i] = static_cast<char>(value >> (8 * i));
}

// Returns the refusal of a rewrite that copies every entry, both into memory and into a
// file from the archive read in place; "" when it was written.
std::string CopyRefusal(const std::string& zip, const ZipLimits& limits = {}) {
  std::string refusal[2];
  const testing::TempDir dir;
  const auto source = dir.File("source.zip"), target = dir.File("target.zip");
  testing::WriteFile(source, zip);
  for (const bool inPlace : {false, true}) {
    auto error = ErrorOf([&] {
      if (!inPlace) {
        RewriteZip(*ZipArchive::Open(std::make_shared<const std::string>(zip), limits), {});
        return;
      }
      fileio::Descriptor fd(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
      fileio::Descriptor out(::open(target.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
      RewriteZipToDescriptor(*ZipArchive::Open(std::move(fd), limits), {}, out.get());
    });
    if (error) {
      EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
      refusal[inPlace] = platform::ToUtf8(error->Description());
    }
  }
  EXPECT_EQ(refusal[0], refusal[1]);
  return refusal[0];
}

// Entries that are only copied are checked as they pass: a checksum that differs, data that
// expands to more or less than declared or compresses beyond the ratio limit refuses the
// package with the entry named; small entries (joined to the pending bytes) and large
// ones (copied from file to file) alike.
TEST(ZipRewrite, EveryCopiedEntryIsCheckedAsItPasses) {
  std::string noise(200 << 10, '\0');
  uint32_t seed = 1;
  for (char& c : noise) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
  const std::string styles = "<w:styles>" + std::string(3000, 's') + "</w:styles>";
  const auto sample = [&](size_t pictureBytes) {
    return WriteZip({{"[Content_Types].xml", "<Types/>", false},
                     {"word/styles.xml", styles, false},
                     {"word/media/image1.png", noise.substr(0, pictureBytes), true}});
  };
  for (const size_t pictureBytes : {size_t{100}, noise.size()}) {
    SCOPED_TRACE(pictureBytes);
    EXPECT_EQ(CopyRefusal(sample(pictureBytes)), "");

    std::string flipped = sample(pictureBytes);
    const size_t data = flipped.find("word/media/image1.png") + 21 + pictureBytes / 2;
    flipped[data] = static_cast<char>(flipped[data] ^ 0x40);
    EXPECT_EQ(CopyRefusal(flipped),
              "The file is not a Word document package: entry word/media/image1.png is damaged: "
              "its checksum differs");
  }
  std::string crc = sample(100);
  PatchBoth(crc, "word/styles.xml", 16, 14, 0x12345678);
  EXPECT_NE(CopyRefusal(crc).find("entry word/styles.xml is damaged: its checksum differs"),
            std::string::npos);
  for (const uint32_t declared : {uint32_t{100}, uint32_t{5000}}) {
    std::string sized = sample(100);
    PatchBoth(sized, "word/styles.xml", 24, 22, declared);
    EXPECT_NE(CopyRefusal(sized).find(declared < styles.size() ? "beyond its declared size"
                                                               : "does not expand to its declared"),
              std::string::npos)
        << declared;
  }
  // Four MB of one letter deflate about 1000:1: within the ratio limit only below its size.
  const std::string bomb = WriteZip({{"[Content_Types].xml", "<Types/>", false},
                                     {"word/fonts/font1.odttf", std::string(4 << 20, 'a'), false}});
  EXPECT_NE(CopyRefusal(bomb).find("entry word/fonts/font1.odttf compresses"), std::string::npos);
  ZipLimits small;
  small.ratioFreeBytes = 8u << 20;
  EXPECT_EQ(CopyRefusal(bomb, small), "");
  auto error =
      ErrorOf([&] { ZipArchive::Open(std::make_shared<const std::string>(bomb))->Read(1); });
  ASSERT_TRUE(error);
  EXPECT_NE(platform::ToUtf8(error->Description()).find("compresses"), std::string::npos);
}

// An entry whose Unix attributes make it a symbolic link is no part.
TEST(ZipOpen, RefusesLinksAndSpecialFiles) {
  for (const uint32_t type : {0120000u, 0020000u, 0010000u}) {
    std::string zip = Sample();
    PatchCentral(zip, "word/document.xml", 4, 3 << 8 | 20, 2);  // made on Unix
    PatchCentral(zip, "word/document.xml", 38, (type | 0777) << 16, 4);
    EXPECT_NE(Refusal(zip).find("entry word/document.xml is not a file"), std::string::npos);
  }
  std::string regular = Sample();
  PatchCentral(regular, "word/document.xml", 4, 3 << 8 | 20, 2);
  PatchCentral(regular, "word/document.xml", 38, (0100644u) << 16, 4);
  EXPECT_EQ(Refusal(regular), "");
}

TEST(ZipRewrite, AFailedWriteIsAnAccessErrorWithTheSystemsReason) {
  auto archive = ZipArchive::Open(std::make_shared<const std::string>(Sample()));
  ZipEdits edits;
  edits.replaced[1] = std::string(20000, 'y');

  const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(full, 0);
  auto error = ErrorOf([&] { RewriteZipToDescriptor(*archive, edits, full); });
  ::close(full);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrPathAccess);
  EXPECT_EQ(platform::ToUtf8(error->Description()).find("package"), std::string::npos);

  testing::TempDir dir;
  const auto path = dir.File("out.zip");
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 256;                                 // smaller than the archive
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  error = ErrorOf([&] { RewriteZipToDescriptor(*archive, edits, fd); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  ::close(fd);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrPathAccess);
  EXPECT_EQ(platform::ToUtf8(error->Description()),
            "Path/File access error (" + std::string(std::strerror(EFBIG)) + ")");
}

}  // namespace
}  // namespace sendnote::docx
