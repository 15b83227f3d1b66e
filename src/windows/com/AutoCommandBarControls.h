// The controls of a command bar or popup.
#pragma once

#include "platform/CommandBars.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoCommandBarControls : public AutomationObject<platform::CommandBarControls> {
 public:
  explicit AutoCommandBarControls(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"CommandBarControls") {}

  std::shared_ptr<platform::CommandBarControl> Add(int32_t type, int16_t id,
                                                   std::u16string_view parameter) override;
};

}  // namespace sendnote::com
