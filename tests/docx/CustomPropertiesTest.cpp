// Custom properties over the package's part: creating the part, property ids, the value
// element of every type, text XML cannot carry, and parts written by other producers.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "docx/CustomProperties.h"
#include "docx/DocxApplication.h"
#include "docx/DocxDocument.h"
#include "docx/Zip.h"
#include "platform/Utf.h"
#include "templatebuilder/TemplateBuilder.h"
#include "tests/docx/DocxTestSupport.h"

namespace sendnote::docx {
namespace {

using platform::Variant;

class CustomPropertiesTest : public ::testing::Test {
 protected:
  std::shared_ptr<DocxDocument> Open(const TemplateDescription& description) {
    // Appended: GCC 12 at -O3 falsely reports a string inserted before a temporary one
    // (what operator+ does with a literal) as overlapping (-Wrestrict).
    std::string name = "t";
    name.append(std::to_string(++made_)).append(".dotx");
    const auto path = dir_.File(name);
    WriteTemplate(description, path);
    return std::static_pointer_cast<DocxDocument>(
        app_->Documents()->Add(platform::FromUtf8(path.string()), platform::kFalse,
                               platform::kWdNewDocument, platform::kTrue));
  }
  // Replaces an entry of a built template, for parts other producers write.
  std::shared_ptr<DocxDocument> OpenWith(const std::string& entry, const std::string& text) {
    const std::string built = BuildTemplate(Described());
    auto archive = ZipArchive::Open(std::make_shared<const std::string>(built));
    ZipEdits edits;
    edits.replaced[*archive->Find(entry)] = text;
    const auto path = dir_.File("edited.dotx");
    testing::WriteFile(path, RewriteZip(*archive, edits));
    return std::static_pointer_cast<DocxDocument>(
        app_->Documents()->Add(platform::FromUtf8(path.string()), platform::kFalse,
                               platform::kWdNewDocument, platform::kTrue));
  }
  static TemplateDescription Described() {
    TemplateDescription d;
    d.properties.push_back({u"first", platform::kPropertyString, Variant::String(u"1"), u""});
    return d;
  }
  testing::TempDir dir_;
  std::shared_ptr<DocxApplication> app_ = DocxApplication::Create();
  int made_ = 0;
};

TEST_F(CustomPropertiesTest, APackageWithoutThePartGetsItWithTypeAndRelationship) {
  auto doc = Open(TemplateDescription{});
  ASSERT_FALSE(testing::HasEntry(doc->Bytes(), "docProps/custom.xml"));
  auto props = doc->CustomDocumentProperties();
  props->Add(u"OUTLOOK$宛先", platform::kFalse, platform::kPropertyString, Variant::String(u"様"));
  props->Add(u"SENDNOTE$PROPERTY", platform::kFalse, platform::kPropertyBoolean,
             Variant::String(u"True"));
  const std::string saved = doc->Bytes();

  EXPECT_NE(testing::EntryText(saved, "[Content_Types].xml")
                .find("<Override PartName=\"/docProps/custom.xml\" ContentType=\"application/"
                      "vnd.openxmlformats-officedocument.custom-properties+xml\"/>"),
            std::string::npos);
  EXPECT_NE(testing::EntryText(saved, "_rels/.rels")
                .find("Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                      "relationships/custom-properties\" Target=\"docProps/custom.xml\""),
            std::string::npos);
  const std::string custom = testing::EntryText(saved, "docProps/custom.xml");
  EXPECT_NE(custom.find("<property fmtid=\"{D5CDD505-2E9C-101B-9397-08002B2CF9AE}\" pid=\"2\" "
                        "name=\"OUTLOOK$宛先\"><vt:lpwstr>様</vt:lpwstr></property>"),
            std::string::npos)
      << custom;
  EXPECT_NE(custom.find("pid=\"3\" name=\"SENDNOTE$PROPERTY\"><vt:bool>true</vt:bool>"),
            std::string::npos);
  // The new custom part comes after every entry the template had.
  EXPECT_EQ(testing::RawEntries(saved).back().name, "docProps/custom.xml");
}

TEST_F(CustomPropertiesTest, PropertyIdsStayUniqueAfterDeletions) {
  auto doc = Open(Described());
  auto props = doc->CustomDocumentProperties();
  props->Add(u"second", platform::kFalse, platform::kPropertyString, Variant::String(u"2"));
  props->Add(u"third", platform::kFalse, platform::kPropertyString, Variant::String(u"3"));
  props->Item(u"second")->Delete();
  props->Item(u"first")->Delete();
  props->Add(u"fourth", platform::kFalse, platform::kPropertyString, Variant::String(u"4"));
  const std::string custom = testing::EntryText(doc->Bytes(), "docProps/custom.xml");
  EXPECT_EQ(custom.find("name=\"first\""), std::string::npos);
  EXPECT_NE(custom.find("pid=\"4\" name=\"third\""), std::string::npos);
  EXPECT_NE(custom.find("pid=\"5\" name=\"fourth\""), std::string::npos);
}

TEST_F(CustomPropertiesTest, EachTypeHasItsValueElementAndChangingTheTypeReplacesIt) {
  auto doc = Open(Described());
  auto props = doc->CustomDocumentProperties();
  props->Add(u"n", platform::kFalse, platform::kPropertyNumber, Variant::Int32(-12));
  props->Add(u"d", platform::kFalse, platform::kPropertyDate, Variant::Date(36892.5));
  props->Add(u"f", platform::kFalse, platform::kPropertyFloat, Variant::Double(0.1));
  props->Add(u"b", platform::kFalse, platform::kPropertyBoolean, Variant::Bool(0));
  std::string custom = testing::EntryText(doc->Bytes(), "docProps/custom.xml");
  for (const char* element :
       {"<vt:i4>-12</vt:i4>", "<vt:filetime>2001-01-01T12:00:00Z</vt:filetime>",
        "<vt:r8>0.1</vt:r8>", "<vt:bool>false</vt:bool>"}) {
    EXPECT_NE(custom.find(element), std::string::npos) << element;
  }
  props->Item(u"n")->SetType(platform::kPropertyString);
  custom = testing::EntryText(doc->Bytes(), "docProps/custom.xml");
  EXPECT_NE(custom.find("name=\"n\"><vt:lpwstr>-12</vt:lpwstr></property>"), std::string::npos);
  EXPECT_EQ(custom.find("<vt:i4>"), std::string::npos);
  EXPECT_EQ(props->Item(u"d")->Value(), Variant::Date(36892.5));
}

TEST_F(CustomPropertiesTest, TextXmlCannotCarryIsEscapedAndReadBack) {
  auto doc = Open(Described());
  auto props = doc->CustomDocumentProperties();
  const std::u16string awkward =
      u"a\x01"
      u"b\rc\td_x0041_e<&>\"";
  props->Add(u"t", platform::kFalse, platform::kPropertyString, Variant::String(awkward));
  EXPECT_EQ(props->Item(u"t")->Value(), Variant::String(awkward));
  const std::string custom = testing::EntryText(doc->Bytes(), "docProps/custom.xml");
  EXPECT_NE(custom.find("a_x0001_b_x000D_c\td_x005F_x0041_e&lt;&amp;&gt;\"</vt:lpwstr>"),
            std::string::npos)
      << custom;
  EXPECT_EQ(DecodeValueText("_x0041_x_x004a__X0041_"), u"Ax\x4a_X0041_");
  // A name cannot be escaped that way: it is refused.
  EXPECT_TRUE(testing::ErrorOf([&] {
    props->Add(u"bad\x01name", platform::kFalse, platform::kPropertyString, Variant::String(u""));
  }));
}

TEST_F(CustomPropertiesTest, PartsWithOtherPrefixesAndValueKindsAreReadAndExtended) {
  auto doc = OpenWith(
      "docProps/custom.xml",
      "<op:Properties "
      "xmlns:op=\"http://schemas.openxmlformats.org/officeDocument/2006/custom-properties\">"
      "<op:property fmtid=\"{D5CDD505-2E9C-101B-9397-08002B2CF9AE}\" pid=\"7\" name=\"wide\">"
      "<t:i8 "
      "xmlns:t=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">42</t:i8>"
      "</op:property><op:property fmtid=\"{D5CDD505-2E9C-101B-9397-08002B2CF9AE}\" pid=\"8\" "
      "name=\"narrow\"><t:lpstr "
      "xmlns:t=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
      "ascii</t:lpstr></op:property></op:Properties>");
  auto props = doc->CustomDocumentProperties();
  EXPECT_EQ(props->Item(u"wide")->Type(), platform::kPropertyNumber);
  EXPECT_EQ(props->Item(u"wide")->Value(), Variant::Int32(42));
  EXPECT_EQ(props->Item(u"narrow")->Value(), Variant::String(u"ascii"));
  props->Add(u"new", platform::kFalse, platform::kPropertyString, Variant::String(u"v"));
  props->Item(u"narrow")->SetValue(Variant::String(u"changed"));
  const std::string custom = testing::EntryText(doc->Bytes(), "docProps/custom.xml");
  EXPECT_NE(custom.find("<op:property fmtid=\"{D5CDD505-2E9C-101B-9397-08002B2CF9AE}\" pid=\"9\" "
                        "name=\"new\"><vt:lpwstr>v</vt:lpwstr></op:property>"),
            std::string::npos)
      << custom;
  EXPECT_NE(
      custom.find(
          "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\""),
      std::string::npos);
  EXPECT_NE(custom.find("name=\"wide\"><t:i8"), std::string::npos);  // not touched
  EXPECT_NE(custom.find("name=\"narrow\"><vt:lpwstr>changed</vt:lpwstr>"), std::string::npos);
}

TEST_F(CustomPropertiesTest, AMalformedCustomPartRefusesTheTemplate) {
  auto error =
      testing::ErrorOf([&] { OpenWith("docProps/custom.xml", "<Properties><oops></Properties>"); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
  EXPECT_EQ(app_->Documents()->Count(), 0);
}

}  // namespace
}  // namespace sendnote::docx
