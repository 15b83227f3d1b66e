// The Outlook object-model operations the system relies on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/CommandBars.h"
#include "platform/ContactField.h"
#include "platform/MailingAddress.h"
#include "platform/Object.h"

namespace sendnote::platform {

inline constexpr int32_t kOlContactItemClass = 40;  // Class of a contact item
inline constexpr int32_t kOlFolderContacts = 10;    // GetDefaultFolder: Contacts
inline constexpr int32_t kOlSave = 0;               // item Close: save
inline constexpr int32_t kOlDiscard = 1;            // Close: discard changes

class Inspector;
class Explorer;
class MAPIFolder;

// The add-in instance object the host passes to the connection.
class AddInInstance : public Object {
 public:
  virtual std::u16string ProgId() = 0;
};

// Any Outlook item.
class OutlookItem : public Object {
 public:
  // Reads "Class" by name; may raise.
  virtual int32_t Class() = 0;
};

class ContactItem : public OutlookItem {
 public:
  // Reads a string member; an unset member is the empty string.
  virtual std::u16string Get(ContactField field) = 0;
  virtual void Set(ContactField field, std::u16string_view value) = 0;
  // Which of its addresses the contact marks for mail; setting a value outside Outlook's
  // numbering fails with invalid call.
  virtual MailingAddress SelectedMailingAddress() = 0;
  virtual void SetSelectedMailingAddress(MailingAddress kind) = 0;
  // The item's inspector, not displayed.
  virtual std::shared_ptr<Inspector> GetInspector() = 0;
  // 0 = save, 1 = discard changes.
  virtual void Close(int32_t saveMode) = 0;
};

// A window of Outlook: an explorer or an inspector.
class OutlookWindow : public Object {
 public:
  virtual void Activate() = 0;
  virtual std::shared_ptr<platform::CommandBars> CommandBars() = 0;
};

class Selection : public Object {
 public:
  virtual int32_t Count() = 0;
  // 1-based.
  virtual std::shared_ptr<OutlookItem> Item(int32_t index) = 0;
};

class Explorer : public OutlookWindow {
 public:
  // Reading the selection may fail.
  virtual std::shared_ptr<platform::Selection> Selection() = 0;
  virtual std::shared_ptr<MAPIFolder> CurrentFolder() = 0;
  virtual void SetCurrentFolder(const std::shared_ptr<MAPIFolder>& folder) = 0;
  virtual void Close() = 0;
};

class Inspector : public OutlookWindow {
 public:
  virtual std::shared_ptr<OutlookItem> CurrentItem() = 0;
  virtual void Close(int32_t saveMode) = 0;
};

class Explorers : public Object {
 public:
  using NewExplorerHandler = std::function<void(const std::shared_ptr<Explorer>& explorer)>;

  virtual int32_t Count() = 0;
  virtual std::shared_ptr<Explorer> Item(int32_t index) = 0;  // 1-based
  // Subscribes to NewExplorer, raised for every explorer opened from now on, by the user
  // or by code, before it is shown.
  virtual EventConnection ConnectNewExplorer(NewExplorerHandler handler) = 0;
};

class Inspectors : public Object {
 public:
  using NewInspectorHandler = std::function<void(const std::shared_ptr<Inspector>& inspector)>;

  virtual int32_t Count() = 0;
  virtual std::shared_ptr<Inspector> Item(int32_t index) = 0;  // 1-based
  // Subscribes to NewInspector, raised for every inspector opened from now on, before it
  // is shown.
  virtual EventConnection ConnectNewInspector(NewInspectorHandler handler) = 0;
};

class Items : public Object {
 public:
  // The first item, or empty when the folder has none.
  virtual std::shared_ptr<OutlookItem> GetFirst() = 0;
  // A new, unsaved item of the folder's default kind.
  virtual std::shared_ptr<OutlookItem> Add() = 0;
};

class MAPIFolder : public Object {
 public:
  virtual std::u16string Name() = 0;
  // A new explorer on the folder, not displayed; it counts among Explorers until closed.
  virtual std::shared_ptr<Explorer> GetExplorer(int32_t displayMode) = 0;
  virtual std::shared_ptr<platform::Items> Items() = 0;
};

class NameSpace : public Object {
 public:
  virtual std::shared_ptr<MAPIFolder> GetDefaultFolder(int32_t folderKind) = 0;
};

class OutlookApplication : public Object {
 public:
  // The application's version, "major.minor.build.revision" ("16.0.0.17328").
  virtual std::u16string Version() = 0;
  virtual std::shared_ptr<NameSpace> GetNamespace(std::u16string_view type) = 0;
  virtual std::shared_ptr<Explorer> ActiveExplorer() = 0;     // may be empty
  virtual std::shared_ptr<Inspector> ActiveInspector() = 0;   // may be empty
  virtual std::shared_ptr<OutlookWindow> ActiveWindow() = 0;  // may be empty
  virtual std::shared_ptr<platform::Explorers> Explorers() = 0;
  virtual std::shared_ptr<platform::Inspectors> Inspectors() = 0;
};

}  // namespace sendnote::platform
