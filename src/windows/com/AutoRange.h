// A range of Word text: a field's code or result, or a text frame's text.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoRange : public AutomationObject<platform::Range, Host::kWord> {
 public:
  explicit AutoRange(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Range") {}

  std::u16string Text() override;
  void SetText(std::u16string_view text) override;
  std::shared_ptr<platform::Fields> Fields() override;
};

}  // namespace sendnote::com
