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
  // A template "exists" when it was registered with the WordApp.
  std::shared_ptr<platform::Document> Add(std::u16string_view templateName,
                                          platform::Flag newTemplate, int32_t documentType,
                                          platform::Flag visible) override;
  int32_t Count() override;
  std::shared_ptr<platform::Document> Item(int32_t index) override;
  // Opens a file that a document's SaveAs wrote or WordApp::AddFile registered.
  std::shared_ptr<platform::Document> Open(std::u16string_view fileName) override;
};

}  // namespace sendnote::inmemory
