#include "windows/dll/ClassFactory.h"

#include <memory>
#include <new>

#include "windows/dll/AddInObject.h"
#include "windows/dll/Module.h"

namespace sendnote::windows {

ClassFactory::ClassFactory() { Module::ObjectCreated(); }
ClassFactory::~ClassFactory() { Module::ObjectDestroyed(); }

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
    // Born with one reference, which the QueryInterface below replaces or ends.
    std::unique_ptr<AddInObject> created(new AddInObject);
    AddInObject* addIn = created.release();
    const HRESULT hr = addIn->QueryInterface(iid, object);
    addIn->Release();
    return hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  Module::Lock(lock != FALSE);
  return S_OK;
}

}  // namespace sendnote::windows
