// The list of the documents open in Word, for writing the contact into one of them; shown
// when more than one is open.
#pragma once

#include <string>
#include <vector>

#include "platform/Forms.h"

namespace sendnote {

class dlgWindow : public platform::DocumentListForm {
 public:
  // The documents' names in Word's order, and the position of the active one.
  dlgWindow(std::vector<std::u16string> names, int32_t active);

  // The position chosen by OK, or -1 when the list was closed any other way.
  int32_t Chosen() const { return chosen_; }

  void Form_Load() override;
  void OKButton_Click() override;
  void CancelButton_Click() override;

 private:
  int32_t active_;
  int32_t chosen_ = -1;
};

}  // namespace sendnote
