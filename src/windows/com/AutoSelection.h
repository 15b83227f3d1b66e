// The items selected in an explorer.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoSelection : public AutomationObject<platform::Selection> {
 public:
  explicit AutoSelection(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Selection") {}

  int32_t Count() override;
  std::shared_ptr<platform::OutlookItem> Item(int32_t index) override;
};

}  // namespace sendnote::com
