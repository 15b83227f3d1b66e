// Office's command bars as automation objects: the bars of a window, one bar, its
// controls, and the plain control, the popup and the button with its Click event. The
// classes follow the contracts of platform/CommandBars.h one for one.
#pragma once

#include "platform/CommandBars.h"
#include "windows/com/AutomationObject.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

inline constexpr int32_t kMsoControlButton = 1;
inline constexpr int32_t kMsoControlPopup = 10;

// The command bars of an explorer or inspector window.
class AutoCommandBars : public AutomationObject<platform::CommandBars> {
 public:
  explicit AutoCommandBars(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"CommandBars") {}

  std::shared_ptr<platform::CommandBarControl> FindControl(int16_t id) override;
  std::shared_ptr<platform::CommandBarControl> FindControl(std::u16string_view tag) override;
};

// One command bar (the bar of a popup menu, for example).
class AutoCommandBar : public AutomationObject<platform::CommandBar> {
 public:
  explicit AutoCommandBar(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"CommandBar") {}

  std::shared_ptr<platform::CommandBarControl> FindControl(std::u16string_view tag) override;
};

// The controls of a command bar or popup.
class AutoCommandBarControls : public AutomationObject<platform::CommandBarControls> {
 public:
  explicit AutoCommandBarControls(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"CommandBarControls") {}

  std::shared_ptr<platform::CommandBarControl> Add(int32_t type, int16_t id,
                                                   std::u16string_view parameter) override;
};

// The members every control has, for the plain control, the popup and the button.
template <class Contract>
class AutoControl : public AutomationObject<Contract> {
 public:
  explicit AutoControl(ComPtr<IDispatch> object, std::u16string typeName)
      : AutomationObject<Contract>(std::move(object), std::move(typeName)) {}

  int32_t Id() override { return Int32Of(this->dispatch().Get(u"Id")); }
  std::u16string Tag() override { return TextOf(this->dispatch().Get(u"Tag")); }
  void Delete() override { this->dispatch().Call(u"Delete"); }
};

// A control that is neither a button nor a popup.
class AutoCommandBarControl : public AutoControl<platform::CommandBarControl> {
 public:
  explicit AutoCommandBarControl(ComPtr<IDispatch> object)
      : AutoControl(std::move(object), u"CommandBarControl") {}
};

// A popup control (a menu) of a command bar.
class AutoCommandBarPopup : public AutoControl<platform::CommandBarPopup> {
 public:
  explicit AutoCommandBarPopup(ComPtr<IDispatch> object)
      : AutoControl(std::move(object), u"CommandBarPopup") {}

  std::shared_ptr<platform::CommandBar> CommandBar() override;
  std::shared_ptr<platform::CommandBarControls> Controls() override;
};

// A button of a command bar, with its Click event.
class AutoCommandBarButton : public AutoControl<platform::CommandBarButton> {
 public:
  explicit AutoCommandBarButton(ComPtr<IDispatch> object)
      : AutoControl(std::move(object), u"CommandBarButton") {}

  std::u16string OnAction() override;
  void SetOnAction(std::u16string_view action) override;
  std::u16string Caption() override;
  void SetCaption(std::u16string_view caption) override;
  void SetTag(std::u16string_view tag) override;
  // Advises a sink on the button's _CommandBarButtonEvents connection point; the
  // connection unadvises when it ends.
  platform::EventConnection ConnectClick(ClickHandler handler) override;
};

// A control as the class of its Type (button, popup, other); Nothing stays empty.
std::shared_ptr<platform::CommandBarControl> WrapControl(ComPtr<IDispatch> object);

}  // namespace sendnote::com
