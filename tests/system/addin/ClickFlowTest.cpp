// One click end to end on the in-memory Office: the completed command, each refusal
// with its one message, unexpected failures with their one report, and the tidying up.
#include <gtest/gtest.h>

#include "system/common/ReportError.h"
#include "system/common/modFunc.h"
#include "system/letter/modSendnote.h"
#include "tests/support/OfficeWorld.h"

namespace sendnote {
namespace {

using inmemory::DialogAction;
using platform::ContactField;
using platform::kTrue;
using testing::kLetterTemplate;
using testing::OfficeWorld;

constexpr char16_t kTitle[] = u"添書票COMアドイン";

class ClickFlowTest : public ::testing::Test {
 protected:
  // A world ready for a click that completes: a selected contact, Word running, a marked
  // template chosen in File New, OK in the dialog.
  void ReadyToComplete() {
    contact_ = w_.AddYamada();
    w_.ExplorerSelecting({contact_});
    w_.WordRunning();
    inmemory::WordContent content;
    content.bodyFields = {{u" DOCPROPERTY \"OUTLOOK$宛先\" ", u"(宛先)"},
                          {u" DOCPROPERTY \"OTHER$会社名\" ", u"(other)"}};
    content.shapes = {
        inmemory::TextBoxContent({{u" DOCPROPERTY \"OUTLOOK$郵便番号上位\" ", u"(〒)"}})};
    w_.MarkedTemplate(kLetterTemplate, content);
    w_.word->QueueFileNew(kLetterTemplate);
    w_.ui().QueueDialog({DialogAction::Ok()});
  }

  // Expects exactly one box: the refusal `text`, after Outlook's window came forward.
  void ExpectOneRefusal(std::u16string_view text) {
    ASSERT_EQ(w_.boxes().size(), 1u);
    EXPECT_EQ(w_.boxes()[0].prompt, text);
    EXPECT_EQ(w_.boxes()[0].style, 48);
    EXPECT_EQ(w_.boxes()[0].title, kTitle);
  }

  // Expects exactly one box: the error report naming `procedure`.
  void ExpectOneReport(std::u16string_view procedure, int32_t number,
                       std::u16string_view description) {
    ASSERT_EQ(w_.boxes().size(), 1u) << (w_.boxes().size() > 1 ? "second box shown" : "");
    EXPECT_EQ(w_.boxes()[0].style, 16);
    EXPECT_EQ(w_.boxes()[0].title, kTitle);
    EXPECT_EQ(w_.boxes()[0].prompt, ErrorReportText(procedure, number, description));
  }

  OfficeWorld w_;
  std::shared_ptr<hostmodel::OutlookContact> contact_;
};

TEST_F(ClickFlowTest, CompletedClickWritesTheContactAndShowsNothing) {
  ReadyToComplete();
  w_.Connect();
  auto choices = [&] { return w_.addin.StaticData(); };
  const auto before = choices();
  ASSERT_NE(before, nullptr);

  EXPECT_EQ(w_.Click(), 1);

  EXPECT_TRUE(w_.boxes().empty());
  ASSERT_EQ(w_.word->OpenDocuments().size(), 1u);
  auto doc = w_.word->OpenDocuments()[0];
  EXPECT_EQ(doc->Arguments().templateName, kLetterTemplate);
  const auto content = doc->Snapshot();
  EXPECT_EQ(content.bodyFields[0].result, u"株式会社山田商事 本社 営業部 山田");
  EXPECT_EQ(content.bodyFields[1].result, u"(other)");  // another prefix: untouched
  EXPECT_EQ(content.shapes[0].fields[0].result, u"123");
  EXPECT_TRUE(w_.word->IsVisible());
  EXPECT_FALSE(w_.word->HasQuit());
  EXPECT_EQ(choices(), before);  // the persistent choices are taken back
  EXPECT_EQ(w_.ui().Dialogs().size(), 1u);
}

TEST_F(ClickFlowTest, OkStartsWordWhenNoneRunsAndTheStartedWordStays) {
  ReadyToComplete();
  w_.runtime.SetRunning(inmemory::kWordClass, nullptr);
  w_.WordStartable();
  w_.Click();
  EXPECT_EQ(w_.runtime.Created(inmemory::kWordClass), 1);
  EXPECT_TRUE(w_.boxes().empty());
  EXPECT_FALSE(w_.word->HasQuit());
  EXPECT_EQ(w_.word->OpenDocuments().size(), 1u);
}

TEST_F(ClickFlowTest, OnlyTheFirstOfSeveralSelectedContactsIsWritten) {
  ReadyToComplete();
  const ContactRecord other({{ContactField::kLastName, u"佐藤"}}, platform::MailingAddress::kHome);
  auto second = w_.AddContact(other);
  w_.explorer->Select({contact_, second, w_.AddContact(other)});
  w_.Click();
  auto doc = w_.word->OpenDocuments().at(0);
  EXPECT_EQ(doc->Snapshot().bodyFields[0].result, u"株式会社山田商事 本社 営業部 山田");
}

TEST_F(ClickFlowTest, SelectionRefusalsShowTheirMessageOnceAfterActivatingOutlook) {
  auto mail = w_.host->Inbox()->AddMail(u"会議");
  auto contact = w_.AddYamada();
  struct Case {
    std::vector<std::shared_ptr<platform::OutlookItem>> selection;
    std::u16string message;
  };
  const Case cases[] = {
      {{}, u"連絡先アイテムが選択されていません。"},
      {{contact, mail}, u"連絡先アイテムのみ利用可能です。"},
      {{mail, contact}, u"連絡先アイテムのみ利用可能です。"},
  };
  w_.ExplorerSelecting({});
  w_.Connect();
  for (const auto& c : cases) {
    w_.explorer->Select(c.selection);
    const int activations = w_.outlookFaults.Of(w_.explorer).Calls(u"Activate");
    const size_t boxes = w_.boxes().size();
    w_.Click();
    ASSERT_EQ(w_.boxes().size(), boxes + 1);
    EXPECT_EQ(w_.boxes().back().prompt, c.message);
    EXPECT_EQ(w_.boxes().back().style, 48);
    // Brought forward by the command's failure ending and again by the click handler.
    EXPECT_EQ(w_.outlookFaults.Of(w_.explorer).Calls(u"Activate"), activations + 2);
  }
  EXPECT_TRUE(w_.ui().Dialogs().empty());
}

TEST_F(ClickFlowTest, UnreadableSelectionCountsAsNothingSelected) {
  w_.ExplorerSelecting({w_.AddYamada()});
  w_.outlookFaults.Of(w_.explorer).FailOn(u"Selection", -2147467259, u"Unspecified error");
  w_.Click();
  ExpectOneRefusal(u"連絡先アイテムが選択されていません。");
}

TEST_F(ClickFlowTest, OpenMailWindowIsRefusedAndAnOpenContactIsUsed) {
  auto contact = w_.AddYamada();
  w_.ExplorerSelecting({});
  w_.Connect();
  auto mailWindow = w_.outlook->OpenInspector(w_.host->Inbox()->AddMail(u"件名"));
  w_.Click();
  ExpectOneRefusal(u"連絡先アイテムの場合のみ有効です。");

  // An open contact's window in front of an explorer with nothing selected.
  w_.outlook->OpenInspector(contact);
  w_.WordRunning();
  w_.MarkedTemplate(kLetterTemplate);
  w_.word->QueueFileNew(kLetterTemplate);
  w_.ui().QueueDialog({DialogAction::Ok()});
  w_.Click();
  EXPECT_EQ(w_.boxes().size(), 1u);
  EXPECT_EQ(w_.word->OpenDocuments().size(), 1u);
}

TEST_F(ClickFlowTest, ContactWithoutMailingAddressIsRefusedBeforeTheDialog) {
  auto named = w_.AddContact({{ContactField::kSubject, u"鈴木 一郎"}});
  auto untitled = w_.AddContact({});
  w_.ExplorerSelecting({named});
  w_.Click();
  w_.explorer->Select({untitled});
  w_.Click();
  ASSERT_EQ(w_.boxes().size(), 2u);
  EXPECT_EQ(w_.boxes()[0].prompt,
            u"鈴木 一郎 の連絡先アイテムに郵送先の住所がチェックされていません。");
  EXPECT_EQ(w_.boxes()[1].prompt, u"無題 の連絡先アイテムに郵送先の住所がチェックされていません。");
  EXPECT_TRUE(w_.ui().Dialogs().empty());
}

TEST_F(ClickFlowTest, NoWordAtAllIsRefusedWithItsMessage) {
  w_.ExplorerSelecting({w_.AddYamada()});
  w_.ui().QueueDialog({DialogAction::Ok()});
  w_.Click();
  ExpectOneRefusal(u"Microsoft Word2000 が起動できません。");
}

TEST_F(ClickFlowTest, DialogCancelStopsWithoutMessageOrWord) {
  w_.ExplorerSelecting({w_.AddYamada()});
  w_.WordStartable();
  w_.ui().QueueDialog({DialogAction::Cancel()});
  const int activations = w_.outlookFaults.Of(w_.explorer).Calls(u"Activate");
  w_.Click();
  EXPECT_TRUE(w_.boxes().empty());
  EXPECT_EQ(w_.runtime.Created(inmemory::kWordClass), 0);
  EXPECT_EQ(w_.outlookFaults.Of(w_.explorer).Calls(u"Activate"), activations + 2);
}

TEST_F(ClickFlowTest, FileNewRejectsNonTemplatesUntilCancelledAndQuitsAStartedWord) {
  w_.ExplorerSelecting({w_.AddYamada()});
  w_.WordStartable();
  w_.ui().QueueDialog({DialogAction::Ok()});
  w_.word->QueueFileNew(u"C:\\Docs\\letter.doc");
  w_.word->QueueFileNew(u"C:\\Docs\\letter.dotx.bak");
  // then the user cancels
  w_.Click();
  ASSERT_EQ(w_.boxes().size(), 2u);
  for (const auto& box : w_.boxes()) {
    EXPECT_EQ(box.prompt, u"選択されたファイルは、テンプレート(*.DOT)ではありません。");
    EXPECT_EQ(box.style, 48);
  }
  EXPECT_EQ(w_.word->FileNewDisplays(), 3);
  EXPECT_TRUE(w_.word->CreatedDocuments().empty());
  EXPECT_TRUE(w_.word->HasQuit());
  EXPECT_EQ(w_.word->QuitSaveChanges(), 0);
}

TEST_F(ClickFlowTest, TemplateNamesInAnyCaseAndTheModernSuffixesAreAccepted) {
  for (std::u16string name :
       {u"C:\\T\\A.DOT", u"C:\\T\\b.Dot", u"C:\\T\\c.dotx", u"C:\\T\\d.DOTM"}) {
    auto occasion = std::make_shared<clsOccation>();
    w_.word->QueueFileNew(name, 1);
    NewDocGetName(w_.word, *occasion);
    EXPECT_EQ(occasion->TemplateName(), name);
    EXPECT_EQ(occasion->NewTemplate(), kTrue);  // Word's 1 becomes the flag True
    EXPECT_NE(occasion->Msg()->Cancel(), kTrue);
  }
  EXPECT_TRUE(w_.boxes().empty());
}

TEST_F(ClickFlowTest, CancelAfterARejectedNameLeavesTheTemplateNameEmpty) {
  auto occasion = std::make_shared<clsOccation>();
  w_.word->QueueFileNew(u"C:\\Docs\\memo.docx");
  NewDocGetName(w_.word, *occasion);
  EXPECT_EQ(occasion->Msg()->Cancel(), kTrue);
  EXPECT_EQ(occasion->TemplateName(), u"");
  EXPECT_EQ(w_.boxes().size(), 1u);
}

TEST_F(ClickFlowTest, TemplateThatCannotBeOpenedQuitsOnlyAWordStartedForTheClick) {
  for (const bool started : {true, false}) {
    OfficeWorld w;
    w.ExplorerSelecting({w.AddYamada()});
    started ? w.WordStartable() : w.WordRunning();
    w.word->AddUnreadableTemplate(kLetterTemplate);
    w.word->QueueFileNew(kLetterTemplate);
    w.ui().QueueDialog({DialogAction::Ok()});
    w.Click();
    ASSERT_EQ(w.boxes().size(), 1u);
    EXPECT_EQ(w.boxes()[0].prompt, u"指定されたテンプレートが開けません。");
    EXPECT_EQ(w.word->HasQuit(), started);
  }
}

TEST_F(ClickFlowTest, RefusedWritingClosesTheNewDocumentOnlyOnTheNewDocumentRoute) {
  for (const int32_t outputMode : {0, 1, 2}) {
    OfficeWorld w;
    w.ExplorerSelecting({w.AddYamada()});
    w.WordRunning();
    w.word->AddTemplate(kLetterTemplate, {});  // unmarked: the prefix question comes
    w.word->QueueFileNew(kLetterTemplate);
    w.word->AddFile(u"C:\\Letters\\letter.docx", {});
    w.word->QueueFileOpen(u"C:\\Letters\\letter.docx");
    if (outputMode == 2) w.word->Documents()->Open(u"C:\\Letters\\letter.docx");
    w.ui().QueueDialog({DialogAction::SelectOutput(outputMode), DialogAction::Ok()});
    w.ui().QueueMsgBoxAnswer(platform::kVbCancel);
    w.Click();
    ASSERT_EQ(w.boxes().size(), 1u);  // only the question; Cancel shows nothing more
    EXPECT_EQ(w.boxes()[0].style, 67);
    auto doc = w.word->CreatedDocuments().at(0);
    EXPECT_EQ(doc->IsClosed(), outputMode == 0);
    if (outputMode == 0) {
      EXPECT_EQ(doc->CloseSaveChanges(), 0);
    }
    EXPECT_FALSE(w.word->HasQuit());  // it was running before the click
  }
}

TEST_F(ClickFlowTest, UnexpectedFailuresShowOneReportNamingTheirProcedure) {
  const int32_t kAutomation = -2147352567;
  struct Case {
    const char* what;
    std::function<void(OfficeWorld&)> inject;
    std::u16string procedure;
  };
  const Case cases[] = {
      {"current item",
       [](OfficeWorld& w) {
         auto inspector = w.outlook->OpenInspector(w.host->Contacts()->Contents().at(0));
         w.outlookFaults.Of(inspector).FailOn(u"CurrentItem", kAutomation, u"読めません");
       },
       u"SelectItmCheck"},
      {"dialog show",
       [](OfficeWorld& w) { w.ui().faults().FailOn(u"ShowModal", kAutomation, u"読めません", 1); },
       u"ShowDialog"},
      {"word caption",
       [](OfficeWorld& w) { w.word->WordFaults().FailOn(u"Caption", kAutomation, u"読めません"); },
       u"OKButton_Click"},
      {"file new",
       [](OfficeWorld& w) { w.word->WordFaults().FailOn(u"Dialogs", kAutomation, u"読めません"); },
       u"NewDocGetName"},
      {"properties",
       [](OfficeWorld& w) {
         w.word->WordFaults().FailOn(u"CustomDocumentProperties", kAutomation, u"読めません");
       },
       u"WriteDocProp"},
      {"field refresh",
       [](OfficeWorld& w) { w.word->WordFaults().FailOn(u"Update", kAutomation, u"読めません"); },
       u"MainSendnote"},
      {"refusal box",
       [](OfficeWorld& w) {
         w.explorer->Select({});
         w.ui().faults().FailOn(u"MsgBox", kAutomation, u"読めません", 1);
       },
       u"cbbAddin_Click"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    OfficeWorld w;
    auto contact = w.AddYamada();
    w.ExplorerSelecting({contact});
    w.WordRunning();
    inmemory::WordContent content;
    content.bodyFields = {{u" DOCPROPERTY \"OUTLOOK$姓\" ", u""}};
    w.MarkedTemplate(kLetterTemplate, content);
    w.word->QueueFileNew(kLetterTemplate);
    w.ui().QueueDialog({DialogAction::Ok()});
    w.Connect();
    c.inject(w);
    w.Click();
    const auto& boxes = w.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style, 16);
    EXPECT_EQ(boxes[0].prompt, ErrorReportText(c.procedure, kAutomation, u"読めません"));
    EXPECT_NE(boxes[0].prompt.find(u"エラー番号 : -2147352567\rエラー内容 : 読めません"),
              std::u16string::npos);
  }
}

TEST_F(ClickFlowTest, FailureInTheRefreshLeavesTheDocumentAndAStartedWord) {
  ReadyToComplete();
  w_.runtime.SetRunning(inmemory::kWordClass, nullptr);
  w_.WordStartable();
  w_.word->WordFaults().FailOn(u"Shapes", 4605, u"no shapes");
  w_.Click();
  ExpectOneReport(u"MainSendnote", 4605, u"no shapes");
  ASSERT_EQ(w_.word->OpenDocuments().size(), 1u);
  EXPECT_FALSE(w_.word->HasQuit());
}

TEST_F(ClickFlowTest, AShapeWhoseFrameCannotBeReadIsSkippedNotFatal) {
  ReadyToComplete();
  w_.word->WordFaults().FailOn(u"TextFrame", 4605, u"no frame");
  w_.Click();
  EXPECT_TRUE(w_.boxes().empty());
  ASSERT_EQ(w_.word->OpenDocuments().size(), 1u);
  // The main text's fields are refreshed all the same.
  const auto content = w_.word->OpenDocuments()[0]->Snapshot();
  ASSERT_FALSE(content.bodyFields.empty());
  EXPECT_NE(content.bodyFields[0].result, u"(宛先)");
  EXPECT_EQ(content.shapes[0].fields[0].result, u"(〒)");  // left as the template had it
}

TEST_F(ClickFlowTest, PicturesAmongTheShapesAreSkippedByRenamingAndRefresh) {
  w_.ExplorerSelecting({w_.AddYamada()});
  w_.WordRunning();
  inmemory::WordContent content;
  const inmemory::WordShapeContent picture = inmemory::PictureContent();
  content.shapes = {picture, inmemory::TextBoxContent({{u" DOCPROPERTY \"OUTLOOK$姓\" ", u"?"}}),
                    picture};
  w_.word->AddTemplate(kLetterTemplate, content);  // unmarked: renamed to the typed prefix
  w_.word->QueueFileNew(kLetterTemplate);
  w_.ui().QueueDialog({DialogAction::Ok()});
  w_.ui().QueueMsgBoxAnswer(platform::kVbNo);
  w_.ui().QueueInput(u"ABC$");
  w_.Click();
  EXPECT_EQ(w_.boxes().size(), 1u);  // the prefix question only
  const auto shapes = w_.word->OpenDocuments().at(0)->Snapshot().shapes;
  EXPECT_EQ(shapes[1].fields[0].code, u" DOCPROPERTY \"ABC$姓\" ");
  EXPECT_EQ(shapes[1].fields[0].result, u"山田");
}

TEST_F(ClickFlowTest, AReportThatCannotBeShownDoesNotEscapeIntoTheHost) {
  w_.ExplorerSelecting({});
  w_.Connect();
  w_.ui().faults().FailOn(u"MsgBox", -2147467259, u"no desktop");
  EXPECT_EQ(w_.Click(), 1);  // the refusal box fails, then its report fails: both dropped
  EXPECT_EQ(w_.ui().faults().Calls(u"MsgBox"), 2);
}

TEST(ErrorReportTest, TextHasThreeLinesSeparatedByLoneCarriageReturns) {
  EXPECT_EQ(ErrorReportText(u"WriteDocProp", 13, u"Type mismatch"),
            u"添書票COMアドイン内部(WriteDocProp)で予期しないエラーが発生しました。\r"
            u"エラー番号 : 13\rエラー内容 : Type mismatch");
  EXPECT_EQ(ErrorReportText(u"X", -2147417848, u""),
            u"添書票COMアドイン内部(X)で予期しないエラーが発生しました。\r"
            u"エラー番号 : -2147417848\rエラー内容 : ");
}

TEST(ErrorReportTest, NumberZeroShowsNothing) {
  inmemory::InMemoryRuntime runtime;
  platform::ScopedRuntime scope(runtime);
  ReportError(u"MainSendnote", platform::ComError(0, u"none"));
  EXPECT_TRUE(runtime.Scripted().MsgBoxes().empty());
}

TEST(WordAccessTest, AttachesStartsOrGivesUpAsWordAllows) {
  inmemory::InMemoryRuntime runtime;
  platform::ScopedRuntime scope(runtime);
  auto word = inmemory::WordApp::Create();

  platform::Flag started = kTrue;  // attaching resets it
  runtime.SetRunning(inmemory::kWordClass, word);
  EXPECT_EQ(GetWordApp(started), word);
  EXPECT_EQ(started, platform::kFalse);

  runtime.SetRunning(inmemory::kWordClass, nullptr);
  started = platform::kFalse;
  EXPECT_EQ(GetWordApp(started), nullptr);  // not installed: 429, then creation fails
  EXPECT_EQ(started, platform::kFalse);

  runtime.SetFactory(inmemory::kWordClass, [word] { return word; });
  EXPECT_EQ(GetWordApp(started), word);
  EXPECT_EQ(started, kTrue);
  EXPECT_FALSE(word->IsVisible());  // the command shows it, not the lookup

  // Word busy: another error than 429 gives no Word and starts none.
  runtime.faults().FailOn(u"GetObject", -2147418111, u"busy");
  started = platform::kFalse;
  EXPECT_EQ(GetWordApp(started), nullptr);
  EXPECT_EQ(runtime.Created(inmemory::kWordClass), 1);
}

TEST(WordAccessTest, IsObjAliveFollowsTheObjectsLife) {
  auto word = inmemory::WordApp::Create();
  word->AddTemplate(u"t.dot", {});
  auto doc = word->Documents()->Add(u"t.dot", platform::kFalse, 0, kTrue);
  EXPECT_EQ(IsObjAlive(doc), kTrue);
  EXPECT_EQ(IsObjAlive(nullptr), platform::kFalse);
  doc->Close(0);
  EXPECT_EQ(IsObjAlive(doc), platform::kFalse);
  EXPECT_EQ(IsObjAlive(word), kTrue);
  word->Quit(0);
  EXPECT_EQ(IsObjAlive(word), platform::kFalse);
}

TEST(PathJoinTest, InsertsExactlyOneBackslash) {
  EXPECT_EQ(PathJoin(u"C:\\Addins", u"sendnote.chm"), u"C:\\Addins\\sendnote.chm");
  EXPECT_EQ(PathJoin(u"D:\\", u"sendnote.chm"), u"D:\\sendnote.chm");
  EXPECT_EQ(PathJoin(u"", u"a"), u"\\a");
  EXPECT_EQ(PathJoin(u"C:/x", u"\\a"), u"C:/x\\\\a");
}

}  // namespace
}  // namespace sendnote
