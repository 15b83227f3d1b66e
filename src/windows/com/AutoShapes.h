// The shapes of a Word document, text boxes among them.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoShapes : public AutomationObject<platform::Shapes, Host::kWord> {
 public:
  explicit AutoShapes(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Shapes") {}

  int32_t Count() override;
  std::shared_ptr<platform::Shape> Item(int32_t index) override;
};

}  // namespace sendnote::com
