// A Word field.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoField : public AutomationObject<platform::Field, Host::kWord> {
 public:
  explicit AutoField(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Field") {}

  int32_t Type() override;
  std::shared_ptr<platform::Range> Code() override;
  std::shared_ptr<platform::Range> Result() override;
  platform::Flag Update() override;
};

}  // namespace sendnote::com
