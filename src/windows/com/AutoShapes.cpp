#include "windows/com/AutoShapes.h"

#include "windows/com/AutoShape.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoShapes::Count() { return Int32Of(dispatch().Get(u"Count")); }

std::shared_ptr<platform::Shape> AutoShapes::Item(int32_t index) {
  return Wrap<AutoShape>(ObjectOf(u"Item", {ScopedVariant::Int32(index)}));
}

}  // namespace sendnote::com
