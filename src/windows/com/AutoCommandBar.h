// One command bar (the bar of a popup menu, for example).
#pragma once

#include "platform/CommandBars.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoCommandBar : public AutomationObject<platform::CommandBar> {
 public:
  explicit AutoCommandBar(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"CommandBar") {}

  std::shared_ptr<platform::CommandBarControl> FindControl(std::u16string_view tag) override;
};

}  // namespace sendnote::com
