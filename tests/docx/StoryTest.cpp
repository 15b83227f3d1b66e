// Fields and shapes of a story over literal WordprocessingML: finding them in document
// order, and editing codes and results so that nothing else changes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "docx/Story.h"
#include "docx/XmlNames.h"
#include "docx/XmlPart.h"
#include "platform/Utf.h"

namespace sendnote::docx {
namespace {

constexpr char kHead[] =
    "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\" "
    "xmlns:wpg=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:v=\"urn:schemas-microsoft-com:vml\"><w:body>";
constexpr char kTail[] = "</w:body></w:document>";

// Complex field markup, one run per piece.
std::string Begin() { return "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>"; }
std::string Instr(const std::string& code) {
  return "<w:r><w:instrText xml:space=\"preserve\">" + code + "</w:instrText></w:r>";
}
std::string Separate() { return "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>"; }
std::string End() { return "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"; }
std::string Field(const std::string& code, const std::string& result) {
  return Begin() + Instr(code) + Separate() + "<w:r><w:t>" + result + "</w:t></w:r>" + End();
}

// A text box anchored in a run, DrawingML first and `fallback` as its VML copy.
std::string TextBox(const std::string& content, const std::string& fallback) {
  return "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:anchor>"
         "<a:graphic><a:graphicData><wps:wsp><wps:txbx><w:txbxContent>" +
         content +
         "</w:txbxContent></wps:txbx></wps:wsp></a:graphicData></a:graphic></wp:anchor>"
         "</w:drawing></mc:Choice><mc:Fallback><w:pict><v:shape style=\"position:absolute\">"
         "<v:textbox><w:txbxContent>" +
         fallback +
         "</w:txbxContent></v:textbox></v:shape></w:pict></mc:Fallback></mc:AlternateContent>"
         "</w:r>";
}

class StoryTest : public ::testing::Test {
 protected:
  void Load(const std::string& body) {
    part_ = std::make_unique<XmlPart>("/word/document.xml", kHead + body + kTail);
    story_ = std::make_unique<Story>(*part_, FirstChildNamed(part_->Root(), Ns::kW, "body"),
                                     pugi::xml_node(), true);
  }
  // The body's markup as it would be saved.
  std::string Body() const {
    const std::string text = part_->Serialize();
    const size_t start = text.find("<w:body>") + 8;
    return text.substr(start, text.rfind("</w:body>") - start);
  }
  std::vector<std::u16string> Codes(const std::vector<FieldState*>& fields) const {
    std::vector<std::u16string> codes;
    for (FieldState* f : fields) codes.push_back(story_->CodeText(*f));
    return codes;
  }
  std::unique_ptr<XmlPart> part_;
  std::unique_ptr<Story> story_;
};

TEST_F(StoryTest, FindsFieldsInDocumentOrderWhateverTheirMarkup) {
  Load("<w:p>" + Begin() +
       "<w:r><w:instrText> DOCPROPERTY </w:instrText><w:instrText>\"OUTLOOK$</w:instrText></w:r>" +
       Instr("会社名\" ") + Instr("\\* MERGEFORMAT ") + Separate() + "<w:r><w:t>A</w:t></w:r>" +
       End() +
       "</w:p>"
       "<w:p><w:hyperlink><w:fldSimple w:instr=\" DOCPROPERTY 名 \"><w:r><w:t>B</w:t></w:r>"
       "</w:fldSimple></w:hyperlink></w:p>"
       "<w:tbl><w:tr><w:tc><w:p>" +
       Field(" PAGE ", "1") + "</w:p></w:tc></w:tr></w:tbl>" + "<w:p>" +
       TextBox("<w:p>" + Field(" DOCPROPERTY \"x\" ", "in box") + "</w:p>",
               "<w:p>" + Field(" DOCPROPERTY \"x\" ", "in box") + "</w:p>") +
       "</w:p>"
       // Unclosed fields and a stray end are not fields.
       "<w:p>" +
       End() + Begin() + Instr(" REF open ") + "</w:p>");
  EXPECT_EQ(Codes(story_->Fields()),
            (std::vector<std::u16string>{u" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT ",
                                         u" DOCPROPERTY 名 ", u" PAGE "}));
  EXPECT_EQ(story_->ResultText(*story_->Fields()[0]), u"A");
  EXPECT_EQ(story_->ResultText(*story_->Fields()[1]), u"B");
  ASSERT_EQ(story_->Shapes().size(), 1u);
  Story& box = story_->TextOf(*story_->Shapes()[0]);
  EXPECT_EQ(Codes(box.Fields()), std::vector<std::u16string>{u" DOCPROPERTY \"x\" "});
}

TEST_F(StoryTest, NestedFieldsFollowTheirParentAndKnowWhereTheySit) {
  Load("<w:p>" + Begin() + Instr(" IF ") + Field(" REF a ", "x") + Instr(" = 1 ") + Separate() +
       "<w:r><w:t>r</w:t></w:r>" + Field(" DOCPROPERTY \"b\" ", "y") + End() + "</w:p>");
  const auto fields = story_->Fields();
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(story_->CodeText(*fields[0]), u" IF  = 1 ");  // its own instructions only
  EXPECT_EQ(Codes(story_->FieldsIn(*fields[0], false)), std::vector<std::u16string>{u" REF a "});
  EXPECT_EQ(Codes(story_->FieldsIn(*fields[0], true)),
            std::vector<std::u16string>{u" DOCPROPERTY \"b\" "});
  EXPECT_EQ(story_->ResultText(*fields[0]), u"ry");

  // Replacing the outer result removes the field nested there, not the one in the code.
  story_->SetResult(*fields[0], u"new", ResultFormat::kFirstResultRun);
  EXPECT_FALSE(fields[2]->alive);
  EXPECT_TRUE(fields[1]->alive);
  EXPECT_EQ(Codes(story_->Fields()), (std::vector<std::u16string>{u" IF  = 1 ", u" REF a "}));
  EXPECT_EQ(story_->ResultText(*fields[0]), u"new");
}

TEST_F(StoryTest, WritingTheCodeKeepsItsRunsAndEmptiesTheOtherInstructions) {
  Load("<w:p>" + Begin() +
       "<w:r><w:rPr><w:i/></w:rPr><w:instrText> DOCPROPERTY \"OUT</w:instrText></w:r>"
       "<w:r><w:rPr><w:b/></w:rPr><w:instrText>LOOK$名\" </w:instrText></w:r>" +
       Separate() + "<w:r><w:t>x</w:t></w:r>" + End() + "</w:p>");
  story_->SetCodeText(*story_->Fields()[0], u" DOCPROPERTY \"ABC$名\" ");
  EXPECT_EQ(Body(), "<w:p>" + Begin() +
                        "<w:r><w:rPr><w:i/></w:rPr><w:instrText xml:space=\"preserve\"> "
                        "DOCPROPERTY \"ABC$名\" </w:instrText></w:r>"
                        "<w:r><w:rPr><w:b/></w:rPr><w:instrText/></w:r>" +
                        Separate() + "<w:r><w:t>x</w:t></w:r>" + End() + "</w:p>");
  EXPECT_EQ(story_->CodeText(*story_->Fields()[0]), u" DOCPROPERTY \"ABC$名\" ");
  EXPECT_TRUE(part_->Changed());
}

TEST_F(StoryTest, ANewResultIsOneRunInTheFirstResultRunsFormat) {
  const std::string after = "<w:r><w:t>after</w:t></w:r><w:bookmarkStart w:id=\"0\" w:name=\"m\"/>";
  Load("<w:p><w:r><w:t>before</w:t></w:r>" + Begin() + Instr(" DOCPROPERTY \"a\" ") + Separate() +
       "<w:r><w:rPr><w:b/><w:color w:val=\"FF0000\"/></w:rPr><w:t>old </w:t></w:r>"
       "<w:proofErr w:type=\"spellStart\"/><w:r><w:rPr><w:i/></w:rPr><w:t>value</w:t></w:r>" +
       End() + after + "</w:p>");
  story_->SetResult(*story_->Fields()[0], u" 新しい  値 ", ResultFormat::kFirstResultRun);
  EXPECT_EQ(Body(), "<w:p><w:r><w:t>before</w:t></w:r>" + Begin() + Instr(" DOCPROPERTY \"a\" ") +
                        Separate() +
                        "<w:r><w:rPr><w:b/><w:color w:val=\"FF0000\"/></w:rPr>"
                        "<w:t xml:space=\"preserve\"> 新しい  値 </w:t></w:r>"
                        "<w:proofErr w:type=\"spellStart\"/>" +
                        End() + after + "</w:p>");
}

TEST_F(StoryTest, AFieldWithoutAResultGetsOneAfterItsCode) {
  Load("<w:p>" + Begin() +
       "<w:r><w:rPr><w:u w:val=\"single\"/></w:rPr>"
       "<w:instrText> DOCPROPERTY \"a\" </w:instrText></w:r>" +
       End() + "</w:p>");
  FieldState& field = *story_->Fields()[0];
  story_->SetResult(field, u"v", ResultFormat::kFirstResultRun);
  EXPECT_EQ(Body(), "<w:p>" + Begin() +
                        "<w:r><w:rPr><w:u w:val=\"single\"/></w:rPr>"
                        "<w:instrText> DOCPROPERTY \"a\" </w:instrText></w:r>" +
                        Separate() + "<w:r><w:t>v</w:t></w:r>" + End() + "</w:p>");
  // Taking the code's format instead.
  story_->SetResult(field, u"w", ResultFormat::kFirstCodeRun);
  EXPECT_NE(Body().find("<w:r><w:rPr><w:u w:val=\"single\"/></w:rPr><w:t>w</w:t></w:r>"),
            std::string::npos);
}

TEST_F(StoryTest, RunsSharedByFieldCharactersAndTextAreSplit) {
  Load(
      "<w:p><w:r><w:rPr><w:b/></w:rPr><w:fldChar w:fldCharType=\"begin\"/>"
      "<w:instrText> DOCPROPERTY \"a\" </w:instrText><w:fldChar w:fldCharType=\"separate\"/>"
      "<w:t>old</w:t><w:fldChar w:fldCharType=\"end\"/><w:t>tail</w:t></w:r></w:p>");
  ASSERT_EQ(story_->Fields().size(), 1u);
  story_->SetResult(*story_->Fields()[0], u"new", ResultFormat::kFirstResultRun);
  EXPECT_EQ(Body(),
            "<w:p><w:r><w:rPr><w:b/></w:rPr><w:fldChar w:fldCharType=\"begin\"/>"
            "<w:instrText> DOCPROPERTY \"a\" </w:instrText><w:fldChar w:fldCharType=\"separate\"/>"
            "</w:r><w:r><w:rPr><w:b/></w:rPr><w:t>new</w:t></w:r>"
            "<w:r><w:rPr><w:b/></w:rPr><w:fldChar w:fldCharType=\"end\"/><w:t>tail</w:t></w:r>"
            "</w:p>");
}

TEST_F(StoryTest, AResultSpanningParagraphsIsMergedIntoTheFirst) {
  Load("<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr>" + Begin() + Instr(" DOCPROPERTY \"a\" ") +
       Separate() +
       "<w:r><w:t>line 1</w:t></w:r></w:p><w:p><w:r><w:t>line 2</w:t></w:r></w:p>"
       "<w:p><w:pPr><w:jc w:val=\"right\"/></w:pPr><w:r><w:t>line 3</w:t></w:r>" +
       End() + "<w:r><w:t>rest</w:t></w:r></w:p><w:p><w:r><w:t>next</w:t></w:r></w:p>");
  FieldState& field = *story_->Fields()[0];
  EXPECT_EQ(story_->ResultText(field), u"line 1\rline 2\rline 3");
  story_->SetResult(field, u"one", ResultFormat::kFirstResultRun);
  EXPECT_EQ(Body(), "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr>" + Begin() +
                        Instr(" DOCPROPERTY \"a\" ") + Separate() + "<w:r><w:t>one</w:t></w:r>" +
                        End() +
                        "<w:r><w:t>rest</w:t></w:r></w:p>"
                        "<w:p><w:r><w:t>next</w:t></w:r></w:p>");
}

TEST_F(StoryTest, SimpleFieldsAreEditedThroughTheirElement) {
  Load(
      "<w:p><w:fldSimple w:instr=\" DOCPROPERTY a \"><w:fldData>AAEC</w:fldData>"
      "<w:r><w:rPr><w:b/></w:rPr><w:t>old</w:t></w:r><w:r><w:t>er</w:t></w:r></w:fldSimple></w:p>");
  FieldState& field = *story_->Fields()[0];
  story_->SetCodeText(field, u" DOCPROPERTY b ");
  story_->SetResult(field, u"new", ResultFormat::kFirstResultRun);
  EXPECT_EQ(Body(),
            "<w:p><w:fldSimple w:instr=\" DOCPROPERTY b \"><w:fldData>AAEC</w:fldData>"
            "<w:r><w:rPr><w:b/></w:rPr><w:t>new</w:t></w:r></w:fldSimple></w:p>");
}

TEST_F(StoryTest, TextBecomesMarkupXmlCanCarry) {
  Load("<w:p>" + Field(" DOCPROPERTY a ", "x") + "</w:p>");
  FieldState& field = *story_->Fields()[0];
  story_->SetResult(field,
                    u"a\tb\r\nc\x01\x1F"
                    u"d\uFFFF<&>",
                    ResultFormat::kFirstResultRun);
  EXPECT_NE(
      Body().find("<w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>cd&lt;&amp;&gt;</w:t></w:r>"),
      std::string::npos)
      << Body();
  EXPECT_EQ(story_->ResultText(field), u"a\tb\vcd<&>");
  story_->SetCodeText(field,
                      u" DOCPROPERTY \"a\x02"
                      u"b\" ");
  EXPECT_EQ(story_->CodeText(field), u" DOCPROPERTY \"ab\" ");
  XmlPart reparsed("/word/document.xml", part_->Serialize());  // still well-formed
}

TEST_F(StoryTest, ShapesAreTheFloatingDrawingsOfTheStory) {
  const std::string picture =
      "<w:r><w:drawing><wp:anchor><a:graphic><a:graphicData><pic/></a:graphicData></a:graphic>"
      "</wp:anchor></w:drawing></w:r>";
  const std::string inlinePicture = "<w:r><w:drawing><wp:inline/></w:drawing></w:r>";
  const std::string vmlBox =
      "<w:r><w:pict><v:shapetype/><v:rect style=\"position: ABSOLUTE;width:10pt\"><v:textbox>"
      "<w:txbxContent><w:p>" +
      Field(" DOCPROPERTY v ", "vml") +
      "</w:p></w:txbxContent>"
      "</v:textbox></v:rect></w:pict></w:r>";
  const std::string vmlInline = "<w:r><w:pict><v:shape style=\"width:10pt\"/></w:pict></w:r>";
  const std::string group =
      "<w:r><w:drawing><wp:anchor><a:graphic><a:graphicData><wpg:wgp><wps:wsp><wps:txbx>"
      "<w:txbxContent><w:p/></w:txbxContent></wps:txbx></wps:wsp></wpg:wgp></a:graphicData>"
      "</a:graphic></wp:anchor></w:drawing></w:r>";
  Load("<w:p>" + inlinePicture + picture + vmlInline + vmlBox + group + "</w:p>");
  const auto shapes = story_->Shapes();
  ASSERT_EQ(shapes.size(), 3u);
  EXPECT_FALSE(shapes[0]->text);  // a picture
  ASSERT_TRUE(shapes[1]->text);   // the VML text box
  EXPECT_EQ(Codes(story_->TextOf(*shapes[1]).Fields()),
            std::vector<std::u16string>{u" DOCPROPERTY v "});
  EXPECT_FALSE(shapes[2]->text);  // a group has no text of its own
  EXPECT_TRUE(story_->Fields().empty());
}

TEST_F(StoryTest, AShapeInsideAReplacedResultIsGone) {
  Load("<w:p>" + Begin() + Instr(" DOCPROPERTY a ") + Separate() + TextBox("<w:p/>", "<w:p/>") +
       End() + "</w:p>");
  ShapeState* shape = story_->Shapes()[0];
  story_->SetResult(*story_->Fields()[0], u"v", ResultFormat::kFirstResultRun);
  EXPECT_TRUE(story_->Shapes().empty());
  EXPECT_FALSE(shape->alive);
}

TEST_F(StoryTest, BookmarksGiveTheTextTheyEnclose) {
  Load(
      "<w:p><w:bookmarkStart w:id=\"3\" w:name=\"Other\"/><w:r><w:t>no</w:t></w:r>"
      "<w:bookmarkStart w:id=\"4\" w:name=\"Link\"/><w:r><w:t>花</w:t></w:r>"
      "<w:bookmarkEnd w:id=\"3\"/><w:r><w:t>子</w:t></w:r><w:bookmarkEnd w:id=\"4\"/>"
      "<w:r><w:t>after</w:t></w:r></w:p>");
  EXPECT_EQ(story_->BookmarkText(u"link"), u"花子");
  EXPECT_EQ(story_->BookmarkText(u"missing"), std::nullopt);
}

// A text box's two copies of its text.
class TextBoxStoryTest : public StoryTest {
 protected:
  void LoadBox(const std::string& content, const std::string& fallback) {
    Load("<w:p>" + TextBox(content, fallback) + "</w:p>");
    shape_ = story_->Shapes().at(0);
    box_ = &story_->TextOf(*shape_);
  }
  std::string Copy(pugi::xml_node content) const {
    std::string out;
    for (pugi::xml_node c = content.first_child(); c; c = c.next_sibling()) {
      struct Writer : pugi::xml_writer {
        std::string* out;
        void write(const void* data, size_t size) override {
          out->append(static_cast<const char*>(data), size);
        }
      } writer;
      writer.out = &out;
      c.print(writer, "", pugi::format_raw);
    }
    return out;
  }
  ShapeState* shape_ = nullptr;
  Story* box_ = nullptr;
};

TEST_F(TextBoxStoryTest, EveryEditIsMadeInBothCopies) {
  const std::string text = "<w:p><w:r><w:t>宛先:</w:t></w:r>" +
                           Field(" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT ", "旧") +
                           Field(" PAGE ", "1") + "</w:p>";
  LoadBox(text, text);
  ASSERT_EQ(box_->Fields().size(), 2u);
  box_->SetCodeText(*box_->Fields()[0], u" DOCPROPERTY \"ABC$会社名\" \\* MERGEFORMAT ");
  box_->SetResult(*box_->Fields()[0], u"新会社", ResultFormat::kFirstResultRun);
  EXPECT_EQ(Copy(shape_->text), Copy(shape_->twinText));
  EXPECT_NE(Copy(shape_->twinText).find("ABC$会社名"), std::string::npos);
  EXPECT_NE(Copy(shape_->twinText).find("<w:t>新会社</w:t>"), std::string::npos);
  EXPECT_NE(Copy(shape_->twinText).find("<w:t>1</w:t>"), std::string::npos);
  EXPECT_EQ(box_->Text(), u"宛先:新会社1\r");
}

TEST_F(TextBoxStoryTest, ACopyThatDoesNotMatchIsRewrittenFromTheFirst) {
  LoadBox("<w:p>" + Field(" DOCPROPERTY a ", "x") + "</w:p>",
          "<w:p><w:r><w:t>stale</w:t></w:r></w:p>");
  box_->SetResult(*box_->Fields()[0], u"y", ResultFormat::kFirstResultRun);
  EXPECT_EQ(Copy(shape_->text), Copy(shape_->twinText));
}

TEST_F(TextBoxStoryTest, ReplacingTheWholeTextRemovesItsFields) {
  const std::string text =
      "<w:p><w:pPr><w:jc w:val=\"right\"/></w:pPr><w:r><w:rPr><w:b/></w:rPr>"
      "<w:t>a</w:t></w:r>" +
      Field(" PAGE ", "1") + "</w:p><w:p/>";
  LoadBox(text, text);
  FieldState* field = box_->Fields()[0];
  box_->SetText(u"一行目\r二行目");
  EXPECT_FALSE(field->alive);
  EXPECT_TRUE(box_->Fields().empty());
  EXPECT_EQ(box_->Text(), u"一行目\r二行目\r");
  EXPECT_EQ(Copy(shape_->text),
            "<w:p><w:pPr><w:jc w:val=\"right\"/></w:pPr><w:r><w:rPr><w:b/></w:rPr><w:t>一行目</w:t>"
            "</w:r></w:p><w:p><w:pPr><w:jc w:val=\"right\"/></w:pPr><w:r><w:rPr><w:b/></w:rPr>"
            "<w:t>二行目</w:t></w:r></w:p>");
  EXPECT_EQ(Copy(shape_->text), Copy(shape_->twinText));
}

TEST(StoryNamespaces, OtherPrefixesAreReadAndKeptInNewMarkup) {
  XmlPart part(
      "/word/document.xml",
      "<x:document xmlns:x=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
      "<x:body><x:p><x:r><x:fldChar x:fldCharType=\"begin\"/></x:r><x:r><x:instrText> "
      "DOCPROPERTY a </x:instrText></x:r><x:r><x:fldChar x:fldCharType=\"end\"/></x:r>"
      "</x:p></x:body></x:document>");
  Story story(part, FirstChildNamed(part.Root(), Ns::kW, "body"), pugi::xml_node(), true);
  ASSERT_EQ(story.Fields().size(), 1u);
  story.SetResult(*story.Fields()[0], u"v", ResultFormat::kFirstResultRun);
  EXPECT_NE(part.Serialize().find("<x:r><x:fldChar x:fldCharType=\"separate\"/></x:r>"
                                  "<x:r><x:t>v</x:t></x:r>"),
            std::string::npos);
}

}  // namespace
}  // namespace sendnote::docx
