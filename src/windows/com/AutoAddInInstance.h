// The add-in instance object the host passes to the connection.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoAddInInstance : public AutomationObject<platform::AddInInstance> {
 public:
  explicit AutoAddInInstance(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"COMAddIn") {}

  std::u16string ProgId() override;
};

}  // namespace sendnote::com
