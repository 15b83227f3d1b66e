// Reading contact files from disk: choosing the reader, file errors and size limits.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ContactFileTestSupport.h"
#include "portable/contacts/ContactFile.h"

namespace sendnote::contacts {
namespace {

namespace fs = std::filesystem;
using platform::ContactField;
using testing::Mentions;
using testing::RaisedBy;

class ContactFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("contacts_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Write(const std::string& name, std::string_view bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  fs::path dir_;
};

TEST_F(ContactFileTest, ChoosesTheReaderByContentThenByName) {
  const std::string card =
      "\xEF\xBB\xBF\r\n\r\n  begin:VCARD\r\nVERSION:3.0\r\nFN:Card\r\nEND:VCARD\r\n";
  EXPECT_EQ(ReadContactFile(Write("card.txt", card)).at(0)[ContactField::kSubject], u"Card");
  EXPECT_EQ(ReadContactFile(Write("list.dat", "First Name,Last Name\r\nA,B\r\n"))
                .at(0)[ContactField::kSubject],
            u"A B");
  // A .vcf name makes even CSV text a (bad) vCard.
  const platform::ComError error =
      RaisedBy([&] { ReadContactFile(Write("list.VCF", "First Name\r\nA\r\n")); });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(error, u"list.VCF, line 1: expected BEGIN:VCARD")) << error.what();
}

TEST_F(ContactFileTest, MissingFileAndDirectoryRaiseFileErrors) {
  const platform::ComError missing = RaisedBy([&] { ReadContactFile(dir_ / "none.vcf"); });
  EXPECT_EQ(missing.Number(), platform::kErrFileNotFound);
  EXPECT_TRUE(Mentions(missing, u"none.vcf")) << missing.what();

  const platform::ComError directory = RaisedBy([&] { ReadContactFile(dir_); });
  EXPECT_EQ(directory.Number(), platform::kErrPathAccess);
}

// A 100 MB file that is one single line: refused by its size, without reading it.
TEST_F(ContactFileTest, HundredMegabyteLineIsRefusedUnread) {
  const fs::path path = Write("huge.vcf", "BEGIN:VCARD\r\nNOTE:");
  fs::resize_file(path, 100u << 20);  // sparse: no memory or disk needed
  const platform::ComError error = RaisedBy([&] { ReadContactFile(path); });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(error, u"huge.vcf: the file is larger than")) << error.what();
}

// At exactly the size limit the file is read, and its overlong line is what fails.
TEST_F(ContactFileTest, FileAtTheSizeLimitIsReadAndItsLineRefused) {
  const fs::path path = Write("limit.vcf", "BEGIN:VCARD\r\nNOTE:");
  fs::resize_file(path, kMaxFileBytes);
  const platform::ComError error = RaisedBy([&] { ReadContactFile(path); });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(error, u"limit.vcf, line 2: the line is longer than")) << error.what();
}

TEST(ContactFileBytesTest, RandomBytesRaiseAnErrorAsEitherKind) {
  uint32_t state = 777;
  for (int round = 0; round < 100; ++round) {
    std::string bytes;
    for (int i = 0; i < 50 + round * 13; ++i) {
      state = state * 1103515245 + 12345;
      bytes += static_cast<char>(state >> 16);
    }
    const std::u16string name = round % 2 == 0 ? u"random.csv" : u"random.vcf";
    EXPECT_EQ(RaisedBy([&] { ParseContactFile(bytes, name); }).Number(), kErrInvalidFileFormat)
        << round;
  }
}

TEST_F(ContactFileTest, TooManyContactsAreRefused) {
  CheckContactCount(kMaxContacts - 1, u"", 1);  // the last one that fits
  EXPECT_EQ(RaisedBy([] { CheckContactCount(kMaxContacts, u"", 1); }).Number(),
            kErrInvalidFileFormat);

  std::string csv = "First Name\n";
  csv.reserve(csv.size() + (kMaxContacts + 1) * 2);
  for (size_t i = 0; i <= kMaxContacts; ++i) csv += "A\n";
  const platform::ComError error = RaisedBy([&] { ReadContactFile(Write("over.csv", csv)); });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(error, u"over.csv, line 50002: the file holds more than 50000"))
      << error.what();
}

}  // namespace
}  // namespace sendnote::contacts
