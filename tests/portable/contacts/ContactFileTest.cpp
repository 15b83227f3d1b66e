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
using testing::Records;

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
  EXPECT_EQ(Records(ReadContactFile(Write("card.txt", card))).at(0)[ContactField::kSubject],
            u"Card");
  EXPECT_EQ(Records(ReadContactFile(Write("list.dat", "First Name,Last Name\r\nA,B\r\n")))
                .at(0)[ContactField::kSubject],
            u"A B");
  // A .vcf name makes even CSV text a (bad) vCard.
  const platform::ComError error =
      RaisedBy([&] { ReadContactFile(Write("list.VCF", "First Name\r\nA\r\n")); });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(error, u"list.VCF, line 1: expected BEGIN:VCARD")) << error.what();
}

// Returns UTF-8 text as UTF-16, little- or big-endian, with a byte order mark unless told.
std::string Utf16(std::string_view utf8, bool little, bool mark = true) {
  std::string bytes = !mark ? "" : little ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t c : platform::FromUtf8(utf8)) {
    const char lo = static_cast<char>(c & 0xFF);
    const char hi = static_cast<char>(c >> 8);
    bytes += little ? lo : hi;
    bytes += little ? hi : lo;
  }
  return bytes;
}

TEST_F(ContactFileTest, Utf16FilesReadLikeTheirUtf8Form) {
  const std::string card =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎;;;\r\nFN:山田 太郎\r\n"
      "ORG:株式会社山田商事\r\nADR;TYPE=WORK:;;桜町1-2-3;渋谷区;東京都;150-8512;日本\r\n"
      "EMAIL:taro@example.jp\r\nEND:VCARD\r\n";
  const std::string csv =
      "\"姓\",\"名\",\"会社名\",\"番地 (会社)\",\"郵便番号 (会社)\"\r\n"
      "\"山田\",\"太郎\",\"株式会社山田商事\",\"桜町1-2-3\",\"150-8512\"\r\n";
  for (bool little : {true, false}) {
    SCOPED_TRACE(little ? "UTF-16LE" : "UTF-16BE");
    const auto fromCard = Records(ReadContactFile(Write("card.vcf", Utf16(card, little))));
    const auto cardUtf8 = Records(ReadContactFile(Write("card8.vcf", card)));
    ASSERT_EQ(fromCard.size(), 1u);
    EXPECT_EQ(fromCard[0], cardUtf8[0]);
    EXPECT_EQ(fromCard[0][ContactField::kCompanyName], u"株式会社山田商事");
    EXPECT_EQ(fromCard[0][ContactField::kBusinessAddressPostalCode], u"150-8512");
    // Found as a vCard by its content, whatever the name.
    EXPECT_EQ(Records(ReadContactFile(Write("card.txt", Utf16(card, little)))).size(), 1u);

    const auto fromCsv = Records(ReadContactFile(Write("list.csv", Utf16(csv, little))));
    ASSERT_EQ(fromCsv.size(), 1u);
    EXPECT_EQ(fromCsv[0][ContactField::kLastName], u"山田");
    EXPECT_EQ(fromCsv[0][ContactField::kBusinessAddressStreet], u"桜町1-2-3");
  }
  // Broken UTF-16 is refused with the reason, never read as something else.
  const std::string odd = Utf16(card, true) + "x";
  EXPECT_TRUE(
      Mentions(RaisedBy([&] { ReadContactFile(Write("odd.vcf", odd)); }), u"odd number of bytes"));
  const std::string lone("\xFF\xFE\x00\xD8\x41\x00", 6);
  const platform::ComError error = RaisedBy([&] { ReadContactFile(Write("lone.vcf", lone)); });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(error, u"lone surrogate at byte 2")) << error.what();
}

TEST_F(ContactFileTest, Utf16WithoutAMarkIsKnownByItsBeginning) {
  const std::string card =
      "\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:山田 太郎\r\nORG:株式会社山田商事\r\nEND:VCARD\r\n";
  const std::string csv = "First Name,Last Name,Company\r\n太郎,山田,株式会社山田商事\r\n";
  const auto cardUtf8 = Records(ReadContactFile(Write("card8.vcf", card)));
  for (bool little : {true, false}) {
    SCOPED_TRACE(little ? "UTF-16LE" : "UTF-16BE");
    EXPECT_EQ(Records(ReadContactFile(Write("card.txt", Utf16(card, little, false)))), cardUtf8);
    const auto fromCsv = Records(ReadContactFile(Write("list.csv", Utf16(csv, little, false))));
    ASSERT_EQ(fromCsv.size(), 1u);
    EXPECT_EQ(fromCsv[0][ContactField::kCompanyName], u"株式会社山田商事");
    // Headings that are not ASCII have no zero bytes to tell: read as before, and refused.
    const std::string japanese = Utf16("姓,名\r\n山田,太郎\r\n", little, false);
    EXPECT_EQ(RaisedBy([&] { ReadContactFile(Write("jp.csv", japanese)); }).Number(),
              kErrInvalidFileFormat);
  }
  // Zero bytes alone do not make UTF-16: this is a vCard with a stray zero in a value.
  const std::string zero("BEGIN:VCARD\r\nFN:a\0b\r\nEND:VCARD\r\n", 32);
  EXPECT_EQ(Records(ReadContactFile(Write("zero.vcf", zero))).at(0)[ContactField::kSubject],
            std::u16string(u"a\0b", 3));
  const std::string odd = Utf16(card, false, false) + "x";
  EXPECT_TRUE(
      Mentions(RaisedBy([&] { ReadContactFile(Write("odd.vcf", odd)); }), u"odd number of bytes"));
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
