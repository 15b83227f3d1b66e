#include "hostsim/ClassFactory.h"

#include "hostsim/Expose.h"
#include "hostsim/LiveObjects.h"
#include "windows/com/ComPtr.h"

namespace sendnote::hostsim {

ClassFactory* ClassFactory::Create(Make make) { return new ClassFactory(std::move(make)); }

ClassFactory::ClassFactory(Make make) : make_(std::move(make)) { LiveObjects::Created(); }

ClassFactory::~ClassFactory() { LiveObjects::Destroyed(); }

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
  *object = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

ULONG ClassFactory::AddRef() { return ++references_; }

ULONG ClassFactory::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  try {
    std::shared_ptr<platform::Object> model = make_ ? make_() : nullptr;
    if (!model) return E_FAIL;
    ++created_;
    com::ComPtr<IDispatch> exposed = Expose(model);
    return exposed->QueryInterface(iid, object);
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT ClassFactory::LockServer(BOOL) { return S_OK; }

}  // namespace sendnote::hostsim
