#include "windows/com/Outlook.h"

#include "windows/com/CommandBars.h"
#include "windows/com/VariantConversion.h"
#include "windows/com/WindowEventSink.h"

namespace sendnote::com {

std::u16string AutoAddInInstance::ProgId() { return TextOf(dispatch().Get(u"ProgId")); }

int32_t AutoOutlookItem::Class() { return Int32Of(dispatch().Get(u"Class")); }

int32_t AutoContactItem::Class() { return Int32Of(dispatch().Get(u"Class")); }

std::u16string AutoContactItem::Get(platform::ContactField field) {
  return TextOf(dispatch().Get(platform::ContactFieldName(field)));
}

void AutoContactItem::Set(platform::ContactField field, std::u16string_view value) {
  dispatch().Put(platform::ContactFieldName(field), ScopedVariant::String(value));
}

platform::MailingAddress AutoContactItem::SelectedMailingAddress() {
  // Outlook's value is passed on as read, even beyond its numbering: callers check it.
  return static_cast<platform::MailingAddress>(Int32Of(dispatch().Get(u"SelectedMailingAddress")));
}

void AutoContactItem::SetSelectedMailingAddress(platform::MailingAddress kind) {
  const auto value = static_cast<int32_t>(kind);
  if (!platform::IsMailingAddress(value)) platform::Raise(platform::kErrInvalidCall);
  dispatch().Put(u"SelectedMailingAddress", ScopedVariant::Int32(value));
}

std::shared_ptr<platform::Inspector> AutoContactItem::GetInspector() {
  return Wrap<AutoInspector>(ObjectOf(u"GetInspector"));
}

void AutoContactItem::Close(int32_t saveMode) {
  dispatch().Call(u"Close", {ScopedVariant::Int32(saveMode)});
}

std::shared_ptr<platform::OutlookItem> WrapItem(ComPtr<IDispatch> object) {
  if (!object) return nullptr;
  // An item whose Class cannot be read is still an item: its Class() raises when asked.
  int32_t itemClass = 0;
  try {
    itemClass = Int32Of(Dispatch(object).Get(u"Class"));
  } catch (const platform::ComError&) {
    return std::make_shared<AutoOutlookItem>(std::move(object));
  }
  if (itemClass == platform::kOlContactItemClass) {
    return std::make_shared<AutoContactItem>(std::move(object));
  }
  return std::make_shared<AutoOutlookItem>(std::move(object));
}

void AutoExplorer::Activate() { dispatch().Call(u"Activate"); }

std::shared_ptr<platform::CommandBars> AutoExplorer::CommandBars() {
  return Wrap<AutoCommandBars>(ObjectOf(u"CommandBars"));
}

std::shared_ptr<platform::Selection> AutoExplorer::Selection() {
  return Wrap<AutoSelection>(ObjectOf(u"Selection"));
}

std::shared_ptr<platform::MAPIFolder> AutoExplorer::CurrentFolder() {
  return Wrap<AutoMAPIFolder>(ObjectOf(u"CurrentFolder"));
}

void AutoExplorer::SetCurrentFolder(const std::shared_ptr<platform::MAPIFolder>& folder) {
  auto* automated = dynamic_cast<AutoMAPIFolder*>(folder.get());
  if (folder && !automated) platform::Raise(platform::kErrTypeMismatch);
  dispatch().Put(u"CurrentFolder",
                 ScopedVariant::Dispatch(automated ? automated->dispatch().Get() : nullptr));
}

void AutoExplorer::Close() { dispatch().Call(u"Close"); }

void AutoInspector::Activate() { dispatch().Call(u"Activate"); }

std::shared_ptr<platform::CommandBars> AutoInspector::CommandBars() {
  return Wrap<AutoCommandBars>(ObjectOf(u"CommandBars"));
}

std::shared_ptr<platform::OutlookItem> AutoInspector::CurrentItem() {
  return WrapItem(ObjectOf(u"CurrentItem"));
}

void AutoInspector::Close(int32_t saveMode) {
  dispatch().Call(u"Close", {ScopedVariant::Int32(saveMode)});
}

std::shared_ptr<platform::OutlookItem> AutoItems::GetFirst() {
  return WrapItem(ObjectOf(u"GetFirst"));
}

std::shared_ptr<platform::OutlookItem> AutoItems::Add() { return WrapItem(ObjectOf(u"Add")); }

std::u16string AutoMAPIFolder::Name() { return TextOf(dispatch().Get(u"Name")); }

std::shared_ptr<platform::Explorer> AutoMAPIFolder::GetExplorer(int32_t displayMode) {
  return Wrap<AutoExplorer>(ObjectOf(u"GetExplorer", {ScopedVariant::Int32(displayMode)}));
}

std::shared_ptr<platform::Items> AutoMAPIFolder::Items() {
  return Wrap<AutoItems>(ObjectOf(u"Items"));
}

std::shared_ptr<platform::MAPIFolder> AutoNameSpace::GetDefaultFolder(int32_t folderKind) {
  return Wrap<AutoMAPIFolder>(ObjectOf(u"GetDefaultFolder", {ScopedVariant::Int32(folderKind)}));
}

std::shared_ptr<platform::Object> WrapOutlookApplication(ComPtr<IDispatch> object) {
  return Wrap<AutoOutlookApplication>(std::move(object));
}

std::shared_ptr<platform::OutlookWindow> WindowOf(ComPtr<IDispatch> object) {
  constexpr int32_t kOlExplorer = 34;
  constexpr int32_t kOlInspector = 35;
  if (!object) return nullptr;
  const int32_t kind = Int32Of(Dispatch(object).Get(u"Class"));
  if (kind == kOlExplorer) return Wrap<AutoExplorer>(std::move(object));
  if (kind == kOlInspector) return Wrap<AutoInspector>(std::move(object));
  return nullptr;
}

platform::EventConnection AutoExplorers::ConnectNewExplorer(NewExplorerHandler handler) {
  ComPtr<IDispatch> sink = ComPtr<IDispatch>::Adopt(WindowEventSink::Create(
      kIidExplorersEvents, [handler = std::move(handler)](ComPtr<IDispatch> window) {
        if (handler) handler(Wrap<AutoExplorer>(std::move(window)));
      }));
  return AdviseSink(dispatch().Get(), kIidExplorersEvents, sink.Get(), u"Explorers.NewExplorer");
}

platform::EventConnection AutoInspectors::ConnectNewInspector(NewInspectorHandler handler) {
  ComPtr<IDispatch> sink = ComPtr<IDispatch>::Adopt(WindowEventSink::Create(
      kIidInspectorsEvents, [handler = std::move(handler)](ComPtr<IDispatch> window) {
        if (handler) handler(Wrap<AutoInspector>(std::move(window)));
      }));
  return AdviseSink(dispatch().Get(), kIidInspectorsEvents, sink.Get(), u"Inspectors.NewInspector");
}

std::u16string AutoOutlookApplication::Version() { return TextOf(dispatch().Get(u"Version")); }

std::shared_ptr<platform::NameSpace> AutoOutlookApplication::GetNamespace(
    std::u16string_view type) {
  return Wrap<AutoNameSpace>(ObjectOf(u"GetNamespace", {ScopedVariant::String(type)}));
}

std::shared_ptr<platform::Explorer> AutoOutlookApplication::ActiveExplorer() {
  return Wrap<AutoExplorer>(ObjectOf(u"ActiveExplorer"));
}

std::shared_ptr<platform::Inspector> AutoOutlookApplication::ActiveInspector() {
  return Wrap<AutoInspector>(ObjectOf(u"ActiveInspector"));
}

std::shared_ptr<platform::OutlookWindow> AutoOutlookApplication::ActiveWindow() {
  ComPtr<IDispatch> window = ObjectOf(u"ActiveWindow");
  if (!window) return nullptr;
  const ComPtr<IUnknown> identity = window.As<IUnknown>();
  if (ComPtr<IDispatch> inspector = ObjectOf(u"ActiveInspector");
      inspector && inspector.As<IUnknown>().Get() == identity.Get()) {
    return Wrap<AutoInspector>(std::move(window));
  }
  if (ComPtr<IDispatch> explorer = ObjectOf(u"ActiveExplorer");
      explorer && explorer.As<IUnknown>().Get() == identity.Get()) {
    return Wrap<AutoExplorer>(std::move(window));
  }
  // Without type information the name is "Object", which is neither.
  const std::u16string type = TypeInfoNameOf(window.Get());
  if (type == u"_Inspector" || type == u"Inspector") return Wrap<AutoInspector>(std::move(window));
  if (type == u"_Explorer" || type == u"Explorer") return Wrap<AutoExplorer>(std::move(window));
  platform::Raise(platform::kErrTypeMismatch,
                  u"The active window is neither an explorer nor an inspector");
}

std::shared_ptr<platform::Explorers> AutoOutlookApplication::Explorers() {
  return Wrap<AutoExplorers>(ObjectOf(u"Explorers"));
}

std::shared_ptr<platform::Inspectors> AutoOutlookApplication::Inspectors() {
  return Wrap<AutoInspectors>(ObjectOf(u"Inspectors"));
}

}  // namespace sendnote::com
