// The dialog's other two outputs end to end on the in-memory Office: a document file the
// user opens through Word's File Open dialog, and a document already open in Word.
#include <gtest/gtest.h>

#include "system/common/ReportError.h"
#include "system/letter/modSendnote.h"
#include "tests/support/OfficeWorld.h"

namespace sendnote {
namespace {

using inmemory::DialogAction;
using inmemory::ListAction;
using inmemory::WordContent;
using platform::Variant;
using testing::OfficeWorld;

constexpr char16_t kLastWeek[] = u"C:\\Letters\\先週の添書票.docx";
constexpr int32_t kOpenDocument = 1;
constexpr int32_t kOpenWindow = 2;

inmemory::WordPropertyContent Prop(std::u16string name, int32_t type, Variant value) {
  inmemory::WordPropertyContent p;
  p.name = std::move(name);
  p.type = type;
  p.value = std::move(value);
  return p;
}

// A letter written last week for another contact: marked, with the user's own property
// and a DATE field beside the contact's.
WordContent LastWeeksLetter() {
  WordContent c;
  c.bodyFields = {{u" DOCPROPERTY \"OUTLOOK$会社名\" ", u"佐藤物産"},
                  {u" DATE \\@ \"yyyy/MM/dd\" ", u"2026/12/01"},
                  {u" DOCPROPERTY \"OUTLOOK$姓\" ", u"佐藤"}};
  c.shapes = {
      inmemory::TextBoxContent({{u" DOCPROPERTY \"OUTLOOK$郵便番号上位\" ", u"987"}}, u"御中")};
  c.properties = {
      Prop(u"SENDNOTE$PROPERTY", platform::kPropertyBoolean, Variant::Bool(platform::kTrue)),
      Prop(u"SENDNOTE$PREFIX", platform::kPropertyString, Variant::String(u"OUTLOOK$")),
      Prop(u"OUTLOOK$会社名", platform::kPropertyString, Variant::String(u"佐藤物産")),
      Prop(u"OUTLOOK$姓", platform::kPropertyString, Variant::String(u"佐藤")),
      Prop(u"担当", platform::kPropertyString, Variant::String(u"総務 鈴木"))};
  return c;
}

Variant ValueOf(const WordContent& content, std::u16string_view name) {
  for (const auto& p : content.properties)
    if (p.name == name) return p.value;
  return {};
}

class OutputsTest : public ::testing::Test {
 protected:
  // A selected contact and the output dialog answered OK with output `output`.
  void Choose(int32_t output) {
    w_.ExplorerSelecting({w_.AddYamada()});
    w_.ui().QueueDialog({DialogAction::SelectOutput(output), DialogAction::Ok()});
  }
  // Opens files in the running Word as the user did before the click.
  std::shared_ptr<inmemory::WordDocument> OpenBeforeTheClick(std::u16string_view file,
                                                             WordContent content = {}) {
    w_.word->AddFile(file, std::move(content));
    w_.word->Documents()->Open(file);
    return w_.word->OpenDocuments().back();
  }
  void ExpectOneBox(std::u16string_view prompt) {
    ASSERT_EQ(w_.boxes().size(), 1u);
    EXPECT_EQ(w_.boxes()[0].prompt, prompt);
    EXPECT_EQ(w_.boxes()[0].style, platform::kVbExclamation);
  }
  void ExpectOneReport(std::u16string_view procedure) {
    ASSERT_EQ(w_.boxes().size(), 1u);
    EXPECT_EQ(w_.boxes()[0].prompt, ErrorReportText(procedure, kAutomation, u"読めません"));
  }

  static constexpr int32_t kAutomation = -2147352567;
  OfficeWorld w_;
};

// --- Output 1: a document file through Word's File Open dialog ---

TEST_F(OutputsTest, OpenedMarkedLetterTakesTheNewContactWithoutTheQuestion) {
  Choose(kOpenDocument);
  w_.WordRunning();
  w_.word->AddFile(kLastWeek, LastWeeksLetter());
  w_.word->QueueFileOpen(kLastWeek);

  w_.Click();

  EXPECT_TRUE(w_.boxes().empty());  // no prefix question, no message
  ASSERT_EQ(w_.word->OpenDocuments().size(), 1u);
  auto doc = w_.word->OpenDocuments()[0];
  EXPECT_FALSE(doc->IsClosed());                                      // left open, unsaved
  EXPECT_EQ(w_.word->SavedFiles().at(kLastWeek), LastWeeksLetter());  // the file: unsaved
  const WordContent after = doc->Snapshot();
  EXPECT_EQ(ValueOf(after, u"OUTLOOK$会社名"), Variant::String(u"株式会社山田商事"));
  EXPECT_EQ(ValueOf(after, u"OUTLOOK$姓"), Variant::String(u"山田"));
  EXPECT_EQ(ValueOf(after, u"SENDNOTE$PREFIX"), Variant::String(u"OUTLOOK$"));
  EXPECT_EQ(ValueOf(after, u"担当"), Variant::String(u"総務 鈴木"));
  EXPECT_EQ(after.bodyFields[0].result, u"株式会社山田商事");
  EXPECT_EQ(after.bodyFields[1].result, u"2026/12/01");
  EXPECT_EQ(after.bodyFields[2].result, u"山田");
  EXPECT_EQ(after.shapes[0].text, u"御中");
  EXPECT_EQ(after.shapes[0].fields[0].result, u"123");
  EXPECT_EQ(w_.word->FileNewDisplays(), 0);
}

TEST_F(OutputsTest, OpenedUnmarkedDocumentAsksForThePrefixAndIsWrittenAsANewOne) {
  Choose(kOpenDocument);
  w_.WordRunning();
  WordContent plain;
  plain.bodyFields = {{u" DOCPROPERTY \"OUTLOOK$会社名\" ", u"(会社)"}};
  w_.word->AddFile(kLastWeek, plain);
  w_.word->QueueFileOpen(kLastWeek);
  w_.ui().QueueMsgBoxAnswer(platform::kVbYes);

  w_.Click();

  ASSERT_EQ(w_.boxes().size(), 1u);
  EXPECT_EQ(w_.boxes()[0].style, platform::kVbYesNoCancel + platform::kVbInformation);
  const WordContent after = w_.word->OpenDocuments().at(0)->Snapshot();
  EXPECT_EQ(ValueOf(after, u"SENDNOTE$PROPERTY"), Variant::Bool(platform::kTrue));
  EXPECT_EQ(after.bodyFields[0].result, u"株式会社山田商事");
}

TEST_F(OutputsTest, CancelInFileOpenStopsSilentlyAndQuitsAWordStartedForTheClick) {
  Choose(kOpenDocument);
  w_.WordStartable();
  w_.word->QueueFileOpen(u"");

  w_.Click();

  EXPECT_TRUE(w_.boxes().empty());
  EXPECT_EQ(w_.word->FileOpenDisplays(), 1);
  EXPECT_TRUE(w_.word->CreatedDocuments().empty());
  EXPECT_TRUE(w_.word->HasQuit());
}

TEST_F(OutputsTest, AFileWordCannotOpenGivesOneBoxWithWordsReason) {
  struct Case {
    const char* what;
    bool unreadable;
    std::u16string reason;
  };
  const Case cases[] = {
      {"damaged", true, u"Word was unable to read this document. It may be corrupt."},
      {"missing", false, u"This file could not be found.\r(C:\\Letters\\先週の添書票.docx)"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    OfficeWorld w;
    w.ExplorerSelecting({w.AddYamada()});
    w.ui().QueueDialog({DialogAction::SelectOutput(kOpenDocument), DialogAction::Ok()});
    w.WordRunning();
    if (c.unreadable) w.word->AddUnreadableFile(kLastWeek);
    w.word->QueueFileOpen(kLastWeek);
    w.Click();
    ASSERT_EQ(w.boxes().size(), 1u);
    EXPECT_EQ(w.boxes()[0].prompt, std::u16string(kMsgDocumentNotOpened) + u"\r" + c.reason);
    EXPECT_EQ(w.boxes()[0].style, platform::kVbExclamation);
    EXPECT_TRUE(w.word->OpenDocuments().empty());
    EXPECT_FALSE(w.word->HasQuit());  // it ran before the click
  }
}

TEST_F(OutputsTest, UnexpectedFailureInFileOpenIsReportedUnderItsProcedure) {
  Choose(kOpenDocument);
  w_.WordRunning();
  w_.word->WordFaults().FailOn(u"Display", kAutomation, u"読めません");
  w_.Click();
  ExpectOneReport(u"OpenDocGetName");
}

// --- Output 2: a document open in Word ---

TEST_F(OutputsTest, NoOpenDocumentGivesOneBoxAndNoWordIsStarted) {
  for (const bool running : {false, true}) {
    SCOPED_TRACE(running ? "Word running without documents" : "no Word");
    OfficeWorld w;
    w.ExplorerSelecting({w.AddYamada()});
    w.ui().QueueDialog({DialogAction::SelectOutput(kOpenWindow), DialogAction::Ok()});
    if (running) w.WordRunning();
    w.WordStartable();
    w.Click();
    ASSERT_EQ(w.boxes().size(), 1u);
    EXPECT_EQ(w.boxes()[0].prompt, u"開いている文書がありません。");
    EXPECT_EQ(w.runtime.Created(inmemory::kWordClass), 0);
    EXPECT_TRUE(w.ui().DocumentLists().empty());
  }
}

TEST_F(OutputsTest, TheOnlyOpenDocumentIsWrittenWithoutAList) {
  Choose(kOpenWindow);
  w_.WordRunning();
  auto doc = OpenBeforeTheClick(kLastWeek, LastWeeksLetter());
  w_.Click();
  EXPECT_TRUE(w_.boxes().empty());
  EXPECT_TRUE(w_.ui().DocumentLists().empty());
  EXPECT_EQ(ValueOf(doc->Snapshot(), u"OUTLOOK$会社名"), Variant::String(u"株式会社山田商事"));
  EXPECT_TRUE(w_.word->IsVisible());
}

TEST_F(OutputsTest, OfSeveralOpenDocumentsTheListOffersThemWithTheActiveOneChosen) {
  Choose(kOpenWindow);
  w_.WordRunning();
  auto first = OpenBeforeTheClick(u"C:\\Letters\\一.docx", LastWeeksLetter());
  auto second = OpenBeforeTheClick(u"C:\\Letters\\二.docx", LastWeeksLetter());
  auto third = OpenBeforeTheClick(u"C:\\Letters\\三.docx", LastWeeksLetter());
  second->Activate();
  w_.ui().QueueDocumentList({ListAction::Pick(2), ListAction::Ok()});

  w_.Click();

  EXPECT_TRUE(w_.boxes().empty());
  ASSERT_EQ(w_.ui().DocumentLists().size(), 1u);
  const auto& shown = w_.ui().DocumentLists()[0].atLoad;
  EXPECT_EQ(shown.caption, u"添書票COMアドイン");
  EXPECT_EQ(shown.lstDocuments, (std::vector<std::u16string>{u"一.docx", u"二.docx", u"三.docx"}));
  EXPECT_EQ(shown.lstDocumentsListIndex, 1);
  EXPECT_EQ(shown.okCaption, u"OK");
  EXPECT_EQ(shown.cancelCaption, u"キャンセル");
  EXPECT_EQ(ValueOf(third->Snapshot(), u"OUTLOOK$会社名"), Variant::String(u"株式会社山田商事"));
  EXPECT_EQ(ValueOf(first->Snapshot(), u"OUTLOOK$会社名"), Variant::String(u"佐藤物産"));
  EXPECT_EQ(ValueOf(second->Snapshot(), u"OUTLOOK$会社名"), Variant::String(u"佐藤物産"));
}

TEST_F(OutputsTest, CancelOrTheCloseBoxInTheListWritesNothingAndClosesNothing) {
  for (const auto action : {ListAction::Cancel(), ListAction::CloseBox()}) {
    OfficeWorld w;
    w.ExplorerSelecting({w.AddYamada()});
    w.ui().QueueDialog({DialogAction::SelectOutput(kOpenWindow), DialogAction::Ok()});
    w.WordRunning();
    for (const auto* name : {u"C:\\一.docx", u"C:\\二.docx"}) {
      w.word->AddFile(name, LastWeeksLetter());
      w.word->Documents()->Open(name);
    }
    w.ui().QueueDocumentList({action});
    w.Click();
    EXPECT_TRUE(w.boxes().empty());
    ASSERT_EQ(w.word->OpenDocuments().size(), 2u);
    for (const auto& doc : w.word->OpenDocuments()) {
      EXPECT_EQ(ValueOf(doc->Snapshot(), u"OUTLOOK$会社名"), Variant::String(u"佐藤物産"));
    }
  }
}

TEST_F(OutputsTest, UnexpectedFailureAmongTheOpenDocumentsIsReportedUnderItsProcedure) {
  Choose(kOpenWindow);
  w_.WordRunning();
  OpenBeforeTheClick(u"C:\\一.docx");
  OpenBeforeTheClick(u"C:\\二.docx");
  w_.word->WordFaults().FailOn(u"ActiveDocument", kAutomation, u"読めません");
  w_.Click();
  ExpectOneReport(u"WindowGetName");
}

}  // namespace
}  // namespace sendnote
