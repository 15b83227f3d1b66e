// The Documents collection of an in-memory Word: the open documents, and Add, which makes
// a document from a registered template.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "inmemory/WordNode.h"
#include "platform/Word.h"

namespace sendnote::inmemory {

class WordDocuments : public platform::Documents, public WordNode {
 public:
  explicit WordDocuments(std::weak_ptr<WordSession> session);

  // --- platform::Documents ---
  std::u16string TypeName() const override { return u"Documents"; }
  std::shared_ptr<platform::Object> Application() override;
  // An empty template name gives a blank document, as Word bases it on Normal. Raises
  // 5174 for a template that is not registered, 5981 for an unreadable one, and 5 for a
  // document type outside 0..4; nothing is created then.
  std::shared_ptr<platform::Document> Add(std::u16string_view templateName,
                                          platform::Flag newTemplate, int32_t documentType,
                                          platform::Flag visible) override;
  int32_t Count() override;
  // 1-based; raises 5941 out of range.
  std::shared_ptr<platform::Document> Item(int32_t index) override;
};

}  // namespace sendnote::inmemory
