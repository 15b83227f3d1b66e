// Installing and removing the add-in's menu button in the command bars of one window.
#include <gtest/gtest.h>

#include <memory>

#include "platform/ComError.h"
#include "portable/hostmodel/CommandBarCustomization.h"
#include "portable/hostmodel/CommandBarLayout.h"
#include "portable/hostmodel/CommandBarObjects.h"
#include "portable/hostmodel/CommandBarSet.h"
#include "system/addin/modAddin.h"

namespace sendnote {
namespace {

using hostmodel::CommandBarSet;
using platform::As;

constexpr char16_t kProgId[] = u"COMAddInSendnote.dsrOutlookToWord";
constexpr char16_t kExplorer[] = u"Explorer";

class ButtonTest : public ::testing::Test {
 protected:
  // Another explorer window of the same host.
  std::shared_ptr<CommandBarSet> NewWindow() {
    return CommandBarSet::Create(kExplorer, hostmodel::ExplorerCommandBarLayout(), custom_, {}, {});
  }
  std::shared_ptr<platform::CommandBarButton> Install(std::u16string_view progId = kProgId) {
    return InstallButton(bars_, progId, ButtonTag, ButtonCaption, ExplorerMenuId);
  }
  // Adds a button bearing the add-in's tag to a bar or popup of the window, as a user's copy.
  void CopyTo(const std::shared_ptr<hostmodel::CommandBarControlsObject>& controls) {
    As<platform::CommandBarButton>(controls->Add(1, 1, u""))->SetTag(ButtonTag);
  }
  std::shared_ptr<hostmodel::CommandBarControlsObject> MenuControls() {
    auto menu = As<platform::CommandBarPopup>(bars_->FindControl(ExplorerMenuId));
    return std::dynamic_pointer_cast<hostmodel::CommandBarControlsObject>(menu->Controls());
  }

  std::shared_ptr<hostmodel::CommandBarCustomization> custom_ =
      std::make_shared<hostmodel::CommandBarCustomization>();
  std::shared_ptr<CommandBarSet> bars_ = NewWindow();
};

TEST_F(ButtonTest, InstallAppendsOnePermanentButtonAtTheEndOfTheMenu) {
  auto button = Install();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Caption(), u"添書票の作成");
  EXPECT_EQ(button->Tag(), u"sendnote");
  EXPECT_EQ(button->OnAction(), u"!<COMAddInSendnote.dsrOutlookToWord>");
  EXPECT_EQ(button->Id(), 1);
  const auto& data = std::dynamic_pointer_cast<hostmodel::CommandBarButtonObject>(button)->Data();
  EXPECT_EQ(data.type, hostmodel::kControlButton);
  EXPECT_EQ(data.parameter, u"sendnote");

  auto controls = MenuControls();
  ASSERT_EQ(controls->Count(), 3);  // the menu's two own entries, then the button
  EXPECT_EQ(controls->Item(3), button);
  // Permanent: the host keeps it and shows it in every explorer.
  EXPECT_EQ(custom_->CountWithTag(kExplorer, ButtonTag), 1);
  EXPECT_EQ(NewWindow()->ControlsWithTag(ButtonTag).size(), 1u);
}

TEST_F(ButtonTest, AButtonMovedOutOfTheMenuIsNotSeenAndTheMenuGetsItsOwn) {
  CopyTo(bars_->Bar(u"Standard")->Controls());
  auto button = Install();
  EXPECT_EQ(bars_->ControlsWithTag(ButtonTag).size(), 2u);
  EXPECT_EQ(MenuControls()->Item(3), button);
}

TEST_F(ButtonTest, WindowWithoutTheMenuGetsNoButtonAndAPlainControlWithItsIdIsAMismatch) {
  ASSERT_TRUE(bars_->RemoveBuiltIn(ExplorerMenuId));
  EXPECT_EQ(Install(), nullptr);
  EXPECT_EQ(custom_->CountWithTag(kExplorer, ButtonTag), 0);

  bars_->Bar(u"Standard")->Controls()->Add(1, ExplorerMenuId, u"");
  try {
    Install();
    FAIL() << "a button is no menu";
  } catch (const platform::ComError& e) {
    EXPECT_EQ(e.Number(), platform::kErrTypeMismatch);
  }
  EXPECT_EQ(custom_->CountWithTag(kExplorer, ButtonTag), 0);
}

TEST_F(ButtonTest, RemoveTakesEveryCopyOutInOneCallAndLeavesTheRest) {
  Install();
  CopyTo(bars_->Bar(u"Standard")->Controls());
  auto fileMenu = As<platform::CommandBarPopup>(bars_->FindControl(int16_t{30002}));
  CopyTo(std::dynamic_pointer_cast<hostmodel::CommandBarControlsObject>(fileMenu->Controls()));
  ASSERT_EQ(bars_->ControlsWithTag(ButtonTag).size(), 3u);

  RemoveButton(bars_, ButtonTag);
  EXPECT_TRUE(bars_->ControlsWithTag(ButtonTag).empty());
  EXPECT_TRUE(NewWindow()->ControlsWithTag(ButtonTag).empty());
  EXPECT_EQ(MenuControls()->Count(), 2);
  EXPECT_NE(bars_->FindControl(int16_t{1992}), nullptr);

  RemoveButton(bars_, ButtonTag);  // nothing left: nothing happens
  EXPECT_THROW(RemoveButton(nullptr, ButtonTag), platform::ComError);
}

}  // namespace
}  // namespace sendnote
