// The collection of Outlook's explorer windows.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoExplorers : public AutomationObject<platform::Explorers> {
 public:
  explicit AutoExplorers(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Explorers") {}

  int32_t Count() override;
  std::shared_ptr<platform::Explorer> Item(int32_t index) override;
};

}  // namespace sendnote::com
