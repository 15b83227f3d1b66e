#include "windows/com/AutoItemWindows.h"

#include "windows/com/AutoItemWindow.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoInspectors::Count() { return Int32Of(dispatch().Get(u"Count")); }

std::shared_ptr<platform::Inspector> AutoInspectors::Item(int32_t index) {
  return Wrap<AutoInspector>(ObjectOf(u"Item", {ScopedVariant::Int32(index)}));
}

}  // namespace sendnote::com
