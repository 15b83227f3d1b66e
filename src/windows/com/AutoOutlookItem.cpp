#include "windows/com/AutoOutlookItem.h"

#include "windows/com/AutoContactItem.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoOutlookItem::Class() { return Int32Of(dispatch().Get(u"Class")); }

std::shared_ptr<platform::OutlookItem> WrapItem(ComPtr<IDispatch> object) {
  if (!object) return nullptr;
  // An item whose Class cannot be read is still an item: its Class() raises when asked.
  int32_t itemClass = 0;
  try {
    itemClass = Int32Of(Dispatch(object).Get(u"Class"));
  } catch (const platform::ComError&) {
    return std::make_shared<AutoOutlookItem>(std::move(object));
  }
  if (itemClass == platform::kOlContactItemClass) {
    return std::make_shared<AutoContactItem>(std::move(object));
  }
  return std::make_shared<AutoOutlookItem>(std::move(object));
}

}  // namespace sendnote::com
