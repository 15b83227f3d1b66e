// Outlook's object model as automation objects: the application, its namespace, folders
// and items, the explorer and inspector windows, and the add-in instance object. The
// classes follow the contracts of platform/Outlook.h one for one.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

// The add-in instance object the host passes to the connection.
class AutoAddInInstance : public AutomationObject<platform::AddInInstance> {
 public:
  explicit AutoAddInInstance(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"COMAddIn") {}

  std::u16string ProgId() override;
};

// An Outlook item of a kind the system does not handle (mail, appointment, ...).
class AutoOutlookItem : public AutomationObject<platform::OutlookItem> {
 public:
  explicit AutoOutlookItem(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"OutlookItem") {}

  int32_t Class() override;
};

// An Outlook contact.
class AutoContactItem : public AutomationObject<platform::ContactItem> {
 public:
  explicit AutoContactItem(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"ContactItem") {}

  int32_t Class() override;
  std::u16string Get(platform::ContactField field) override;
  void Set(platform::ContactField field, std::u16string_view value) override;
  platform::MailingAddress SelectedMailingAddress() override;
  void SetSelectedMailingAddress(platform::MailingAddress kind) override;
  std::shared_ptr<platform::Inspector> GetInspector() override;
  void Close(int32_t saveMode) override;
};

// Reads the Class of an item; contacts (40) become ContactItem. Nothing stays empty.
std::shared_ptr<platform::OutlookItem> WrapItem(ComPtr<IDispatch> object);

// The items selected in an explorer.
class AutoSelection : public AutoCollection<platform::Selection, WrapItem> {
 public:
  explicit AutoSelection(ComPtr<IDispatch> object)
      : AutoCollection(std::move(object), u"Selection") {}
};

// An Outlook explorer window.
class AutoExplorer : public AutomationObject<platform::Explorer> {
 public:
  explicit AutoExplorer(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Explorer") {}

  void Activate() override;
  std::shared_ptr<platform::CommandBars> CommandBars() override;
  std::shared_ptr<platform::Selection> Selection() override;
  std::shared_ptr<platform::MAPIFolder> CurrentFolder() override;
  void SetCurrentFolder(const std::shared_ptr<platform::MAPIFolder>& folder) override;
  void Close() override;
};

// An Outlook inspector: the window of one item.
class AutoInspector : public AutomationObject<platform::Inspector> {
 public:
  explicit AutoInspector(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Inspector") {}

  void Activate() override;
  std::shared_ptr<platform::CommandBars> CommandBars() override;
  std::shared_ptr<platform::OutlookItem> CurrentItem() override;
  void Close(int32_t saveMode) override;
};

// The window an object of Outlook's is, by its Class (olExplorer 34, olInspector 35, from
// the OlObjectClass enumeration); empty for any other object, such as a Selection. May
// raise when the object's Class cannot be read.
std::shared_ptr<platform::OutlookWindow> WindowOf(ComPtr<IDispatch> object);

// The collection of Outlook's explorer windows.
class AutoExplorers : public AutoCollection<platform::Explorers, Wrap<AutoExplorer>> {
 public:
  explicit AutoExplorers(ComPtr<IDispatch> object)
      : AutoCollection(std::move(object), u"Explorers") {}

  platform::EventConnection ConnectNewExplorer(NewExplorerHandler handler) override;
};

// The collection of Outlook's inspectors, the windows of single items.
class AutoInspectors : public AutoCollection<platform::Inspectors, Wrap<AutoInspector>> {
 public:
  explicit AutoInspectors(ComPtr<IDispatch> object)
      : AutoCollection(std::move(object), u"Inspectors") {}

  platform::EventConnection ConnectNewInspector(NewInspectorHandler handler) override;
};

// The items of a folder.
class AutoItems : public AutomationObject<platform::Items> {
 public:
  explicit AutoItems(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Items") {}

  std::shared_ptr<platform::OutlookItem> GetFirst() override;
  std::shared_ptr<platform::OutlookItem> Add() override;
};

// An Outlook folder.
class AutoMAPIFolder : public AutomationObject<platform::MAPIFolder> {
 public:
  explicit AutoMAPIFolder(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"MAPIFolder") {}

  std::u16string Name() override;
  std::shared_ptr<platform::Explorer> GetExplorer(int32_t displayMode) override;
  std::shared_ptr<platform::Items> Items() override;
};

// Outlook's MAPI namespace.
class AutoNameSpace : public AutomationObject<platform::NameSpace> {
 public:
  explicit AutoNameSpace(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"NameSpace") {}

  std::shared_ptr<platform::MAPIFolder> GetDefaultFolder(int32_t folderKind) override;
};

// Outlook's Application object.
class AutoOutlookApplication : public AutomationObject<platform::OutlookApplication> {
 public:
  explicit AutoOutlookApplication(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Application") {}

  std::u16string Version() override;
  std::shared_ptr<platform::NameSpace> GetNamespace(std::u16string_view type) override;
  std::shared_ptr<platform::Explorer> ActiveExplorer() override;
  std::shared_ptr<platform::Inspector> ActiveInspector() override;
  // The window as an explorer or inspector: by COM identity with the active ones, else by
  // its type information's name.
  std::shared_ptr<platform::OutlookWindow> ActiveWindow() override;
  std::shared_ptr<platform::Explorers> Explorers() override;
  std::shared_ptr<platform::Inspectors> Inspectors() override;
};

}  // namespace sendnote::com
