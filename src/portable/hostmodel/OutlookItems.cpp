#include "portable/hostmodel/OutlookItems.h"

#include "platform/ComError.h"
#include "portable/hostmodel/CallObserver.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"

namespace sendnote::hostmodel {

// --- OutlookStoredItem ---

OutlookStoredItem::OutlookStoredItem(std::weak_ptr<OutlookHost> host,
                                     std::weak_ptr<OutlookFolder> folder, bool saved)
    : host_(std::move(host)), folder_(std::move(folder)), saved_(saved) {}

std::shared_ptr<OutlookApp> OutlookStoredItem::EnterItem(std::u16string_view member) {
  NoteCall(this, member);
  auto host = host_.lock();
  if (!host) platform::Raise(platform::kErrServerGone);
  return host->RequireRunning();
}

std::shared_ptr<platform::OutlookItem> OutlookStoredItem::AsItem() {
  return std::dynamic_pointer_cast<platform::OutlookItem>(shared_from_this());
}

void OutlookStoredItem::ApplyClose(int32_t saveMode) {
  if (saveMode < platform::kOlSave || saveMode > 2) platform::Raise(platform::kErrInvalidCall);
  closes_.push_back(saveMode);
  if (saveMode == platform::kOlDiscard) {
    Revert();
    return;
  }
  Commit();
  if (saved_) return;
  auto folder = folder_.lock();
  if (!folder) platform::Raise(platform::kErrServerGone);
  folder->Store(AsItem());
  saved_ = true;
}

// --- OutlookContact ---

OutlookContact::OutlookContact(std::weak_ptr<OutlookHost> host, std::weak_ptr<OutlookFolder> folder,
                               const ContactRecord& record, bool saved)
    : OutlookStoredItem(std::move(host), std::move(folder), saved), record_(record) {
  // A new, unsaved item has nothing in the store yet.
  if (saved) stored_ = record_;
}

std::shared_ptr<platform::Object> OutlookContact::Application() {
  return EnterItem(u"Application");
}

int32_t OutlookContact::Class() {
  EnterItem(u"Class");
  return platform::kOlContactItemClass;
}

std::u16string OutlookContact::Get(platform::ContactField field) {
  EnterItem(platform::ContactFieldName(field));
  return record_[field];
}

void OutlookContact::Set(platform::ContactField field, std::u16string_view value) {
  EnterItem(platform::ContactFieldName(field));
  record_[field] = std::u16string(value);
}

platform::MailingAddress OutlookContact::SelectedMailingAddress() {
  EnterItem(u"SelectedMailingAddress");
  return record_.mailingAddress;
}

void OutlookContact::SetSelectedMailingAddress(platform::MailingAddress kind) {
  EnterItem(u"SelectedMailingAddress");
  if (!platform::IsMailingAddress(static_cast<int32_t>(kind))) {
    platform::Raise(platform::kErrInvalidCall);
  }
  record_.mailingAddress = kind;
}

std::shared_ptr<platform::Inspector> OutlookContact::GetInspector() {
  auto app = EnterItem(u"GetInspector");
  return app->InspectorFor(AsItem());
}

void OutlookContact::Close(int32_t saveMode) {
  auto app = EnterItem(u"Close");
  ApplyClose(saveMode);
  app->CloseInspectorsOf(this);
}

const std::u16string& OutlookContact::Field(platform::ContactField field) const {
  return record_[field];
}

const std::u16string& OutlookContact::StoredField(platform::ContactField field) const {
  return stored_[field];
}

bool OutlookContact::Dirty() const { return record_ != stored_; }

void OutlookContact::Commit() { stored_ = record_; }

void OutlookContact::Revert() { record_ = stored_; }

// --- OutlookOtherItem ---

OutlookOtherItem::OutlookOtherItem(std::weak_ptr<OutlookHost> host,
                                   std::weak_ptr<OutlookFolder> folder, int32_t itemClass,
                                   std::u16string typeName, std::u16string subject, bool saved)
    : OutlookStoredItem(std::move(host), std::move(folder), saved),
      class_(itemClass),
      typeName_(std::move(typeName)),
      subject_(std::move(subject)) {}

std::shared_ptr<platform::Object> OutlookOtherItem::Application() {
  return EnterItem(u"Application");
}

int32_t OutlookOtherItem::Class() {
  EnterItem(u"Class");
  return class_;
}

}  // namespace sendnote::hostmodel
