#include "windows/com/AutoCommandBar.h"

#include "windows/com/AutoCommandBarControl.h"

namespace sendnote::com {

std::shared_ptr<platform::CommandBarControl> AutoCommandBar::FindControl(std::u16string_view tag) {
  // FindControl(Type, Id, Tag): Type and Id left out.
  return WrapControl(ObjectOf(u"FindControl", {ScopedVariant::Missing(), ScopedVariant::Missing(),
                                               ScopedVariant::String(tag)}));
}

}  // namespace sendnote::com
