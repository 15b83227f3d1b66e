// An exposed command-bar button: its members, and the connection point of Office's
// _CommandBarButtonEvents, which fires Click (DISPID 1, Ctrl and CancelDefault by
// reference) at every advised sink when the host model raises the button's Click.
#pragma once

#include "windows/com/Win32.h"

#include <memory>

#include "hostsim/EventSourceObject.h"
#include "platform/CommandBars.h"

namespace sendnote::hostsim {

class ButtonObject final : public EventSourceObject {
 public:
  ButtonObject(const std::shared_ptr<platform::CommandBarButton>& button, const DispatchType& type);

  // Advised connections of every button, and the sinks' failed Click calls so far.
  static long Connections();
  static long FailedClicks();

 private:
  ~ButtonObject() override = default;
};

}  // namespace sendnote::hostsim
