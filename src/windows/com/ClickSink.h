// The sink of a button's _CommandBarButtonEvents: Click (DISPID 1) with the clicked
// control and CancelDefault by reference, handed to the system's click handler.
#pragma once

#include "windows/com/Win32.h"

#include <atomic>

#include "platform/CommandBars.h"
#include "platform/Runtime.h"

namespace sendnote::com {

// _CommandBarButtonEvents of the Office type library (a dispinterface).
inline constexpr IID kIidCommandBarButtonEvents = {
    0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID kDispIdClick = 1;

class ClickSink final : public IDispatch {
 public:
  // Creates one with a reference for the caller, bound to the runtime installed now.
  static ClickSink* Create(platform::CommandBarButton::ClickHandler handler);
  ClickSink(const ClickSink&) = delete;
  ClickSink& operator=(const ClickSink&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override;

 private:
  ClickSink(platform::CommandBarButton::ClickHandler handler, platform::Runtime* runtime)
      : handler_(std::move(handler)), runtime_(runtime) {}
  ~ClickSink() = default;

  std::atomic<ULONG> references_{1};
  platform::CommandBarButton::ClickHandler handler_;
  // The runtime installed when the event was bound: a click is a host entry point of its
  // own and runs under it too (the runtime outlives every binding).
  platform::Runtime* runtime_;
};

}  // namespace sendnote::com
