// The Click event subscriptions of one running host: a click on a button raises Click on
// every subscription whose bound button bears the same tag, in whatever window.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/CommandBars.h"
#include "portable/hostmodel/CommandBarCustomization.h"

namespace sendnote::hostmodel {

class CommandBarClicks : public std::enable_shared_from_this<CommandBarClicks> {
 public:
  using Handler = platform::CommandBarButton::ClickHandler;

  static std::shared_ptr<CommandBarClicks> Create();

  // Subscribes `handler` to clicks matching the bound control; ends with the connection.
  platform::EventConnection Connect(std::shared_ptr<const CommandBarControlData> bound,
                                    Handler handler);
  // Raises Click for a user's click on `clicked`; returns how many handlers ran.
  int Click(const std::shared_ptr<platform::CommandBarButton>& clicked,
            const CommandBarControlData& clickedData);
  // Ends every subscription (the host shut down).
  void DisconnectAll() { subscriptions_.clear(); }

  int Connections() const { return static_cast<int>(subscriptions_.size()); }
  // The cancel-default flag as the handlers left it after the last click.
  platform::Flag LastCancelDefault() const { return lastCancelDefault_; }

 private:
  CommandBarClicks() = default;

  struct Subscription {
    std::shared_ptr<const CommandBarControlData> bound;
    std::shared_ptr<Handler> handler;
  };
  std::map<uint64_t, Subscription> subscriptions_;
  uint64_t nextId_ = 1;
  platform::Flag lastCancelDefault_ = platform::kFalse;
};

}  // namespace sendnote::hostmodel
