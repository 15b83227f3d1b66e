// The command bars of an explorer or inspector window.
#pragma once

#include "platform/CommandBars.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoCommandBars : public AutomationObject<platform::CommandBars> {
 public:
  explicit AutoCommandBars(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"CommandBars") {}

  std::shared_ptr<platform::CommandBarControl> FindControl(int16_t id) override;
  std::shared_ptr<platform::CommandBarControl> FindControl(std::u16string_view tag) override;
};

}  // namespace sendnote::com
