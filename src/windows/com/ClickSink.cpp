#include "windows/com/ClickSink.h"

#include <optional>

#include "windows/com/CommandBars.h"
#include "windows/com/Dispatch.h"

namespace sendnote::com {

ClickSink* ClickSink::Create(platform::CommandBarButton::ClickHandler handler) {
  return new ClickSink(std::move(handler), platform::InstalledRuntime());
}

HRESULT ClickSink::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid != IID_IUnknown && iid != IID_IDispatch && iid != kIidCommandBarButtonEvents) {
    return E_NOINTERFACE;
  }
  *object = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

ULONG ClickSink::AddRef() { return ++references_; }

ULONG ClickSink::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT ClickSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT ClickSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT ClickSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (count == 1 && names && ::_wcsicmp(names[0], L"Click") == 0) {
    ids[0] = kDispIdClick;
    return S_OK;
  }
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT ClickSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                          UINT*) {
  // Other events of the interface (none today) are ignored, as a sink must.
  if (id != kDispIdClick) return S_OK;
  if (!params || params->cArgs != 2 || params->cNamedArgs != 0) return DISP_E_BADPARAMCOUNT;
  // Arguments come last to first: rgvarg[1] is Ctrl, rgvarg[0] CancelDefault.
  VARIANT& ctrl = params->rgvarg[1];
  VARIANT& cancel = params->rgvarg[0];
  IDispatch* control = nullptr;
  if (V_VT(&ctrl) == VT_DISPATCH) {
    control = V_DISPATCH(&ctrl);
  } else if (V_VT(&ctrl) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(&ctrl)) {
    control = *V_DISPATCHREF(&ctrl);
  } else {
    return DISP_E_TYPEMISMATCH;
  }
  VARIANT_BOOL* cancelRef = V_VT(&cancel) == (VT_BOOL | VT_BYREF) ? V_BOOLREF(&cancel) : nullptr;
  platform::Flag cancelDefault = cancelRef ? *cancelRef : VARIANT_FALSE;
  try {
    std::optional<platform::ScopedRuntime> installed;
    if (runtime_) installed.emplace(*runtime_);
    const auto button = Wrap<AutoCommandBarButton>(ComPtr<IDispatch>(control));
    if (handler_) handler_(button, cancelDefault);
  } catch (...) {
    // Nothing may cross back into the host; the handler reports its own failures.
    return E_UNEXPECTED;
  }
  if (cancelRef) *cancelRef = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

}  // namespace sendnote::com
