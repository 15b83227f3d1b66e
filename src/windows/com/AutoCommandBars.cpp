#include "windows/com/AutoCommandBars.h"

#include "windows/com/AutoCommandBarControl.h"

namespace sendnote::com {

std::shared_ptr<platform::CommandBarControl> AutoCommandBars::FindControl(int16_t id) {
  // FindControl(Type, Id): Type left out.
  return WrapControl(
      ObjectOf(u"FindControl", {ScopedVariant::Missing(), ScopedVariant::Int32(id)}));
}

std::shared_ptr<platform::CommandBarControl> AutoCommandBars::FindControl(std::u16string_view tag) {
  return WrapControl(ObjectOf(u"FindControl", {ScopedVariant::Missing(), ScopedVariant::Missing(),
                                               ScopedVariant::String(tag)}));
}

}  // namespace sendnote::com
