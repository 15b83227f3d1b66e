#include "inmemory/WordDocuments.h"

#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "platform/ComError.h"

namespace sendnote::inmemory {

WordDocuments::WordDocuments(std::weak_ptr<WordSession> session)
    : WordNode(u"Documents", std::move(session), {}) {}

std::shared_ptr<platform::Object> WordDocuments::Application() {
  Call(u"Application");
  return App();
}

std::shared_ptr<platform::Document> WordDocuments::Add(std::u16string_view templateName,
                                                       platform::Flag newTemplate,
                                                       int32_t documentType,
                                                       platform::Flag visible) {
  Call(u"Add");
  return App()->AddDocument(templateName, newTemplate, documentType, visible);
}

int32_t WordDocuments::Count() {
  Call(u"Count");
  return static_cast<int32_t>(Session()->open.size());
}

std::shared_ptr<platform::Document> WordDocuments::Item(int32_t index) {
  Call(u"Item");
  const auto& open = Session()->open;
  if (index < 1 || static_cast<size_t>(index) > open.size()) {
    platform::RaiseNoSuchMember();
  }
  return open[static_cast<size_t>(index) - 1];
}

std::shared_ptr<platform::Document> WordDocuments::Open(std::u16string_view fileName) {
  Call(u"Open");
  return App()->OpenDocument(fileName);
}

}  // namespace sendnote::inmemory
