// The fields of a Word story or range.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoFields : public AutomationObject<platform::Fields, Host::kWord> {
 public:
  explicit AutoFields(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Fields") {}

  int32_t Count() override;
  std::shared_ptr<platform::Field> Item(int32_t index) override;
};

}  // namespace sendnote::com
