// An exposed command-bar button: its members, and the connection point of Office's
// _CommandBarButtonEvents, which fires Click (DISPID 1, Ctrl and CancelDefault by
// reference) at every advised sink when the host model raises the button's Click.
#pragma once

#include "windows/com/Win32.h"

#include <map>
#include <memory>

#include "hostsim/SimObject.h"
#include "platform/CommandBars.h"
#include "windows/com/ComPtr.h"

namespace sendnote::hostsim {

class ButtonObject final : public SimObject,
                           public IConnectionPointContainer,
                           public IConnectionPoint {
 public:
  ButtonObject(std::shared_ptr<platform::CommandBarButton> button, const DispatchType& type);

  // Advised connections of every button, and the sinks' failed Click calls so far.
  static long Connections();
  static long FailedClicks();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return SimObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return SimObject::Release(); }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** c) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

 private:
  ~ButtonObject() override;

  std::shared_ptr<platform::CommandBarButton> button_;
  // Each connection holds its sink inside the host model's subscription.
  std::map<DWORD, platform::EventConnection> connections_;
  DWORD nextCookie_ = 1;
};

}  // namespace sendnote::hostsim
