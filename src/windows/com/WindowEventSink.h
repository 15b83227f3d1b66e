// Outlook's NewExplorer and NewInspector: a sink for ExplorersEvents or InspectorsEvents
// that hands the new window to the system's handler, and the advising of any sink on an
// object's connection point.
#pragma once

#include "windows/com/Win32.h"

#include <functional>
#include <string_view>

#include "platform/CommandBars.h"
#include "windows/com/ComPtr.h"
#include "windows/com/EventSink.h"

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

class WindowEventSink final : public EventSink {
 public:
  using Handler = std::function<void(ComPtr<IDispatch> window)>;

  // Creates one for `events` with a reference for the caller, bound to the runtime
  // installed now.
  static WindowEventSink* Create(const IID& events, Handler handler) {
    return new WindowEventSink(events, std::move(handler));
  }

 private:
  WindowEventSink(const IID& events, Handler handler)
      : EventSink(events, events == kIidExplorersEvents ? L"NewExplorer" : L"NewInspector",
                  kDispIdNewWindow),
        handler_(std::move(handler)) {}
  HRESULT Fire(DISPPARAMS& params) override;

  Handler handler_;
};

}  // namespace sendnote::com
