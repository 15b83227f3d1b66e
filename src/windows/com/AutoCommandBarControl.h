// Command bar controls: the members every control has, for the plain control, the popup
// and the button, and the wrapper that picks the class from the control's Type.
#pragma once

#include "platform/CommandBars.h"
#include "windows/com/AutomationObject.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

inline constexpr int32_t kMsoControlButton = 1;
inline constexpr int32_t kMsoControlPopup = 10;

template <class Contract>
class AutoControl : public AutomationObject<Contract> {
 public:
  explicit AutoControl(ComPtr<IDispatch> object, std::u16string typeName)
      : AutomationObject<Contract>(std::move(object), std::move(typeName)) {}

  int32_t Id() override { return Int32Of(this->dispatch().Get(u"Id")); }
  std::u16string Tag() override { return TextOf(this->dispatch().Get(u"Tag")); }
  void Delete() override { this->dispatch().Call(u"Delete"); }
};

class AutoCommandBarControl : public AutoControl<platform::CommandBarControl> {
 public:
  explicit AutoCommandBarControl(ComPtr<IDispatch> object)
      : AutoControl(std::move(object), u"CommandBarControl") {}
};

// A control as the class of its Type (button, popup, other); Nothing stays empty.
std::shared_ptr<platform::CommandBarControl> WrapControl(ComPtr<IDispatch> object);

}  // namespace sendnote::com
