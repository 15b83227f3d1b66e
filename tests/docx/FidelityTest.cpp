// A letter made through the engine end to end: the letter writer and the field refresh
// on a real template, then the saved package checked part by part against the template.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "docx/DocxApplication.h"
#include "docx/DocxDocument.h"
#include "platform/Utf.h"
#include "templatebuilder/TemplateBuilder.h"
#include "tests/docx/DocxTestSupport.h"
#include "tests/docx/LetterFlow.h"

namespace sendnote::docx {
namespace {

using testing::EntryText;
using testing::RawEntries;

std::string Utf8(std::u16string_view text) { return platform::ToUtf8(text); }

class LetterTest : public ::testing::Test {
 protected:
  std::shared_ptr<DocxDocument> NewLetter() {
    template_ = BuildTemplate(testing::LetterTemplate());
    testing::WriteFile(dir_.File("letter.dotx"), template_);
    return std::static_pointer_cast<DocxDocument>(
        app_->Documents()->Add(platform::FromUtf8(dir_.File("letter.dotx").string()),
                               platform::kFalse, platform::kWdNewDocument, platform::kTrue));
  }
  std::string Save(const std::shared_ptr<DocxDocument>& doc) {
    doc->SaveAs(dir_.File("out.docx"), true);
    return testing::ReadFile(dir_.File("out.docx"));
  }
  // The two copies of the letter's text box, as markup.
  static std::pair<std::string, std::string> TextBoxCopies(const std::string& document) {
    pugi::xml_document xml;
    xml.load_string(document.c_str(), pugi::parse_default | pugi::parse_ws_pcdata);
    auto contents = xml.select_nodes("//w:txbxContent");
    EXPECT_EQ(contents.size(), 2u);
    std::ostringstream first, second;
    for (pugi::xml_node c : contents[0].node().children()) c.print(first, "", pugi::format_raw);
    for (pugi::xml_node c : contents[1].node().children()) c.print(second, "", pugi::format_raw);
    return {first.str(), second.str()};
  }

  testing::TempDir dir_;
  std::shared_ptr<DocxApplication> app_ = DocxApplication::Create();
  std::string template_;
};

TEST_F(LetterTest, TheSavedLetterHoldsExactlyTheContactsPropertiesWithTheirTypes) {
  auto doc = NewLetter();
  testing::WriteLetter(doc);
  const std::string saved = Save(doc);

  pugi::xml_document custom;
  ASSERT_TRUE(custom.load_string(EntryText(saved, "docProps/custom.xml").c_str()));
  std::map<std::string, std::pair<std::string, std::string>> stored;  // name -> element, text
  for (pugi::xml_node p : custom.document_element().children("property")) {
    stored[p.attribute("name").value()] = {p.first_child().name(), p.first_child().child_value()};
  }
  ASSERT_EQ(stored.size(), 24u);  // 21 of the contact, 2 markers, the user's own
  EXPECT_EQ(stored["SENDNOTE$PROPERTY"],
            std::make_pair(std::string("vt:bool"), std::string("true")));
  EXPECT_EQ(stored["SENDNOTE$PREFIX"],
            std::make_pair(std::string("vt:lpwstr"), std::string("OUTLOOK$")));
  EXPECT_EQ(stored["部署コード"], std::make_pair(std::string("vt:i4"), std::string("42")));
  int contactProperties = 0;
  for (const auto& [name, value] : stored) {
    if (!name.starts_with("OUTLOOK$")) continue;
    ++contactProperties;
    EXPECT_EQ(value.first, "vt:lpwstr") << name;
  }
  EXPECT_EQ(contactProperties, 21);
  for (const auto& [name, value] : testing::ExpectedLetterValues()) {
    EXPECT_EQ(stored["OUTLOOK$" + Utf8(name)].second, Utf8(value)) << Utf8(name);
  }
}

TEST_F(LetterTest, EveryPropertyFieldShowsItsValueInItsFormatAndNothingElseChanges) {
  auto doc = NewLetter();
  std::vector<std::u16string> codesBefore;
  for (int32_t i = 1; i <= doc->Fields()->Count(); ++i) {
    codesBefore.push_back(doc->Fields()->Item(i)->Code()->Text());
  }
  testing::WriteLetter(doc);
  const std::string saved = Save(doc);
  const std::string document = EntryText(saved, "word/document.xml");

  // Reading the saved letter back: codes as they were, values where the fields were.
  auto reader = DocxApplication::Create();
  auto letter =
      reader->Documents()->Add(platform::FromUtf8(dir_.File("out.docx").string()), platform::kFalse,
                               platform::kWdNewDocument, platform::kTrue);
  auto fields = letter->Fields();
  ASSERT_EQ(fields->Count(), static_cast<int32_t>(codesBefore.size()));
  std::vector<std::u16string> results;
  for (int32_t i = 1; i <= fields->Count(); ++i) {
    EXPECT_EQ(fields->Item(i)->Code()->Text(), codesBefore[static_cast<size_t>(i) - 1]);
    results.push_back(fields->Item(i)->Result()->Text());
  }
  const auto values = testing::ExpectedLetterValues();
  auto value = [&](std::u16string_view name) {
    for (const auto& [n, v] : values) {
      if (n == name) return v;
    }
    return std::u16string();
  };
  EXPECT_EQ(results,
            (std::vector<std::u16string>{u"2001年1月1日", value(u"郵便番号"), value(u"住所"),
                                         value(u"会社名"), value(u"電話番号"), u"«会社名»"}));
  EXPECT_EQ(letter->Shapes()->Item(1)->TextFrame()->TextRange()->Text(), value(u"宛先") + u" 様\r");

  // Bold results stay bold, in one run; the switches and the split code runs are kept.
  EXPECT_NE(document.find("<w:r><w:rPr><w:b/><w:bCs/></w:rPr><w:t>" + Utf8(value(u"郵便番号")) +
                          "</w:t></w:r>"),
            std::string::npos);
  EXPECT_NE(document.find("<w:r><w:rPr><w:b/><w:bCs/></w:rPr><w:t>" + Utf8(value(u"会社名")) +
                          "</w:t></w:r>"),
            std::string::npos);
  EXPECT_NE(document.find("<w:instrText xml:space=\"preserve\"> DOCPROPERTY \"OUTLOOK$郵便番号\" "
                          "\\* MERGEFORMAT </w:instrText></w:r><w:r><w:instrText "
                          "xml:space=\"preserve\"/></w:r>"),
            std::string::npos)
      << "the renaming writes the code into the first of its runs";

  // Both copies of the text box carry the same, updated text.
  const auto [drawing, vml] = TextBoxCopies(document);
  EXPECT_EQ(drawing, vml);
  EXPECT_NE(drawing.find(Utf8(value(u"宛先"))), std::string::npos);
}

TEST_F(LetterTest, PartsTheLetterHasNoBusinessWithAreCopiedAsStored) {
  auto doc = NewLetter();
  testing::WriteLetter(doc);
  const std::string saved = Save(doc);

  const auto before = RawEntries(template_);
  const auto after = RawEntries(saved);
  std::vector<std::string> namesBefore, namesAfter;
  for (const auto& e : before) namesBefore.push_back(e.name);
  for (const auto& e : after) namesAfter.push_back(e.name);
  // Every entry keeps its place; the new ones come last.
  std::vector<std::string> expected = namesBefore;
  expected.push_back("word/_rels/settings.xml.rels");
  EXPECT_EQ(namesAfter, expected);  // the user's property: the custom part existed already

  const std::set<std::string> edited = {"[Content_Types].xml",
                                        "word/document.xml",
                                        "word/settings.xml",
                                        "docProps/custom.xml",
                                        "word/_rels/settings.xml.rels",
                                        "docProps/core.xml",
                                        "docProps/app.xml",
                                        "word/header1.xml"};
  for (size_t i = 0; i < before.size(); ++i) {
    if (edited.count(before[i].name)) continue;
    EXPECT_EQ(after[i].raw, before[i].raw) << before[i].name;
    EXPECT_EQ(after[i].crc, before[i].crc) << before[i].name;
    EXPECT_EQ(after[i].method, before[i].method) << before[i].name;
  }
  for (const char* part : {"word/styles.xml", "word/theme/theme1.xml", "word/header1.xml",
                           "word/media/image1.png", "customXml/item1.xml"}) {
    EXPECT_TRUE(std::any_of(after.begin(), after.end(), [&](const auto& e) {
      return e.name == part;
    })) << part;
  }
  // The header shows a property too: it is refreshed when the letter is saved.
  const std::string header = EntryText(saved, "word/header1.xml");
  EXPECT_EQ(header.find("«会社名»"), std::string::npos);
  for (const auto& [name, value] : testing::ExpectedLetterValues()) {
    if (name != u"会社名") continue;
    EXPECT_NE(header.find(platform::ToUtf8(value)), std::string::npos);
  }
  EXPECT_FALSE(testing::UsesZip64(saved));
}

TEST_F(LetterTest, ANewPrefixRenamesTheFieldsOfTheBodyAndTheTextBoxesBeforeTheRefresh) {
  auto doc = NewLetter();
  const testing::LetterRun run = testing::WriteLetter(doc, u"ABC$");
  EXPECT_EQ(run.prefix, u"ABC$");
  const std::string saved = Save(doc);
  const std::string document = EntryText(saved, "word/document.xml");
  EXPECT_EQ(document.find("OUTLOOK$"), std::string::npos);
  EXPECT_NE(document.find("DOCPROPERTY \"ABC$会社名\" \\* MERGEFORMAT"), std::string::npos);
  const auto [drawing, vml] = TextBoxCopies(document);
  EXPECT_EQ(drawing, vml);
  EXPECT_NE(drawing.find("ABC$宛先"), std::string::npos);

  const auto values = testing::ExpectedLetterValues();
  for (const auto& [name, value] : values) {
    EXPECT_NE(document.find(Utf8(value)), std::string::npos) << Utf8(name);
  }
  const std::string custom = EntryText(saved, "docProps/custom.xml");
  EXPECT_EQ(custom.find("OUTLOOK$"), std::string::npos);
  EXPECT_NE(custom.find("name=\"ABC$会社名\""), std::string::npos);
}

TEST_F(LetterTest, ASavedLetterIsMarkedAndAskedNoMoreTheNextTime) {
  auto doc = NewLetter();
  EXPECT_EQ(testing::WriteLetter(doc).messages.size(), 1u);
  Save(doc);
  auto again = std::static_pointer_cast<DocxDocument>(
      app_->Documents()->Add(platform::FromUtf8(dir_.File("out.docx").string()), platform::kFalse,
                             platform::kWdNewDocument, platform::kTrue));
  EXPECT_TRUE(testing::WriteLetter(again).messages.empty());
}

}  // namespace
}  // namespace sendnote::docx
