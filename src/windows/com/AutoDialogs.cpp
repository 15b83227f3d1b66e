#include "windows/com/AutoDialogs.h"

#include "windows/com/AutoDialog.h"

namespace sendnote::com {

std::shared_ptr<platform::Dialog> AutoDialogs::Item(int32_t id) {
  return Wrap<AutoDialog>(ObjectOf(u"Item", {ScopedVariant::Int32(id)}));
}

}  // namespace sendnote::com
