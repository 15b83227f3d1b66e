// The sink of a button's _CommandBarButtonEvents: Click (DISPID 1) with the clicked
// control and CancelDefault by reference, handed to the system's click handler.
#pragma once

#include "windows/com/Win32.h"

#include "platform/CommandBars.h"
#include "windows/com/EventSink.h"

namespace sendnote::com {

// _CommandBarButtonEvents of the Office type library (a dispinterface).
inline constexpr IID kIidCommandBarButtonEvents = {
    0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID kDispIdClick = 1;

class ClickSink final : public EventSink {
 public:
  // Creates one with a reference for the caller, bound to the runtime installed now.
  static ClickSink* Create(platform::CommandBarButton::ClickHandler handler) {
    return new ClickSink(std::move(handler));
  }

 private:
  explicit ClickSink(platform::CommandBarButton::ClickHandler handler)
      : EventSink(kIidCommandBarButtonEvents, L"Click", kDispIdClick),
        handler_(std::move(handler)) {}
  HRESULT Fire(DISPPARAMS& params) override;

  platform::CommandBarButton::ClickHandler handler_;
};

}  // namespace sendnote::com
