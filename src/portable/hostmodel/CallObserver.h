// An optional watcher of the host model's calls: every operation of a host-model object
// reports itself first, so that tests can count calls and make chosen members fail. With
// no observer installed the calls just run.
#pragma once

#include <string_view>

namespace sendnote::hostmodel {

class CallObserver {
 public:
  virtual ~CallObserver() = default;
  // `object` is the address of the whole object (dynamic_cast to void). Whatever this
  // throws is the failure of the operation.
  virtual void OnCall(const void* object, std::u16string_view member) = 0;
};

// Installs an observer for its own lifetime; the one installed before comes back after.
class ScopedCallObserver {
 public:
  explicit ScopedCallObserver(CallObserver& observer);
  ~ScopedCallObserver();
  ScopedCallObserver(const ScopedCallObserver&) = delete;
  ScopedCallObserver& operator=(const ScopedCallObserver&) = delete;

 private:
  CallObserver* previous_;
};

// Reports a call of `member` on the object at `identity` to the installed observer.
void ReportCall(const void* identity, std::u16string_view member);

// Reports a call on `object`, named by the address of its whole object so that every base
// of one object names the same one.
template <typename T>
void NoteCall(const T* object, std::u16string_view member) {
  ReportCall(dynamic_cast<const void*>(object), member);
}

}  // namespace sendnote::hostmodel
