#include "hostsim/Expose.h"

#include "hostsim/ButtonObject.h"
#include "hostsim/OutlookTypes.h"
#include "hostsim/SimObject.h"
#include "hostsim/WordTypes.h"

namespace sendnote::hostsim {
namespace {

const DispatchType& UnknownType() {
  static const DispatchType type(u"Object", u"sendnote host simulator");
  return type;
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
