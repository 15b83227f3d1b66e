// The collection of Outlook's inspectors, the windows of single items.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoInspectors : public AutomationObject<platform::Inspectors> {
 public:
  explicit AutoInspectors(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Inspectors") {}

  int32_t Count() override;
  std::shared_ptr<platform::Inspector> Item(int32_t index) override;
};

}  // namespace sendnote::com
