// A new document's own properties: created and modified now by the current user,
// revision 1, naming its template; the template's title, subject and keywords stay.
#include "docx/NewDocumentStamp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "docx/Package.h"
#include "templatebuilder/TemplateBuilder.h"
#include "tests/docx/DocxTestSupport.h"

namespace sendnote::docx {
namespace {

constexpr char kCore[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><cp:coreProperties "
    "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>添書票</dc:title>"
    "<dc:subject>送付</dc:subject><cp:keywords>手紙</cp:keywords><dc:creator>作者</dc:creator>"
    "<cp:lastModifiedBy>前の人</cp:lastModifiedBy><cp:revision>17</cp:revision>"
    "<cp:lastPrinted>2001-01-01T00:00:00Z</cp:lastPrinted>"
    "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2001-01-01T00:00:00Z</dcterms:created>"
    "</cp:coreProperties>";

// A package of the given parts, with the core part related only when `core` is not empty.
std::string PackageWith(const std::string& core) {
  const std::string rels =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
      "relationships/officeDocument\" Target=\"word/document.xml\"/>" +
      std::string(core.empty() ? ""
                               : "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats."
                                 "org/package/2006/relationships/metadata/core-properties\" "
                                 "Target=\"docProps/core.xml\"/>") +
      "</Relationships>";
  std::vector<testing::HandEntry> entries{
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
       "<Default Extension=\"rels\" "
       "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
       "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>"},
      {"_rels/.rels", rels}};
  if (!core.empty()) entries.push_back({"docProps/core.xml", core});
  return testing::HandMadeZip(entries);
}

std::string Stamped(const std::string& bytes, std::string& app) {
  auto package = Package::Open(std::make_shared<const std::string>(bytes));
  NewDocumentStamp::Apply(*package, "添書票.dotx", "yamada", "2026-12-08T09:30:00Z");
  const std::string saved = package->Save();
  app = testing::EntryText(saved, "docProps/app.xml");
  return testing::EntryText(saved, "docProps/core.xml");
}

TEST(NewDocumentStampTest, TheNewDocumentIsCreatedNowByTheUserAndKeepsItsTitle) {
  std::string app;
  const std::string core = Stamped(PackageWith(kCore), app);
  for (const char* kept : {"<dc:title>添書票</dc:title>", "<dc:subject>送付</dc:subject>",
                           "<cp:keywords>手紙</cp:keywords>"}) {
    EXPECT_NE(core.find(kept), std::string::npos) << kept;
  }
  for (const char* stamped :
       {"<dc:creator>yamada</dc:creator>", "<cp:lastModifiedBy>yamada</cp:lastModifiedBy>",
        "<cp:revision>1</cp:revision>",
        "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2026-12-08T09:30:00Z</dcterms:created>",
        "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">2026-12-08T09:30:00Z</dcterms:modified>"}) {
    EXPECT_NE(core.find(stamped), std::string::npos) << stamped;
  }
  for (const char* gone : {"作者", "前の人", "17", "2001-01-01", "lastPrinted"}) {
    EXPECT_EQ(core.find(gone), std::string::npos) << gone;
  }
  EXPECT_NE(app.find("<Template>添書票.dotx</Template>"), std::string::npos) << app;
}

TEST(NewDocumentStampTest, MissingPropertyPartsAreAdded) {
  std::string app;
  const std::string core = Stamped(PackageWith(""), app);
  EXPECT_NE(core.find("<dc:creator>yamada</dc:creator>"), std::string::npos) << core;
  EXPECT_NE(core.find("<cp:revision>1</cp:revision>"), std::string::npos) << core;
  EXPECT_NE(app.find("<Template>添書票.dotx</Template>"), std::string::npos) << app;
}

TEST(NewDocumentStampTest, TheBuiltTemplatesAppPartGetsTheTemplateName) {
  std::string app;
  Stamped(BuildTemplate(TemplateDescription{}), app);
  EXPECT_NE(app.find("添書票.dotx</Template>"), std::string::npos) << app;
  EXPECT_NE(NewDocumentStamp::Now().find('T'), std::string::npos);
}

}  // namespace
}  // namespace sendnote::docx
