// The output dialog as far as it needs no Word: loading, the ways out that cancel, the
// choices kept, the help and version buttons, and the failures it reports.
#include <gtest/gtest.h>

#include "inmemory/InMemoryRuntime.h"
#include "system/common/clsOccation.h"
#include "system/letter/modSendnote.h"
#include "system/ui/dlgTemplate.h"
#include "tests/support/VersionText.h"

namespace sendnote {
namespace {

using inmemory::DialogAction;
using platform::kFalse;
using platform::kTrue;

class OutputDialogTest : public ::testing::Test {
 protected:
  OutputDialogTest() {
    occasion_->SetStaticData(choices_);
    runtime_.SetLibraryFolder(u"C:\\Addins\\sendnote");
  }

  // Shows the dialog as the command does and returns the Word reference it handed back.
  std::shared_ptr<platform::WordApplication> Show(inmemory::DialogScript script) {
    ui().QueueDialog(std::move(script));
    std::shared_ptr<platform::WordApplication> word;
    ShowDialog(occasion_, word);
    return word;
  }

  inmemory::ScriptedUi& ui() { return runtime_.Scripted(); }

  inmemory::InMemoryRuntime runtime_;
  platform::ScopedRuntime scope_{runtime_};
  std::shared_ptr<clsStatic> choices_ = std::make_shared<clsStatic>();
  std::shared_ptr<clsOccation> occasion_ = std::make_shared<clsOccation>();
};

TEST_F(OutputDialogTest, LoadsWithTitleListAndTheStoredChoicesPreselected) {
  choices_->SetOutputMode(2);
  choices_->SetAddressKind(3);
  Show({DialogAction::Cancel()});

  ASSERT_EQ(ui().Dialogs().size(), 1u);
  const auto& c = ui().Dialogs()[0].atLoad;
  EXPECT_EQ(c.caption, u"添書票COMアドイン");
  EXPECT_EQ(c.SelectedOutput(), 2);
  EXPECT_EQ(c.optOutputCaption[2], u"開いている文書(&W)");
  EXPECT_EQ(c.cboAddress,
            (std::vector<std::u16string>{u"郵送先住所", u"自宅", u"会社", u"その他"}));
  EXPECT_EQ(c.cboAddressListIndex, 3);
  EXPECT_TRUE(ui().MsgBoxes().empty());
}

TEST_F(OutputDialogTest, EveryWayOutButASuccessfulOkCancelsSilently) {
  for (auto way : {DialogAction::Cancel(), DialogAction::CloseBox()}) {
    occasion_ = std::make_shared<clsOccation>();
    occasion_->SetStaticData(choices_);
    auto word = Show({DialogAction::SelectOutput(1), DialogAction::PickAddress(2), way});
    EXPECT_EQ(occasion_->Msg()->Cancel(), kTrue);
    EXPECT_EQ(occasion_->Msg()->MsgText(), u"");
    EXPECT_EQ(word, nullptr);
    // Choices are taken over only by a successful OK.
    EXPECT_EQ(choices_->OutputMode(), 0);
    EXPECT_EQ(choices_->AddressKind(), 0);
  }
  EXPECT_TRUE(ui().MsgBoxes().empty());
}

TEST_F(OutputDialogTest, OkWithoutAnyWordStopsWithItsMessageAndRestoresThePointer) {
  // No Word runs and none can be created.
  auto word = Show({DialogAction::Ok()});
  EXPECT_EQ(word, nullptr);
  EXPECT_EQ(occasion_->Msg()->Cancel(), kTrue);
  EXPECT_EQ(occasion_->Msg()->MsgText(), u"Microsoft Word2000 が起動できません。");
  EXPECT_EQ(occasion_->WordStarted(), kFalse);
  EXPECT_EQ(ui().MousePointer(), platform::kVbDefault);
  EXPECT_TRUE(ui().MsgBoxes().empty());  // the click handler shows the message, not the dialog
  ASSERT_EQ(ui().Dialogs().size(), 1u);
  EXPECT_FALSE(ui().Dialogs()[0].closedByCloseBox);
}

TEST_F(OutputDialogTest, PictureClickSelectsItsOption) {
  Show({DialogAction::ClickIcon(1), DialogAction::Cancel()});
  EXPECT_EQ(ui().Dialogs()[0].atClose.SelectedOutput(), 1);
}

TEST_F(OutputDialogTest, StoredOutputModeOutOfRangeIsReportedAndTheDialogStillOpens) {
  choices_->SetOutputMode(3);
  Show({DialogAction::Cancel()});
  ASSERT_EQ(ui().MsgBoxes().size(), 1u);
  EXPECT_EQ(ui().MsgBoxes()[0].style, 16);
  EXPECT_NE(ui().MsgBoxes()[0].prompt.find(u"内部(Form_Load)"), std::u16string::npos);
  EXPECT_EQ(ui().Dialogs().size(), 1u);
  EXPECT_EQ(occasion_->Msg()->Cancel(), kTrue);
}

TEST_F(OutputDialogTest, MissingHelpFileSaysSoAndKeepsTheDialogAndItsSelections) {
  Show({DialogAction::SelectOutput(2), DialogAction::PickAddress(1), DialogAction::Help(),
        DialogAction::Cancel()});
  ASSERT_EQ(ui().HelpRequests().size(), 1u);
  EXPECT_EQ(ui().HelpRequests()[0], u"C:\\Addins\\sendnote\\sendnote.chm");
  ASSERT_EQ(ui().MsgBoxes().size(), 1u);
  EXPECT_EQ(ui().MsgBoxes()[0].prompt, u"ヘルプが見つかりません。");
  EXPECT_EQ(ui().MsgBoxes()[0].style, 48);
  EXPECT_EQ(ui().MsgBoxes()[0].title, u"添書票COMアドイン");
  const auto& closed = ui().Dialogs()[0].atClose;
  EXPECT_EQ(closed.SelectedOutput(), 2);
  EXPECT_EQ(closed.cboAddressListIndex, 1);
  EXPECT_EQ(ui().Dialogs()[0].actionsPlayed, 4);
}

TEST_F(OutputDialogTest, HelpFileThatExistsShowsNoMessage) {
  runtime_.SetLibraryFolder(u"D:\\");
  ui().AddHelpFile(u"D:\\sendnote.chm");
  Show({DialogAction::Help(), DialogAction::Help(), DialogAction::Cancel()});
  EXPECT_EQ(ui().HelpRequests().size(), 2u);
  EXPECT_TRUE(ui().MsgBoxes().empty());
}

TEST_F(OutputDialogTest, VersionBoxShowsTitleAndVersionAndLeavesTheSelections) {
  ui().QueueAbout({inmemory::AboutAction::kOk});
  ui().QueueAbout({inmemory::AboutAction::kCloseBox});
  Show({DialogAction::SelectOutput(1), DialogAction::Version(), DialogAction::Version(),
        DialogAction::Cancel()});
  ASSERT_EQ(ui().AboutBoxes().size(), 2u);
  for (const auto& about : ui().AboutBoxes()) {
    EXPECT_EQ(about.atLoad.caption, u"バージョン情報");
    EXPECT_EQ(about.atLoad.version, test_support::VersionBoxLine());
    EXPECT_EQ(about.atLoad.titleCaption, u"添書票COMアドイン");
  }
  EXPECT_EQ(ui().Dialogs()[0].atClose.SelectedOutput(), 1);
  EXPECT_EQ(ui().OpenForms(), 0);
}

TEST_F(OutputDialogTest, ClosingWithoutAContextIsReportedAndStillCloses) {
  dlgTemplate dialog;  // PropSet never set
  ui().QueueDialog({DialogAction::CloseBox()});
  ui().ShowModal(dialog);
  EXPECT_TRUE(dialog.Unloaded());
  ASSERT_EQ(ui().MsgBoxes().size(), 2u);
  EXPECT_NE(ui().MsgBoxes()[0].prompt.find(u"(Form_Load)"), std::u16string::npos);
  EXPECT_NE(ui().MsgBoxes()[1].prompt.find(u"(Form_QueryUnload)"), std::u16string::npos);
}

}  // namespace
}  // namespace sendnote
