// The office templates in examples/ (送付状, 長形3号, 宛名ラベル) as a user sees them:
// letters written by the built command from a bundled contact and read back by LibreOffice
// show the contact's values where the template had its «field» samples, and the envelope
// is a 120 × 235 mm page of vertical text with the postal code in its boxes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "tests/portable/CommandRunner.h"
#include "tests/support/LibreOfficeText.h"

namespace sendnote {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = SENDNOTE_EXAMPLES;

class ExampleLettersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::LibreOfficeInstalled()) GTEST_SKIP() << "LibreOffice is not installed";
    dir_ = fs::temp_directory_path() /
           (std::string("sendnote-examples-") + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Writes the letter `letter` from `contacts` and the example template `name`.
  fs::path WriteLetter(const fs::path& contacts, const std::string& name,
                       const std::string& letter) {
    const auto r = testing::RunCommand(
        SENDNOTE_COMMAND,
        {"--yes", "-o", letter, contacts.string(), (kExamples / (name + ".dotx")).string()}, dir_);
    EXPECT_EQ(r.status, 0) << r.err;
    return dir_ / letter;
  }

  // The letter's paragraphs as LibreOffice reads them; none still shows a «field» sample.
  static std::vector<std::string> Paragraphs(const fs::path& letter) {
    const auto text = testing::LibreOfficeParagraphs(letter);
    EXPECT_TRUE(text.has_value()) << text.failure;
    if (!text.has_value()) return {};
    for (const auto& paragraph : *text) {
      EXPECT_EQ(paragraph.find("«"), std::string::npos) << "a sample is left: " << paragraph;
    }
    return *text;
  }

  fs::path dir_;
};

// 山田 太郎 of the bundled Outlook cards: 株式会社山田商事, 本社, 営業部, 部長, and the
// postal code typed in full-width characters, １００－０００５.
TEST_F(ExampleLettersTest, LibreOfficeShowsTheContactInEachOfficeTemplate) {
  const fs::path contacts = kExamples / "contacts-outlook21.vcf";
  const struct {
    std::string name;
    std::vector<std::string> values;
  } cases[] = {
      {"送付状",
       {"株式会社山田商事", "本社　営業部", "部長　山田　太郎　様", "送　付　状", "敬具", "以上"}},
      {"長形3号",
       {"100 0005", "東京都千代田区", "丸の内1-2-3", "株式会社山田商事", "本社　営業部",
        "部長　山田　太郎　様"}},
      {"宛名ラベル",
       {"〒100-0005", "東京都千代田区", "丸の内1-2-3", "株式会社山田商事　営業部",
        "山田　太郎　様"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto text = Paragraphs(WriteLetter(contacts, c.name, c.name + ".docx"));
    for (const auto& value : c.values) EXPECT_TRUE(testing::ShowsValue(text, value)) << value;
  }
}

// The envelope's page and writing direction as LibreOffice lays the letter out.
TEST_F(ExampleLettersTest, LibreOfficeLaysTheEnvelopeOutOn120By235MmInVerticalText) {
  const fs::path letter = WriteLetter(kExamples / "contacts-outlook21.vcf", "長形3号", "e.docx");
  const auto flat = testing::LibreOfficeConvert(letter, "fodt");
  ASSERT_TRUE(flat.has_value()) << flat.failure;
  const std::string xml = testing::ReadFileText(*flat);
  auto length = [&xml](const std::string& attribute) {
    std::smatch m;
    const std::regex pattern(attribute + "=\"([0-9.]+)(cm|mm|in)\"");
    if (!std::regex_search(xml, m, pattern)) return -1.0;
    const double value = std::stod(m[1]);
    return m[2] == "cm" ? value * 10 : m[2] == "in" ? value * 25.4 : value;
  };
  EXPECT_NEAR(length("fo:page-width"), 120, 0.1);
  EXPECT_NEAR(length("fo:page-height"), 235, 0.1);
  EXPECT_NE(xml.find("style:writing-mode=\"tb-rl\""), std::string::npos)
      << "no vertical text in the envelope";
}

// However the postal code is typed, its seven digits land in the boxes: the upper three,
// then the lower four, on the boxes' one line.
TEST_F(ExampleLettersTest, LibreOfficeShowsEachTypingOfThePostalCodeInTheEnvelopeBoxes) {
  const char* const codes[] = {"100-0005", "１００－０００５", "〒100-0005"};
  int n = 0;
  for (const char* code : codes) {
    SCOPED_TRACE(code);
    const fs::path card = dir_ / (std::string("card") + std::to_string(++n) + ".vcf");
    std::ofstream(card, std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎;;;\r\nFN:山田 太郎\r\n"
           "ORG:株式会社山田商事;営業部\r\nADR;TYPE=WORK,PREF:;;丸の内1-2-3;千代田区;東京都;"
        << code << ";日本\r\nEND:VCARD\r\n";
    const auto text =
        Paragraphs(WriteLetter(card, "長形3号", std::string("e") + std::to_string(n) + ".docx"));
    EXPECT_NE(std::find(text.begin(), text.end(), "100 0005"), text.end());
  }
}

}  // namespace
}  // namespace sendnote
