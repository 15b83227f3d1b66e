#include "com/AutoOutlookItem.h"

#include "com/AutoContactItem.h"
#include "com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoOutlookItem::Class() { return Int32Of(dispatch().Get(u"Class")); }

std::shared_ptr<platform::OutlookItem> WrapItem(ComPtr<IDispatch> object) {
  if (!object) return nullptr;
  const int32_t kind = Int32Of(Dispatch(object).Get(u"Class"));
  if (kind == platform::kOlContactItemClass) return std::make_shared<AutoContactItem>(object);
  return std::make_shared<AutoOutlookItem>(std::move(object));
}

}  // namespace sendnote::com
