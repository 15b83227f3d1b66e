// The test client's checks of the all-users registration's refusals, made by calling the
// library's DllInstall in this process.
#pragma once

#include <string>

namespace sendnote::windows::test {

// DllInstall(TRUE / FALSE, "allusers") of `dll` (a Windows path) under a token whose
// Administrators group is for denying only, as a user's filtered token is: refused with
// E_ACCESSDENIED and its message, nothing written and nothing removed. An unknown /i: text
// is refused as well. Returns 1 when a check failed, 77 when Wine does not take the group
// away.
int RefusalChecks(const std::wstring& dll);

}  // namespace sendnote::windows::test
