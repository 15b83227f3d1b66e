// A button of a command bar, with its Click event.
#pragma once

#include "windows/com/AutoCommandBarControl.h"

namespace sendnote::com {

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

}  // namespace sendnote::com
