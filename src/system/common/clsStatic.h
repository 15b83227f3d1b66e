// The persistent choices of the output dialog, kept by the add-in object while it is
// connected and lent to each click.
#pragma once

#include <cstdint>

namespace sendnote {

class clsStatic {
 public:
  // 0 new document from a template, 1 open a document file, 2 the document open in Word.
  int32_t OutputMode() const { return output_mode_; }
  void SetOutputMode(int32_t value) { output_mode_ = value; }
  // 0 the contact's mailing address, 1 home, 2 business, 3 other.
  int32_t AddressKind() const { return address_kind_; }
  void SetAddressKind(int32_t value) { address_kind_ = value; }

 private:
  int32_t output_mode_ = 0;
  int32_t address_kind_ = 0;
};

}  // namespace sendnote
