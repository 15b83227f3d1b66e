// An exposed model object that is also an event source: the connection point of one
// events dispinterface, whose Advise subscribes to the model's event and fires it at the
// sink, as Office's objects do for their events.
#pragma once

#include "windows/com/Win32.h"

#include <functional>
#include <map>
#include <memory>

#include "hostsim/SimObject.h"
#include "platform/CommandBars.h"
#include "windows/com/ComObject.h"
#include "windows/com/ComPtr.h"

namespace sendnote::hostsim {

class EventSourceObject
    : public com::Extend<SimObject, IConnectionPointContainer, IConnectionPoint> {
 public:
  // Subscribes to the model's event for one advised sink (already queried for `events`).
  using Subscribe = std::function<platform::EventConnection(com::ComPtr<IDispatch> sink)>;

  EventSourceObject(std::shared_ptr<platform::Object> model, const DispatchType& type,
                    const IID& events, Subscribe subscribe);

  // Advised connections of every object for the events interface `events`.
  static long Connections(const IID& events);

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** c) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

 protected:
  ~EventSourceObject() override;

 private:
  IID events_;
  Subscribe subscribe_;
  // Each connection holds its sink inside the host model's subscription.
  std::map<DWORD, platform::EventConnection> connections_;
  DWORD nextCookie_ = 1;
};

}  // namespace sendnote::hostsim
