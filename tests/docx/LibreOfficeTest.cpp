// A letter made through the engine opens in LibreOffice and shows the contact's data;
// so does the template the builder writes. Skipped where LibreOffice is not installed.
#include <gtest/gtest.h>

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
  ASSERT_TRUE(letter.has_value());
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
  ASSERT_TRUE(blank.has_value());
  for (const char* text : {"添書票", "〒", "様", "会社", "電話", "差込:"}) {
    EXPECT_TRUE(sendnote::testing::ShowsValue(*blank, text)) << text;
  }
}

}  // namespace
}  // namespace sendnote::docx
