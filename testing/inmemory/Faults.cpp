#include "inmemory/Faults.h"

#include "platform/ComError.h"

namespace sendnote::inmemory {

void Faults::FailOn(std::u16string_view member, int32_t number, std::u16string description,
                    int times) {
  if (description.empty()) description = platform::StandardDescription(number);
  armed_.insert_or_assign(std::u16string(member),
                          Armed{number, std::move(description), times, nullptr});
}

void Faults::ThrowOn(std::u16string_view member, std::exception_ptr failure, int times) {
  armed_.insert_or_assign(std::u16string(member), Armed{0, u"", times, std::move(failure)});
}

void Faults::Clear(std::u16string_view member) {
  if (auto it = armed_.find(member); it != armed_.end()) armed_.erase(it);
}

void Faults::ClearAll() { armed_.clear(); }

void Faults::Enter(std::u16string_view member) {
  ++total_calls_;
  if (auto it = calls_.find(member); it != calls_.end()) {
    ++it->second;
  } else {
    calls_.emplace(std::u16string(member), 1);
  }
  auto it = armed_.find(member);
  if (it == armed_.end()) return;
  Armed armed = it->second;
  if (armed.remaining > 0 && --it->second.remaining == 0) armed_.erase(it);
  if (armed.failure) std::rethrow_exception(armed.failure);
  platform::Raise(armed.number, std::move(armed.description));
}

int Faults::Calls(std::u16string_view member) const {
  auto it = calls_.find(member);
  return it == calls_.end() ? 0 : it->second;
}

}  // namespace sendnote::inmemory
