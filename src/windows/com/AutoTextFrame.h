// The text frame of a Word shape.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoTextFrame : public AutomationObject<platform::TextFrame, Host::kWord> {
 public:
  explicit AutoTextFrame(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"TextFrame") {}

  std::shared_ptr<platform::Range> TextRange() override;
};

}  // namespace sendnote::com
