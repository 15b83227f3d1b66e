// The add-in's connection to the host and its disconnection: which windows get the button,
// the borrowed windows, what a removal by the user and a host shutdown leave behind, and
// failures on the way.
#include <gtest/gtest.h>

#include "inmemory/WordApp.h"
#include "tests/support/AddinHostFixture.h"

namespace sendnote {
namespace {

using namespace testing;

using ConnectionTest = AddinHostTest;

TEST_F(ConnectionTest, StartupInstallsWhileShowingContactsThenGoesBackToTheUsersFolder) {
  auto inbox = app->OpenExplorer(host->Inbox());
  Connect(kStartup);

  EXPECT_EQ(inbox->FolderHistory(),
            (std::vector<std::shared_ptr<platform::MAPIFolder>>{host->Contacts(), host->Inbox()}));
  EXPECT_EQ(inbox->Folder(), host->Inbox());
  EXPECT_EQ(Tagged(inbox->Bars()), 1u);
  ASSERT_NE(addin->cbbAddin(), nullptr);
  EXPECT_EQ(addin->cbbAddin()->OnAction(), u"!<COMAddInSendnote.dsrOutlookToWord>");
  EXPECT_EQ(addin->OutlookApp(), app);
  ASSERT_NE(addin->StaticData(), nullptr);
  EXPECT_EQ(addin->StaticData()->OutputMode(), 0);
  EXPECT_EQ(addin->StaticData()->AddressKind(), 0);
  EXPECT_TRUE(Prompts().empty());
}

TEST_F(ConnectionTest, ConnectingLaterLeavesTheExplorersFolderAlone) {
  auto inbox = app->OpenExplorer(host->Inbox());
  Connect(kLater);
  EXPECT_TRUE(inbox->FolderHistory().empty());
  EXPECT_EQ(Tagged(inbox->Bars()), 1u);
}

TEST_F(ConnectionTest, WithoutAnyWindowAHiddenExplorerIsMadeUsedAndClosed) {
  AddContact(u"山田");
  Connect(kStartup);
  EXPECT_TRUE(app->ExplorerList().empty());
  EXPECT_EQ(app->ActiveWindow(), nullptr);
  EXPECT_EQ(Kept(kExplorerKind), 1u);
  EXPECT_EQ(Kept(kContactWindowKind), 1u);  // by way of a borrowed contact window
  // The user opens a window later: the button is there and its click reaches the add-in.
  auto later = app->OpenExplorer(host->Inbox());
  ASSERT_EQ(Tagged(later->Bars()), 1u);
  EXPECT_EQ(app->ClickButton(later->Bars()->ControlsWithTag(ButtonTag)[0]), 1);
  EXPECT_EQ(Prompts(), std::vector<std::u16string>{u"連絡先アイテムが選択されていません。"});
}

TEST_F(ConnectionTest, EveryExplorerGetsOneButtonAndAKeptOneIsRefreshedNotDoubled) {
  app->OpenExplorer(host->Inbox());
  Connect();
  Restart();
  auto first = app->OpenExplorer(host->Contacts());
  auto second = app->OpenExplorer(host->Inbox());
  Connect();
  EXPECT_EQ(Kept(kExplorerKind), 1u);
  EXPECT_EQ(Tagged(first->Bars()), 1u);
  EXPECT_EQ(Tagged(second->Bars()), 1u);
  EXPECT_TRUE(Prompts().empty());
}

TEST_F(ConnectionTest, ContactWindowsGetTheButtonAndMailWindowsDoNot) {
  auto contact = app->OpenInspector(AddContact(u"山田"));
  auto mail = app->OpenInspector(host->Inbox()->AddMail(u"ご案内"));
  Connect();
  EXPECT_EQ(Tagged(contact->Bars()), 1u);
  EXPECT_EQ(Tagged(mail->Bars()), 0u);
  EXPECT_EQ(Kept(u"Inspector:43"), 0u);
  EXPECT_TRUE(host->Contacts()->Created().empty());  // no window was borrowed
}

TEST_F(ConnectionTest, EmptyContactsGetOnePlaceholderWhichALaterRemovalReuses) {
  app->OpenExplorer(host->Inbox());
  Connect();
  ASSERT_EQ(host->Contacts()->Contents().size(), 1u);
  EXPECT_EQ(Kept(kContactWindowKind), 1u);

  addin->IDTExtensibility2_OnDisconnection(kUserClosed);
  EXPECT_EQ(host->Contacts()->Contents().size(), 1u);
  EXPECT_EQ(host->Contacts()->Created().size(), 1u);
  EXPECT_EQ(Kept(kContactWindowKind), 0u);
  EXPECT_TRUE(Prompts().empty());
}

TEST_F(ConnectionTest, RemovalByTheUserTakesEveryButtonOutOfEveryWindow) {
  auto explorer = app->OpenExplorer(host->Contacts());
  auto other = app->OpenExplorer(host->Inbox());
  auto contact = app->OpenInspector(AddContact(u"山田"));
  Connect();
  // Two copies the user made, in the toolbar and the File menu of the same window.
  for (const auto& controls : {explorer->Bars()->Bar(u"Standard")->Controls(),
                               explorer->Bars()->Bar(u"Menu Bar")->Controls()}) {
    platform::As<platform::CommandBarButton>(controls->Add(1, 1, u""))->SetTag(ButtonTag);
  }
  ASSERT_EQ(Tagged(explorer->Bars()), 3u);

  addin->IDTExtensibility2_OnDisconnection(kUserClosed);
  EXPECT_EQ(Tagged(explorer->Bars()), 0u);
  EXPECT_EQ(Tagged(other->Bars()), 0u);
  EXPECT_EQ(Tagged(contact->Bars()), 0u);
  EXPECT_EQ(addin->cbbAddin(), nullptr);
  EXPECT_EQ(addin->OutlookApp(), nullptr);
  EXPECT_EQ(addin->StaticData(), nullptr);
  EXPECT_TRUE(Prompts().empty());
}

TEST_F(ConnectionTest, ShutdownLeavesTheButtonsAndTheNextRunStartsAfresh) {
  auto explorer = app->OpenExplorer(host->Contacts());
  AddContact(u"山田");
  Connect();
  addin->StaticData()->SetOutputMode(2);
  const int contactsCalls = faults.Of(host->Contacts()).TotalCalls();

  ShutDown();
  EXPECT_EQ(addin->cbbAddin(), nullptr);
  EXPECT_EQ(addin->OutlookApp(), nullptr);
  EXPECT_EQ(addin->StaticData(), nullptr);
  EXPECT_EQ(Tagged(explorer->Bars()), 1u);
  EXPECT_EQ(Kept(kContactWindowKind), 1u);
  EXPECT_EQ(faults.Of(host->Contacts()).TotalCalls(), contactsCalls);
  EXPECT_EQ(app->ClickButton(explorer->Bars()->ControlsWithTag(ButtonTag)[0]), 0);

  Restart();
  app->OpenExplorer(host->Contacts());
  Connect();
  EXPECT_EQ(addin->StaticData()->OutputMode(), 0);
  EXPECT_EQ(Kept(kExplorerKind), 1u);
}

TEST_F(ConnectionTest, FailureLateInTheConnectionIsReportedAndKeepsWhatWasInstalled) {
  auto explorer = app->OpenExplorer(host->Contacts());
  faults.Of(host->Contacts()->ItemsObject()).FailOn(u"GetFirst", -2147221233, u"MAPI failure");
  Connect();
  ExpectOneReportNaming(u"IDTExtensibility2_OnConnection");
  EXPECT_NE(Prompts()[0].find(u"エラー番号 : -2147221233\rエラー内容 : MAPI failure"),
            std::u16string::npos);
  ASSERT_NE(addin->cbbAddin(), nullptr);
  EXPECT_EQ(Kept(kContactWindowKind), 0u);
  // The explorer's button works.
  EXPECT_EQ(app->ClickButton(explorer->Bars()->ControlsWithTag(ButtonTag)[0]), 1);
  EXPECT_EQ(Prompts().back(), u"連絡先アイテムが選択されていません。");
}

TEST_F(ConnectionTest, FailureInTheFirstExplorerGivesTheUsersFolderBackAndClosesAHiddenOne) {
  auto inbox = app->OpenExplorer(host->Inbox());
  faults.Of(inbox->Bars()).FailOn(u"FindControl", -2147467259, u"", 1);
  Connect(kStartup);
  ExpectOneReportNaming(u"IDTExtensibility2_OnConnection");
  EXPECT_EQ(inbox->Folder(), host->Inbox());
  EXPECT_EQ(addin->cbbAddin(), nullptr);

  Restart();  // no window at all: the hidden explorer must not outlive a failure either
  auto explorers = std::dynamic_pointer_cast<hostmodel::OutlookExplorers>(app->Explorers());
  faults.Of(explorers).FailOn(u"Item", -2147467259);
  Connect(kStartup);
  EXPECT_EQ(Prompts().size(), 2u);
  EXPECT_EQ(faults.Of(host->Contacts()).Calls(u"GetExplorer"), 1);
  EXPECT_TRUE(app->ExplorerList().empty());
  EXPECT_EQ(Kept(kExplorerKind), 1u);
}

TEST_F(ConnectionTest, AHostThatIsNotOutlookIsReportedAndNothingIsInstalled) {
  auto word = inmemory::WordApp::Create();
  addin->IDTExtensibility2_OnConnection(word, kStartup, app->NewAddInInstance());
  ExpectOneReportNaming(u"IDTExtensibility2_OnConnection");
  EXPECT_NE(Prompts()[0].find(u"エラー番号 : 13\r"), std::u16string::npos);
  EXPECT_EQ(addin->OutlookApp(), nullptr);
  EXPECT_EQ(Kept(kExplorerKind), 0u);
}

TEST_F(ConnectionTest, AFailedRemovalIsReportedAndStillLetsOutlookGo) {
  app->OpenExplorer(host->Contacts());
  Connect();
  faults.Of(app).FailOn(u"Inspectors", -2147467259, u"removal failed");
  addin->IDTExtensibility2_OnDisconnection(kUserClosed);
  ExpectOneReportNaming(u"IDTExtensibility2_OnDisconnection");
  EXPECT_EQ(Kept(kExplorerKind), 0u);  // done before the failure
  EXPECT_EQ(addin->cbbAddin(), nullptr);
  EXPECT_EQ(addin->OutlookApp(), nullptr);
  EXPECT_EQ(addin->StaticData(), nullptr);
}

TEST_F(ConnectionTest, WindowsOpenedAfterTheConnectionGetTheButtonAsTheyOpen) {
  app->OpenExplorer(host->Inbox());
  Connect(kStartup);
  std::shared_ptr<hostmodel::OutlookExplorer> later;
  EXPECT_TRUE(
      CallsDuring([&] { later = app->OpenExplorer(host->Contacts()); }).Saw(u"FindControl"));
  EXPECT_EQ(Tagged(later->Bars()), 1u);
  std::shared_ptr<hostmodel::OutlookInspector> contact;
  auto yamada = AddContact(u"山田");
  EXPECT_TRUE(CallsDuring([&] { contact = app->OpenInspector(yamada); }).Saw(u"FindControl"));
  EXPECT_EQ(Tagged(contact->Bars()), 1u);
  // Other items' windows are only asked what they show.
  auto notice = host->Inbox()->AddMail(u"ご案内");
  EXPECT_FALSE(CallsDuring([&] { app->OpenInspector(notice); }).Saw(u"FindControl"));
  EXPECT_TRUE(Prompts().empty());

  // The button taken out of the saved menus by hand comes back in the next window.
  for (const auto& kept : host->Customization()->All(kExplorerKind)) {
    host->Customization()->Remove(kExplorerKind, *kept);
  }
  EXPECT_EQ(Tagged(app->OpenExplorer(host->Inbox())->Bars()), 1u);
}

TEST_F(ConnectionTest, AfterShutdownOrRemovalNewWindowsAreLeftAlone) {
  app->OpenExplorer(host->Inbox());
  Connect(kStartup);
  ShutDown();
  EXPECT_FALSE(CallsDuring([&] { app->OpenExplorer(host->Contacts()); }).Saw(u"FindControl"));

  Connect(kLater);
  addin->IDTExtensibility2_OnDisconnection(kUserClosed);
  auto yamada = AddContact(u"山田");
  const CallLog afterRemoval = CallsDuring([&] {
    app->OpenExplorer(host->Contacts());
    app->OpenInspector(yamada);
  });
  EXPECT_FALSE(afterRemoval.Saw(u"FindControl"));
  EXPECT_EQ(Kept(kExplorerKind) + Kept(kContactWindowKind), 0u);
}

TEST_F(ConnectionTest, WindowsWithoutTheMenuAreNotedOnceAndShowNothing) {
  auto first = app->OpenExplorer(host->Inbox());
  auto second = app->OpenExplorer(host->Contacts());
  auto contact = app->OpenInspector(AddContact(u"山田"));
  ASSERT_TRUE(first->Bars()->RemoveBuiltIn(ExplorerMenuId));
  ASSERT_TRUE(second->Bars()->RemoveBuiltIn(ExplorerMenuId));
  ASSERT_TRUE(contact->Bars()->RemoveBuiltIn(InspectorMenuId));
  Connect(kStartup);
  EXPECT_EQ(Tagged(first->Bars()) + Tagged(second->Bars()) + Tagged(contact->Bars()), 0u);
  EXPECT_EQ(addin->cbbAddin(), nullptr);
  EXPECT_TRUE(Prompts().empty());
  EXPECT_EQ(runtime.Notes(),
            (std::vector<std::u16string>{
                u"フォルダーのウィンドウにメニュー(ID "
                u"30141)がないため、「添書票の作成」ボタンを登録できませんでした。",
                u"連絡先のウィンドウにメニュー(ID "
                u"30130)がないため、「添書票の作成」ボタンを登録できませんでした。"}));
  // A later window with the menu gets the button; one without adds no second note.
  EXPECT_EQ(Tagged(app->OpenExplorer(host->Inbox())->Bars()), 1u);
  EXPECT_EQ(runtime.Notes().size(), 2u);
}

}  // namespace
}  // namespace sendnote
