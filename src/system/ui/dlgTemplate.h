// The output dialog of the letter command: where the contact's data goes and which
// address to use. Its OK obtains the Word application.
#pragma once

#include <memory>

#include "platform/Forms.h"
#include "platform/Word.h"
#include "system/common/clsOccation.h"

namespace sendnote {

class dlgTemplate : public platform::TemplateDialogForm {
 public:
  dlgTemplate();

  // The command context; a shared reference, not a copy.
  const std::shared_ptr<clsOccation>& PropSet() const { return prop_set_; }
  void SetPropSet(std::shared_ptr<clsOccation> occasion) { prop_set_ = std::move(occasion); }

  // The Word application, filled by OK.
  std::shared_ptr<platform::WordApplication> mPwrd;

  void Form_Load() override;
  void OKButton_Click() override;
  void CancelButton_Click() override;
  void imgIcon_Click(int16_t index) override;
  void cmdHelp_Click() override;
  void cmdVersion_Click() override;
  void Form_QueryUnload() override;

 private:
  std::shared_ptr<clsOccation> prop_set_;
};

}  // namespace sendnote
