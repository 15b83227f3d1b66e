// WriteDocProp on an in-memory Word document: the prefix paths (marked document, Yes,
// No with and without an answer, Cancel, document gone), re-prefixing, the values
// written, and the error path.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/ReportError.h"
#include "common/clsOccation.h"
#include "inmemory/InMemoryRuntime.h"
#include "inmemory/ScriptedUi.h"
#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "letter/modSendnote.h"
#include "platform/Utf.h"
#include "tests/system/WriteDocPropTestSupport.h"

namespace sendnote {
namespace {

using F = platform::ContactField;
using inmemory::WordContent;
using inmemory::WordPropertyContent;
using platform::Variant;
using testing::DocPropertyField;
using testing::PropertyOf;
using testing::TestContact;
using testing::TextProperty;

constexpr char16_t kAsk[] =
    u"この文書に添書票COMアドイン用のプロパティを設定します。\r"
    u"プロパティを識別するための接頭句として、OUTLOOK$ を使用します。よろしいですか？";
constexpr char16_t kEnter[] =
    u"添書票COMアドイン用のプロパティを識別する接頭句を入力してください。";
constexpr char16_t kNotice[] =
    u"添書票COMアドイン用のプロパティの接頭句を、OUTLOOK$ に設定しました。";
constexpr char16_t kGone[] = u"作成する文書が見当たりません。";

// A scripted user interface that can run a test step while a message box is open.
class HookedUi : public inmemory::ScriptedUi {
 public:
  std::function<void()> whileBoxOpen;

  int32_t MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) override {
    if (whileBoxOpen) std::exchange(whileBoxOpen, nullptr)();
    return ScriptedUi::MsgBox(prompt, style, title);
  }
};

WordPropertyContent Marker(bool value = true) {
  return {u"SENDNOTE$PROPERTY", platform::kPropertyBoolean, Variant::Bool(platform::ToFlag(value)),
          false, u""};
}

class WriteDocPropTest : public ::testing::Test {
 protected:
  WriteDocPropTest() {
    occasion_.SetStaticData(statics_);
    contact_->With(F::kCompanyName, u"株式会社山田商事").With(F::kOfficeLocation, u"本社");
    contact_->With(F::kDepartment, u"営業部").With(F::kLastName, u"山田");
    contact_->With(F::kFirstName, u"太郎").With(F::kEmail1Address, u" yamada@example.jp ");
    contact_->With(F::kBusinessAddress, u"東京都千代田区丸の内1-1\r\n山田ビル5F");
    contact_->With(F::kBusinessAddressPostalCode, u"１２３－４５６７");
    contact_->With(F::kBusinessAddressPostOfficeBox, u"   ");
    contact_->Mailing(2);
  }

  void Open(WordContent content) {
    document_ = testing::NewDocument(*word_, std::move(content));
    word_->SetVisible(platform::kTrue);
  }
  void Run() { WriteDocProp(document_, contact_, occasion_); }

  std::optional<WordPropertyContent> Property(std::u16string_view name) const {
    return PropertyOf(*document_, name);
  }
  // The text value of a property, or "<none>".
  std::u16string Text(std::u16string_view name) const {
    const auto property = Property(name);
    return property ? property->value.ToString() : u"<none>";
  }
  std::vector<std::u16string> Names() const {
    std::vector<std::u16string> names;
    for (const auto& property : document_->Snapshot().properties) names.push_back(property.name);
    return names;
  }
  const std::vector<inmemory::MsgBoxRecord>& Boxes() const { return ui_.MsgBoxes(); }
  void ExpectMarkedWith(std::u16string_view prefix) const {
    ASSERT_TRUE(Property(u"SENDNOTE$PROPERTY"));
    EXPECT_EQ(Property(u"SENDNOTE$PROPERTY")->type, platform::kPropertyBoolean);
    EXPECT_EQ(Property(u"SENDNOTE$PROPERTY")->value, Variant::Bool(platform::kTrue));
    ASSERT_TRUE(Property(u"SENDNOTE$PREFIX"));
    EXPECT_EQ(Property(u"SENDNOTE$PREFIX")->type, platform::kPropertyString);
    EXPECT_EQ(Text(u"SENDNOTE$PREFIX"), prefix);
  }
  int CountWithPrefix(std::u16string_view prefix) const {
    int count = 0;
    for (const auto& name : Names()) count += name.starts_with(prefix) ? 1 : 0;
    return count;
  }

  HookedUi ui_;
  inmemory::InMemoryRuntime runtime_{ui_};
  platform::ScopedRuntime scope_{runtime_};
  std::shared_ptr<inmemory::WordApp> word_ = inmemory::WordApp::Create();
  std::shared_ptr<inmemory::WordDocument> document_;
  std::shared_ptr<TestContact> contact_ = std::make_shared<TestContact>();
  std::shared_ptr<clsStatic> statics_ = std::make_shared<clsStatic>();
  clsOccation occasion_;
};

TEST_F(WriteDocPropTest, MarkedDocumentIsWrittenWithoutAsking) {
  WordContent content;
  content.properties = {Marker(), TextProperty(u"SENDNOTE$PREFIX", u"MY$"),
                        TextProperty(u"MY$memo", u"keep")};
  Open(content);
  word_->SetVisible(platform::kFalse);
  Run();

  EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kFalse);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(ui_.InputBoxes().empty());
  EXPECT_EQ(occasion_.PropPrefix(), u"MY$");
  EXPECT_EQ(occasion_.DocPropNew(), platform::kFalse);
  // 2 markers, the user's own MY$memo (no re-prefixing here) and 21 contact properties.
  EXPECT_EQ(Names().size(), 24u);
  EXPECT_EQ(Text(u"MY$memo"), u"keep");
  EXPECT_EQ(Text(u"MY$宛先"), u"株式会社山田商事 本社 営業部 山田");
  EXPECT_EQ(Text(u"MY$名"), u"太郎");
  EXPECT_EQ(Text(u"MY$メールアドレス"), u"yamada@example.jp");
  EXPECT_EQ(Text(u"MY$住所"), u"東京都千代田区丸の内1-1 山田ビル5F");
  EXPECT_EQ(Text(u"MY$郵便番号"), u"１２３－４５６７");
  EXPECT_EQ(Text(u"MY$郵便番号上位"), u"123");
  EXPECT_EQ(Text(u"MY$郵便番号下位"), u"4567");
  EXPECT_EQ(Text(u"MY$私書箱"), u"");
  EXPECT_EQ(Text(u"MY$肩書き"), u"");
  for (const auto& property : document_->Snapshot().properties) {
    if (!property.name.starts_with(u"MY$")) continue;
    EXPECT_EQ(property.type, platform::kPropertyString) << platform::ToUtf8(property.name);
    EXPECT_FALSE(property.linkToContent);
  }
  EXPECT_TRUE(word_->IsVisible());
  EXPECT_EQ(word_->ActivateCount(), 1);
}

TEST_F(WriteDocPropTest, YesConfirmsTheDefaultPrefixAndMarksTheDocument) {
  WordContent content;
  content.properties = {TextProperty(u"OUTLOOK$メモ", u"user's own"),
                        TextProperty(u"Author$x", u"other")};
  content.bodyFields = {DocPropertyField(u"OUTLOOK$会社名")};
  Open(content);
  bool visibleDuringBox = true;
  ui_.whileBoxOpen = [&] { visibleDuringBox = word_->IsVisible(); };
  ui_.QueueMsgBoxAnswer(platform::kVbYes);
  Run();

  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].prompt, kAsk);
  EXPECT_EQ(Boxes()[0].style, 67);
  EXPECT_EQ(Boxes()[0].title, kAppTitle);
  EXPECT_FALSE(visibleDuringBox);
  EXPECT_TRUE(ui_.InputBoxes().empty());

  EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kFalse);
  ExpectMarkedWith(u"OUTLOOK$");
  // The user's own property under the prefix is gone; other properties stay.
  EXPECT_FALSE(Property(u"OUTLOOK$メモ"));
  EXPECT_EQ(Text(u"Author$x"), u"other");
  EXPECT_EQ(CountWithPrefix(u"OUTLOOK$"), 21);
  // Equal prefixes: the field code is written back unchanged.
  EXPECT_EQ(document_->Snapshot().bodyFields[0].code, DocPropertyField(u"OUTLOOK$会社名").code);
  EXPECT_TRUE(word_->IsVisible());
  EXPECT_EQ(word_->ActivateCount(), 1);
}

TEST_F(WriteDocPropTest, StoredPrefixIsProposedAndItsOldPropertiesRemoved) {
  WordContent content;
  content.properties = {TextProperty(u"SENDNOTE$PREFIX", u"ABC$"),
                        TextProperty(u"ABC$住所", u"old address"),
                        TextProperty(u"ABC$古い項目", u"stale")};
  Open(content);
  ui_.QueueMsgBoxAnswer(platform::kVbYes);
  Run();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].prompt.find(u"、ABC$ を使用します。"), std::u16string::npos);
  ExpectMarkedWith(u"ABC$");
  EXPECT_FALSE(Property(u"ABC$古い項目"));
  EXPECT_EQ(Text(u"ABC$住所"), u"東京都千代田区丸の内1-1 山田ビル5F");
  EXPECT_EQ(occasion_.PropPrefix(), u"ABC$");
}

TEST_F(WriteDocPropTest, UnusableMarkersCountAsUnmarked) {
  struct Case {
    const char* what;
    std::vector<WordPropertyContent> properties;
  };
  const Case cases[] = {
      {"text marker", {TextProperty(u"SENDNOTE$PROPERTY", u"yes")}},
      {"marker False", {Marker(false)}},
      {"empty prefix", {Marker(false), TextProperty(u"SENDNOTE$PREFIX", u"")}},
      {"number prefix",
       {{u"SENDNOTE$PREFIX", platform::kPropertyNumber, Variant::Int32(7), false, u""}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WordContent content;
    content.properties = c.properties;
    Open(content);
    clsOccation fresh;
    fresh.SetStaticData(statics_);
    ui_.QueueMsgBoxAnswer(platform::kVbYes);
    const size_t before = Boxes().size();
    WriteDocProp(document_, contact_, fresh);
    ASSERT_EQ(Boxes().size(), before + 1);
    EXPECT_EQ(Boxes().back().prompt, kAsk);
    EXPECT_EQ(fresh.Msg()->Cancel(), platform::kFalse);
    EXPECT_EQ(fresh.PropPrefix(), u"OUTLOOK$");
    ExpectMarkedWith(u"OUTLOOK$");
  }
}

TEST_F(WriteDocPropTest, NoWithATypedPrefixRenamesFieldsInBodyAndTextBoxes) {
  WordContent content;
  content.properties = {TextProperty(u"OUTLOOK$会社名", u"old company"),
                        TextProperty(u"OUTLOOK$住所", u"old address")};
  content.bodyFields = {DocPropertyField(u"OUTLOOK$会社名"),
                        {u" DOCPROPERTY OUTLOOK$姓 ", u"old", false},
                        {u" DOCPROPERTY \"Author$x\" ", u"old", false}};
  content.tableFields = {DocPropertyField(u"OUTLOOK$住所")};
  content.shapes = {{true, u"宛先: ", {DocPropertyField(u"OUTLOOK$宛先")}},
                    {true, u"no fields", {}}};
  Open(content);
  ui_.QueueMsgBoxAnswer(platform::kVbNo);
  ui_.QueueInput(u"NEW$");
  Run();

  ASSERT_EQ(ui_.InputBoxes().size(), 1u);
  EXPECT_EQ(ui_.InputBoxes()[0].prompt, kEnter);
  EXPECT_EQ(ui_.InputBoxes()[0].title, kAppTitle);
  EXPECT_EQ(ui_.InputBoxes()[0].defaultText, u"OUTLOOK$");
  EXPECT_EQ(Boxes().size(), 1u);  // no notice box for a typed prefix

  const WordContent after = document_->Snapshot();
  EXPECT_EQ(after.bodyFields[0].code, DocPropertyField(u"NEW$会社名").code);
  EXPECT_EQ(after.bodyFields[1].code, u" DOCPROPERTY OUTLOOK$姓 ");
  EXPECT_EQ(after.bodyFields[2].code, u" DOCPROPERTY \"Author$x\" ");
  EXPECT_EQ(after.tableFields[0].code, DocPropertyField(u"NEW$住所").code);
  EXPECT_EQ(after.shapes[0].fields[0].code, DocPropertyField(u"NEW$宛先").code);
  EXPECT_EQ(after.shapes[0].text, u"宛先: ");

  EXPECT_EQ(CountWithPrefix(u"OUTLOOK$"), 0);
  EXPECT_EQ(CountWithPrefix(u"NEW$"), 21);
  EXPECT_EQ(Text(u"NEW$会社名"), u"株式会社山田商事");
  ExpectMarkedWith(u"NEW$");
  EXPECT_EQ(occasion_.PropPrefix(), u"NEW$");
  EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kFalse);
}

TEST_F(WriteDocPropTest, NoWithABlankOrCancelledAnswerFallsBackToTheDefault) {
  for (const bool cancelInput : {false, true}) {
    SCOPED_TRACE(cancelInput ? "input cancelled" : "blank answer");
    WordContent content;
    content.properties = {TextProperty(u"SENDNOTE$PREFIX", u"OLD$"), TextProperty(u"OLD$姓", u"x")};
    content.bodyFields = {DocPropertyField(u"OLD$姓")};
    Open(content);
    clsOccation fresh;
    fresh.SetStaticData(statics_);
    const size_t before = Boxes().size();
    ui_.QueueMsgBoxAnswer(platform::kVbNo);
    if (cancelInput) {
      ui_.QueueInputCancel();
    } else {
      ui_.QueueInput(u"   ");
    }
    WriteDocProp(document_, contact_, fresh);

    EXPECT_EQ(ui_.InputBoxes().back().defaultText, u"OLD$");
    ASSERT_EQ(Boxes().size(), before + 2);
    EXPECT_EQ(Boxes().back().prompt, kNotice);
    EXPECT_EQ(Boxes().back().style, 64);
    EXPECT_EQ(Boxes().back().title, kAppTitle);
    EXPECT_EQ(fresh.PropPrefix(), u"OUTLOOK$");
    ExpectMarkedWith(u"OUTLOOK$");
    EXPECT_FALSE(Property(u"OLD$姓"));
    EXPECT_EQ(document_->Snapshot().bodyFields[0].code, DocPropertyField(u"OUTLOOK$姓").code);
  }
}

TEST_F(WriteDocPropTest, TypedPrefixKeepsItsBlanks) {
  Open({});
  ui_.QueueMsgBoxAnswer(platform::kVbNo);
  ui_.QueueInput(u" X$ ");
  Run();
  EXPECT_EQ(occasion_.PropPrefix(), u" X$ ");
  EXPECT_EQ(Text(u" X$ 姓"), u"山田");
  ExpectMarkedWith(u" X$ ");
}

TEST_F(WriteDocPropTest, CancelChangesNothingAndShowsWordAgain) {
  WordContent content;
  content.properties = {TextProperty(u"OUTLOOK$姓", u"old")};
  content.bodyFields = {DocPropertyField(u"OUTLOOK$姓")};
  Open(content);
  const WordContent before = document_->Snapshot();
  ui_.QueueMsgBoxAnswer(platform::kVbCancel);
  Run();

  EXPECT_EQ(document_->Snapshot(), before);
  EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kTrue);
  EXPECT_EQ(occasion_.Msg()->MsgText(), u"");
  EXPECT_EQ(occasion_.PropPrefix(), u"OUTLOOK$");
  EXPECT_TRUE(ui_.InputBoxes().empty());
  EXPECT_TRUE(word_->IsVisible());
  EXPECT_EQ(document_->ActivateCount(), 1);
  EXPECT_EQ(word_->ActivateCount(), 1);
  EXPECT_EQ(contact_->Reads(), 0);
}

TEST_F(WriteDocPropTest, DocumentClosedWhileTheBoxWasOpen) {
  for (const bool quitWord : {false, true}) {
    SCOPED_TRACE(quitWord ? "Word quit" : "document closed");
    word_ = inmemory::WordApp::Create();
    Open({});
    occasion_.Msg()->SetCancel(platform::kFalse);
    ui_.whileBoxOpen = [&] {
      if (quitWord) {
        word_->Quit(platform::kWdDoNotSaveChanges);
      } else {
        document_->Close(platform::kWdDoNotSaveChanges);
      }
      word_->ClearJournal();
    };
    ui_.QueueMsgBoxAnswer(platform::kVbYes);
    Run();

    EXPECT_EQ(occasion_.Msg()->MsgText(), kGone);
    EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kTrue);
    // Only the liveness check reached Word afterwards.
    EXPECT_EQ(word_->Journal(), std::vector<std::u16string>{u"Document.Application"});
    EXPECT_EQ(Boxes().size(), quitWord ? 2u : 1u);
    EXPECT_EQ(contact_->Reads(), 0);
  }
}

TEST_F(WriteDocPropTest, PatternCharactersInTheOldPrefixDeleteByPattern) {
  WordContent content;
  content.properties = {TextProperty(u"SENDNOTE$PREFIX", u"A?$"),
                        TextProperty(u"AB$x", u"1"),
                        TextProperty(u"A1$y", u"2"),
                        TextProperty(u"A$z", u"3"),
                        TextProperty(u"XAB$w", u"4"),
                        TextProperty(u"ab$v", u"5")};
  Open(content);
  ui_.QueueMsgBoxAnswer(platform::kVbYes);
  Run();
  EXPECT_FALSE(Property(u"AB$x"));
  EXPECT_FALSE(Property(u"A1$y"));
  EXPECT_EQ(Text(u"A$z"), u"3");
  EXPECT_EQ(Text(u"XAB$w"), u"4");
  EXPECT_EQ(Text(u"ab$v"), u"5");
  EXPECT_EQ(Text(u"A?$姓"), u"山田");
}

TEST_F(WriteDocPropTest, ExistingPropertiesAreReplacedLinkedOnesKept) {
  WordContent content;
  content.bookmarks[u"Mark"] = u"linked company";
  content.properties = {
      Marker(),
      TextProperty(u"SENDNOTE$PREFIX", u"OUTLOOK$"),
      {u"OUTLOOK$電話番号", platform::kPropertyNumber, Variant::Int32(5), false, u""},
      {u"OUTLOOK$会社名", platform::kPropertyString, Variant::String(u"linked company"), true,
       u"Mark"}};
  Open(content);
  contact_->With(F::kBusinessTelephoneNumber, u"03-1111-2222");
  Run();
  EXPECT_EQ(Property(u"OUTLOOK$電話番号")->type, platform::kPropertyString);
  EXPECT_EQ(Text(u"OUTLOOK$電話番号"), u"03-1111-2222");
  EXPECT_TRUE(Property(u"OUTLOOK$会社名")->linkToContent);
  EXPECT_EQ(Text(u"OUTLOOK$会社名"), u"linked company");
  EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kFalse);

  // Another contact without an address kind: its 11 values replace the old ones, the
  // address properties of the first run stay.
  auto second = std::make_shared<TestContact>();
  second->With(F::kLastName, u"鈴木").Mailing(0);
  WriteDocProp(document_, second, occasion_);
  EXPECT_EQ(Text(u"OUTLOOK$姓"), u"鈴木");
  EXPECT_EQ(Text(u"OUTLOOK$名"), u"");
  EXPECT_EQ(Text(u"OUTLOOK$宛先"), u"鈴木");
  EXPECT_EQ(Text(u"OUTLOOK$電話番号"), u"03-1111-2222");
  EXPECT_EQ(Text(u"OUTLOOK$郵便番号上位"), u"123");
}

TEST_F(WriteDocPropTest, ChosenAddressKindWinsOverTheContactsMark) {
  WordContent content;
  content.properties = {Marker()};
  Open(content);
  contact_->With(F::kHomeAddress, u"自宅の住所");
  statics_->SetAddressKind(1);
  Run();
  EXPECT_EQ(Text(u"OUTLOOK$住所"), u"自宅の住所");
}

// Every unexpected failure ends in one report naming WriteDocProp.
class WriteDocPropFailureTest : public WriteDocPropTest {
 protected:
  void ExpectReported(int32_t number) {
    EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kTrue);
    EXPECT_EQ(occasion_.Msg()->MsgText(), u"");
    ASSERT_FALSE(Boxes().empty());
    const auto& report = Boxes().back();
    EXPECT_EQ(report.style, 16);
    EXPECT_EQ(report.title, kAppTitle);
    EXPECT_TRUE(report.prompt.starts_with(ErrorReportText(u"WriteDocProp", number, u"")))
        << platform::ToUtf8(report.prompt);
  }
};

TEST_F(WriteDocPropFailureTest, AFailingAddIsReportedAndWordStaysHidden) {
  Open({});
  occasion_.Msg()->SetMsgText(u"stale text");
  word_->WordFaults().FailOn(u"Add", platform::kErrDispException, u"", 1);
  ui_.QueueMsgBoxAnswer(platform::kVbYes);
  Run();
  ExpectReported(platform::kErrDispException);
  EXPECT_EQ(Boxes().size(), 2u);
  EXPECT_FALSE(word_->IsVisible());
}

TEST_F(WriteDocPropFailureTest, AFailingContactIsReported) {
  WordContent content;
  content.properties = {Marker()};
  Open(content);
  contact_->FailReads(platform::kErrServerGone);
  Run();
  ExpectReported(platform::kErrServerGone);
  // The markers read before the failure stay; nothing of the contact was written.
  EXPECT_EQ(Names(), std::vector<std::u16string>{u"SENDNOTE$PROPERTY"});
}

TEST_F(WriteDocPropFailureTest, AShapeWithoutTextStopsTheReprefixing) {
  WordContent content;
  content.properties = {TextProperty(u"OUTLOOK$姓", u"old")};
  content.shapes = {{false, u"", {}}};
  Open(content);
  ui_.QueueMsgBoxAnswer(platform::kVbYes);
  Run();
  ExpectReported(inmemory::kErrWordNotAvailable);
  // The deletion before the failure stays; the document is not marked.
  EXPECT_FALSE(Property(u"OUTLOOK$姓"));
  EXPECT_FALSE(Property(u"SENDNOTE$PROPERTY"));
}

TEST_F(WriteDocPropFailureTest, AnInvalidPatternInTheOldPrefixIsReported) {
  WordContent content;
  content.properties = {TextProperty(u"SENDNOTE$PREFIX", u"A["), TextProperty(u"A[x", u"1")};
  Open(content);
  ui_.QueueMsgBoxAnswer(platform::kVbYes);
  Run();
  ExpectReported(93);
  EXPECT_EQ(Text(u"A[x"), u"1");
}

TEST_F(WriteDocPropFailureTest, MissingObjectsAreReportedNotCrashed) {
  WordContent content;
  content.properties = {Marker()};
  Open(content);
  occasion_.SetStaticData(nullptr);
  Run();
  ExpectReported(platform::kErrObjectNotSet);

  const size_t boxes = Boxes().size();
  WriteDocProp(nullptr, contact_, occasion_);
  EXPECT_EQ(Boxes().size(), boxes + 1);
  ExpectReported(platform::kErrObjectNotSet);
}

}  // namespace
}  // namespace sendnote
