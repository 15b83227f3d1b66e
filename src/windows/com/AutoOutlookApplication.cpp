#include "windows/com/AutoOutlookApplication.h"

#include "windows/com/AutoExplorer.h"
#include "windows/com/AutoExplorers.h"
#include "windows/com/AutoItemWindow.h"
#include "windows/com/AutoItemWindows.h"
#include "windows/com/AutoNameSpace.h"
#include "windows/com/ScopedBstr.h"

namespace sendnote::com {
namespace {

// The name of an object's interface from its type information; empty without one.
std::u16string TypeInfoName(const ComPtr<IDispatch>& object) {
  UINT count = 0;
  if (FAILED(object->GetTypeInfoCount(&count)) || count == 0) return {};
  ComPtr<ITypeInfo> info;
  if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Receive())) || !info) return {};
  ScopedBstr name;
  if (FAILED(info->GetDocumentation(MEMBERID_NIL, name.Receive(), nullptr, nullptr, nullptr))) {
    return {};
  }
  return name.Text();
}

}  // namespace

std::shared_ptr<platform::Object> WrapOutlookApplication(ComPtr<IDispatch> object) {
  return Wrap<AutoOutlookApplication>(std::move(object));
}

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
  const std::u16string type = TypeInfoName(window);
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
