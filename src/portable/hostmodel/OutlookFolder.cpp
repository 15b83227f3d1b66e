#include "portable/hostmodel/OutlookFolder.h"

#include "platform/ComError.h"
#include "portable/hostmodel/CallObserver.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookHost.h"

namespace sendnote::hostmodel {

OutlookFolder::OutlookFolder(std::weak_ptr<OutlookHost> host, std::u16string name,
                             int32_t defaultClass)
    : host_(std::move(host)), name_(std::move(name)), defaultClass_(defaultClass) {}

std::shared_ptr<OutlookApp> OutlookFolder::RunningApp() const {
  auto host = host_.lock();
  if (!host) platform::Raise(platform::kErrServerGone);
  return host->RequireRunning();
}

std::shared_ptr<platform::Object> OutlookFolder::Application() {
  NoteCall(this, u"Application");
  return RunningApp();
}

std::u16string OutlookFolder::Name() {
  NoteCall(this, u"Name");
  RunningApp();
  return name_;
}

std::shared_ptr<platform::Explorer> OutlookFolder::GetExplorer(int32_t) {
  NoteCall(this, u"GetExplorer");
  return RunningApp()->NewExplorer(shared_from_this(), false);
}

std::shared_ptr<platform::Items> OutlookFolder::Items() {
  NoteCall(this, u"Items");
  RunningApp();
  return ItemsObject();
}

std::shared_ptr<OutlookFolderItems> OutlookFolder::ItemsObject() {
  if (!items_) items_ = std::make_shared<OutlookFolderItems>(weak_from_this());
  return items_;
}

std::shared_ptr<OutlookContact> OutlookFolder::AddContact(const ContactRecord& record) {
  auto contact = std::make_shared<OutlookContact>(host_, weak_from_this(), record, true);
  contents_.push_back(contact);
  return contact;
}

std::shared_ptr<OutlookOtherItem> OutlookFolder::AddMail(std::u16string subject) {
  auto mail = std::make_shared<OutlookOtherItem>(host_, weak_from_this(), kOlMailItemClass,
                                                 u"MailItem", std::move(subject), true);
  contents_.push_back(mail);
  return mail;
}

std::shared_ptr<OutlookOtherItem> OutlookFolder::AddDistList(std::u16string name) {
  auto list = std::make_shared<OutlookOtherItem>(host_, weak_from_this(), kOlDistListClass,
                                                 u"DistListItem", std::move(name), true);
  contents_.push_back(list);
  return list;
}

std::shared_ptr<platform::OutlookItem> OutlookFolder::NewItem() {
  std::shared_ptr<platform::OutlookItem> item;
  if (defaultClass_ == platform::kOlContactItemClass) {
    item = std::make_shared<OutlookContact>(host_, weak_from_this(), ContactRecord{}, false);
  } else {
    item = std::make_shared<OutlookOtherItem>(host_, weak_from_this(), defaultClass_, u"MailItem",
                                              u"", false);
  }
  created_.push_back(item);
  return item;
}

void OutlookFolder::Store(const std::shared_ptr<platform::OutlookItem>& item) {
  contents_.push_back(item);
}

// --- OutlookFolderItems ---

OutlookFolderItems::OutlookFolderItems(std::weak_ptr<OutlookFolder> folder)
    : folder_(std::move(folder)) {}

std::shared_ptr<OutlookFolder> OutlookFolderItems::Folder() const {
  auto folder = folder_.lock();
  if (!folder) platform::Raise(platform::kErrServerGone);
  return folder;
}

std::shared_ptr<platform::Object> OutlookFolderItems::Application() {
  NoteCall(this, u"Application");
  return Folder()->RunningApp();
}

std::shared_ptr<platform::OutlookItem> OutlookFolderItems::GetFirst() {
  NoteCall(this, u"GetFirst");
  auto folder = Folder();
  folder->RunningApp();  // answers only while the host runs
  const auto& contents = folder->Contents();
  return contents.empty() ? nullptr : contents.front();
}

std::shared_ptr<platform::OutlookItem> OutlookFolderItems::Add() {
  NoteCall(this, u"Add");
  auto folder = Folder();
  folder->RunningApp();
  return folder->NewItem();
}

int32_t OutlookFolderItems::Count() {
  NoteCall(this, u"Count");
  auto folder = Folder();
  folder->RunningApp();
  return static_cast<int32_t>(folder->Contents().size());
}

}  // namespace sendnote::hostmodel
