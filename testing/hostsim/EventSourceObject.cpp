#include "hostsim/EventSourceObject.h"

#include <olectl.h>

#include <vector>

namespace sendnote::hostsim {
namespace {

struct Count {
  IID events;
  long connections;
};

// Per events interface; the simulator runs on one thread.
long& CountOf(const IID& events) {
  static std::vector<Count> counts;
  for (auto& count : counts) {
    if (count.events == events) return count.connections;
  }
  counts.push_back({events, 0});
  return counts.back().connections;
}

}  // namespace

EventSourceObject::EventSourceObject(std::shared_ptr<platform::Object> model,
                                     const DispatchType& type, const IID& events,
                                     Subscribe subscribe)
    : Extend(std::move(model), type), events_(events), subscribe_(std::move(subscribe)) {}

EventSourceObject::~EventSourceObject() {
  CountOf(events_) -= static_cast<long>(connections_.size());
  connections_.clear();
}

long EventSourceObject::Connections(const IID& events) { return CountOf(events); }

HRESULT EventSourceObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

HRESULT EventSourceObject::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid != events_) return CONNECT_E_NOCONNECTION;
  *point = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

HRESULT EventSourceObject::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = events_;
  return S_OK;
}

HRESULT EventSourceObject::GetConnectionPointContainer(IConnectionPointContainer** c) {
  if (!c) return E_POINTER;
  *c = static_cast<IConnectionPointContainer*>(this);
  AddRef();
  return S_OK;
}

HRESULT EventSourceObject::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  // As Office does: the sink must answer for the events' interface.
  com::ComPtr<IDispatch> events;
  if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(events.Receive())))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  return com::Barrier(CONNECT_E_CANNOTCONNECT, [&] {
    auto connection = subscribe_(std::move(events));
    connections_.emplace(nextCookie_, std::move(connection));
    *cookie = nextCookie_++;
    ++CountOf(events_);
    return S_OK;
  });
}

HRESULT EventSourceObject::Unadvise(DWORD cookie) {
  auto it = connections_.find(cookie);
  if (it == connections_.end()) return CONNECT_E_NOCONNECTION;
  // The subscription (and with it the sink) ends outside the map, which a sink's release
  // may not reenter.
  platform::EventConnection ended = std::move(it->second);
  connections_.erase(it);
  --CountOf(events_);
  return com::Barrier([&] {
    ended.Reset();
    return S_OK;
  });
}

HRESULT EventSourceObject::EnumConnections(IEnumConnections** connections) {
  if (connections) *connections = nullptr;
  return E_NOTIMPL;
}

}  // namespace sendnote::hostsim
