// A popup control (a menu) of a command bar.
#pragma once

#include "windows/com/AutoCommandBarControl.h"

namespace sendnote::com {

class AutoCommandBarPopup : public AutoControl<platform::CommandBarPopup> {
 public:
  explicit AutoCommandBarPopup(ComPtr<IDispatch> object)
      : AutoControl(std::move(object), u"CommandBarPopup") {}

  std::shared_ptr<platform::CommandBar> CommandBar() override;
  std::shared_ptr<platform::CommandBarControls> Controls() override;
};

}  // namespace sendnote::com
