#include "windows/dll/Module.h"

#include <atomic>

#include "windows/com/HResultError.h"

namespace sendnote::windows {
namespace {
HINSTANCE g_instance = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
}  // namespace

void Module::Attach(HINSTANCE instance) { g_instance = instance; }

HINSTANCE Module::Instance() { return g_instance; }

std::wstring Module::Path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) com::Check(HRESULT_FROM_WIN32(::GetLastError()), u"GetModuleFileName");
    // A full buffer may hold a cut path: try again with more room.
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void Module::ObjectCreated() { ++g_objects; }
void Module::ObjectDestroyed() { --g_objects; }
void Module::Lock(bool lock) { lock ? ++g_locks : --g_locks; }
bool Module::CanUnload() { return g_objects == 0 && g_locks == 0; }

}  // namespace sendnote::windows
