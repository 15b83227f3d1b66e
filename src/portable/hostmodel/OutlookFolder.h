// A folder of the host model's store and its Items collection.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Outlook.h"
#include "portable/hostmodel/OutlookItems.h"

namespace sendnote::hostmodel {

class OutlookHost;
class OutlookApp;
class OutlookFolderItems;

class OutlookFolder : public platform::MAPIFolder,
                      public std::enable_shared_from_this<OutlookFolder> {
 public:
  // `defaultClass`: the kind of item Items.Add makes (40 contact, 43 mail).
  OutlookFolder(std::weak_ptr<OutlookHost> host, std::u16string name, int32_t defaultClass);

  // --- platform::MAPIFolder ---
  std::u16string TypeName() const override { return u"MAPIFolder"; }
  std::shared_ptr<platform::Object> Application() override;
  std::u16string Name() override;
  // A new explorer on the folder, not displayed; it counts among Explorers until closed.
  std::shared_ptr<platform::Explorer> GetExplorer(int32_t displayMode) override;
  std::shared_ptr<platform::Items> Items() override;

  // --- for tests ---
  // Stores a new item in the folder, as saved.
  std::shared_ptr<OutlookContact> AddContact(const ContactRecord& record);
  std::shared_ptr<OutlookOtherItem> AddMail(std::u16string subject);
  std::shared_ptr<OutlookOtherItem> AddDistList(std::u16string name);
  // The items the folder holds, in order.
  const std::vector<std::shared_ptr<platform::OutlookItem>>& Contents() const { return contents_; }
  // The items Items.Add made, saved or not.
  const std::vector<std::shared_ptr<platform::OutlookItem>>& Created() const { return created_; }
  std::shared_ptr<OutlookFolderItems> ItemsObject();
  int32_t DefaultClass() const { return defaultClass_; }

  // --- used by the items ---
  // The running application; raises server gone when the host is not running.
  std::shared_ptr<OutlookApp> RunningApp() const;
  std::shared_ptr<platform::OutlookItem> NewItem();
  void Store(const std::shared_ptr<platform::OutlookItem>& item);

 private:
  std::weak_ptr<OutlookHost> host_;
  std::u16string name_;
  int32_t defaultClass_;
  std::vector<std::shared_ptr<platform::OutlookItem>> contents_;
  std::vector<std::shared_ptr<platform::OutlookItem>> created_;
  std::shared_ptr<OutlookFolderItems> items_;
};

class OutlookFolderItems : public platform::Items {
 public:
  explicit OutlookFolderItems(std::weak_ptr<OutlookFolder> folder);

  std::u16string TypeName() const override { return u"Items"; }
  std::shared_ptr<platform::Object> Application() override;
  // The first item, or empty when the folder holds none.
  std::shared_ptr<platform::OutlookItem> GetFirst() override;
  // A new, unsaved item of the folder's default kind.
  std::shared_ptr<platform::OutlookItem> Add() override;
  int32_t Count();

 private:
  std::shared_ptr<OutlookFolder> Folder() const;

  std::weak_ptr<OutlookFolder> folder_;
};

}  // namespace sendnote::hostmodel
