#include "hostsim/ClassFactory.h"

#include "hostsim/Expose.h"
#include "hostsim/LiveObjects.h"

namespace sendnote::hostsim {

ExposedClass::ExposedClass(Make make) : make_(std::move(make)) { LiveObjects::Created(); }

ExposedClass::~ExposedClass() { LiveObjects::Destroyed(); }

com::ComPtr<IUnknown> ExposedClass::Create() {
  std::shared_ptr<platform::Object> model = make_ ? make_() : nullptr;
  if (!model) return {};
  ++created_;
  com::ComPtr<IDispatch> exposed = Expose(model);
  return com::ComPtr<IUnknown>::Adopt(exposed.Detach());
}

}  // namespace sendnote::hostsim
