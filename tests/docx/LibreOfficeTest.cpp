// A letter made through the engine opens in LibreOffice and shows the contact's data;
// so does the template the builder writes. Skipped where LibreOffice is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "docx/DocxApplication.h"
#include "docx/DocxDocument.h"
#include "docx/TemplateBuilder.h"
#include "platform/Utf.h"
#include "tests/docx/DocxTestSupport.h"
#include "tests/docx/LetterFlow.h"

namespace sendnote::docx {
namespace {

bool Installed(const char* program) {
  return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// Returns the command's standard output.
std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

// Text without blanks and line ends, which PDF text extraction places freely.
std::string Squeezed(std::string text) {
  std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\f'; });
  return text;
}

TEST(LibreOffice, ShowsTheLettersValuesAndOpensTheTemplate) {
  if (!Installed("soffice") || !Installed("pdftotext")) {
    GTEST_SKIP() << "LibreOffice (soffice) or pdftotext is not installed";
  }
  testing::TempDir dir;
  WriteTemplate(testing::LetterTemplate(), dir.File("template.dotx"));
  auto app = DocxApplication::Create();
  auto doc = std::static_pointer_cast<DocxDocument>(
      app->Documents()->Add(platform::FromUtf8(dir.File("template.dotx").string()),
                            platform::kFalse, platform::kWdNewDocument, platform::kTrue));
  testing::WriteLetter(doc);
  doc->SaveAs(dir.File("letter.docx"), false);

  const std::string quoted = "'" + dir.Path().string() + "'";
  const std::string convert =
      "cd " + quoted + " && timeout 180 soffice -env:UserInstallation=file://" +
      dir.Path().string() + "/profile --headless --convert-to pdf --outdir " + quoted +
      " letter.docx template.dotx >/dev/null 2>&1";
  ASSERT_EQ(std::system(convert.c_str()), 0);
  const std::string letter = Squeezed(Output("pdftotext -enc UTF-8 " + quoted + "/letter.pdf -"));
  ASSERT_FALSE(letter.empty());
  for (const auto& [name, value] : testing::ExpectedLetterValues()) {
    EXPECT_NE(letter.find(Squeezed(platform::ToUtf8(value))), std::string::npos)
        << platform::ToUtf8(name) << " in:\n"
        << letter;
  }
  EXPECT_EQ(letter.find("«郵便番号»"), std::string::npos);
  EXPECT_NE(letter.find("添書票"), std::string::npos);

  // The template as the builder wrote it opens too (LibreOffice makes a new document of
  // it and recomputes its fields, so only its own text is certain).
  const std::string blank = Squeezed(Output("pdftotext -enc UTF-8 " + quoted + "/template.pdf -"));
  for (const char* text : {"添書票", "〒", "様", "会社", "電話", "差込:"}) {
    EXPECT_NE(blank.find(text), std::string::npos) << text << " in:\n" << blank;
  }
}

}  // namespace
}  // namespace sendnote::docx
