#include "windows/com/AutoDocumentProperties.h"

#include "windows/com/AutoDocumentProperty.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoDocumentProperties::Count() { return Int32Of(dispatch().Get(u"Count")); }

std::shared_ptr<platform::DocumentProperty> AutoDocumentProperties::Item(int32_t index) {
  return Wrap<AutoDocumentProperty>(ObjectOf(u"Item", {ScopedVariant::Int32(index)}));
}

std::shared_ptr<platform::DocumentProperty> AutoDocumentProperties::Item(std::u16string_view name) {
  return Wrap<AutoDocumentProperty>(ObjectOf(u"Item", {ScopedVariant::String(name)}));
}

std::shared_ptr<platform::DocumentProperty> AutoDocumentProperties::Add(
    std::u16string_view name, platform::Flag linkToContent, int32_t type,
    const platform::Variant& value) {
  if (linkToContent != platform::kFalse) {
    platform::Raise(platform::kErrInvalidCall,
                    u"A property linked to content needs a link source (Add)");
  }
  return Wrap<AutoDocumentProperty>(
      ObjectOf(u"Add", {ScopedVariant::String(name), ScopedVariant::Bool(false),
                        ScopedVariant::Int32(type), ToComVariant(value)}));
}

}  // namespace sendnote::com
