// Failure injection and call counting for the Outlook host model: while it lives, every
// call on a host-model object passes through the Faults kept for that object.
#pragma once

#include <map>
#include <memory>
#include <string_view>

#include "inmemory/Faults.h"
#include "portable/hostmodel/CallObserver.h"

namespace sendnote::inmemory {

class OutlookFaults : public hostmodel::CallObserver {
 public:
  OutlookFaults() : scope_(*this) {}

  // The Faults of one object (armed failures, call counts).
  template <typename T>
  Faults& Of(const T& object) {
    return faults_[dynamic_cast<const void*>(&object)];
  }
  template <typename T>
  Faults& Of(const std::shared_ptr<T>& object) {
    return Of(*object);
  }

  void OnCall(const void* object, std::u16string_view member) override {
    faults_[object].Enter(member);
  }

 private:
  std::map<const void*, Faults> faults_;
  hostmodel::ScopedCallObserver scope_;
};

}  // namespace sendnote::inmemory
