#include "windows/com/WindowEventSink.h"

#include <optional>

#include "windows/com/HResultError.h"

namespace sendnote::com {

platform::EventConnection AdviseSink(IDispatch* source, const IID& events, IDispatch* sink,
                                     std::u16string_view member) {
  const auto container = ComPtr<IDispatch>(source).As<IConnectionPointContainer>();
  if (!container) throw ErrorOf(E_NOINTERFACE, nullptr, member);
  ComPtr<IConnectionPoint> point;
  Check(container->FindConnectionPoint(events, point.Receive()), member);
  DWORD cookie = 0;
  Check(point->Advise(sink, &cookie), member);
  // Only the point and the cookie stay with the connection: nothing refers back to the
  // sink once it is unadvised.
  return platform::EventConnection([point, cookie] { point->Unadvise(cookie); });
}

WindowEventSink* WindowEventSink::Create(const IID& events, Handler handler) {
  return new WindowEventSink(events, std::move(handler), platform::InstalledRuntime());
}

HRESULT WindowEventSink::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid != IID_IUnknown && iid != IID_IDispatch && iid != events_) return E_NOINTERFACE;
  *object = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

ULONG WindowEventSink::AddRef() { return ++references_; }

ULONG WindowEventSink::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT WindowEventSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT WindowEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT WindowEventSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  const wchar_t* name = events_ == kIidExplorersEvents ? L"NewExplorer" : L"NewInspector";
  if (count == 1 && names && ::_wcsicmp(names[0], name) == 0) {
    ids[0] = kDispIdNewWindow;
    return S_OK;
  }
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT WindowEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                EXCEPINFO*, UINT*) {
  if (id != kDispIdNewWindow) return S_OK;
  if (!params || params->cArgs != 1 || params->cNamedArgs != 0) return DISP_E_BADPARAMCOUNT;
  const VARIANT& arg = params->rgvarg[0];
  IDispatch* window = nullptr;
  if (V_VT(&arg) == VT_DISPATCH) {
    window = V_DISPATCH(&arg);
  } else if (V_VT(&arg) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(&arg)) {
    window = *V_DISPATCHREF(&arg);
  } else {
    return DISP_E_TYPEMISMATCH;
  }
  try {
    std::optional<platform::ScopedRuntime> installed;
    if (runtime_) installed.emplace(*runtime_);
    if (handler_) handler_(ComPtr<IDispatch>(window));
  } catch (...) {
    // Nothing may cross back into Outlook; the handler reports its own failures.
    return E_UNEXPECTED;
  }
  return S_OK;
}

}  // namespace sendnote::com
