// The add-in instance object the host passes to the connection.
#pragma once

#include "com/AutomationObject.h"
#include "platform/Outlook.h"

namespace sendnote::com {

class AutoAddInInstance : public AutomationObject<platform::AddInInstance> {
 public:
  explicit AutoAddInInstance(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"COMAddIn") {}

  std::u16string ProgId() override;
};

}  // namespace sendnote::com
