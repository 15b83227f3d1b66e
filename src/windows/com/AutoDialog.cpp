#include "windows/com/AutoDialog.h"

#include "windows/com/VariantConversion.h"

namespace sendnote::com {

// Display's TimeOut is left out: the dialog waits for the user.
int32_t AutoDialog::Display() { return Int32Of(dispatch().Call(u"Display")); }

std::u16string AutoDialog::Template() { return TextOf(dispatch().Get(u"Template")); }

platform::Variant AutoDialog::NewTemplate() {
  return FromComVariant(dispatch().Get(u"NewTemplate").Get());
}

}  // namespace sendnote::com
