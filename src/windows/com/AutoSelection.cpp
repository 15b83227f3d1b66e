#include "windows/com/AutoSelection.h"

#include "windows/com/AutoOutlookItem.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoSelection::Count() { return Int32Of(dispatch().Get(u"Count")); }

std::shared_ptr<platform::OutlookItem> AutoSelection::Item(int32_t index) {
  return WrapItem(ObjectOf(u"Item", {ScopedVariant::Int32(index)}));
}

}  // namespace sendnote::com
