// Word's open documents.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoDocuments : public AutomationObject<platform::Documents, Host::kWord> {
 public:
  explicit AutoDocuments(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Documents") {}

  std::shared_ptr<platform::Document> Add(std::u16string_view templateName,
                                          platform::Flag newTemplate, int32_t documentType,
                                          platform::Flag visible) override;
  int32_t Count() override;
  std::shared_ptr<platform::Document> Item(int32_t index) override;
};

}  // namespace sendnote::com
