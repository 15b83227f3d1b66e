#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "inmemory/OutlookFaults.h"
#include "platform/ComError.h"
#include "portable/hostmodel/CommandBarObjects.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"
#include "tests/support/ErrorOf.h"

namespace sendnote::hostmodel {
namespace {

using platform::As;
using platform::CommandBarButton;
using platform::CommandBarControl;
using platform::CommandBarPopup;

using test_support::ErrorNumberOf;

// Adds a tagged button to the end of the popup menu `menuId` of a window's bars.
std::shared_ptr<CommandBarButton> AddTagged(const std::shared_ptr<platform::CommandBars>& bars,
                                            int16_t menuId, std::u16string_view tag) {
  auto popup = As<CommandBarPopup>(bars->FindControl(menuId));
  auto button = As<CommandBarButton>(popup->Controls()->Add(kControlButton, 1, tag));
  button->SetTag(tag);
  return button;
}

class CommandBarTest : public ::testing::Test {
 protected:
  inmemory::OutlookFaults faults;
  std::shared_ptr<OutlookHost> host = OutlookHost::Create();
  std::shared_ptr<OutlookApp> app = host->Start();
};

TEST_F(CommandBarTest, FindControlByIdFindsTheMenusOfEachKindOfWindow) {
  auto explorer = app->OpenExplorer(host->Contacts());
  auto contact = host->Contacts()->AddContact({});
  auto mail = host->Inbox()->AddMail(u"m");
  auto contactWindow = app->OpenInspector(contact);
  auto mailWindow = app->OpenInspector(mail);

  auto actions = explorer->CommandBars()->FindControl(kExplorerActionsMenuId);
  ASSERT_NE(actions, nullptr);
  EXPECT_EQ(actions->Id(), kExplorerActionsMenuId);
  EXPECT_EQ(actions->TypeName(), u"CommandBarPopup");
  EXPECT_NE(As<CommandBarPopup>(actions), nullptr);
  EXPECT_EQ(explorer->CommandBars()->FindControl(kContactActionsMenuId), nullptr);

  EXPECT_NE(contactWindow->CommandBars()->FindControl(kContactActionsMenuId), nullptr);
  EXPECT_EQ(contactWindow->CommandBars()->FindControl(kExplorerActionsMenuId), nullptr);
  EXPECT_EQ(mailWindow->CommandBars()->FindControl(kContactActionsMenuId), nullptr);

  // A built-in button is not a popup.
  auto print = explorer->CommandBars()->FindControl(4);
  ASSERT_NE(print, nullptr);
  EXPECT_EQ(ErrorNumberOf([&] { As<CommandBarPopup>(print); }), platform::kErrTypeMismatch);
}

TEST_F(CommandBarTest, TagSearchOfTheBarsIsRecursiveButAPopupsOwnBarIsNot) {
  auto explorer = app->OpenExplorer(host->Contacts());
  auto bars = explorer->CommandBars();
  EXPECT_EQ(bars->FindControl(u"sendnote"), nullptr);
  EXPECT_EQ(bars->FindControl(u""), nullptr);

  auto actions = As<CommandBarPopup>(bars->FindControl(kExplorerActionsMenuId));
  // A sub-menu of the actions menu holding a tagged button.
  auto sub = As<CommandBarPopup>(actions->Controls()->Add(kControlPopup, 1, u""));
  auto deep = As<CommandBarButton>(sub->Controls()->Add(kControlButton, 1, u""));
  deep->SetTag(u"sendnote");

  EXPECT_EQ(actions->CommandBar()->FindControl(u"sendnote"), nullptr);
  EXPECT_EQ(sub->CommandBar()->FindControl(u"sendnote"), deep);
  EXPECT_EQ(bars->FindControl(u"sendnote"), deep);

  // One moved by the user to the toolbar: seen by the bars, not by the menu.
  auto moved = As<CommandBarButton>(explorer->Bars()->Bar(u"Standard")->Controls()->Add(1, 1, u""));
  moved->SetTag(u"other");
  EXPECT_EQ(bars->FindControl(u"other"), moved);
  EXPECT_EQ(actions->CommandBar()->FindControl(u"other"), nullptr);
}

TEST_F(CommandBarTest, AddAppendsAPermanentButtonWhosePropertiesReadBack) {
  auto explorer = app->OpenExplorer(host->Contacts());
  auto popup = As<CommandBarPopup>(explorer->CommandBars()->FindControl(kExplorerActionsMenuId));
  auto controls = std::static_pointer_cast<CommandBarControlsObject>(popup->Controls());
  int32_t before = controls->Count();
  auto button = As<CommandBarButton>(controls->Add(kControlButton, 1, u"sendnote"));
  ASSERT_EQ(controls->Count(), before + 1);
  EXPECT_EQ(controls->Item(before + 1), button);
  EXPECT_EQ(button->Id(), 1);
  EXPECT_EQ(button->Tag(), u"");  // the parameter is not the tag
  button->SetOnAction(u"!<P>");
  button->SetCaption(u"添書票の作成");
  button->SetTag(u"sendnote");
  EXPECT_EQ(button->OnAction(), u"!<P>");
  EXPECT_EQ(button->Caption(), u"添書票の作成");
  EXPECT_EQ(button->Tag(), u"sendnote");
  EXPECT_EQ(std::static_pointer_cast<CommandBarButtonObject>(button)->Data().parameter,
            u"sendnote");
  EXPECT_EQ(ErrorNumberOf([&] { controls->Add(4, 1, u""); }), platform::kErrInvalidCall);
  EXPECT_EQ(host->Customization()->All(u"Explorer").size(), 1u);
}

TEST_F(CommandBarTest, SavedButtonShowsInEveryWindowOfTheKindAndSurvivesARestart) {
  auto first = app->OpenExplorer(host->Contacts());
  auto second = app->OpenExplorer(host->Inbox());
  auto added = AddTagged(first->CommandBars(), kExplorerActionsMenuId, u"sendnote");
  added->SetCaption(u"添書票の作成");

  auto inSecond = As<CommandBarButton>(second->CommandBars()->FindControl(u"sendnote"));
  ASSERT_NE(inSecond, nullptr);
  EXPECT_NE(inSecond, added);  // each window has its own control object
  EXPECT_EQ(inSecond->Caption(), u"添書票の作成");
  // A later window, and a hidden one, show it too; windows of another kind do not.
  auto hidden = As<OutlookExplorer>(host->Contacts()->GetExplorer(0));
  EXPECT_NE(hidden->CommandBars()->FindControl(u"sendnote"), nullptr);
  auto contactWindow = app->OpenInspector(host->Contacts()->AddContact({}));
  EXPECT_EQ(contactWindow->CommandBars()->FindControl(u"sendnote"), nullptr);

  // A change made in one window is the customization's: every window sees it.
  inSecond->SetCaption(u"changed");
  EXPECT_EQ(added->Caption(), u"changed");

  auto restarted = host->Start();
  EXPECT_EQ(ErrorNumberOf([&] { first->CommandBars(); }), platform::kErrServerGone);
  EXPECT_EQ(ErrorNumberOf([&] { added->Caption(); }), kErrObjectGone);
  auto later = restarted->OpenExplorer(host->Contacts());
  auto kept = As<CommandBarButton>(later->CommandBars()->FindControl(u"sendnote"));
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->Caption(), u"changed");
}

TEST_F(CommandBarTest, ABorrowedContactWindowSharesTheCustomizationOfContactWindows) {
  auto contact = host->Contacts()->AddContact({});
  auto borrowed = contact->GetInspector();
  AddTagged(borrowed->CommandBars(), kContactActionsMenuId, u"sendnote");
  borrowed->Close(platform::kOlDiscard);

  auto opened = app->OpenInspector(host->Contacts()->AddContact({}));
  EXPECT_NE(opened->CommandBars()->FindControl(u"sendnote"), nullptr);
  auto mailWindow = app->OpenInspector(host->Inbox()->AddMail(u"m"));
  EXPECT_EQ(mailWindow->CommandBars()->FindControl(u"sendnote"), nullptr);
  auto explorer = app->OpenExplorer(host->Contacts());
  EXPECT_EQ(explorer->CommandBars()->FindControl(u"sendnote"), nullptr);
}

TEST_F(CommandBarTest, DeletingASavedControlRemovesItFromTheCustomizationAndAllWindows) {
  auto first = app->OpenExplorer(host->Contacts());
  auto second = app->OpenExplorer(host->Contacts());
  // Three copies in one kind of window: two in the menu, one moved to the toolbar.
  AddTagged(first->CommandBars(), kExplorerActionsMenuId, u"sendnote");
  AddTagged(first->CommandBars(), kExplorerActionsMenuId, u"sendnote");
  auto moved = As<CommandBarButton>(first->Bars()->Bar(u"Standard")->Controls()->Add(1, 1, u""));
  moved->SetTag(u"sendnote");
  EXPECT_EQ(second->Bars()->ControlsWithTag(u"sendnote").size(), 3u);

  // Deleting until none is found takes every copy out.
  int deleted = 0;
  auto bars = second->CommandBars();
  while (auto control = bars->FindControl(u"sendnote")) {
    control->Delete();
    ASSERT_LE(++deleted, 3);
  }
  EXPECT_EQ(deleted, 3);
  EXPECT_EQ(host->Customization()->CountWithTag(u"Explorer", u"sendnote"), 0);
  EXPECT_EQ(first->CommandBars()->FindControl(u"sendnote"), nullptr);
  EXPECT_EQ(ErrorNumberOf([&] { moved->Delete(); }), kErrObjectGone);
  host->Start();
  EXPECT_EQ(
      host->Running()->OpenExplorer(host->Contacts())->CommandBars()->FindControl(u"sendnote"),
      nullptr);
}

TEST_F(CommandBarTest, DeletingASavedPopupTakesTheControlsSavedUnderIt) {
  auto explorer = app->OpenExplorer(host->Contacts());
  auto bars = explorer->CommandBars();
  auto actions = As<CommandBarPopup>(bars->FindControl(kExplorerActionsMenuId));
  auto sub = As<CommandBarPopup>(actions->Controls()->Add(kControlPopup, 1, u""));
  As<CommandBarButton>(sub->Controls()->Add(kControlButton, 1, u""))->SetTag(u"t");
  sub->Delete();
  EXPECT_EQ(bars->FindControl(u"t"), nullptr);
  EXPECT_TRUE(host->Customization()->All(u"Explorer").empty());
  EXPECT_EQ(ErrorNumberOf([&] { sub->Controls(); }), kErrObjectGone);
}

TEST_F(CommandBarTest, AWindowWithoutTheMenuHidesWhatIsSavedInIt) {
  auto plain = app->OpenExplorer(host->Contacts());
  auto stripped = app->OpenExplorer(host->Contacts());
  ASSERT_TRUE(stripped->Bars()->RemoveBuiltIn(kExplorerActionsMenuId));
  AddTagged(plain->CommandBars(), kExplorerActionsMenuId, u"sendnote");

  EXPECT_EQ(stripped->CommandBars()->FindControl(kExplorerActionsMenuId), nullptr);
  EXPECT_EQ(stripped->CommandBars()->FindControl(u"sendnote"), nullptr);
  EXPECT_NE(plain->CommandBars()->FindControl(kExplorerActionsMenuId), nullptr);
  EXPECT_NE(plain->CommandBars()->FindControl(u"sendnote"), nullptr);
}

TEST_F(CommandBarTest, ClickRaisesEveryHandlerBoundToAButtonWithTheSameTag) {
  auto explorer = app->OpenExplorer(host->Contacts());
  auto bound = AddTagged(explorer->CommandBars(), kExplorerActionsMenuId, u"sendnote");
  auto contactWindow = app->OpenInspector(host->Contacts()->AddContact({}));
  auto inInspector = AddTagged(contactWindow->CommandBars(), kContactActionsMenuId, u"sendnote");
  auto stranger = AddTagged(contactWindow->CommandBars(), kContactActionsMenuId, u"other");

  std::vector<std::shared_ptr<CommandBarButton>> clicked;
  int secondHandler = 0;
  auto connection = bound->ConnectClick([&](const std::shared_ptr<CommandBarButton>& ctrl,
                                            platform::Flag&) { clicked.push_back(ctrl); });
  auto other = bound->ConnectClick(
      [&](const std::shared_ptr<CommandBarButton>&, platform::Flag&) { ++secondHandler; });

  EXPECT_EQ(app->ClickButton(inInspector), 2);
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(clicked[0], inInspector);
  EXPECT_EQ(app->ClickButton(stranger), 0);
  EXPECT_EQ(app->ClickButton(bound), 2);
  EXPECT_EQ(app->Clicks()->LastCancelDefault(), platform::kFalse);

  // Retagging the clicked button changes whom it reaches.
  inInspector->SetTag(u"other");
  EXPECT_EQ(app->ClickButton(inInspector), 0);

  other.Reset();
  EXPECT_EQ(app->ClickButton(bound), 1);
  connection.Reset();
  EXPECT_EQ(app->ClickButton(bound), 0);
  EXPECT_EQ(clicked.size(), 3u);
  EXPECT_EQ(secondHandler, 2);

  auto print = explorer->CommandBars()->FindControl(kExplorerActionsMenuId);
  EXPECT_EQ(ErrorNumberOf([&] { app->ClickButton(print); }), platform::kErrTypeMismatch);
}

TEST_F(CommandBarTest, ClicksEndWithTheBoundButtonOrTheHostsRun) {
  auto explorer = app->OpenExplorer(host->Contacts());
  auto bound = AddTagged(explorer->CommandBars(), kExplorerActionsMenuId, u"sendnote");
  auto copy = AddTagged(explorer->CommandBars(), kExplorerActionsMenuId, u"sendnote");
  int clicks = 0;
  auto connection = bound->ConnectClick(
      [&](const std::shared_ptr<CommandBarButton>&, platform::Flag&) { ++clicks; });
  bound->Delete();
  EXPECT_EQ(app->ClickButton(copy), 0);

  auto rebound = As<CommandBarButton>(explorer->CommandBars()->FindControl(u"sendnote"));
  auto again = rebound->ConnectClick(
      [&](const std::shared_ptr<CommandBarButton>&, platform::Flag&) { ++clicks; });
  auto restarted = host->Start();
  EXPECT_EQ(app->Clicks()->Connections(), 0);
  auto later = restarted->OpenExplorer(host->Contacts());
  EXPECT_EQ(restarted->ClickButton(later->CommandBars()->FindControl(u"sendnote")), 0);
  EXPECT_EQ(clicks, 0);
  again.Reset();  // disconnecting after the run ended is harmless
}

TEST_F(CommandBarTest, InjectedFailuresAndCallCounts) {
  auto explorer = app->OpenExplorer(host->Contacts());
  auto bars = explorer->Bars();
  faults.Of(bars).FailOn(u"FindControl", platform::kErrDispException, u"", 1);
  EXPECT_EQ(ErrorNumberOf([&] { bars->FindControl(kExplorerActionsMenuId); }),
            platform::kErrDispException);
  auto popup = As<CommandBarPopup>(bars->FindControl(kExplorerActionsMenuId));
  EXPECT_EQ(faults.Of(bars).Calls(u"FindControl"), 2);

  auto popupObject = std::static_pointer_cast<CommandBarPopupObject>(popup);
  auto button = As<CommandBarButton>(popup->Controls()->Add(1, 1, u""));
  auto buttonObject = std::static_pointer_cast<CommandBarButtonObject>(button);
  faults.Of(buttonObject).FailOn(u"Caption", 5);
  EXPECT_EQ(ErrorNumberOf([&] { button->SetCaption(u"x"); }), platform::kErrInvalidCall);
  EXPECT_EQ(buttonObject->Data().caption, u"");
  // The same control found again is the same object, faults included.
  EXPECT_EQ(bars->FindControl(1), button);
  EXPECT_EQ(faults.Of(popupObject).Calls(u"Controls"), 1);
}

}  // namespace
}  // namespace sendnote::hostmodel
