// The package layer: part names resolved through relationships, content types by
// override and default, new relationships and parts.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "docx/Package.h"
#include "docx/Zip.h"
#include "platform/Utf.h"
#include "tests/docx/DocxTestSupport.h"

namespace sendnote::docx {
namespace {

TEST(PackageNames, RelationshipTargetsResolveAgainstTheirSource) {
  EXPECT_EQ(ResolvePartName("/", "word/document.xml"), "/word/document.xml");
  EXPECT_EQ(ResolvePartName("/word/document.xml", "styles.xml"), "/word/styles.xml");
  EXPECT_EQ(ResolvePartName("/word/document.xml", "../customXml/item1.xml"),
            "/customXml/item1.xml");
  EXPECT_EQ(ResolvePartName("/word/document.xml", "/docProps/custom.xml"), "/docProps/custom.xml");
  EXPECT_EQ(ResolvePartName("/word/document.xml", "./media/image%201.png#frag"),
            "/word/media/image 1.png");
  EXPECT_EQ(ResolvePartName("/word/document.xml", "../../escape.xml"), std::nullopt);
  EXPECT_EQ(ResolvePartName("/word/document.xml", ""), std::nullopt);
  EXPECT_EQ(RelationshipsPartName("/"), "/_rels/.rels");
  EXPECT_EQ(RelationshipsPartName("/word/document.xml"), "/word/_rels/document.xml.rels");
}

std::unique_ptr<Package> OpenPackage() {
  const std::string zip = WriteZip(
      {{"[Content_Types].xml",
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"XML\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/Content/Main.xml\" ContentType=\"main/type\"/></Types>",
        false},
       {"_rels/.rels",
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId7\" Type=\"t/main\" Target=\"content/main.xml\"/>"
        "<Relationship Id=\"x\" Type=\"t/ext\" Target=\"http://example.com/\" "
        "TargetMode=\"External\"/></Relationships>",
        false},
       {"content/main.xml", "<main/>", false}});
  return Package::Open(std::make_shared<const std::string>(zip));
}

// The XML parts read into memory are bounded together, not only one by one: many parts
// each within the entry limit still refuse the package once their sum passes its limit.
TEST(PackageParts, TheXmlPartsReadTogetherAreBounded) {
  const std::string types =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>";
  const std::string rels =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>";
  const std::string part = "<p>" + std::string(4000, 'x') + "</p>";
  const std::string zip = WriteZip({{"[Content_Types].xml", types, false},
                                    {"_rels/.rels", rels, false},
                                    {"a.xml", part, false},
                                    {"b.xml", part, false},
                                    {"c.xml", part, false}});
  ZipLimits limits;
  limits.maxXmlBytes = types.size() + rels.size() + 2 * part.size();
  auto package = Package::Open(std::make_shared<const std::string>(zip), limits);
  package->Xml("/a.xml");
  package->Xml("/b.xml");
  package->Xml("/a.xml");  // read once, counted once
  auto error = testing::ErrorOf([&] { package->Xml("/c.xml"); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
  EXPECT_NE(platform::ToUtf8(error->Description()).find("together (at /c.xml)"), std::string::npos);
}

TEST(PackageParts, PartsAreFoundThroughRelationshipsAndContentTypes) {
  auto package = OpenPackage();
  const auto rel = package->FindRelationship("/", "t/main");
  ASSERT_TRUE(rel);
  const auto part = package->TargetPart("/", *rel);
  ASSERT_EQ(part, "/content/main.xml");
  EXPECT_TRUE(package->HasPart(*part));
  EXPECT_EQ(package->ContentType(*part), "main/type");               // override, case-blind
  EXPECT_EQ(package->ContentType("/other.xml"), "application/xml");  // default
  EXPECT_EQ(package->ContentType("/other.bin"), "");
  EXPECT_FALSE(package->TargetPart("/", *package->FindRelationship("/", "t/ext")));
  EXPECT_EQ(std::string(package->Xml(*part).Root().name()), "main");
}

TEST(PackageParts, NewPartsAndRelationshipsAreWrittenWithTheirTypes) {
  auto package = OpenPackage();
  EXPECT_EQ(package->AddRelationship("/", "t/new", "docProps/custom.xml", false), "rId8");
  EXPECT_EQ(package->AddRelationship("/content/main.xml", "t/sub", "sub.xml", false), "rId1");
  package->AddXmlPart("/docProps/custom.xml", "custom/type", "<Properties/>");
  const std::string saved = package->Save();

  auto reopened = Package::Open(std::make_shared<const std::string>(saved));
  EXPECT_EQ(reopened->ContentType("/docProps/custom.xml"), "custom/type");
  EXPECT_EQ(reopened->ContentType("/content/_rels/main.xml.rels"), std::string(kTypeRelationships));
  ASSERT_TRUE(reopened->FindRelationship("/", "t/new"));
  EXPECT_EQ(reopened->FindRelationship("/content/main.xml", "t/sub")->target, "sub.xml");
  EXPECT_EQ(testing::EntryText(saved, "docProps/custom.xml"), "<Properties/>");
  // The untouched main part keeps its stored bytes.
  EXPECT_EQ(testing::RawEntries(saved)[2].raw,
            testing::RawEntries(*package->Archive().Bytes())[2].raw);
}

TEST(PackageParts, MissingContentTypesOrRelationshipsAreRefused) {
  for (const auto& entries : std::vector<std::vector<NewZipEntry>>{
           {{"_rels/.rels", "<Relationships/>", false}},
           {{"[Content_Types].xml",
             "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>",
             false}},
           {{"[Content_Types].xml", "<Types/>", false}, {"_rels/.rels", "<R/>", false}}}) {
    auto error = testing::ErrorOf(
        [&] { Package::Open(std::make_shared<const std::string>(WriteZip(entries))); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
  }
}

}  // namespace
}  // namespace sendnote::docx
