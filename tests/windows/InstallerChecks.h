// The test client's modes for the installer: the installed add-in created through COM,
// and a stand-in for Outlook's window while another program runs.
#pragma once

#include <string>

namespace sendnote::windows::test {

// Creates the class by its ProgID and checks that COM loaded `expectedDll` (a Windows
// path) and that sendnote.chm lies beside it. Returns 1 when a check failed.
int InstalledChecks(const std::wstring& expectedDll);

// Runs `commandLine` while a window of Outlook's main window class exists, and returns
// that program's exit code (255 when it could not run).
int WithOutlookWindow(const std::wstring& commandLine);

}  // namespace sendnote::windows::test
