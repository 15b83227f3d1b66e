// An Outlook inspector: the window of one item (the file is named for what it is).
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoInspector : public AutomationObject<platform::Inspector> {
 public:
  explicit AutoInspector(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Inspector") {}

  void Activate() override;
  std::shared_ptr<platform::CommandBars> CommandBars() override;
  std::shared_ptr<platform::OutlookItem> CurrentItem() override;
  void Close(int32_t saveMode) override;
};

}  // namespace sendnote::com
