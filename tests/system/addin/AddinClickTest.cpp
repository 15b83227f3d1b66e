// Clicks on the add-in's buttons after a connection: every window's button reaches the one
// click handler once, a click runs the letter command end to end, and the output dialog's
// help and version buttons work within a click.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "inmemory/ScriptedUi.h"
#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "platform/Utf.h"
#include "tests/support/AddinHostFixture.h"
#include "tests/support/VersionText.h"

namespace sendnote {
namespace {

using namespace testing;
using inmemory::DialogAction;
using platform::ContactField;

constexpr char16_t kTemplate[] = u"C:\\Templates\\添書票.dot";

class AddinClickTest : public AddinHostTest {
 protected:
  // The user clicks the add-in's button in `window`, which is the active one.
  int ClickIn(const std::shared_ptr<platform::OutlookWindow>& window,
              const std::shared_ptr<hostmodel::CommandBarSet>& bars) {
    app->SetActiveWindow(window);
    auto buttons = bars->ControlsWithTag(ButtonTag);
    if (buttons.size() != 1) ADD_FAILURE() << "buttons in the window: " << buttons.size();
    return buttons.empty() ? 0 : app->ClickButton(buttons[0]);
  }
  // Word runs, with a template marked for the default prefix that shows the company.
  std::shared_ptr<inmemory::WordApp> WordWithTemplate() {
    auto word = inmemory::WordApp::Create();
    inmemory::WordContent content;
    content.bodyFields.push_back({u" DOCPROPERTY \"OUTLOOK$会社名\" ", u"(会社名)", false});
    auto property = [](std::u16string name, int32_t type, platform::Variant value) {
      inmemory::WordPropertyContent p;
      p.name = std::move(name);
      p.type = type;
      p.value = std::move(value);
      return p;
    };
    content.properties = {
        property(u"SENDNOTE$PROPERTY", platform::kPropertyBoolean, platform::Variant::Bool(-1)),
        property(u"SENDNOTE$PREFIX", platform::kPropertyString,
                 platform::Variant::String(u"OUTLOOK$"))};
    word->AddTemplate(kTemplate, content);
    runtime.SetRunning(inmemory::kWordClass, word);
    return word;
  }
  std::shared_ptr<hostmodel::OutlookContact> Yamada(
      platform::MailingAddress mailing = platform::MailingAddress::kBusiness) {
    return host->Contacts()->AddContact({{{ContactField::kSubject, u"山田 太郎"},
                                          {ContactField::kLastName, u"山田"},
                                          {ContactField::kCompanyName, u"株式会社山田商事"}},
                                         mailing});
  }
};

TEST_F(AddinClickTest, EveryWindowsButtonRunsTheHandlerOnce) {
  auto noAddress = Yamada(platform::MailingAddress::kNone);
  auto first = app->OpenExplorer(host->Contacts());
  auto second = app->OpenExplorer(host->Inbox());
  auto contact = app->OpenInspector(noAddress);
  Connect();

  EXPECT_EQ(ClickIn(first, first->Bars()), 1);
  EXPECT_EQ(ClickIn(second, second->Bars()), 1);
  EXPECT_EQ(ClickIn(contact, contact->Bars()), 1);
  EXPECT_EQ(Prompts(),
            (std::vector<std::u16string>{
                u"連絡先アイテムが選択されていません。", u"連絡先アイテムが選択されていません。",
                u"山田 太郎 の連絡先アイテムに郵送先の住所がチェックされていません。"}));
}

TEST_F(AddinClickTest, AClickFromAContactWindowWritesTheContactIntoANewDocument) {
  auto word = WordWithTemplate();
  word->QueueFileNew(kTemplate);
  runtime.Scripted().QueueDialog({DialogAction::Ok()});
  app->OpenExplorer(host->Contacts());
  auto contact = app->OpenInspector(Yamada());
  Connect();
  const auto choices = addin->StaticData();

  EXPECT_EQ(ClickIn(contact, contact->Bars()), 1);
  EXPECT_TRUE(Prompts().empty());
  ASSERT_EQ(word->OpenDocuments().size(), 1u);
  const auto content = word->OpenDocuments()[0]->Snapshot();
  EXPECT_EQ(content.bodyFields[0].result, u"株式会社山田商事");
  EXPECT_TRUE(word->IsVisible());
  EXPECT_EQ(addin->StaticData(), choices);
}

TEST_F(AddinClickTest, AClickWhileAClickRunsMakesNoSecondLetterAndNoSecondDialog) {
  auto word = WordWithTemplate();
  word->QueueFileNew(kTemplate);
  word->QueueFileNew(kTemplate);
  auto explorer = app->OpenExplorer(host->Contacts());
  explorer->Select({Yamada()});
  Connect();
  std::vector<ClickOutcome::Kind> outcomes;
  addin->SetClickListener([&](const ClickOutcome& outcome) { outcomes.push_back(outcome.kind); });
  // The user clicks the menu button and the ribbon's while the output dialog is open.
  auto& ui = runtime.Scripted();
  ui.QueueDialog({DialogAction::Run([&](platform::TemplateDialogForm&) {
                    ClickIn(explorer, explorer->Bars());
                    addin->Ribbon_OnAction(explorer);
                  }),
                  DialogAction::Ok()});

  EXPECT_EQ(ClickIn(explorer, explorer->Bars()), 1);
  EXPECT_EQ(ui.Dialogs().size(), 1u);
  EXPECT_EQ(word->OpenDocuments().size(), 1u);
  EXPECT_TRUE(Prompts().empty());
  EXPECT_EQ(outcomes, (std::vector<ClickOutcome::Kind>{ClickOutcome::Kind::kStopped,
                                                       ClickOutcome::Kind::kStopped,
                                                       ClickOutcome::Kind::kCompleted}));
  // Once it is over, the next click runs again.
  ui.QueueDialog({DialogAction::Ok()});
  EXPECT_EQ(ClickIn(explorer, explorer->Bars()), 1);
  EXPECT_EQ(word->OpenDocuments().size(), 2u);
}

TEST_F(AddinClickTest, HelpAndVersionWithinAClickKeepTheDialogAndItsSelections) {
  runtime.SetLibraryFolder(u"C:\\Addins\\sendnote");
  auto explorer = app->OpenExplorer(host->Contacts());
  explorer->Select({Yamada()});
  Connect();
  auto& ui = runtime.Scripted();
  ui.QueueAbout({inmemory::AboutAction::kOk});
  ui.QueueDialog({DialogAction::SelectOutput(1), DialogAction::PickAddress(2),
                  DialogAction::Version(), DialogAction::Help(), DialogAction::Cancel()});

  EXPECT_EQ(ClickIn(explorer, explorer->Bars()), 1);
  ASSERT_EQ(ui.AboutBoxes().size(), 1u);
  EXPECT_EQ(ui.AboutBoxes()[0].atLoad.version, test_support::VersionBoxLine());
  EXPECT_EQ(ui.HelpRequests(), std::vector<std::u16string>{u"C:\\Addins\\sendnote\\sendnote.chm"});
  // The one box is the missing help; the cancelled dialog adds no message of its own.
  ASSERT_EQ(ui.MsgBoxes().size(), 1u);
  EXPECT_EQ(ui.MsgBoxes()[0].prompt, u"ヘルプが見つかりません。");
  EXPECT_EQ(ui.MsgBoxes()[0].style, platform::kVbExclamation);
  ASSERT_EQ(ui.Dialogs().size(), 1u);
  EXPECT_EQ(ui.Dialogs()[0].actionsPlayed, 5);
  EXPECT_EQ(ui.Dialogs()[0].atClose.SelectedOutput(), 1);
  EXPECT_EQ(ui.Dialogs()[0].atClose.cboAddressListIndex, 2);
  EXPECT_EQ(ui.OpenForms(), 0);
}

// Exceptions other than the error type (out of memory, a library's length check, anything
// at all) end the click in one report; the host goes on and the next click works.
TEST_F(AddinClickTest, AnyExceptionEscapingAClickIsReportedOnceAndTheHostGoesOn) {
  const struct {
    std::exception_ptr failure;
    std::u16string_view expected;
  } cases[] = {
      {std::make_exception_ptr(std::bad_alloc()), u"エラー番号 : 7\rエラー内容 : Out of memory"},
      {std::make_exception_ptr(std::length_error("basic_string::_M_create")),
       u"エラー番号 : 51\rエラー内容 : basic_string::_M_create"},
      {std::make_exception_ptr(42), u"エラー番号 : 51\rエラー内容 : Internal error"},
  };
  auto explorer = app->OpenExplorer(host->Contacts());
  Connect();
  const auto& boxes = runtime.Scripted().MsgBoxes();
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.expected));
    const size_t before = boxes.size();
    faults.Of(app).ThrowOn(u"ActiveWindow", c.failure, 1);
    EXPECT_EQ(ClickIn(explorer, explorer->Bars()), 1);
    ASSERT_EQ(boxes.size(), before + 1);
    EXPECT_EQ(boxes.back().style, platform::kVbCritical);
    EXPECT_NE(boxes.back().prompt.find(u"内部(cbbAddin_Click)"), std::u16string::npos);
    EXPECT_NE(boxes.back().prompt.find(c.expected), std::u16string::npos);

    EXPECT_EQ(ClickIn(explorer, explorer->Bars()), 1);
    ASSERT_EQ(boxes.size(), before + 2);
    EXPECT_EQ(boxes.back().prompt, u"連絡先アイテムが選択されていません。");
  }
}

// A failure that every procedure on the way out meets again (Outlook's window, gone for
// good) is reported by the first one only; the click's tidy-up shows nothing more.
TEST_F(AddinClickTest, AFailureMetAgainOnTheWayOutIsReportedOnce) {
  auto explorer = app->OpenExplorer(host->Contacts());
  explorer->Select({Yamada()});
  Connect();
  faults.Of(app).FailOn(u"ActiveWindow", -2147467259, u"ウィンドウがありません");
  EXPECT_EQ(ClickIn(explorer, explorer->Bars()), 1);
  // SelectItmCheck, MainSendnote's failure ending and the click handler all meet it.
  EXPECT_GE(faults.Of(app).Calls(u"ActiveWindow"), 3);
  ExpectOneReportNaming(u"SelectItmCheck");
  EXPECT_NE(Prompts()[0].find(u"エラー番号 : -2147467259\rエラー内容 : ウィンドウがありません"),
            std::u16string::npos);
  // The next click is a unit of work of its own: its failure is reported again, once.
  EXPECT_EQ(ClickIn(explorer, explorer->Bars()), 1);
  ASSERT_EQ(Prompts().size(), 2u);
  EXPECT_NE(Prompts()[1].find(u"内部(SelectItmCheck)"), std::u16string::npos);
}

// The connection events end in the same barrier.
TEST_F(AddinClickTest, AnyExceptionEscapingAConnectionEventIsReportedOnce) {
  app->OpenExplorer(host->Contacts());
  faults.Of(app).ThrowOn(u"GetNamespace", std::make_exception_ptr(std::length_error("vector")), 1);
  Connect();
  ExpectOneReportNaming(u"IDTExtensibility2_OnConnection");
  EXPECT_NE(Prompts()[0].find(u"エラー内容 : vector"), std::u16string::npos);

  Connect();
  faults.Of(app).ThrowOn(u"Inspectors", std::make_exception_ptr(std::bad_alloc()), 1);
  addin->IDTExtensibility2_OnDisconnection(kUserClosed);
  const auto& boxes = runtime.Scripted().MsgBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[1].prompt.find(u"内部(IDTExtensibility2_OnDisconnection)"), std::u16string::npos);
  EXPECT_NE(boxes[1].prompt.find(u"エラー番号 : 7\r"), std::u16string::npos);
  EXPECT_EQ(addin->OutlookApp(), nullptr);
  EXPECT_EQ(addin->StaticData(), nullptr);
}

}  // namespace
}  // namespace sendnote
