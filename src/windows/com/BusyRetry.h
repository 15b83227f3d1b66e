// Calls into a server that is busy: Word rejects calls while it starts or shows a dialog
// of its own, with RPC_E_CALL_REJECTED or RPC_E_SERVERCALL_RETRYLATER ("IMessageFilter::
// RetryRejectedCall", COM reference). The call is made again after a growing pause, for
// about 30 seconds, without a message filter that would replace the host's own.
#pragma once

#include "windows/com/Win32.h"

#include <algorithm>

namespace sendnote::com {

inline constexpr DWORD kBusyWaitMilliseconds = 30000;

inline bool IsBusy(HRESULT hr) {
  return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER;
}

// Returns the call's result: the first that is not busy, or the busy one after the wait.
// Once a wait has run out, calls refused within the next wait's time give up at once, so
// that the steps ending a failed click do not wait again each.
template <class Call>
HRESULT RetryWhileBusy(Call&& call) {
  static thread_local ULONGLONG gaveUpAt = 0;
  const bool recentlyGaveUp =
      gaveUpAt != 0 && ::GetTickCount64() - gaveUpAt < kBusyWaitMilliseconds;
  DWORD waited = 0;
  DWORD pause = 20;
  for (;;) {
    const HRESULT hr = call();
    if (!IsBusy(hr)) return hr;
    if (recentlyGaveUp || waited >= kBusyWaitMilliseconds) {
      gaveUpAt = ::GetTickCount64();
      return hr;
    }
    ::Sleep(pause);
    waited += pause;
    pause = std::min<DWORD>(pause * 2, 500);
  }
}

}  // namespace sendnote::com
