// WriteDocProp on an in-memory Word document: the prefix paths (marked document, Yes,
// No with and without an answer, Cancel, document gone), re-prefixing, the values
// written, and the error path.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "inmemory/InMemoryRuntime.h"
#include "system/common/ReportError.h"
#include "system/letter/modSendnote.h"
#include "tests/support/WriteDocPropTestSupport.h"

namespace sendnote {
namespace {

using F = platform::ContactField;
using platform::Variant;
using testing::DocPropertyField;
using testing::Prop;

constexpr char16_t kAsk[] =
    u"この文書に添書票COMアドイン用のプロパティを設定します。\r"
    u"プロパティを識別するための接頭句として、OUTLOOK$ を使用します。よろしいですか？";

// A scripted user interface that can run a test step while a message box is open.
class HookedUi : public inmemory::ScriptedUi {
 public:
  std::function<void()> whileBoxOpen;
  int32_t MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) override {
    if (whileBoxOpen) std::exchange(whileBoxOpen, nullptr)();
    return ScriptedUi::MsgBox(prompt, style, title);
  }
};

const inmemory::WordPropertyContent kMarker = Prop(u"SENDNOTE$PROPERTY", Variant::Bool(-1));

class WriteDocPropTest : public ::testing::Test {
 protected:
  WriteDocPropTest() {
    occasion_.SetStaticData(std::make_shared<clsStatic>());
    contact_->With(F::kCompanyName, u"株式会社山田商事").With(F::kOfficeLocation, u"本社");
    contact_->With(F::kDepartment, u"営業部").With(F::kLastName, u"山田");
    contact_->With(F::kEmail1Address, u" y@example.jp ").With(F::kSuffix, u"   ");
    contact_->With(F::kBusinessAddress, u"東京都千代田区1-1\r\n山田ビル5F");
    contact_->With(F::kBusinessAddressPostalCode, u"１２３－４５６７").mailing =
        platform::MailingAddress::kBusiness;
  }

  // Opens a document of `properties` and fields, Word visible, and runs WriteDocProp
  // with the user's answers queued.
  void Run(std::vector<inmemory::WordPropertyContent> properties, std::vector<int32_t> answers,
           inmemory::WordContent content = {}) {
    content.properties = std::move(properties);
    document_ = testing::NewDocument(*word_, std::move(content));
    word_->SetVisible(platform::kTrue);
    for (const int32_t answer : answers) ui_.QueueMsgBoxAnswer(answer);
    WriteDocProp(document_, contact_, occasion_);
  }
  std::u16string Text(std::u16string_view name) const {
    const auto property = testing::PropertyOf(*document_, name);
    return property.name.empty() ? u"<none>" : property.value.ToString();
  }
  int Count(std::u16string_view prefix) const {
    int count = 0;
    for (const auto& p : document_->Snapshot().properties) count += p.name.starts_with(prefix);
    return count;
  }
  void ExpectMarkedWith(std::u16string_view prefix) const {
    EXPECT_EQ(testing::PropertyOf(*document_, u"SENDNOTE$PROPERTY"), kMarker);
    EXPECT_EQ(testing::PropertyOf(*document_, u"SENDNOTE$PREFIX"),
              Prop(u"SENDNOTE$PREFIX", std::u16string(prefix)));
    EXPECT_EQ(occasion_.PropPrefix(), prefix);
    EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kFalse);
  }
  const std::vector<inmemory::MsgBoxRecord>& Boxes() const { return ui_.MsgBoxes(); }
  void ExpectReported(int32_t number) const {
    EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kTrue);
    EXPECT_EQ(occasion_.Msg()->MsgText(), u"");
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back().style, 16);
    EXPECT_TRUE(Boxes().back().prompt.starts_with(ErrorReportText(u"WriteDocProp", number, u"")));
  }

  HookedUi ui_;
  inmemory::InMemoryRuntime runtime_{ui_};
  platform::ScopedRuntime scope_{runtime_};
  std::shared_ptr<inmemory::WordApp> word_ = inmemory::WordApp::Create();
  std::shared_ptr<inmemory::WordDocument> document_;
  std::shared_ptr<testing::TestContact> contact_ = std::make_shared<testing::TestContact>();
  clsOccation occasion_;
};

TEST_F(WriteDocPropTest, MarkedDocumentIsWrittenWithoutAsking) {
  Run({kMarker, Prop(u"SENDNOTE$PREFIX", u"MY$"), Prop(u"MY$memo", u"kept")}, {});
  EXPECT_TRUE(Boxes().empty());
  ExpectMarkedWith(u"MY$");
  EXPECT_EQ(Count(u"MY$"), 22);  // the user's own property and 21 of the contact
  EXPECT_EQ(Text(u"MY$memo"), u"kept");
  EXPECT_EQ(Text(u"MY$宛先"), u"株式会社山田商事 本社 営業部 山田");
  EXPECT_EQ(Text(u"MY$メールアドレス"), u"y@example.jp");
  EXPECT_EQ(Text(u"MY$敬称"), u"");
  EXPECT_EQ(Text(u"MY$住所"), u"東京都千代田区1-1 山田ビル5F");
  EXPECT_EQ(Text(u"MY$郵便番号"), u"１２３－４５６７");
  EXPECT_EQ(Text(u"MY$郵便番号上位"), u"123");
  EXPECT_EQ(Text(u"MY$郵便番号下位"), u"4567");
  EXPECT_EQ(testing::PropertyOf(*document_, u"MY$姓"), Prop(u"MY$姓", u"山田"));
  EXPECT_TRUE(word_->IsVisible());
  EXPECT_EQ(word_->ActivateCount(), 1);

  // Again with a contact that marks no address: the 11 change, the address ones stay.
  contact_ = std::make_shared<testing::TestContact>();
  contact_->With(F::kLastName, u"鈴木");
  WriteDocProp(document_, contact_, occasion_);
  EXPECT_EQ(Text(u"MY$宛先"), u"鈴木");
  EXPECT_EQ(Text(u"MY$会社名"), u"");
  EXPECT_EQ(Text(u"MY$郵便番号上位"), u"123");
}

TEST_F(WriteDocPropTest, YesKeepsTheProposedPrefixAndRemovesItsOldProperties) {
  bool visibleDuringBox = true;
  ui_.whileBoxOpen = [&] { visibleDuringBox = word_->IsVisible(); };
  Run({Prop(u"OUTLOOK$メモ", u"user's"), Prop(u"Author$x", u"other")}, {platform::kVbYes});
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].prompt, kAsk);
  EXPECT_EQ(Boxes()[0].style, 67);
  EXPECT_EQ(Boxes()[0].title, kAppTitle);
  EXPECT_FALSE(visibleDuringBox);
  ExpectMarkedWith(u"OUTLOOK$");
  EXPECT_EQ(Text(u"OUTLOOK$メモ"), u"<none>");
  EXPECT_EQ(Text(u"Author$x"), u"other");
  EXPECT_EQ(Count(u"OUTLOOK$"), 21);
  EXPECT_TRUE(word_->IsVisible());

  // Unusable markers count as unmarked: a text marker, and a stored prefix that is empty
  // or not text.
  for (const auto& prefix :
       {Prop(u"SENDNOTE$PREFIX", u""), Prop(u"SENDNOTE$PREFIX", Variant::Int32(7))}) {
    occasion_.SetPropPrefix(kDefaultPrefix);
    Run({Prop(u"SENDNOTE$PROPERTY", u"yes"), prefix}, {platform::kVbYes});
    EXPECT_EQ(Boxes().back().prompt, kAsk);
    ExpectMarkedWith(u"OUTLOOK$");
  }
}

TEST_F(WriteDocPropTest, NoWithATypedPrefixRenamesFieldsInBodyAndTextBoxes) {
  inmemory::WordContent content;
  content.bodyFields = {DocPropertyField(u"OUTLOOK$会社名"),
                        {u" DOCPROPERTY OUTLOOK$姓 ", u"old", false}};
  content.tableFields = {DocPropertyField(u"OUTLOOK$住所")};
  content.shapes = {inmemory::TextBoxContent({DocPropertyField(u"OUTLOOK$宛先")}, u"宛先: "),
                    inmemory::TextBoxContent({})};
  ui_.QueueInput(u"NEW$");
  Run({Prop(u"SENDNOTE$PREFIX", u"OUTLOOK$"), Prop(u"OUTLOOK$住所", u"old")}, {platform::kVbNo},
      content);

  ASSERT_EQ(ui_.InputBoxes().size(), 1u);
  EXPECT_EQ(ui_.InputBoxes()[0].prompt,
            u"添書票COMアドイン用のプロパティを識別する接頭句を入力してください。");
  EXPECT_EQ(ui_.InputBoxes()[0].title, kAppTitle);
  EXPECT_EQ(ui_.InputBoxes()[0].defaultText, u"OUTLOOK$");
  EXPECT_EQ(Boxes().size(), 1u);
  const inmemory::WordContent after = document_->Snapshot();
  EXPECT_EQ(after.bodyFields[0].code, DocPropertyField(u"NEW$会社名").code);
  EXPECT_EQ(after.bodyFields[1].code, u" DOCPROPERTY OUTLOOK$姓 ");
  EXPECT_EQ(after.tableFields[0].code, DocPropertyField(u"NEW$住所").code);
  EXPECT_EQ(after.shapes[0].fields[0].code, DocPropertyField(u"NEW$宛先").code);
  EXPECT_EQ(Count(u"OUTLOOK$"), 0);
  EXPECT_EQ(Count(u"NEW$"), 21);
  ExpectMarkedWith(u"NEW$");

  // A prefix typed with blanks keeps them.
  ui_.QueueInput(u" X$ ");
  Run({}, {platform::kVbNo});
  EXPECT_EQ(Text(u" X$ 姓"), u"山田");
}

TEST_F(WriteDocPropTest, NoWithABlankOrCancelledAnswerFallsBackToTheDefault) {
  for (const bool cancelInput : {false, true}) {
    cancelInput ? ui_.QueueInputCancel() : ui_.QueueInput(u"   ");
    occasion_.SetPropPrefix(kDefaultPrefix);
    Run({Prop(u"SENDNOTE$PREFIX", u"OLD$"), Prop(u"OLD$姓", u"x")}, {platform::kVbNo});
    EXPECT_EQ(ui_.InputBoxes().back().defaultText, u"OLD$");
    EXPECT_EQ(Boxes().back().prompt,
              u"添書票COMアドイン用のプロパティの接頭句を、OUTLOOK$ に設定しました。");
    EXPECT_EQ(Boxes().back().style, 64);
    ExpectMarkedWith(u"OUTLOOK$");
    EXPECT_EQ(Text(u"OLD$姓"), u"<none>");
  }
  EXPECT_EQ(Boxes().size(), 4u);
}

TEST_F(WriteDocPropTest, CancelChangesNothingAndShowsWordAgain) {
  inmemory::WordContent content;
  content.bodyFields = {DocPropertyField(u"OUTLOOK$姓")};
  content.properties = {Prop(u"OUTLOOK$姓", u"old")};
  Run(content.properties, {platform::kVbCancel}, content);
  EXPECT_EQ(document_->Snapshot(), content);
  EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kTrue);
  EXPECT_EQ(occasion_.Msg()->MsgText(), u"");
  EXPECT_TRUE(ui_.InputBoxes().empty());
  EXPECT_TRUE(word_->IsVisible());
  EXPECT_EQ(document_->ActivateCount(), 1);
  EXPECT_EQ(word_->ActivateCount(), 1);
  EXPECT_EQ(contact_->reads, 0);
}

TEST_F(WriteDocPropTest, DocumentClosedOrWordQuitWhileTheBoxWasOpen) {
  for (const bool quit : {false, true}) {
    word_ = inmemory::WordApp::Create();
    ui_.whileBoxOpen = [&] {
      quit ? word_->Quit(0) : document_->Close(0);
      word_->ClearJournal();
    };
    Run({}, {platform::kVbYes});
    EXPECT_EQ(occasion_.Msg()->MsgText(), u"作成する文書が見当たりません。");
    EXPECT_EQ(occasion_.Msg()->Cancel(), platform::kTrue);
    // Only the liveness check reached Word afterwards.
    EXPECT_EQ(word_->Journal(), std::vector<std::u16string>{u"Document.Application"});
    EXPECT_EQ(contact_->reads, 0);
  }
}

TEST_F(WriteDocPropTest, PatternCharactersInTheOldPrefixDeleteByPattern) {
  Run({Prop(u"SENDNOTE$PREFIX", u"A?$"), Prop(u"AB$x", u"1"), Prop(u"A1$y", u"2"),
       Prop(u"A$z", u"3"), Prop(u"ab$v", u"4")},
      {platform::kVbYes});
  EXPECT_EQ(Text(u"AB$x") + Text(u"A1$y") + Text(u"A$z") + Text(u"ab$v"), u"<none><none>34");
  EXPECT_EQ(Text(u"A?$姓"), u"山田");
}

TEST_F(WriteDocPropTest, UnexpectedFailuresEndInOneReport) {
  occasion_.Msg()->SetMsgText(u"stale");
  ui_.whileBoxOpen = [&] { word_->WordFaults().FailOn(u"Add", platform::kErrDispException); };
  Run({}, {platform::kVbYes});
  ExpectReported(platform::kErrDispException);
  EXPECT_EQ(Boxes().size(), 2u);
  EXPECT_FALSE(word_->IsVisible());  // the end steps do not run
  word_->WordFaults().ClearAll();

  contact_->failReads = platform::kErrServerGone;
  Run({kMarker}, {});
  ExpectReported(platform::kErrServerGone);

  Run({Prop(u"SENDNOTE$PREFIX", u"A[")}, {platform::kVbYes});
  ExpectReported(93);  // an invalid pattern

  occasion_.SetStaticData(nullptr);
  Run({kMarker}, {});
  ExpectReported(platform::kErrObjectNotSet);
}

}  // namespace
}  // namespace sendnote
