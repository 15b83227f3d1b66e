#include "inmemory/WordNode.h"

#include <typeinfo>

#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "platform/ComError.h"

namespace sendnote::inmemory {

WordNode::WordNode(std::u16string_view typeName, std::weak_ptr<WordSession> session,
                   std::weak_ptr<WordDocument> document)
    : typeName_(typeName),
      session_(std::move(session)),
      document_(std::move(document)),
      inDocument_(!document_.expired()) {}

void WordNode::Call(std::u16string_view member) {
  auto session = session_.lock();
  if (session) {
    std::u16string entry(typeName_);
    entry += u'.';
    entry += member;
    session->journal.push_back(std::move(entry));
    session->faults.Enter(member);
  }
  Enter(member);
  if (!session || session->quit) platform::Raise(platform::kErrServerGone);
  if (inDocument_) Document();
  if (Deleted()) platform::Raise(platform::kErrWordObjectDeleted, u"Object has been deleted.");
}

std::shared_ptr<WordSession> WordNode::Session() const {
  auto session = session_.lock();
  if (!session || session->quit) platform::Raise(platform::kErrServerGone);
  return session;
}

std::shared_ptr<WordDocument> WordNode::Document() const {
  auto document = document_.lock();
  if (!document || document->IsClosed()) {
    platform::Raise(platform::kErrWordObjectDeleted, u"Object has been deleted.");
  }
  return document;
}

std::shared_ptr<WordApp> WordNode::App() const {
  auto app = Session()->app.lock();
  if (!app) platform::Raise(platform::kErrServerGone);
  return app;
}

Faults& FaultsOf(const std::shared_ptr<platform::Object>& object) {
  return dynamic_cast<Faultable&>(*object).faults();
}

}  // namespace sendnote::inmemory
