// Registration of sendnote.dll: the class, its program identifier, the default interface,
// the type library and Outlook's add-in entry, for the current user (HKEY_CURRENT_USER, the
// default) or for all users (HKEY_LOCAL_MACHINE, administrators only).
//
// On 64-bit Windows the x86 and the x64 build are registered side by side, each by the
// regsvr32 of its own bitness. The class and interface keys are kept apart per bitness by
// the registry itself (a 32-bit and a 64-bit view); the program identifier, the type
// library and the per-user Addins key are one copy that both builds share ("Registry Keys
// Affected by WOW64", learn.microsoft.com/windows/win32/winprog64/shared-registry-keys).
// The machine-wide Addins key lies below HKLM\Software and so has a view per bitness, which
// is also the one 32-bit and 64-bit Office read ("Registry entries for VSTO Add-ins").
#pragma once

#include "windows/com/Win32.h"

#include <string>

namespace sendnote::windows {

enum class RegistrationScope { kCurrentUser, kAllUsers };

class Registration {
 public:
  // Writes one fresh set of entries (this build's earlier set is removed first). When a
  // step fails, everything this call wrote is removed again and the step's error is raised.
  static void Register(RegistrationScope scope);
  // Removes this build's entries; the shared ones only when the other build is not
  // registered in the same scope. Missing entries are fine. Tries all of them and raises
  // the first failure.
  static void Unregister(RegistrationScope scope);
  // Both refuse a caller without administrator rights for all users before touching
  // anything (ComError E_ACCESSDENIED with kNeedsAdministrator).

  // The scope named by regsvr32's /i: text ("user" or "allusers", any case; empty is the
  // current user). Anything else raises ComError E_INVALIDARG.
  static RegistrationScope ScopeOf(const wchar_t* commandLine);

  static const char16_t kNeedsAdministrator[];
};

}  // namespace sendnote::windows
