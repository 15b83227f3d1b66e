#include "windows/com/AutoCommandBarControls.h"

#include "windows/com/AutoCommandBarControl.h"

namespace sendnote::com {

std::shared_ptr<platform::CommandBarControl> AutoCommandBarControls::Add(
    int32_t type, int16_t id, std::u16string_view parameter) {
  // Before and Temporary left out: appended at the end, permanent.
  return WrapControl(ObjectOf(u"Add", {ScopedVariant::Int32(type), ScopedVariant::Int32(id),
                                       ScopedVariant::String(parameter)}));
}

}  // namespace sendnote::com
