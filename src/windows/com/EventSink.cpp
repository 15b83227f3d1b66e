#include "windows/com/EventSink.h"

#include <optional>

namespace sendnote::com {

EventSink::EventSink(const IID& events, const wchar_t* eventName, DISPID eventId)
    : events_(events),
      event_name_(eventName),
      event_id_(eventId),
      runtime_(platform::InstalledRuntime()) {}

HRESULT EventSink::QueryOther(REFIID iid, void** object) {
  if (iid != events_) return E_NOINTERFACE;
  *object = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

HRESULT EventSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!ids) return E_POINTER;
  if (count == 1 && names && ::_wcsicmp(names[0], event_name_) == 0) {
    ids[0] = event_id_;
    return S_OK;
  }
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                          UINT*) {
  if (id != event_id_) return S_OK;
  if (!params || params->cNamedArgs != 0) return DISP_E_BADPARAMCOUNT;
  // The handlers report their own failures: the source learns only that one happened.
  return Barrier(E_UNEXPECTED, [&] {
    std::optional<platform::ScopedRuntime> installed;
    if (runtime_) installed.emplace(*runtime_);
    return Fire(*params);
  });
}

IDispatch* EventSink::ObjectArgument(const VARIANT& arg) {
  if (V_VT(&arg) == VT_DISPATCH) return V_DISPATCH(&arg);
  if (V_VT(&arg) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(&arg)) return *V_DISPATCHREF(&arg);
  return nullptr;
}

}  // namespace sendnote::com
