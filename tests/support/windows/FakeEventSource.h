// The connection point of a fake button's events: one IConnectionPointContainer and
// IConnectionPoint of a single outgoing interface, which fires Click at its sinks.
#pragma once

#include "windows/com/Win32.h"

#include <map>

#include "windows/com/ComObject.h"

namespace sendnote::windows::test {

class FakeEventSource final : public com::Object<IConnectionPointContainer, IConnectionPoint> {
 public:
  // Creates one with a reference for the caller.
  static FakeEventSource* Create(const IID& events);

  // Fires DISPID 1 (Ctrl, ByRef CancelDefault) at every sink; returns the last result.
  HRESULT FireClick(IDispatch* ctrl, VARIANT_BOOL& cancelDefault);
  size_t Sinks() const { return sinks_.size(); }
  size_t Advised() const { return advised_; }
  size_t Unadvised() const { return unadvised_; }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** c) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

 private:
  explicit FakeEventSource(const IID& events) : events_(events) {}
  ~FakeEventSource() override;

  IID events_;
  std::map<DWORD, IDispatch*> sinks_;  // each holds a reference
  DWORD next_cookie_ = 1;
  size_t advised_ = 0;
  size_t unadvised_ = 0;
};

}  // namespace sendnote::windows::test
