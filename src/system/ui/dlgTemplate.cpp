#include "system/ui/dlgTemplate.h"

#include "platform/ComError.h"
#include "platform/Runtime.h"
#include "system/common/ReportError.h"
#include "system/common/modFunc.h"
#include "system/ui/frmAbout.h"
#include "system/ui/modHtmlHelp.h"

namespace sendnote {

using platform::ComError;
using platform::kFalse;
using platform::kTrue;
using platform::Must;

namespace {

constexpr char16_t kNoWord[] = u"Microsoft Word2000 が起動できません。";
// A control array index or list position that does not exist.
constexpr int32_t kErrNoControlElement = 340;
constexpr int32_t kErrInvalidPropertyValue = 380;

}  // namespace

dlgTemplate::dlgTemplate() {
  controls_.frameCaption = u"出力先";
  controls_.optOutputCaption = {u"文書を新規作成(&N)", u"文書を開く(&O)", u"開いている文書(&W)"};
  controls_.addressLabel = u"出力する住所(&R) :";
  controls_.okCaption = u"OK";
  controls_.cancelCaption = u"キャンセル";
  controls_.helpCaption = u"ヘルプ(&H)";
  controls_.versionCaption = u"バージョン(&A)...";
}

void dlgTemplate::Form_Load() {
  try {
    controls_.caption = AppTitle();
    controls_.cboAddress = {u"郵送先住所", u"自宅", u"会社", u"その他"};
    auto& choices = Must(Must(prop_set_).StaticData());
    const int16_t output = platform::CInt(choices.OutputMode());
    if (output < 0 || output > 2) {
      platform::Raise(kErrNoControlElement, u"Control array element doesn't exist");
    }
    controls_.SelectOutput(output);
    const int32_t address = choices.AddressKind();
    if (address < 0 || address > 3) {
      platform::Raise(kErrInvalidPropertyValue, u"Invalid property value");
    }
    controls_.cboAddressListIndex = address;
    // Until OK succeeds, every way out of the dialog cancels the command.
    prop_set_->Msg()->SetCancel(kTrue);
  } catch (const ComError& e) {
    ReportError(u"Form_Load", e);
    if (prop_set_) prop_set_->Msg()->SetCancel(kTrue);
  }
}

void dlgTemplate::OKButton_Click() {
  auto& ui = platform::CurrentRuntime().Ui();
  try {
    ui.SetMousePointer(platform::kVbHourglass);
    platform::Flag started = kFalse;
    // The open documents' output writes into a running Word only: none is started for it.
    const bool openDocuments = controls_.SelectedOutput() == 2;
    mPwrd = openDocuments ? GetRunningWordApp() : GetWordApp(started);
    auto& occasion = Must(prop_set_);
    occasion.SetWordStarted(started);
    if (!mPwrd && !openDocuments) {
      occasion.Msg()->SetMsgText(kNoWord);
      occasion.Msg()->SetCancel(kTrue);
    } else {
      if (mPwrd) mPwrd->Caption();  // a Word that does not answer fails here
      occasion.Msg()->SetCancel(kFalse);
      // The user's choices carry over to the next click while the add-in is connected.
      auto& choices = Must(occasion.StaticData());
      if (const int output = controls_.SelectedOutput(); output >= 0) choices.SetOutputMode(output);
      if (controls_.cboAddressListIndex >= 0) choices.SetAddressKind(controls_.cboAddressListIndex);
    }
    ui.SetMousePointer(platform::kVbDefault);
    Unload();
  } catch (const ComError& e) {
    ui.SetMousePointer(platform::kVbDefault);
    ReportError(u"OKButton_Click", e);
    if (prop_set_) prop_set_->Msg()->SetCancel(kTrue);
  }
}

void dlgTemplate::CancelButton_Click() {
  Must(prop_set_).Msg()->SetCancel(kTrue);
  Unload();
}

void dlgTemplate::imgIcon_Click(int16_t index) {
  if (index >= 0 && index <= 2) controls_.SelectOutput(index);
}

void dlgTemplate::cmdHelp_Click() { OpenHelpFile(); }

void dlgTemplate::cmdVersion_Click() {
  frmAbout about;
  platform::CurrentRuntime().Ui().ShowModal(about);
}

void dlgTemplate::Form_QueryUnload() {
  try {
    Must(Must(prop_set_).Msg());
  } catch (const ComError& e) {
    ReportError(u"Form_QueryUnload", e);
    if (prop_set_ && prop_set_->Msg()) {
      prop_set_->Msg()->SetCancel(kTrue);
      prop_set_->Msg()->SetMsgText(u"");
    }
  }
}

}  // namespace sendnote
