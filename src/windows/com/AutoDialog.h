// One of Word's built-in dialogs. Its settings (Template, NewTemplate) are not members of
// Word's Dialog interface: each dialog answers them by name, late bound.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoDialog : public AutomationObject<platform::Dialog, Host::kWord> {
 public:
  explicit AutoDialog(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Dialog") {}

  int32_t Display() override;
  std::u16string Template() override;
  platform::Variant NewTemplate() override;
};

}  // namespace sendnote::com
