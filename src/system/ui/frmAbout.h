// The version information box.
#pragma once

#include "platform/Forms.h"

namespace sendnote {

class frmAbout : public platform::AboutForm {
 public:
  frmAbout();
  void Form_Load() override;
  void cmdOK_Click() override;
};

}  // namespace sendnote
