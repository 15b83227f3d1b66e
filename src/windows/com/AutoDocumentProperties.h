// A document's custom properties: Office's DocumentProperties collection.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoDocumentProperties : public AutomationObject<platform::DocumentProperties, Host::kWord> {
 public:
  explicit AutoDocumentProperties(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"DocumentProperties") {}

  int32_t Count() override;
  std::shared_ptr<platform::DocumentProperty> Item(int32_t index) override;
  std::shared_ptr<platform::DocumentProperty> Item(std::u16string_view name) override;
  // Add(Name, LinkToContent, Type, Value) with LinkSource left out; a link to content is
  // refused here (Invalid procedure call), as it would need that source.
  std::shared_ptr<platform::DocumentProperty> Add(std::u16string_view name,
                                                  platform::Flag linkToContent, int32_t type,
                                                  const platform::Variant& value) override;
};

}  // namespace sendnote::com
