#include "tests/support/windows/FakeEventSource.h"

#include <olectl.h>

#include <vector>

namespace sendnote::windows::test {

FakeEventSource* FakeEventSource::Create(const IID& events) { return new FakeEventSource(events); }

FakeEventSource::~FakeEventSource() {
  for (auto& [cookie, sink] : sinks_) sink->Release();
}

HRESULT FakeEventSource::FireClick(IDispatch* ctrl, VARIANT_BOOL& cancelDefault) {
  HRESULT last = S_OK;
  // A copy: a sink may unadvise while it is called.
  std::vector<IDispatch*> sinks;
  for (auto& [cookie, sink] : sinks_) {
    sink->AddRef();
    sinks.push_back(sink);
  }
  for (IDispatch* sink : sinks) {
    VARIANT args[2];
    ::VariantInit(&args[0]);
    ::VariantInit(&args[1]);
    V_VT(&args[0]) = VT_BOOL | VT_BYREF;  // last argument first
    V_BOOLREF(&args[0]) = &cancelDefault;
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = ctrl;
    DISPPARAMS params{args, nullptr, 2, 0};
    last = sink->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                        nullptr, nullptr);
    sink->Release();
  }
  return last;
}

HRESULT FakeEventSource::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

HRESULT FakeEventSource::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid != events_) return CONNECT_E_NOCONNECTION;
  *point = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

HRESULT FakeEventSource::GetConnectionInterface(IID* iid) {
  *iid = events_;
  return S_OK;
}

HRESULT FakeEventSource::GetConnectionPointContainer(IConnectionPointContainer** c) {
  *c = static_cast<IConnectionPointContainer*>(this);
  AddRef();
  return S_OK;
}

HRESULT FakeEventSource::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  // As Office does: the sink must answer for the events' interface.
  IDispatch* events = nullptr;
  if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(&events)))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  const HRESULT hr = com::Barrier([&] {
    sinks_[next_cookie_] = events;
    return S_OK;
  });
  if (FAILED(hr)) {
    events->Release();
    return hr;
  }
  *cookie = next_cookie_++;
  ++advised_;
  return S_OK;
}

HRESULT FakeEventSource::Unadvise(DWORD cookie) {
  auto it = sinks_.find(cookie);
  if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
  IDispatch* sink = it->second;
  sinks_.erase(it);
  ++unadvised_;
  sink->Release();
  return S_OK;
}

HRESULT FakeEventSource::EnumConnections(IEnumConnections** connections) {
  if (connections) *connections = nullptr;
  return E_NOTIMPL;
}

}  // namespace sendnote::windows::test
