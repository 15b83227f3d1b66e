#include "windows/com/AutoExplorers.h"

#include "windows/com/AutoExplorer.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoExplorers::Count() { return Int32Of(dispatch().Get(u"Count")); }

std::shared_ptr<platform::Explorer> AutoExplorers::Item(int32_t index) {
  return Wrap<AutoExplorer>(ObjectOf(u"Item", {ScopedVariant::Int32(index)}));
}

}  // namespace sendnote::com
