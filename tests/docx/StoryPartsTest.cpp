// Stories outside the main text: the engine lists a letter's headers and footers of every
// section, its footnotes and the text boxes inside them as Word does, and the letter
// writer's refresh reaches every one of them.
#include "docx/StoryParts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "docx/DocxApplication.h"
#include "docx/DocxDocument.h"
#include "docx/Zip.h"
#include "platform/Utf.h"
#include "tests/docx/DocxTestSupport.h"
#include "tests/docx/LetterFlow.h"
#include "tests/support/LibreOfficeText.h"

namespace sendnote::docx {
namespace {

using platform::FromUtf8;
using platform::Variant;

constexpr char kDecl[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";
constexpr char kW[] =
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"";
constexpr char kRel[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// A complex DOCPROPERTY field showing `result` in its own paragraph.
std::string FieldParagraph(const std::string& code, const std::string& result) {
  return "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText "
         "xml:space=\"preserve\">" +
         code + "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>" +
         result + "</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>";
}

std::string Company(const std::string& result) {
  return FieldParagraph(" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT ", result);
}

// A floating text box whose text holds `paragraphs`.
std::string TextBox(const std::string& paragraphs) {
  return "<w:p><w:r><w:drawing><wp:anchor distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" "
         "simplePos=\"0\" relativeHeight=\"1\" behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" "
         "allowOverlap=\"1\"><wp:simplePos x=\"0\" y=\"0\"/><wp:positionH "
         "relativeFrom=\"column\"><wp:posOffset>0</wp:posOffset></wp:positionH><wp:positionV "
         "relativeFrom=\"paragraph\"><wp:posOffset>0</wp:posOffset></wp:positionV><wp:extent "
         "cx=\"1828800\" cy=\"457200\"/><wp:wrapNone/><wp:docPr id=\"1\" name=\"box\"/>"
         "<a:graphic><a:graphicData "
         "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"><wps:wsp>"
         "<wps:spPr><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></wps:spPr><wps:txbx>"
         "<w:txbxContent>" +
         paragraphs +
         "</w:txbxContent></wps:txbx><wps:bodyPr/></wps:wsp></a:graphicData></a:graphic>"
         "</wp:anchor></w:drawing></w:r></w:p>";
}

std::string Part(const std::string& root, const std::string& content) {
  return std::string(kDecl) + "<w:" + root + kW + ">" + content + "</w:" + root + ">";
}

std::string Override(const std::string& part, const std::string& type) {
  return "<Override PartName=\"/word/" + part +
         "\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml." + type +
         "+xml\"/>";
}

std::string Relationship(const std::string& id, const std::string& type,
                         const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"" + kRel + type + "\" Target=\"" + target + "\"/>";
}

// Two sections: the first with a first-page header (holding a text box) and an even-page
// footer, the second with its own default header; a footnote; fields of another prefix
// and an unquoted name, which the refresh leaves alone.
std::string SectionsTemplate() {
  const std::string types =
      std::string(kDecl) +
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>" +
      Override("document.xml", "template.main") + Override("header1.xml", "header") +
      Override("footer1.xml", "footer") + Override("header2.xml", "header") +
      Override("footnotes.xml", "footnotes") + Override("settings.xml", "settings") + "</Types>";
  const std::string packageRels =
      std::string(kDecl) +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
      Relationship("rId1", "officeDocument", "word/document.xml") + "</Relationships>";
  const std::string documentRels =
      std::string(kDecl) +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
      Relationship("rId1", "header", "header1.xml") +
      Relationship("rId2", "footer", "footer1.xml") +
      Relationship("rId3", "header", "header2.xml") +
      Relationship("rId4", "footnotes", "footnotes.xml") +
      Relationship("rId5", "settings", "settings.xml") + "</Relationships>";
  const std::string document = Part(
      "document",
      "<w:body><w:p><w:r><w:t>本文</w:t></w:r><w:r><w:footnoteReference w:id=\"1\"/></w:r></w:p>"
      "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"first\" r:id=\"rId1\"/>"
      "<w:footerReference w:type=\"even\" r:id=\"rId2\"/><w:titlePg/></w:sectPr></w:pPr></w:p>"
      "<w:p><w:r><w:t>二節</w:t></w:r></w:p>"
      "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rId3\"/></w:sectPr></w:body>");
  const std::string header1 =
      Part("hdr", Company("«先頭»") + TextBox(Company("«箱»")) +
                      FieldParagraph(" DOCPROPERTY \"OTHER$会社名\" ", "«他»") +
                      FieldParagraph(" DOCPROPERTY OUTLOOK$会社名 ", "«引用なし»"));
  const std::string footer1 = Part("ftr", Company("«偶数»"));
  const std::string header2 = Part("hdr", Company("«二節»"));
  const std::string footnotes =
      Part("footnotes",
           "<w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r>"
           "</w:p></w:footnote><w:footnote w:id=\"1\">" +
               Company("«脚注»") + "</w:footnote>");
  const std::string settings = Part("settings", "<w:evenAndOddHeaders/>");
  return testing::HandMadeZip({{"[Content_Types].xml", types},
                               {"_rels/.rels", packageRels},
                               {"word/document.xml", document},
                               {"word/_rels/document.xml.rels", documentRels},
                               {"word/header1.xml", header1},
                               {"word/footer1.xml", footer1},
                               {"word/header2.xml", header2},
                               {"word/footnotes.xml", footnotes},
                               {"word/settings.xml", settings}});
}

class StoryPartsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteFile(dir_.File("sections.dotx"), SectionsTemplate());
    app_ = DocxApplication::Create();
    doc_ = std::static_pointer_cast<DocxDocument>(
        app_->Documents()->Add(FromUtf8(dir_.File("sections.dotx").string()), platform::kFalse,
                               platform::kWdNewDocument, platform::kTrue));
  }

  void AddText(const std::u16string& name, const std::u16string& value) {
    doc_->CustomDocumentProperties()->Add(name, platform::kFalse, platform::kPropertyString,
                                          Variant::String(value));
  }

  testing::TempDir dir_;
  std::shared_ptr<platform::WordApplication> app_;
  std::shared_ptr<DocxDocument> doc_;
};

size_t Occurrences(const std::string& xml, const std::string& text) {
  size_t n = 0;
  for (size_t at = xml.find(text); at != std::string::npos; at = xml.find(text, at + 1)) ++n;
  return n;
}

TEST_F(StoryPartsTest, StoriesComeInTypeOrderEachSectionsHeaderReachedFromTheFirst) {
  const auto items = doc_->StoryRanges()->Items();
  std::vector<int32_t> types;
  for (const auto& story : items) types.push_back(story->StoryType());
  // The main text, its text frame story (none here), the footnotes, the second section's
  // primary header, the first's even-page footer and first-page header.
  EXPECT_EQ(types, (std::vector<int32_t>{platform::kWdMainTextStory, platform::kWdFootnotesStory,
                                         platform::kWdPrimaryHeaderStory,
                                         platform::kWdEvenPagesFooterStory,
                                         platform::kWdFirstPageHeaderStory}));
  EXPECT_EQ(doc_->StoryRanges()->Count(), 5);
  for (const auto& story : items) EXPECT_EQ(story->NextStoryRange(), nullptr);
  // The first-page header holds a text box; its text is in the text frame story.
  const auto header = items[4];
  EXPECT_EQ(header->Fields()->Count(), 3);
  ASSERT_EQ(header->ShapeRange()->Count(), 1);
  const auto box = header->ShapeRange()->Item(1)->TextFrame()->TextRange();
  EXPECT_EQ(box->StoryType(), platform::kWdTextFrameStory);
  EXPECT_EQ(box->Text(), u"«箱»\r");
  EXPECT_EQ(items[1]->ShapeRange()->Count(), 0);
}

TEST_F(StoryPartsTest, TheLetterShowsTheContactInEveryHeaderFooterFootnoteAndTextBox) {
  AddText(u"OTHER$会社名", u"他社");
  testing::WriteLetter(doc_);
  doc_->SaveAs(dir_.File("letter.docx"), false);

  const std::string zip = testing::ReadFile(dir_.File("letter.docx"));
  const std::string header1 = testing::EntryText(zip, "word/header1.xml");
  const std::string footer1 = testing::EntryText(zip, "word/footer1.xml");
  const std::string header2 = testing::EntryText(zip, "word/header2.xml");
  const std::string footnotes = testing::EntryText(zip, "word/footnotes.xml");
  for (const char* placeholder : {"«先頭»", "«箱»", "«偶数»", "«二節»", "«脚注»"}) {
    EXPECT_EQ((header1 + footer1 + header2 + footnotes).find(placeholder), std::string::npos)
        << placeholder << " is still shown";
  }
  EXPECT_EQ(Occurrences(header1, "株式会社山田商事"), 2u);  // its own field and its text box's
  EXPECT_EQ(Occurrences(footer1, "株式会社山田商事"), 1u);
  EXPECT_EQ(Occurrences(header2, "株式会社山田商事"), 1u);
  EXPECT_EQ(Occurrences(footnotes, "株式会社山田商事"), 1u);
  // Another prefix and an unquoted name are not the letter's fields.
  EXPECT_NE(header1.find("«他»"), std::string::npos);
  EXPECT_NE(header1.find("«引用なし»"), std::string::npos);
  // The template is only read.
  EXPECT_EQ(testing::ReadFile(dir_.File("sections.dotx")), SectionsTemplate());
}

TEST_F(StoryPartsTest, SavingAloneLeavesEveryStoryAsItWas) {
  AddText(u"SENDNOTE$PREFIX", u"OUTLOOK$");
  AddText(u"OUTLOOK$会社名", u"株式会社山田商事");
  doc_->SaveAs(dir_.File("plain.docx"), false);
  const std::string zip = testing::ReadFile(dir_.File("plain.docx"));
  EXPECT_NE(testing::EntryText(zip, "word/header1.xml").find("«先頭»"), std::string::npos);
  EXPECT_NE(testing::EntryText(zip, "word/footer1.xml").find("«偶数»"), std::string::npos);
}

// Headers, footers and notes are stories of the letter and held to the main text's rules:
// one that breaks them refuses the template, naming the part, instead of keeping its old
// results.
TEST(StoryPartRulesTest, AStoryPartThatBreaksTheRulesRefusesTheTemplate) {
  std::string deep;
  for (int i = 0; i < 1100; ++i) deep += "<w:p>";
  const std::pair<const char*, std::string> cases[] = {
      {"word/header1.xml",
       std::string(kDecl) + "<!DOCTYPE w:hdr [<!ENTITY c \"x\">]><w:hdr" + kW + ">&c;</w:hdr>"},
      {"word/footer1.xml", std::string(kDecl) + "<w:ftr" + kW + ">" + deep},
      {"word/header2.xml", std::string(kDecl) + "<w:hdr" + kW + "><w:p></w:hdr>"},
      {"word/footnotes.xml", "not XML at all"},
  };
  testing::TempDir dir;
  for (const auto& [part, text] : cases) {
    SCOPED_TRACE(part);
    auto archive = ZipArchive::Open(std::make_shared<const std::string>(SectionsTemplate()));
    ZipEdits edits;
    edits.replaced[*archive->Find(part)] = text;
    testing::WriteFile(dir.File("broken.dotx"), RewriteZip(*archive, edits));
    auto error = testing::ErrorOf([&] {
      DocxApplication::Create()->Documents()->Add(FromUtf8(dir.File("broken.dotx").string()),
                                                  platform::kFalse, platform::kWdNewDocument,
                                                  platform::kTrue);
    });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
    EXPECT_NE(platform::ToUtf8(error->Description()).find(std::string("/") + part),
              std::string::npos)
        << platform::ToUtf8(error->Description());
  }
}

// The text of each paragraph of a flat OpenDocument file, markup removed, trimmed:
// page styles (every header and footer) first, then the body with its footnotes.
std::vector<std::string> ParagraphTexts(const std::string& xml) {
  std::vector<std::string> texts;
  // Paragraphs nest (a footnote's or a text box's inside the one that anchors it): each
  // open paragraph gathers its own text.
  std::vector<std::string> open(1);
  size_t at = 0;
  while (at < xml.size()) {
    if (xml[at] != '<') {
      open.back() += xml[at++];
      continue;
    }
    const size_t end = xml.find('>', at);
    if (end == std::string::npos) break;
    const std::string tag = xml.substr(at + 1, end - at - 1);
    at = end + 1;
    const bool paragraph = tag.starts_with("text:p") || tag.starts_with("text:h");
    if (paragraph && !tag.ends_with("/")) open.emplace_back();
    if ((tag == "/text:p" || tag == "/text:h") && open.size() > 1) {
      const std::string text = open.back();
      open.pop_back();
      const size_t first = text.find_first_not_of(" \t\r\n");
      if (first != std::string::npos) {
        texts.push_back(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
      }
    }
  }
  return texts;
}

TEST_F(StoryPartsTest, LibreOfficeShowsTheContactInEveryHeaderFooterAndFootnote) {
  if (!sendnote::testing::LibreOfficeInstalled()) GTEST_SKIP() << "LibreOffice is not installed";
  AddText(u"OTHER$会社名", u"他社");
  testing::WriteLetter(doc_);
  doc_->SaveAs(dir_.File("letter.docx"), false);
  // The flat OpenDocument form holds every page style's headers and footers as text.
  const auto flat = sendnote::testing::LibreOfficeConvert(dir_.File("letter.docx"), "fodt");
  ASSERT_TRUE(flat.has_value()) << flat.failure;
  const std::vector<std::string> texts = ParagraphTexts(testing::ReadFile(*flat));
  // The field of another prefix keeps its result: LibreOffice shows the stored results.
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "«他»"), 1);
  for (const char* placeholder : {"«先頭»", "«箱»", "«偶数»", "«二節»", "«脚注»"}) {
    EXPECT_EQ(std::count(texts.begin(), texts.end(), placeholder), 0)
        << placeholder << " is still shown";
  }
  // First-page header, its text box, even-page footer, second header, footnote.
  EXPECT_GE(std::count(texts.begin(), texts.end(), "株式会社山田商事"), 5);
}

}  // namespace
}  // namespace sendnote::docx
