#include "addin/dsrOutlookToWord.h"

#include "common/ReportError.h"
#include "common/clsOccation.h"
#include "common/modFunc.h"
#include "letter/modSendnote.h"

namespace sendnote {

using platform::ComError;
using platform::kTrue;

void dsrOutlookToWord::cbbAddin_Click(const std::shared_ptr<platform::CommandBarButton>&,
                                      platform::Flag&) {
  std::shared_ptr<clsOccation> occasion;
  try {
    occasion = std::make_shared<clsOccation>();
    occasion->SetStaticData(static_data_);
    MainSendnote(outlook_app_, occasion);
    if (occasion->Msg()->Cancel() == kTrue) {
      if (auto window = platform::Must(outlook_app_).ActiveWindow()) window->Activate();
      ShowMsg(occasion->Msg()->MsgText());
    } else {
      static_data_ = occasion->StaticData();
    }
  } catch (const ComError& e) {
    ReportError(u"cbbAddin_Click", e);
    if (!occasion) occasion = std::make_shared<clsOccation>();
    occasion->Msg()->SetCancel(kTrue);
  }
  // The context ends here: its StaticData reference goes with it.
}

void dsrOutlookToWord::BindButton(std::shared_ptr<platform::CommandBarButton> button) {
  cbb_addin_click_.Reset();
  cbb_addin_ = std::move(button);
  if (!cbb_addin_) return;
  cbb_addin_click_ =
      cbb_addin_->ConnectClick([this](const std::shared_ptr<platform::CommandBarButton>& ctrl,
                                      platform::Flag& cancel) { cbbAddin_Click(ctrl, cancel); });
}

}  // namespace sendnote
