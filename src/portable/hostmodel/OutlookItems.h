// Items of the host model's store: contacts with every contact field, and other items (mail,
// distribution lists) that are not contacts. An item belongs to a folder once saved.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "contactrecord/ContactRecord.h"
#include "platform/ContactField.h"
#include "platform/Outlook.h"

namespace sendnote::hostmodel {

class OutlookHost;
class OutlookFolder;
class OutlookApp;

// What every stored item shares: its folder, whether the store holds it, its closes.
class OutlookStoredItem : public std::enable_shared_from_this<OutlookStoredItem> {
 public:
  virtual ~OutlookStoredItem() = default;

  // True once the folder holds the item (added saved, or closed with save).
  bool Saved() const { return saved_; }
  // True while the item has changes not saved.
  virtual bool Dirty() const = 0;
  // Every close of the item, by itself or by its inspector: the close modes in order.
  const std::vector<int32_t>& Closes() const { return closes_; }
  std::shared_ptr<OutlookFolder> Folder() const { return folder_.lock(); }

  // Closes the item: 0 saves it into its folder, 1 discards unsaved changes (a new item
  // is then never stored), 2 saves as the user's default answer to the prompt.
  void ApplyClose(int32_t saveMode);
  // The item as the platform sees it.
  std::shared_ptr<platform::OutlookItem> AsItem();

 protected:
  OutlookStoredItem(std::weak_ptr<OutlookHost> host, std::weak_ptr<OutlookFolder> folder,
                    bool saved);
  // Reports the call to the observer, and raises when the host is not running.
  std::shared_ptr<OutlookApp> EnterItem(std::u16string_view member);
  virtual void Commit() = 0;
  virtual void Revert() = 0;

 private:
  std::weak_ptr<OutlookHost> host_;
  std::weak_ptr<OutlookFolder> folder_;
  bool saved_;
  std::vector<int32_t> closes_;
};

class OutlookContact : public platform::ContactItem, public OutlookStoredItem {
 public:
  OutlookContact(std::weak_ptr<OutlookHost> host, std::weak_ptr<OutlookFolder> folder,
                 const ContactRecord& record, bool saved);

  // --- platform::ContactItem ---
  std::u16string TypeName() const override { return u"ContactItem"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Class() override;
  std::u16string Get(platform::ContactField field) override;
  void Set(platform::ContactField field, std::u16string_view value) override;
  platform::MailingAddress SelectedMailingAddress() override;
  void SetSelectedMailingAddress(platform::MailingAddress kind) override;
  std::shared_ptr<platform::Inspector> GetInspector() override;
  void Close(int32_t saveMode) override;

  // --- for tests, without counting calls ---
  const std::u16string& Field(platform::ContactField field) const;
  platform::MailingAddress MailingAddress() const { return record_.mailingAddress; }
  // The fields as the store holds them (what a save last kept).
  const std::u16string& StoredField(platform::ContactField field) const;
  bool Dirty() const override;

 private:
  void Commit() override;
  void Revert() override;

  ContactRecord record_;
  ContactRecord stored_;
};

// An item that is not a contact: a mail (Class 43), a distribution list (69), ...
class OutlookOtherItem : public platform::OutlookItem, public OutlookStoredItem {
 public:
  OutlookOtherItem(std::weak_ptr<OutlookHost> host, std::weak_ptr<OutlookFolder> folder,
                   int32_t itemClass, std::u16string typeName, std::u16string subject, bool saved);

  std::u16string TypeName() const override { return typeName_; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Class() override;

  const std::u16string& Subject() const { return subject_; }
  int32_t ItemClass() const { return class_; }
  bool Dirty() const override { return false; }

 private:
  void Commit() override {}
  void Revert() override {}

  int32_t class_;
  std::u16string typeName_;
  std::u16string subject_;
};

}  // namespace sendnote::hostmodel
