#include "windows/dll/AddInObject.h"

#include "platform/Runtime.h"
#include "windows/com/Outlook.h"
#include "windows/dll/Guids.h"
#include "windows/dll/Module.h"
#include "windows/dll/WindowsRuntime.h"

namespace sendnote::windows {
namespace {

// Runs one host event with the Windows runtime installed. The system's events end in their
// own barrier; this one also catches what happens around them (wrapping the arguments), so
// no C++ exception unwinds into the host, whose process it would end.
template <class Body>
HRESULT HostEvent(Body&& body) noexcept {
  try {
    platform::ScopedRuntime runtime(WindowsRuntime::Instance());
    body();
  } catch (...) {
  }
  return S_OK;
}

}  // namespace

AddInObject::AddInObject() : addin_(std::make_unique<dsrOutlookToWord>()) {
  Module::ObjectCreated();
}

AddInObject::~AddInObject() {
  // A host may release the object without disconnecting it: what the add-in still holds
  // (the host's objects, the button binding) is let go under the runtime too.
  HostEvent([&] { addin_.reset(); });
  Module::ObjectDestroyed();
}

HRESULT AddInObject::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIidDsrOutlookToWord) {
    *object = static_cast<DsrOutlookToWordInterface*>(this);
  } else if (iid == kIidExtensibility2) {
    *object = static_cast<IDTExtensibility2*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG AddInObject::AddRef() { return ++references_; }

ULONG AddInObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT AddInObject::LoadTypeInfo() {
  if (type_info_) return S_OK;
  com::ComPtr<ITypeLib> library;
  const std::wstring path = Module::Path();
  HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Receive());
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(kIidDsrOutlookToWord, type_info_.Receive());
}

HRESULT AddInObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT AddInObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  const HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) return hr;
  *info = com::ComPtr<ITypeInfo>(type_info_).Detach();
  return S_OK;
}

HRESULT AddInObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  const HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) return hr;
  return ::DispGetIDsOfNames(type_info_.Get(), names, count, ids);
}

HRESULT AddInObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                            VARIANT* result, EXCEPINFO* exception, UINT* badArg) {
  const HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) return hr;
  return ::DispInvoke(static_cast<DsrOutlookToWordInterface*>(this), type_info_.Get(), id, flags,
                      params, result, exception, badArg);
}

HRESULT AddInObject::OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode,
                                  IDispatch* AddInInst, SAFEARRAY**) {
  return HostEvent([&] {
    // Outlook's objects are reached by name; a host that is not Outlook fails at its first
    // Outlook member, inside the connection's own error report.
    auto application = com::Wrap<com::AutoOutlookApplication>(com::ComPtr<IDispatch>(Application));
    auto instance = com::Wrap<com::AutoAddInInstance>(com::ComPtr<IDispatch>(AddInInst));
    addin_->IDTExtensibility2_OnConnection(application, static_cast<int32_t>(ConnectMode),
                                           instance);
  });
}

HRESULT AddInObject::OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY**) {
  return HostEvent(
      [&] { addin_->IDTExtensibility2_OnDisconnection(static_cast<int32_t>(RemoveMode)); });
}

HRESULT AddInObject::OnAddInsUpdate(SAFEARRAY**) {
  return HostEvent([&] { addin_->IDTExtensibility2_OnAddInsUpdate(); });
}

HRESULT AddInObject::OnStartupComplete(SAFEARRAY**) {
  return HostEvent([&] { addin_->IDTExtensibility2_OnStartupComplete(); });
}

HRESULT AddInObject::OnBeginShutdown(SAFEARRAY**) {
  return HostEvent([&] { addin_->IDTExtensibility2_OnBeginShutdown(); });
}

}  // namespace sendnote::windows
