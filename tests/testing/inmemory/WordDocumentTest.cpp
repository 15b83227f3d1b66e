// In-memory document behaviour beyond the shared Word contract: the snapshot, text box
// text, linked properties, deleted objects and property argument checks.
#include <gtest/gtest.h>

#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "platform/ComError.h"
#include "tests/support/ErrorOf.h"

namespace sendnote::inmemory {
namespace {

using platform::ComError;
using platform::kFalse;
using platform::kTrue;
using platform::Variant;

using test_support::ErrorNumberOf;

WordFieldContent Field(std::u16string_view code, std::u16string_view result, bool bold = false) {
  WordFieldContent field;
  field.code = code;
  field.result = result;
  field.boldResult = bold;
  return field;
}

WordPropertyContent Property(std::u16string_view name, int32_t type, Variant value) {
  WordPropertyContent property;
  property.name = name;
  property.type = type;
  property.value = std::move(value);
  return property;
}

class WordDocumentTest : public ::testing::Test {
 protected:
  std::shared_ptr<platform::Document> Open(const WordContent& content) {
    word_->AddTemplate(u"t.dot", content);
    return word_->Documents()->Add(u"t.dot", kFalse, platform::kWdNewDocument, kTrue);
  }
  const std::shared_ptr<WordDocument>& Last() const { return word_->CreatedDocuments().back(); }

  std::shared_ptr<WordApp> word_ = WordApp::Create();
};

TEST_F(WordDocumentTest, SnapshotFollowsChangesAndKeepsTheirPlaces) {
  WordContent content;
  content.bodyFields = {Field(u" DOCPROPERTY \"a\" ", u"old", true)};
  content.tableFields = {Field(u" DOCPROPERTY \"a\" ", u"old")};
  content.properties = {Property(u"a", platform::kPropertyString, Variant::String(u"x"))};
  auto doc = Open(content);
  auto fields = doc->Fields();
  fields->Item(1)->Update();
  fields->Item(2)->Code()->SetText(u" DOCPROPERTY \"b\" ");
  doc->CustomDocumentProperties()->Add(u"b", kFalse, platform::kPropertyNumber,
                                       Variant::Double(2.5));

  WordContent expected = content;
  expected.bodyFields[0].result = u"x";  // bold kept through the update
  expected.tableFields[0].code = u" DOCPROPERTY \"b\" ";
  expected.properties.push_back(Property(u"b", platform::kPropertyNumber, Variant::Int32(2)));
  EXPECT_EQ(Last()->Snapshot(), expected);
}

TEST_F(WordDocumentTest, UpdateShowsDatesFloatsAndEmptyText) {
  WordContent content;
  content.bodyFields = {Field(u"DOCPROPERTY d", u""), Field(u"DOCPROPERTY f \\* MERGEFORMAT", u""),
                        Field(u"DOCPROPERTY \"e\"", u"was"), Field(u"DOCPROPERTY", u"was"),
                        Field(u"DOCPROPERTY \"two words\"", u"")};
  content.properties = {Property(u"d", platform::kPropertyDate, Variant::Date(36892.5)),
                        Property(u"f", platform::kPropertyFloat, Variant::Double(1.5)),
                        Property(u"e", platform::kPropertyString, Variant::String(u"")),
                        Property(u"two words", platform::kPropertyString, Variant::String(u"ok"))};
  auto fields = Open(content)->Fields();
  for (int32_t i = 1; i <= fields->Count(); ++i) fields->Item(i)->Update();
  const auto snapshot = Last()->Snapshot();
  EXPECT_EQ(snapshot.bodyFields[0].result, u"2001/01/01 12:00:00");
  EXPECT_EQ(snapshot.bodyFields[1].result, u"1.5");
  EXPECT_EQ(snapshot.bodyFields[2].result, u"");
  EXPECT_EQ(snapshot.bodyFields[3].result, u"Error! Unknown document property name.");
  EXPECT_EQ(snapshot.bodyFields[4].result, u"ok");
}

TEST_F(WordDocumentTest, WritingATextBoxRangeReplacesItsFields) {
  WordContent content;
  WordShapeContent box;
  box.text = u"宛先: ";
  box.fields = {Field(u" DOCPROPERTY \"a\" ", u"様")};
  content.shapes = {box};
  auto range = Open(content)->Shapes()->Item(1)->TextFrame()->TextRange();
  EXPECT_EQ(range->Text(), u"宛先: 様");
  auto fields = range->Fields();
  auto field = fields->Item(1);

  range->SetText(u"plain");

  EXPECT_EQ(range->Text(), u"plain");
  EXPECT_EQ(fields->Count(), 0);
  EXPECT_EQ(ErrorNumberOf([&] { field->Update(); }), platform::kErrWordObjectDeleted);
  EXPECT_EQ(ErrorNumberOf([&] { field->Code()->Text(); }), platform::kErrWordObjectDeleted);
  EXPECT_EQ(Last()->Snapshot().shapes[0].fields.size(), 0u);
}

TEST_F(WordDocumentTest, APictureRaisesNotAvailableAtItsTextRange) {
  WordContent content;
  WordShapeContent picture;
  picture.holdsText = false;
  content.shapes = {picture};
  auto frame = Open(content)->Shapes()->Item(1)->TextFrame();
  EXPECT_EQ(ErrorNumberOf([&] { frame->TextRange(); }), platform::kErrWordNotAvailable);
  EXPECT_EQ(ErrorNumberOf([&] { Last()->Shapes()->Item(2); }), platform::kErrWordNoSuchMember);
}

TEST_F(WordDocumentTest, ALinkedPropertyReadsItsBookmarkAndRefusesDirectValues) {
  WordContent content;
  WordPropertyContent linked = Property(u"count", platform::kPropertyNumber, Variant::Int32(1));
  linked.linkToContent = true;
  linked.linkSource = u"Count";
  content.properties = {linked};
  content.bookmarks = {{u"Count", u"7"}};
  auto prop = Open(content)->CustomDocumentProperties()->Item(u"count");
  EXPECT_EQ(prop->Value(), Variant::Int32(7));
  EXPECT_EQ(ErrorNumberOf([&] { prop->SetValue(Variant::Int32(9)); }), platform::kErrInvalidCall);
  EXPECT_EQ(prop->Value(), Variant::Int32(7));
  prop->SetType(platform::kPropertyString);
  EXPECT_EQ(prop->Value(), Variant::String(u"7"));
  EXPECT_EQ(prop->LinkToContent(), kTrue);
}

TEST_F(WordDocumentTest, ALinkedPropertyWhoseSourceIsMissingKeepsItsLastValue) {
  WordContent content;
  WordPropertyContent linked = Property(u"n", platform::kPropertyNumber, Variant::Int32(3));
  linked.linkToContent = true;
  linked.linkSource = u"Missing";
  WordPropertyContent unconvertible = linked;
  unconvertible.name = u"m";
  unconvertible.linkSource = u"Words";
  content.properties = {linked, unconvertible};
  content.bookmarks = {{u"Words", u"not a number"}};
  auto props = Open(content)->CustomDocumentProperties();
  EXPECT_EQ(props->Item(u"n")->Value(), Variant::Int32(3));
  EXPECT_EQ(props->Item(u"m")->Value(), Variant::Int32(3));
}

TEST_F(WordDocumentTest, AddRefusesBadNamesTypesAndLinks) {
  auto props = Open({})->CustomDocumentProperties();
  auto add = [&](std::u16string_view name, platform::Flag link, int32_t type) {
    return ErrorNumberOf([&] { props->Add(name, link, type, Variant::String(u"1")); });
  };
  EXPECT_EQ(add(u"", kFalse, platform::kPropertyString), platform::kErrInvalidCall);
  EXPECT_EQ(add(std::u16string(256, u'a'), kFalse, platform::kPropertyString),
            platform::kErrInvalidCall);
  EXPECT_EQ(add(std::u16string(255, u'a'), kFalse, platform::kPropertyString), 0);
  EXPECT_EQ(add(u"t0", kFalse, 0), platform::kErrInvalidCall);
  EXPECT_EQ(add(u"t6", kFalse, 6), platform::kErrInvalidCall);
  EXPECT_EQ(add(u"linked", kTrue, platform::kPropertyString), platform::kErrInvalidCall);
  EXPECT_EQ(add(u"linked1", 1, platform::kPropertyString), platform::kErrInvalidCall);
  EXPECT_EQ(props->Count(), 1);
  auto prop = props->Item(1);
  EXPECT_EQ(ErrorNumberOf([&] { prop->SetType(7); }), platform::kErrInvalidCall);
  EXPECT_EQ(prop->Type(), platform::kPropertyString);
}

TEST_F(WordDocumentTest, DeletedPropertyHandlesRaiseObjectDeleted) {
  WordContent content;
  content.properties = {Property(u"a", platform::kPropertyString, Variant::String(u"1"))};
  auto props = Open(content)->CustomDocumentProperties();
  auto a = props->Item(1);
  a->Delete();
  EXPECT_EQ(ErrorNumberOf([&] { a->Value(); }), platform::kErrWordObjectDeleted);
  EXPECT_EQ(ErrorNumberOf([&] { a->Delete(); }), platform::kErrWordObjectDeleted);
  EXPECT_EQ(ErrorNumberOf([&] { props->Item(1); }), platform::kErrInvalidCall);
  EXPECT_TRUE(Last()->Snapshot().properties.empty());
}

TEST_F(WordDocumentTest, SaveAsKeepsTheContentAndReplacesOnlyWhenAsked) {
  auto doc = Open({});
  doc->CustomDocumentProperties()->Add(u"a", kFalse, platform::kPropertyString,
                                       Variant::String(u"1"));
  doc->SaveAs(u"letter.docx", false);
  ASSERT_EQ(word_->SavedFiles().count(u"letter.docx"), 1u);
  EXPECT_EQ(word_->SavedFiles().at(u"letter.docx").properties.size(), 1u);
  EXPECT_EQ(ErrorNumberOf([&] { doc->SaveAs(u"letter.docx", false); }), platform::kErrFileExists);
  EXPECT_EQ(ErrorNumberOf([&] { doc->SaveAs(u"letter.docx", true); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { doc->SaveAs(u"", true); }), platform::kErrPathAccess);
  EXPECT_EQ(ErrorNumberOf([&] { doc->SaveAs(u"t.dot", true); }), platform::kErrPathAccess);
}

}  // namespace
}  // namespace sendnote::inmemory
