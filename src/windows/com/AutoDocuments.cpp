#include "windows/com/AutoDocuments.h"

#include "windows/com/AutoDocument.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

std::shared_ptr<platform::Document> AutoDocuments::Add(std::u16string_view templateName,
                                                       platform::Flag newTemplate,
                                                       int32_t documentType,
                                                       platform::Flag visible) {
  return Wrap<AutoDocument>(ObjectOf(
      u"Add",
      {ScopedVariant::String(templateName), ScopedVariant::Bool(newTemplate != platform::kFalse),
       ScopedVariant::Int32(documentType), ScopedVariant::Bool(visible != platform::kFalse)}));
}

int32_t AutoDocuments::Count() { return Int32Of(dispatch().Get(u"Count")); }

std::shared_ptr<platform::Document> AutoDocuments::Item(int32_t index) {
  return Wrap<AutoDocument>(ObjectOf(u"Item", {ScopedVariant::Int32(index)}));
}

}  // namespace sendnote::com
