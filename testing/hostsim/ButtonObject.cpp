#include "hostsim/ButtonObject.h"

#include <olectl.h>

#include "hostsim/Expose.h"
#include "windows/com/ClickSink.h"

namespace sendnote::hostsim {
namespace {
long g_connections = 0;
long g_failedClicks = 0;

// Raises Click at one sink as Office does: the clicked button, CancelDefault by reference.
void FireClick(IDispatch* sink, const std::shared_ptr<platform::CommandBarButton>& clicked,
               platform::Flag& cancelDefault) {
  com::ComPtr<IDispatch> control = Expose(clicked);
  VARIANT_BOOL cancel = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
  VARIANT args[2];
  ::VariantInit(&args[0]);
  ::VariantInit(&args[1]);
  V_VT(&args[0]) = VT_BOOL | VT_BYREF;  // last argument first
  V_BOOLREF(&args[0]) = &cancel;
  V_VT(&args[1]) = VT_DISPATCH;
  V_DISPATCH(&args[1]) = control.Get();
  DISPPARAMS params{args, nullptr, 2, 0};
  const HRESULT hr = sink->Invoke(com::kDispIdClick, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                  &params, nullptr, nullptr, nullptr);
  if (FAILED(hr)) ++g_failedClicks;
  cancelDefault = cancel ? platform::kTrue : platform::kFalse;
}

}  // namespace

ButtonObject::ButtonObject(std::shared_ptr<platform::CommandBarButton> button,
                           const DispatchType& type)
    : SimObject(button, type), button_(std::move(button)) {}

ButtonObject::~ButtonObject() {
  g_connections -= static_cast<long>(connections_.size());
  connections_.clear();
}

long ButtonObject::Connections() { return g_connections; }
long ButtonObject::FailedClicks() { return g_failedClicks; }

HRESULT ButtonObject::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IConnectionPointContainer) {
    *object = static_cast<IConnectionPointContainer*>(this);
  } else if (iid == IID_IConnectionPoint) {
    *object = static_cast<IConnectionPoint*>(this);
  } else {
    return SimObject::QueryInterface(iid, object);
  }
  AddRef();
  return S_OK;
}

HRESULT ButtonObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

HRESULT ButtonObject::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid != com::kIidCommandBarButtonEvents) return CONNECT_E_NOCONNECTION;
  *point = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

HRESULT ButtonObject::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = com::kIidCommandBarButtonEvents;
  return S_OK;
}

HRESULT ButtonObject::GetConnectionPointContainer(IConnectionPointContainer** c) {
  if (!c) return E_POINTER;
  *c = static_cast<IConnectionPointContainer*>(this);
  AddRef();
  return S_OK;
}

HRESULT ButtonObject::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  // As Office does: the sink must answer for the events' interface.
  com::ComPtr<IDispatch> events;
  if (FAILED(sink->QueryInterface(com::kIidCommandBarButtonEvents,
                                  reinterpret_cast<void**>(events.Receive())))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  try {
    auto connection =
        button_->ConnectClick([events](const std::shared_ptr<platform::CommandBarButton>& clicked,
                                       platform::Flag& cancelDefault) {
          FireClick(events.Get(), clicked, cancelDefault);
        });
    *cookie = nextCookie_++;
    connections_.emplace(*cookie, std::move(connection));
    ++g_connections;
    return S_OK;
  } catch (...) {
    return CONNECT_E_CANNOTCONNECT;
  }
}

HRESULT ButtonObject::Unadvise(DWORD cookie) {
  auto it = connections_.find(cookie);
  if (it == connections_.end()) return CONNECT_E_NOCONNECTION;
  // The subscription (and with it the sink) ends outside the map, which a sink's release
  // may not reenter.
  platform::EventConnection ended = std::move(it->second);
  connections_.erase(it);
  --g_connections;
  ended.Reset();
  return S_OK;
}

HRESULT ButtonObject::EnumConnections(IEnumConnections** connections) {
  if (connections) *connections = nullptr;
  return E_NOTIMPL;
}

}  // namespace sendnote::hostsim
