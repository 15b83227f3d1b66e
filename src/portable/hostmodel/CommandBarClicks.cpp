#include "portable/hostmodel/CommandBarClicks.h"

#include <vector>

namespace sendnote::hostmodel {

std::shared_ptr<CommandBarClicks> CommandBarClicks::Create() {
  return std::shared_ptr<CommandBarClicks>(new CommandBarClicks());
}

platform::EventConnection CommandBarClicks::Connect(
    std::shared_ptr<const CommandBarControlData> bound, Handler handler) {
  uint64_t id = nextId_++;
  subscriptions_.emplace(
      id, Subscription{std::move(bound), std::make_shared<Handler>(std::move(handler))});
  std::weak_ptr<CommandBarClicks> self = weak_from_this();
  return platform::EventConnection([self, id] {
    if (auto clicks = self.lock()) clicks->subscriptions_.erase(id);
  });
}

int CommandBarClicks::Click(const std::shared_ptr<platform::CommandBarButton>& clicked,
                            const CommandBarControlData& clickedData) {
  // Chosen before any handler runs; a handler may end subscriptions meanwhile.
  std::vector<uint64_t> matching;
  for (const auto& [id, subscription] : subscriptions_) {
    const CommandBarControlData& bound = *subscription.bound;
    if (bound.deleted) continue;
    bool same = &bound == &clickedData || (!bound.tag.empty() && bound.tag == clickedData.tag);
    if (same) matching.push_back(id);
  }
  int ran = 0;
  platform::Flag cancelDefault = platform::kFalse;
  for (uint64_t id : matching) {
    auto it = subscriptions_.find(id);
    if (it == subscriptions_.end()) continue;
    std::shared_ptr<Handler> handler = it->second.handler;  // survives its own disconnection
    (*handler)(clicked, cancelDefault);
    ++ran;
  }
  lastCancelDefault_ = cancelDefault;
  return ran;
}

}  // namespace sendnote::hostmodel
