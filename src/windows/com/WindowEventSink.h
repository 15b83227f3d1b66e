// Outlook's NewExplorer and NewInspector: a sink for ExplorersEvents or InspectorsEvents
// that hands the new window to the system's handler, and the advising of any sink on an
// object's connection point.
#pragma once

#include "windows/com/Win32.h"

#include <atomic>
#include <functional>
#include <string_view>

#include "platform/CommandBars.h"
#include "platform/Runtime.h"
#include "windows/com/ComPtr.h"

namespace sendnote::com {

// Dispinterfaces of Outlook's type library (MSOUTL.OLB): ExplorersEvents and
// InspectorsEvents, whose one event (NewExplorer, NewInspector) has DISPID 0xF001 and the
// new window as its argument ("Explorers.NewExplorer event", "Inspectors.NewInspector
// event", Outlook VBA reference).
inline constexpr IID kIidExplorersEvents = {
    0x00063078, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID kIidInspectorsEvents = {
    0x00063079, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID kDispIdNewWindow = 0xF001;

// Advises `sink` on the connection point for `events` of `source`; the connection
// unadvises it. Raises when the object has no such connection point.
platform::EventConnection AdviseSink(IDispatch* source, const IID& events, IDispatch* sink,
                                     std::u16string_view member);

class WindowEventSink final : public IDispatch {
 public:
  using Handler = std::function<void(ComPtr<IDispatch> window)>;

  // Creates one for `events` with a reference for the caller, bound to the runtime
  // installed now.
  static WindowEventSink* Create(const IID& events, Handler handler);
  WindowEventSink(const WindowEventSink&) = delete;
  WindowEventSink& operator=(const WindowEventSink&) = delete;

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
  WindowEventSink(const IID& events, Handler handler, platform::Runtime* runtime)
      : events_(events), handler_(std::move(handler)), runtime_(runtime) {}
  ~WindowEventSink() = default;

  std::atomic<ULONG> references_{1};
  IID events_;
  Handler handler_;
  // As for a click: the event is an entry point of its own and runs under this runtime.
  platform::Runtime* runtime_;
};

}  // namespace sendnote::com
