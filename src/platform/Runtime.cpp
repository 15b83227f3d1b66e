#include "platform/Runtime.h"

#include <cstdio>
#include <cstdlib>

namespace sendnote::platform {
namespace {
Runtime* g_runtime = nullptr;  // one UI thread; set by the host for its lifetime
}

Runtime& CurrentRuntime() {
  if (!g_runtime) {
    std::fputs("sendnote: no runtime installed\n", stderr);
    std::abort();
  }
  return *g_runtime;
}

Runtime* InstalledRuntime() { return g_runtime; }

ScopedRuntime::ScopedRuntime(Runtime& runtime) : previous_(g_runtime) { g_runtime = &runtime; }
ScopedRuntime::~ScopedRuntime() { g_runtime = previous_; }

}  // namespace sendnote::platform
