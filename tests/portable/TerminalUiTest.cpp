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

}  // namespace
}  // namespace sendnote::portable
