#include "inmemory/WordDialogs.h"

#include "inmemory/WordApp.h"
#include "platform/ComError.h"

namespace sendnote::inmemory {

WordFileNewDialog::WordFileNewDialog(std::weak_ptr<WordSession> session)
    : WordNode(u"Dialog", std::move(session), {}) {}

std::shared_ptr<platform::Object> WordFileNewDialog::Application() {
  Call(u"Application");
  return App();
}

int32_t WordFileNewDialog::Display() {
  Call(u"Display");
  auto session = Session();
  ++session->fileNewDisplays;
  if (session->fileNewAnswers.empty()) return 0;
  FileNewAnswer answer = std::move(session->fileNewAnswers.front());
  session->fileNewAnswers.pop_front();
  if (answer.result == -1) {
    template_ = std::move(answer.templateName);
    newTemplate_ = std::move(answer.newTemplate);
  }
  return answer.result;
}

std::u16string WordFileNewDialog::Template() {
  Call(u"Template");
  return template_;
}

platform::Variant WordFileNewDialog::NewTemplate() {
  Call(u"NewTemplate");
  return newTemplate_;
}

WordDialogs::WordDialogs(std::weak_ptr<WordSession> session)
    : WordNode(u"Dialogs", session, {}), fileNew_(std::make_shared<WordFileNewDialog>(session)) {}

std::shared_ptr<platform::Object> WordDialogs::Application() {
  Call(u"Application");
  return App();
}

std::shared_ptr<platform::Dialog> WordDialogs::Item(int32_t id) {
  Call(u"Item");
  if (id != platform::kWdDialogFileNew) {
    platform::RaiseNoSuchMember();
  }
  return fileNew_;
}

}  // namespace sendnote::inmemory
