#include "portable/hostmodel/CallObserver.h"

namespace sendnote::hostmodel {
namespace {

// The host model runs on the one thread of its host.
CallObserver* installed = nullptr;

}  // namespace

ScopedCallObserver::ScopedCallObserver(CallObserver& observer) : previous_(installed) {
  installed = &observer;
}

ScopedCallObserver::~ScopedCallObserver() { installed = previous_; }

void ReportCall(const void* identity, std::u16string_view member) {
  if (installed) installed->OnCall(identity, member);
}

}  // namespace sendnote::hostmodel
