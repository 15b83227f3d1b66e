#include "hostsim/Expose.h"

#include "hostsim/ButtonObject.h"
#include "hostsim/EventSourceObject.h"
#include "hostsim/OutlookTypes.h"
#include "hostsim/SimObject.h"
#include "hostsim/WordTypes.h"
#include "platform/Outlook.h"
#include "windows/com/WindowEventSink.h"

namespace sendnote::hostsim {
namespace {

const DispatchType& UnknownType() {
  static const DispatchType type(u"Object", u"sendnote host simulator");
  return type;
}

// Raises NewExplorer or NewInspector at one sink, with the new window.
void FireNewWindow(IDispatch* sink, const std::shared_ptr<platform::Object>& window) {
  com::ComPtr<IDispatch> exposed = Expose(window);
  VARIANT arg;
  ::VariantInit(&arg);
  V_VT(&arg) = VT_DISPATCH;
  V_DISPATCH(&arg) = exposed.Get();
  DISPPARAMS params{&arg, nullptr, 1, 0};
  sink->Invoke(com::kDispIdNewWindow, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
               nullptr, nullptr, nullptr);
}

}  // namespace

com::ComPtr<IDispatch> Expose(const std::shared_ptr<platform::Object>& model) {
  if (!model) return {};
  if (SimObject* live = SimObject::Find(model.get())) return com::ComPtr<IDispatch>(live);
  if (auto button = std::dynamic_pointer_cast<platform::CommandBarButton>(model)) {
    return com::ComPtr<IDispatch>::Adopt(
        static_cast<SimObject*>(new ButtonObject(std::move(button), *OutlookTypeOf(*model))));
  }
  const DispatchType* type = OutlookTypeOf(*model);
  if (auto explorers = std::dynamic_pointer_cast<platform::Explorers>(model)) {
    return com::ComPtr<IDispatch>::Adopt(static_cast<SimObject*>(new EventSourceObject(
        model, *type, com::kIidExplorersEvents, [explorers](com::ComPtr<IDispatch> sink) {
          return explorers->ConnectNewExplorer(
              [sink](const std::shared_ptr<platform::Explorer>& opened) {
                FireNewWindow(sink.Get(), opened);
              });
        })));
  }
  if (auto inspectors = std::dynamic_pointer_cast<platform::Inspectors>(model)) {
    return com::ComPtr<IDispatch>::Adopt(static_cast<SimObject*>(new EventSourceObject(
        model, *type, com::kIidInspectorsEvents, [inspectors](com::ComPtr<IDispatch> sink) {
          return inspectors->ConnectNewInspector(
              [sink](const std::shared_ptr<platform::Inspector>& opened) {
                FireNewWindow(sink.Get(), opened);
              });
        })));
  }
  if (!type) type = WordTypeOf(*model);
  if (!type) type = &UnknownType();
  return com::ComPtr<IDispatch>::Adopt(new SimObject(model, *type));
}

std::shared_ptr<platform::Object> ModelOf(IUnknown* object) {
  if (!object) return nullptr;
  IDispatch* own = nullptr;
  if (FAILED(object->QueryInterface(kIidSimObject, reinterpret_cast<void**>(&own))) || !own) {
    return nullptr;
  }
  auto model = static_cast<SimObject*>(own)->Model();
  own->Release();
  return model;
}

}  // namespace sendnote::hostsim
