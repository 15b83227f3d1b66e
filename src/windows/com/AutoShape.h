// A Word shape.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoShape : public AutomationObject<platform::Shape, Host::kWord> {
 public:
  explicit AutoShape(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Shape") {}

  std::shared_ptr<platform::TextFrame> TextFrame() override;
};

}  // namespace sendnote::com
