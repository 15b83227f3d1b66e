// A letter made through the engine opens in LibreOffice and shows the contact's data;
// so does the template the builder writes. Skipped where LibreOffice is not installed.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <string>

#include "docx/DocxApplication.h"
#include "docx/DocxDocument.h"
#include "platform/Utf.h"
#include "templatebuilder/TemplateBuilder.h"
#include "tests/docx/DocxTestSupport.h"
#include "tests/docx/LetterFlow.h"
#include "tests/support/LibreOfficeText.h"

namespace sendnote::docx {
namespace {

TEST(LibreOffice, ShowsTheLettersValuesAndOpensTheTemplate) {
  if (!sendnote::testing::LibreOfficeInstalled()) GTEST_SKIP() << "LibreOffice is not installed";
  testing::TempDir dir;
  WriteTemplate(testing::LetterTemplate(), dir.File("template.dotx"));
  auto app = DocxApplication::Create();
  auto doc = std::static_pointer_cast<DocxDocument>(
      app->Documents()->Add(platform::FromUtf8(dir.File("template.dotx").string()),
                            platform::kFalse, platform::kWdNewDocument, platform::kTrue));
  testing::WriteLetter(doc);
  doc->SaveAs(dir.File("letter.docx"), false);

  // Each value must stand in a paragraph as the field's stored result: LibreOffice shows
  // what the file holds, so a field left with its old result fails here.
  const auto letter = sendnote::testing::LibreOfficeParagraphs(dir.File("letter.docx"));
  ASSERT_TRUE(letter.has_value()) << letter.failure;
  std::string all;
  for (const auto& paragraph : *letter) all += paragraph + "\n";
  for (const auto& [name, value] : testing::ExpectedLetterValues()) {
    EXPECT_TRUE(sendnote::testing::ShowsValue(*letter, platform::ToUtf8(value)))
        << platform::ToUtf8(name) << " in:\n"
        << all;
  }
  EXPECT_EQ(all.find("«郵便番号»"), std::string::npos);
  EXPECT_TRUE(sendnote::testing::ShowsValue(*letter, "添書票"));

  // The template as the builder wrote it opens too (LibreOffice makes a new document of
  // it and recomputes its fields, so only its own text is certain).
  const auto blank = sendnote::testing::LibreOfficeParagraphs(dir.File("template.dotx"));
  ASSERT_TRUE(blank.has_value()) << blank.failure;
  for (const char* text : {"添書票", "〒", "様", "会社", "電話", "差込:"}) {
    EXPECT_TRUE(sendnote::testing::ShowsValue(*blank, text)) << text;
  }
}

// A stand-in soffice first in PATH for the duration of a test: it runs `script` (sh).
class FakeSoffice {
 public:
  FakeSoffice(const testing::TempDir& dir, const std::string& script)
      : old_path_(::getenv("PATH") ? ::getenv("PATH") : "") {
    const auto bin = dir.File("bin");
    std::filesystem::create_directory(bin);
    testing::WriteFile(bin / "soffice", "#!/bin/sh\n" + script);
    ::chmod((bin / "soffice").c_str(), 0755);
    ::setenv("PATH", (bin.string() + ":" + old_path_).c_str(), 1);
  }
  ~FakeSoffice() { ::setenv("PATH", old_path_.c_str(), 1); }
  FakeSoffice(const FakeSoffice&) = delete;
  FakeSoffice& operator=(const FakeSoffice&) = delete;

 private:
  std::string old_path_;
};

// A first start that ends non-zero after setting up its profile is tried once more; a
// conversion that keeps failing says, for each attempt, soffice's exit status and output.
TEST(LibreOfficeSupport, RetriesAFailedConversionOnceAndReportsBothAttempts) {
  testing::TempDir dir;
  testing::WriteFile(dir.File("letter.docx"), "x");
  {
    // Fails the first time (leaving a mark), converts the second.
    FakeSoffice fake(dir,
                     "if [ ! -e first ]; then : >first; echo profile made; exit 81; fi\n"
                     ": >letter.fodt\n");
    const auto converted = sendnote::testing::LibreOfficeConvert(dir.File("letter.docx"), "fodt");
    ASSERT_TRUE(converted.has_value()) << converted.failure;
    EXPECT_EQ(*converted, dir.File("letter.fodt"));
  }
  {
    FakeSoffice fake(dir, "echo cannot start >&2; exit 77\n");
    const auto converted = sendnote::testing::LibreOfficeConvert(dir.File("letter.docx"), "odt");
    ASSERT_FALSE(converted.has_value());
    EXPECT_NE(converted.failure.find("(attempt 1): exit status 77\ncannot start"),
              std::string::npos)
        << converted.failure;
    EXPECT_NE(converted.failure.find("(attempt 2): exit status 77\ncannot start"),
              std::string::npos)
        << converted.failure;
  }
  {
    // Exit status 0 without the converted file is a failure too.
    FakeSoffice fake(dir, "exit 0\n");
    const auto paragraphs = sendnote::testing::LibreOfficeParagraphs(dir.File("letter.docx"));
    ASSERT_FALSE(paragraphs.has_value());
    EXPECT_NE(paragraphs.failure.find("exit status 0, but wrote no letter.odt"), std::string::npos)
        << paragraphs.failure;
  }
}

}  // namespace
}  // namespace sendnote::docx
