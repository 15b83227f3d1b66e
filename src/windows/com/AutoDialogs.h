// Word's built-in dialogs.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoDialogs : public AutomationObject<platform::Dialogs, Host::kWord> {
 public:
  explicit AutoDialogs(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Dialogs") {}

  std::shared_ptr<platform::Dialog> Item(int32_t id) override;
};

}  // namespace sendnote::com
