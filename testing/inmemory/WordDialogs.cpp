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

std::u16string WordFileNewDialog::Name() {
  Call(u"Name");
  platform::Raise(platform::kErrNotSupported);
}

WordFileOpenDialog::WordFileOpenDialog(std::weak_ptr<WordSession> session)
    : WordNode(u"Dialog", std::move(session), {}) {}

std::shared_ptr<platform::Object> WordFileOpenDialog::Application() {
  Call(u"Application");
  return App();
}

int32_t WordFileOpenDialog::Display() {
  Call(u"Display");
  auto session = Session();
  ++session->fileOpenDisplays;
  if (session->fileOpenAnswers.empty()) return 0;
  std::u16string answer = std::move(session->fileOpenAnswers.front());
  session->fileOpenAnswers.pop_front();
  if (answer.empty()) return 0;
  name_ = std::move(answer);
  return -1;
}

std::u16string WordFileOpenDialog::Template() {
  Call(u"Template");
  platform::Raise(platform::kErrNotSupported);
}

platform::Variant WordFileOpenDialog::NewTemplate() {
  Call(u"NewTemplate");
  platform::Raise(platform::kErrNotSupported);
}

std::u16string WordFileOpenDialog::Name() {
  Call(u"Name");
  return name_;
}

WordDialogs::WordDialogs(std::weak_ptr<WordSession> session)
    : WordNode(u"Dialogs", session, {}),
      fileNew_(std::make_shared<WordFileNewDialog>(session)),
      fileOpen_(std::make_shared<WordFileOpenDialog>(session)) {}

std::shared_ptr<platform::Object> WordDialogs::Application() {
  Call(u"Application");
  return App();
}

std::shared_ptr<platform::Dialog> WordDialogs::Item(int32_t id) {
  Call(u"Item");
  if (id == platform::kWdDialogFileOpen) return fileOpen_;
  if (id != platform::kWdDialogFileNew) {
    platform::RaiseNoSuchMember();
  }
  return fileNew_;
}

}  // namespace sendnote::inmemory
