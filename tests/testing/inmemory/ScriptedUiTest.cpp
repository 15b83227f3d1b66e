#include "inmemory/ScriptedUi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ComError.h"

namespace sendnote::inmemory {
namespace {

using platform::ComError;

// An output dialog that logs its event procedures; OK unloads unless told to fail.
class LoggingDialog : public platform::TemplateDialogForm {
 public:
  std::vector<std::string> log;
  bool okFails = false;
  std::function<void()> onVersion;

  void Form_Load() override {
    log.push_back("Load");
    controls_.caption = u"loaded";
    controls_.cboAddress = {u"a", u"b", u"c", u"d"};
    controls_.SelectOutput(0);
  }
  void Form_QueryUnload() override { log.push_back("QueryUnload"); }
  void OKButton_Click() override {
    log.push_back("OK");
    if (okFails) return;  // stays open, as after a failure
    Unload();
  }
  void CancelButton_Click() override {
    log.push_back("Cancel");
    Unload();
  }
  void imgIcon_Click(int16_t index) override {
    log.push_back("Icon" + std::to_string(index));
    controls_.SelectOutput(index);
  }
  void cmdHelp_Click() override { log.push_back("Help"); }
  void cmdVersion_Click() override {
    log.push_back("Version");
    if (onVersion) onVersion();
  }
};

class LoggingAbout : public platform::AboutForm {
 public:
  std::vector<std::string> log;
  void Form_Load() override {
    log.push_back("Load");
    controls_.version = u"v";
  }
  void Form_QueryUnload() override { log.push_back("QueryUnload"); }
  void cmdOK_Click() override {
    log.push_back("OK");
    Unload();
  }
};

TEST(ScriptedUiMsgBox, EmptyQueueAnswersTheDefaultButtonAndRecords) {
  ScriptedUi ui;
  ui.SetMousePointer(platform::kVbHourglass);
  EXPECT_EQ(ui.MsgBox(u"a", 48, u"t"), platform::kVbOK);
  EXPECT_EQ(ui.MsgBox(u"b", 67, u"t"), platform::kVbYes);
  EXPECT_EQ(ui.MsgBox(u"c", 4 + 256, u"t"), platform::kVbNo);  // second button default
  ASSERT_EQ(ui.MsgBoxes().size(), 3u);
  EXPECT_EQ(ui.MsgBoxes()[1].prompt, u"b");
  EXPECT_EQ(ui.MsgBoxes()[1].style, 67);
  EXPECT_EQ(ui.MsgBoxes()[1].title, u"t");
  EXPECT_EQ(ui.MsgBoxes()[0].mousePointer, platform::kVbHourglass);
}

TEST(ScriptedUiMsgBox, QueuedAnswersAreUsedInOrderAndMustBeButtonsOfTheBox) {
  ScriptedUi ui;
  ui.QueueMsgBoxAnswer(platform::kVbNo);
  ui.QueueMsgBoxAnswer(platform::kVbCancel);
  ui.QueueMsgBoxAnswer(platform::kVbNo);
  EXPECT_EQ(ui.MsgBox(u"1", 67, u""), platform::kVbNo);
  EXPECT_EQ(ui.MsgBox(u"2", 67, u""), platform::kVbCancel);
  // An OK-only box cannot answer No: the script and the code disagree.
  EXPECT_THROW(ui.MsgBox(u"3", 48, u""), ComError);
  EXPECT_EQ(ui.PendingMsgBoxAnswers(), 0u);
  EXPECT_EQ(ui.MsgBox(u"4", 67, u""), platform::kVbYes);
}

TEST(ScriptedUiMsgBox, InjectedFailureShowsNoBox) {
  ScriptedUi ui;
  ui.faults().FailOn(u"MsgBox", 7, u"", 1);
  EXPECT_THROW(ui.MsgBox(u"x", 0, u""), ComError);
  EXPECT_TRUE(ui.MsgBoxes().empty());
  EXPECT_EQ(ui.MsgBox(u"x", 0, u""), platform::kVbOK);
  EXPECT_EQ(ui.faults().Calls(u"MsgBox"), 2);
}

TEST(ScriptedUiInputBox, AnswersQueueThenDefaultAndCancelIsEmpty) {
  ScriptedUi ui;
  ui.QueueInput(u" typed ");
  ui.QueueInputCancel();
  EXPECT_EQ(ui.InputBox(u"p", u"t", u"DEF"), u" typed ");
  EXPECT_EQ(ui.InputBox(u"p", u"t", u"DEF"), u"");
  EXPECT_EQ(ui.InputBox(u"p2", u"t2", u"DEF2"), u"DEF2");
  ASSERT_EQ(ui.InputBoxes().size(), 3u);
  EXPECT_EQ(ui.InputBoxes()[2].prompt, u"p2");
  EXPECT_EQ(ui.InputBoxes()[2].title, u"t2");
  EXPECT_EQ(ui.InputBoxes()[2].defaultText, u"DEF2");
  EXPECT_EQ(ui.InputBoxes()[1].answer, u"");
}

TEST(ScriptedUiDialog, WithoutScriptLoadsThenClosesWithTheCloseBox) {
  ScriptedUi ui;
  LoggingDialog form;
  ui.ShowModal(form);
  EXPECT_EQ(form.log, (std::vector<std::string>{"Load", "QueryUnload"}));
  EXPECT_TRUE(form.Unloaded());
  ASSERT_EQ(ui.Dialogs().size(), 1u);
  EXPECT_TRUE(ui.Dialogs()[0].closedByCloseBox);
  EXPECT_EQ(ui.Dialogs()[0].atLoad.caption, u"loaded");
  EXPECT_EQ(ui.OpenForms(), 0);
}

TEST(ScriptedUiDialog, PlaysActionsUntilTheFormUnloadsAndLeavesTheRestUnplayed) {
  ScriptedUi ui;
  LoggingDialog form;
  ui.QueueDialog({DialogAction::SelectOutput(2), DialogAction::PickAddress(3),
                  DialogAction::ClickIcon(1), DialogAction::Help(), DialogAction::Ok(),
                  DialogAction::Cancel()});
  ui.ShowModal(form);
  EXPECT_EQ(form.log, (std::vector<std::string>{"Load", "Icon1", "Help", "OK", "QueryUnload"}));
  const DialogRecord& shown = ui.Dialogs().at(0);
  EXPECT_EQ(shown.actionsPlayed, 5);
  EXPECT_FALSE(shown.closedByCloseBox);
  EXPECT_EQ(shown.atLoad.SelectedOutput(), 0);
  EXPECT_EQ(shown.atClose.SelectedOutput(), 1);
  EXPECT_EQ(shown.atClose.cboAddressListIndex, 3);
}

TEST(ScriptedUiDialog, FormStillOpenWhenScriptRunsOutIsClosedByCloseBox) {
  ScriptedUi ui;
  LoggingDialog form;
  form.okFails = true;
  ui.QueueDialog({DialogAction::Ok()});
  ui.ShowModal(form);
  EXPECT_EQ(form.log, (std::vector<std::string>{"Load", "OK", "QueryUnload"}));
  EXPECT_TRUE(ui.Dialogs().at(0).closedByCloseBox);
}

TEST(ScriptedUiDialog, EachShowTakesItsOwnScript) {
  ScriptedUi ui;
  ui.QueueDialog({DialogAction::Cancel()});
  ui.QueueDialog({DialogAction::CloseBox()});
  LoggingDialog first, second;
  ui.ShowModal(first);
  ui.ShowModal(second);
  EXPECT_EQ(first.log[1], "Cancel");
  EXPECT_EQ(second.log, (std::vector<std::string>{"Load", "QueryUnload"}));
  EXPECT_FALSE(ui.Dialogs()[0].closedByCloseBox);
  EXPECT_TRUE(ui.Dialogs()[1].closedByCloseBox);
  EXPECT_EQ(ui.PendingDialogs(), 0u);
}

TEST(ScriptedUiDialog, PickingAnEntryTheListDoesNotHaveRaises) {
  ScriptedUi ui;
  LoggingDialog form;
  ui.QueueDialog({DialogAction::PickAddress(4)});
  EXPECT_THROW(ui.ShowModal(form), ComError);
  EXPECT_TRUE(ui.Dialogs().at(0).failed);
  EXPECT_EQ(ui.OpenForms(), 0);
}

TEST(ScriptedUiDialog, VersionBoxShowsNestedOnTopOfTheDialog) {
  ScriptedUi ui;
  LoggingDialog form;
  LoggingAbout about;
  int depthInside = 0;
  form.onVersion = [&] {
    ui.ShowModal(about);
    depthInside = ui.OpenForms();
  };
  ui.QueueDialog({DialogAction::Version(), DialogAction::Run([&](platform::TemplateDialogForm&) {
                    depthInside = ui.OpenForms();
                  }),
                  DialogAction::Cancel()});
  ui.QueueAbout({AboutAction::kOk});
  ui.ShowModal(form);
  EXPECT_EQ(about.log, (std::vector<std::string>{"Load", "OK", "QueryUnload"}));
  EXPECT_EQ(depthInside, 1);  // the version box closed, the dialog still open
  EXPECT_EQ(form.log.back(), "QueryUnload");
  ASSERT_EQ(ui.AboutBoxes().size(), 1u);
  EXPECT_EQ(ui.AboutBoxes()[0].atLoad.version, u"v");
  EXPECT_FALSE(ui.AboutBoxes()[0].closedByCloseBox);
}

TEST(ScriptedUiAbout, WithoutScriptClosesWithTheCloseBox) {
  ScriptedUi ui;
  LoggingAbout about;
  ui.ShowModal(about);
  EXPECT_EQ(about.log, (std::vector<std::string>{"Load", "QueryUnload"}));
  EXPECT_TRUE(ui.AboutBoxes().at(0).closedByCloseBox);
}

TEST(ScriptedUiPointerAndHelp, RecordsPointerHistoryAndHelpRequests) {
  ScriptedUi ui;
  EXPECT_EQ(ui.MousePointer(), platform::kVbDefault);
  ui.SetMousePointer(platform::kVbHourglass);
  ui.SetMousePointer(platform::kVbDefault);
  EXPECT_EQ(ui.MousePointerHistory(),
            (std::vector<int32_t>{platform::kVbHourglass, platform::kVbDefault}));

  ui.AddHelpFile(u"C:\\lib\\sendnote.chm");
  EXPECT_NE(ui.ShowHelp(u"C:\\lib\\sendnote.chm"), 0);
  EXPECT_EQ(ui.ShowHelp(u"C:\\lib\\\\sendnote.chm"), 0);
  ui.SetHelpFileExists([](std::u16string_view f) { return f.ends_with(u".chm"); });
  EXPECT_NE(ui.ShowHelp(u"D:\\x.chm"), 0);
  EXPECT_EQ(ui.ShowHelp(u"D:\\x.hlp"), 0);
  EXPECT_EQ(ui.HelpRequests().size(), 4u);
  EXPECT_EQ(ui.HelpRequests()[1], u"C:\\lib\\\\sendnote.chm");
}

}  // namespace
}  // namespace sendnote::inmemory
