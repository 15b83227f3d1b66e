// The in-memory Word's own behaviour: the scripted File New dialog, templates and
// Documents.Add arguments, Quit, fault injection and call counting.
#include <gtest/gtest.h>

#include <functional>

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

constexpr char16_t kLetter[] = u"C:\\Templates\\Letter.dot";

WordContent LetterContent() {
  WordContent content;
  WordFieldContent field;
  field.code = u" DOCPROPERTY \"OUTLOOK$会社名\" ";
  content.bodyFields.push_back(field);
  WordPropertyContent property;
  property.name = u"OUTLOOK$会社名";
  property.value = Variant::String(u"社");
  content.properties.push_back(property);
  return content;
}

using test_support::ErrorNumberOf;

class WordAppTest : public ::testing::Test {
 protected:
  void SetUp() override { word_->AddTemplate(kLetter, LetterContent()); }

  std::shared_ptr<platform::Document> Add(std::u16string_view name = kLetter) {
    return word_->Documents()->Add(name, kFalse, platform::kWdNewDocument, kTrue);
  }

  std::shared_ptr<WordApp> word_ = WordApp::Create();
};

TEST_F(WordAppTest, ANewWordIsInvisibleAndActivationsAreCounted) {
  EXPECT_FALSE(word_->IsVisible());
  EXPECT_EQ(word_->Visible(), kFalse);
  word_->SetVisible(kTrue);
  word_->Activate();
  word_->Activate();
  EXPECT_TRUE(word_->IsVisible());
  EXPECT_EQ(word_->ActivateCount(), 2);
  EXPECT_EQ(word_->Journal(),
            (std::vector<std::u16string>{u"Application.Visible", u"Application.Visible",
                                         u"Application.Activate", u"Application.Activate"}));
  EXPECT_EQ(word_->Caption(), u"Microsoft Word");
}

TEST_F(WordAppTest, FileNewDialogPlaysTheScriptedAnswersInOrder) {
  word_->QueueFileNew(u"C:\\Docs\\memo.doc");
  word_->QueueFileNew(FileNewAnswer{0, u"ignored.dot", Variant::Int32(1)});
  word_->QueueFileNew(kLetter, 1);
  auto dialog = word_->Dialogs()->Item(platform::kWdDialogFileNew);
  EXPECT_EQ(dialog->Template(), u"Normal");
  EXPECT_EQ(dialog->NewTemplate(), Variant::Int32(0));

  EXPECT_EQ(dialog->Display(), -1);
  EXPECT_EQ(dialog->Template(), u"C:\\Docs\\memo.doc");
  EXPECT_EQ(dialog->Display(), 0);  // cancelled: the settings stay
  EXPECT_EQ(dialog->Template(), u"C:\\Docs\\memo.doc");
  EXPECT_EQ(dialog->Display(), -1);
  EXPECT_EQ(dialog->Template(), kLetter);
  EXPECT_EQ(dialog->NewTemplate(), Variant::Int32(1));
  EXPECT_EQ(word_->PendingFileNewAnswers(), 0);
  EXPECT_EQ(dialog->Display(), 0);  // nothing scripted: the user cancels
  EXPECT_EQ(word_->FileNewDisplays(), 4);
}

TEST_F(WordAppTest, OnlyTheFileNewAndFileOpenDialogsExist) {
  EXPECT_EQ(ErrorNumberOf([&] { word_->Dialogs()->Item(78); }), platform::kErrWordNoSuchMember);
  EXPECT_EQ(ErrorNumberOf([&] { word_->Dialogs()->Item(81); }), platform::kErrWordNoSuchMember);
}

TEST_F(WordAppTest, AddRecordsItsArgumentsAndFindsTemplatesWhateverTheCase) {
  auto doc = word_->Documents()->Add(u"c:\\templates\\LETTER.DOT", kTrue, 0, kTrue);
  ASSERT_EQ(word_->CreatedDocuments().size(), 1u);
  const auto& created = word_->CreatedDocuments()[0];
  EXPECT_EQ(created, doc);
  EXPECT_EQ(created->Arguments().templateName, u"c:\\templates\\LETTER.DOT");
  EXPECT_EQ(created->Arguments().newTemplate, kTrue);
  EXPECT_EQ(created->Arguments().documentType, 0);
  EXPECT_EQ(created->Arguments().visible, kTrue);
  EXPECT_EQ(created->Snapshot(), LetterContent());
}

TEST_F(WordAppTest, AddRaisesWordsErrorsForMissingAndUnreadableTemplates) {
  word_->AddUnreadableTemplate(u"C:\\Templates\\Damaged.dot");
  try {
    Add(u"C:\\Templates\\Gone.dot");
    FAIL() << "Add of a missing template succeeded";
  } catch (const ComError& e) {
    EXPECT_EQ(e.Number(), platform::kErrWordFileNotFound);
    EXPECT_NE(e.Description().find(u"Gone.dot"), std::u16string::npos);
  }
  EXPECT_EQ(ErrorNumberOf([&] { Add(u"C:\\Templates\\Damaged.dot"); }),
            platform::kErrBadFileFormat);
  EXPECT_EQ(ErrorNumberOf([&] { word_->Documents()->Add(kLetter, kFalse, 9, kTrue); }),
            platform::kErrInvalidCall);
  word_->RemoveTemplate(kLetter);
  EXPECT_EQ(ErrorNumberOf([&] { Add(); }), platform::kErrWordFileNotFound);
  EXPECT_TRUE(word_->CreatedDocuments().empty());
  EXPECT_EQ(word_->Documents()->Count(), 0);
}

TEST_F(WordAppTest, AnEmptyTemplateNameGivesABlankDocument) {
  auto doc = Add(u"");
  EXPECT_EQ(doc->Fields()->Count(), 0);
  EXPECT_EQ(doc->CustomDocumentProperties()->Count(), 0);
}

TEST_F(WordAppTest, ClosedDocumentsLeaveTheCollectionButStayInspectable) {
  auto first = Add();
  auto second = Add();
  EXPECT_EQ(word_->Documents()->Item(2), second);
  EXPECT_EQ(ErrorNumberOf([&] { word_->Documents()->Item(3); }), platform::kErrWordNoSuchMember);

  first->CustomDocumentProperties()->Item(u"OUTLOOK$会社名")->SetValue(Variant::String(u"新"));
  first->Close(platform::kWdDoNotSaveChanges);

  auto closed = word_->CreatedDocuments()[0];
  EXPECT_TRUE(closed->IsClosed());
  EXPECT_EQ(closed->CloseSaveChanges(), platform::kWdDoNotSaveChanges);
  EXPECT_EQ(closed->Snapshot().properties[0].value, Variant::String(u"新"));
  EXPECT_EQ(word_->OpenDocuments(),
            std::vector<std::shared_ptr<WordDocument>>{word_->CreatedDocuments()[1]});
  EXPECT_EQ(word_->Documents()->Item(1), second);
  EXPECT_EQ(ErrorNumberOf([&] { first->Close(0); }), platform::kErrWordObjectDeleted);
  EXPECT_EQ(ErrorNumberOf([&] { first->Activate(); }), platform::kErrWordObjectDeleted);
}

TEST_F(WordAppTest, AfterQuitEveryObjectRaisesDisconnected) {
  auto doc = Add();
  auto props = doc->CustomDocumentProperties();
  auto field = doc->Fields()->Item(1);
  auto code = field->Code();
  auto dialog = word_->Dialogs()->Item(platform::kWdDialogFileNew);
  word_->SetVisible(kTrue);

  word_->Quit(platform::kWdDoNotSaveChanges);

  EXPECT_TRUE(word_->HasQuit());
  EXPECT_EQ(word_->QuitSaveChanges(), platform::kWdDoNotSaveChanges);
  EXPECT_FALSE(word_->IsVisible());
  EXPECT_TRUE(word_->CreatedDocuments()[0]->IsClosed());
  EXPECT_TRUE(word_->OpenDocuments().empty());
  for (auto call : std::vector<std::function<void()>>{
           [&] { word_->Application(); }, [&] { word_->Quit(0); }, [&] { word_->Documents(); },
           [&] { doc->Application(); }, [&] { props->Count(); }, [&] { field->Update(); },
           [&] { code->Text(); }, [&] { dialog->Display(); }}) {
    EXPECT_EQ(ErrorNumberOf(call), platform::kErrServerGone);
  }
}

TEST_F(WordAppTest, ObjectsOfADroppedWordRaiseDisconnected) {
  auto doc = Add();
  word_.reset();
  EXPECT_EQ(ErrorNumberOf([&] { doc->Application(); }), platform::kErrServerGone);
  EXPECT_EQ(ErrorNumberOf([&] { doc->Fields(); }), platform::kErrServerGone);
}

TEST_F(WordAppTest, AFaultArmedOnOneObjectHitsOnlyThatObject) {
  WordContent content;
  for (auto code : {u" DATE ", u" PAGE "}) {
    WordFieldContent field;
    field.code = code;
    content.bodyFields.push_back(field);
  }
  word_->AddTemplate(u"two.dot", content);
  auto fields = Add(u"two.dot")->Fields();
  auto first = fields->Item(1);
  auto second = fields->Item(2);
  FaultsOf(second).FailOn(u"Update", 4198, u"Command failed", 1);

  EXPECT_EQ(first->Update(), kTrue);
  try {
    second->Update();
    FAIL() << "armed Update did not raise";
  } catch (const ComError& e) {
    EXPECT_EQ(e.Number(), 4198);
    EXPECT_EQ(e.Description(), u"Command failed");
  }
  EXPECT_EQ(second->Update(), kTrue);  // armed once only
  EXPECT_EQ(FaultsOf(second).Calls(u"Update"), 2);
  EXPECT_EQ(FaultsOf(first).Calls(u"Update"), 1);
  EXPECT_EQ(word_->WordFaults().Calls(u"Update"), 3);
}

TEST_F(WordAppTest, AWordWideFaultHitsTheMemberOnEveryObject) {
  auto doc = Add();
  word_->WordFaults().FailOn(u"Add", platform::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] { Add(); }), platform::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] {
              doc->CustomDocumentProperties()->Add(u"x", kFalse, platform::kPropertyString,
                                                   Variant::String(u"v"));
            }),
            platform::kErrInvalidCall);
  EXPECT_EQ(word_->CreatedDocuments().size(), 1u);
  EXPECT_EQ(doc->CustomDocumentProperties()->Count(), 1);
  word_->WordFaults().Clear(u"Add");
  EXPECT_NO_THROW(Add());
}

TEST_F(WordAppTest, TheJournalRecordsCallsAcrossObjectsInOrder) {
  auto doc = Add();
  word_->ClearJournal();
  platform::As<platform::WordApplication>(doc->Application())->SetVisible(kTrue);
  word_->Activate();
  doc->Activate();
  EXPECT_EQ(word_->Journal(),
            (std::vector<std::u16string>{u"Document.Application", u"Application.Visible",
                                         u"Application.Activate", u"Document.Activate"}));
  EXPECT_EQ(word_->CreatedDocuments()[0]->ActivateCount(), 1);
}

}  // namespace
}  // namespace sendnote::inmemory
