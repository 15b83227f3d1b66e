#include "windows/com/AutoCommandBarControl.h"

#include "windows/com/AutoCommandBarButton.h"
#include "windows/com/AutoCommandBarPopup.h"

namespace sendnote::com {

std::shared_ptr<platform::CommandBarControl> WrapControl(ComPtr<IDispatch> object) {
  if (!object) return nullptr;
  // Without a type library the control's class is only known from its Type.
  const int32_t type = Int32Of(Dispatch(object).Get(u"Type"));
  if (type == kMsoControlButton) return std::make_shared<AutoCommandBarButton>(std::move(object));
  if (type == kMsoControlPopup) return std::make_shared<AutoCommandBarPopup>(std::move(object));
  return std::make_shared<AutoCommandBarControl>(std::move(object));
}

}  // namespace sendnote::com
