// XML parts: what is not edited is written back byte for byte; document type
// declarations are refused rather than expanded; malformed text is reported.
#include <gtest/gtest.h>

#include <string>

#include "docx/XmlNames.h"
#include "docx/XmlPart.h"
#include "platform/Utf.h"
#include "tests/docx/DocxTestSupport.h"

namespace sendnote::docx {
namespace {

using testing::ErrorOf;

// Word's own way of writing a part, with whitespace-only text and pretty-printing.
constexpr char kWordLike[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
    "mc:Ignorable=\"w14\">\n"
    "  <w:body>\n"
    "    <!-- a comment -->\n"
    "    <w:p w:rsidR=\"00A1\"><w:r><w:t xml:space=\"preserve\"> </w:t></w:r>"
    "<w:r><w:t>a &amp; b &lt; c &gt; d \"q\"</w:t></w:r><w:r><w:t>   </w:t></w:r></w:p>\n"
    "    <w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr><?word-hint x?></w:p>\n"
    "  </w:body>\n"
    "</w:document>\r\n";

TEST(XmlPartText, UntouchedPartIsWrittenBackByteForByte) {
  XmlPart part("/word/document.xml", kWordLike);
  EXPECT_EQ(part.Serialize(), kWordLike);
  XmlPart bare("/a.xml", "<root a=\"1\">\n <b/>\n</root>");
  EXPECT_EQ(bare.Serialize(), "<root a=\"1\">\n <b/>\n</root>");
}

TEST(XmlPartText, AnEditChangesOnlyWhatWasEdited) {
  XmlPart part("/word/document.xml", kWordLike);
  pugi::xml_node jc = FirstDescendantNamed(part.Root(), Ns::kW, "jc");
  ASSERT_TRUE(jc);
  jc.attribute("w:val").set_value("right");
  std::string expected = kWordLike;
  expected.replace(expected.find("\"center\""), 8, "\"right\"");
  EXPECT_EQ(part.Serialize(), expected);
}

TEST(XmlPartText, Utf16PartKeepsItsEncoding) {
  const std::u16string text = u"\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?><r>文字</r>";
  const std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  XmlPart part("/a.xml", bytes);
  EXPECT_EQ(std::string_view(part.Root().child_value()), "文字");
  XmlPart again("/a.xml", part.Serialize());
  EXPECT_EQ(std::string_view(again.Root().child_value()), "文字");
  EXPECT_EQ(part.Serialize().substr(0, 2), "\xFF\xFE");
}

TEST(XmlPartRefusal, DocumentTypeDeclarationsAreRefusedNotExpanded) {
  const char* hostile[] = {
      "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]><r>&b;</r>",
      "<?xml version=\"1.0\"?><!DOCTYPE r SYSTEM \"file:///etc/passwd\"><r/>",
      "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r>&x;</r>",
  };
  for (const char* text : hostile) {
    auto error = ErrorOf([&] { XmlPart("/word/document.xml", text); });
    ASSERT_TRUE(error) << text;
    EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
    EXPECT_NE(platform::ToUtf8(error->Description()).find("document type declarations"),
              std::string::npos);
  }
}

TEST(XmlPartRefusal, MalformedTextNamesThePartAndThePlace) {
  for (const char* text : {"<r><a></r>", "", "<r a=\"1\" a=\"2\"/>", "<r>&unknown;</r>x", "text"}) {
    auto error = ErrorOf([&] { XmlPart("/word/document.xml", text); });
    ASSERT_TRUE(error) << text;
    EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
    EXPECT_NE(platform::ToUtf8(error->Description()).find("/word/document.xml"), std::string::npos);
  }
}

TEST(XmlPartRefusal, NestingAndAttributesHaveLimits) {
  auto nested = [](size_t depth) {
    std::string text;
    for (size_t i = 0; i < depth; ++i) text += "<a>";
    for (size_t i = 0; i < depth; ++i) text += "</a>";
    return text;
  };
  auto attributes = [](size_t count) {
    std::string text = "<r";
    for (size_t i = 0; i < count; ++i) {
      text += " a";
      text += std::to_string(i);
      text += "=\"\"";
    }
    return text + "/>";
  };
  EXPECT_NO_THROW(XmlPart("/word/document.xml", nested(kMaxXmlDepth)));
  EXPECT_NO_THROW(XmlPart("/word/document.xml", attributes(kMaxXmlAttributes)));
  for (const std::string& text :
       {nested(kMaxXmlDepth + 1), nested(200000), attributes(kMaxXmlAttributes + 1)}) {
    auto error = ErrorOf([&] { XmlPart("/word/document.xml", text); });
    ASSERT_TRUE(error) << text.substr(0, 40);
    EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
    const std::string description = platform::ToUtf8(error->Description());
    EXPECT_TRUE(description.find("nested deeper than 1000") != std::string::npos ||
                description.find("more than 1000 attributes") != std::string::npos)
        << description;
  }
}

TEST(XmlNamesResolve, PrefixesAreResolvedThroughDeclarations) {
  XmlPart part(
      "/x.xml",
      "<x:document xmlns:x=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
      "<x:body><p xmlns=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"/>"
      "<w:p xmlns:w=\"urn:other\"/></x:body></x:document>");
  EXPECT_TRUE(NameOf(part.Root()).Is(Ns::kW, "document"));
  const pugi::xml_node body = part.Root().first_child();
  EXPECT_TRUE(NameOf(body.first_child()).Is(Ns::kW, "p"));
  EXPECT_EQ(NameOf(body.last_child()).ns, Ns::kOther);  // "w" bound elsewhere here
  EXPECT_EQ(PrefixFor(body, Ns::kW), "x");
  EXPECT_EQ(PrefixFor(body.first_child(), Ns::kW), "");
  EXPECT_FALSE(PrefixFor(body, Ns::kVt));
}

}  // namespace
}  // namespace sendnote::docx
