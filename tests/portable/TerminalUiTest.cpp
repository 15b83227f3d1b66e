// The terminal user interface: what it prints, the defaults without a terminal, the
// answers given on the command line, and asking on a terminal.
#include <gtest/gtest.h>

#include <sstream>

#include "portable/TerminalUi.h"

namespace sendnote::portable {
namespace {

using platform::kVbCancel;
using platform::kVbNo;
using platform::kVbOK;
using platform::kVbYes;

struct Terminal {
  explicit Terminal(std::string input, bool interactive, TerminalAnswers answers = {})
      : in(std::move(input)), ui(in, err, interactive, std::move(answers)) {}
  std::istringstream in;
  std::ostringstream err;
  TerminalUi ui;
};

TEST(TerminalUiTest, BoxesGoToStandardErrorWithLoneCarriageReturnsAsLineBreaks) {
  Terminal t("", false);
  EXPECT_EQ(t.ui.MsgBox(u"一行目\r二行目\r\n三行目", 48, u"題"), kVbOK);
  EXPECT_EQ(t.err.str(), "[題] 一行目\n二行目\n三行目\n");
}

// A contact's name reaches boxes, notes and the progress line: its control characters are
// shown as escapes there, while a box keeps its own line breaks.
TEST(TerminalUiTest, ControlCharactersAreShownAsEscapesInBoxesNotesAndProgress) {
  Terminal t("", true);
  t.ui.MsgBox(u"山田\x1b[2J 太郎\t の連絡先\r次の行", 48, u"題");
  t.ui.Note("sendnote: \x1b]0;title\x07");
  t.ui.ShowProgress("1/2 \x1b[31m山田");
  EXPECT_EQ(t.err.str(),
            "[題] 山田\\x1b[2J 太郎\\t の連絡先\n次の行\n"
            "sendnote: \\x1b]0;title\\a\n"
            "\r\x1b[K1/2 \\x1b[31m山田");
}

TEST(TerminalUiTest, WithoutATerminalEachBoxTakesItsDefault) {
  Terminal t("n\nABC$\n", false);  // input is not read without a terminal
  EXPECT_EQ(t.ui.MsgBox(u"q", 67, u"t"), kVbYes);
  EXPECT_EQ(t.ui.InputBox(u"p", u"t", u"OUTLOOK$"), u"OUTLOOK$");
}

TEST(TerminalUiTest, CommandLineAnswersTakeThePlaceOfTheUser) {
  TerminalAnswers no;
  no.prefix = u"ABC$";
  Terminal t("y\n", true, no);
  EXPECT_EQ(t.ui.MsgBox(u"q", 67, u"t"), kVbNo);
  EXPECT_EQ(t.ui.InputBox(u"p", u"t", u"OUTLOOK$"), u"ABC$");

  TerminalAnswers yes;
  yes.yes = true;
  Terminal u("c\n", true, yes);
  EXPECT_EQ(u.ui.MsgBox(u"q", 67, u"t"), kVbYes);
}

TEST(TerminalUiTest, OnATerminalTheQuestionAndTheInputBoxAsk) {
  Terminal t("x\nn\n NEW$ \nc\n", true);
  EXPECT_EQ(t.ui.MsgBox(u"q", 67, u"t"), kVbNo);  // "x" is asked again
  EXPECT_EQ(t.ui.InputBox(u"p", u"t", u"OUTLOOK$"), u" NEW$ ");
  EXPECT_EQ(t.ui.MsgBox(u"q", 67, u"t"), kVbCancel);
  // End of input: the question is cancelled and the input box gives its Cancel's "".
  EXPECT_EQ(t.ui.MsgBox(u"q", 67, u"t"), kVbCancel);
  EXPECT_EQ(t.ui.InputBox(u"p", u"t", u"OUTLOOK$"), u"");
}

class FakeDialog : public platform::TemplateDialogForm {
 public:
  void Form_Load() override {
    controls_.cboAddress = {u"a", u"b", u"c", u"d"};
    controls_.cboAddressListIndex = 0;
    controls_.SelectOutput(0);
  }
  void OKButton_Click() override {
    chosen = controls_.cboAddressListIndex;
    if (!failOk) Unload();
  }
  void CancelButton_Click() override {}
  void imgIcon_Click(int16_t) override {}
  void cmdHelp_Click() override {}
  void cmdVersion_Click() override {}
  int chosen = -1;
  bool failOk = false;
};

TEST(TerminalUiTest, OutputDialogTakesTheAddressChoiceAndOk) {
  TerminalAnswers answers;
  answers.addressKind = 2;
  Terminal t("", false, answers);
  FakeDialog dialog;
  t.ui.ShowModal(dialog);
  EXPECT_EQ(dialog.chosen, 2);
  EXPECT_TRUE(dialog.Unloaded());

  FakeDialog stuck;  // an OK that fails keeps a dialog open: it is closed, not retried
  stuck.failOk = true;
  t.ui.ShowModal(stuck);
  EXPECT_TRUE(stuck.Unloaded());
}

TEST(TerminalUiTest, ProgressLineOverwritesItselfFitsTheWidthAndGivesWayToBoxes) {
  Terminal t("", true);
  t.ui.SetColumns(11);  // 10 usable: the last column is left free
  t.ui.ShowProgress("1/2 ab");
  t.ui.ShowProgress("2/2 あいうえお");  // East Asian characters take two columns each
  t.ui.MsgBox(u"box", 48, u"t");
  t.ui.ShowProgress("3/3 x");
  t.ui.EndProgress();
  t.ui.EndProgress();  // nothing left to clear
  EXPECT_EQ(t.err.str(), "\r\x1b[K1/2 ab\r\x1b[K2/2 あいう\r\x1b[K[t] box\n\r\x1b[K3/3 x\r\x1b[K");

  Terminal pipe("", false);  // without a terminal there is no progress line
  pipe.ui.ShowProgress("1/2 ab");
  pipe.ui.Note("sendnote: a line");
  EXPECT_EQ(pipe.err.str(), "sendnote: a line\n");
}

TEST(TerminalUiTest, ABoxNoteFollowsTheBoxItExplains) {
  Terminal t("", false);
  t.ui.SetBoxNote([](std::u16string_view text) {
    return text == u"refused" ? std::string("sendnote: why") : std::string();
  });
  t.ui.MsgBox(u"refused", 48, u"t");
  t.ui.MsgBox(u"other", 48, u"t");
  EXPECT_EQ(t.err.str(), "[t] refused\nsendnote: why\n[t] other\n");
}

TEST(TerminalUiTest, AnsweringOnceAsksTheQuestionAndShowsANoticeOnlyTheFirstTime) {
  struct Case {
    const char* input;
    int32_t answer;
    const char16_t* typed;
  };
  const Case cases[] = {
      {"y\n", kVbYes, nullptr}, {"n\nNEW$\n", kVbNo, u"NEW$"}, {"n\n\n", kVbNo, u"OUTLOOK$"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    Terminal t(c.input, true);
    t.ui.SetAnswerOnce(true);
    for (int letter = 0; letter < 3; ++letter) {
      EXPECT_EQ(t.ui.MsgBox(u"q", 67, u"t"), c.answer);
      if (c.typed) {
        EXPECT_EQ(t.ui.InputBox(u"p", u"t", u"OUTLOOK$"), c.typed);
      }
      EXPECT_EQ(t.ui.MsgBox(u"notice", 64, u"t"), kVbOK);
      t.ui.MsgBox(u"refused", 48, u"t");  // refusals and reports are shown every time
    }
    const std::string shown = t.err.str();
    EXPECT_EQ(shown.find("[t] q"), shown.rfind("[t] q"));
    EXPECT_EQ(shown.find("[t] p"), shown.rfind("[t] p"));
    EXPECT_EQ(shown.find("[t] notice"), shown.rfind("[t] notice"));
    EXPECT_NE(shown.find("[t] refused"), shown.rfind("[t] refused"));
    EXPECT_FALSE(t.ui.CancelledOnce());
  }

  Terminal cancel("c\n", true);
  cancel.ui.SetAnswerOnce(true);
  EXPECT_EQ(cancel.ui.MsgBox(u"q", 67, u"t"), kVbCancel);
  EXPECT_TRUE(cancel.ui.CancelledOnce());
  EXPECT_EQ(cancel.ui.MsgBox(u"q", 67, u"t"), kVbCancel);

  Terminal each("", false);  // without answering once, every box is shown
  each.ui.MsgBox(u"notice", 64, u"t");
  each.ui.MsgBox(u"notice", 64, u"t");
  EXPECT_EQ(each.err.str(), "[t] notice\n[t] notice\n");
}

TEST(TerminalUiTest, AnsweringOnceShowsTheOutputDialogsSummaryOnce) {
  Terminal t("", false);
  t.ui.SetAnswerOnce(true);
  FakeDialog first, second;
  t.ui.ShowModal(first);
  const std::string summary = t.err.str();
  t.ui.ShowModal(second);
  EXPECT_NE(summary, "");
  EXPECT_EQ(t.err.str(), summary);
  EXPECT_EQ(second.chosen, 0);  // the dialog still takes its answers and OK
  EXPECT_TRUE(second.Unloaded());
}

}  // namespace
}  // namespace sendnote::portable
