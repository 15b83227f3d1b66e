// One custom document property: Office's DocumentProperty.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoDocumentProperty : public AutomationObject<platform::DocumentProperty, Host::kWord> {
 public:
  explicit AutoDocumentProperty(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"DocumentProperty") {}

  std::u16string Name() override;
  int32_t Type() override;
  void SetType(int32_t type) override;
  platform::Variant Value() override;
  void SetValue(const platform::Variant& value) override;
  platform::Flag LinkToContent() override;
  void Delete() override;
};

}  // namespace sendnote::com
