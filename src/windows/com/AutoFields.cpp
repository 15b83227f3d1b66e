#include "windows/com/AutoFields.h"

#include "windows/com/AutoField.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoFields::Count() { return Int32Of(dispatch().Get(u"Count")); }

std::shared_ptr<platform::Field> AutoFields::Item(int32_t index) {
  return Wrap<AutoField>(ObjectOf(u"Item", {ScopedVariant::Int32(index)}));
}

}  // namespace sendnote::com
