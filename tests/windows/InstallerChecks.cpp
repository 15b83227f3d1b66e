// The test client's checks of an installed add-in, and the Outlook window the installer
// must wait for.
#include "tests/windows/InstallerChecks.h"

#include <cwctype>
#include <string>

#include "tests/windows/Checks.h"
#include "windows/dll/Extensibility.h"
#include "windows/dll/Guids.h"

namespace sendnote::windows::test {
namespace {

std::wstring LowerCase(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
  return text;
}

}  // namespace

int InstalledChecks(const std::wstring& expectedDll) {
  CheckHr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK, L"CoInitializeEx");
  CLSID clsid{};
  CheckHr(::CLSIDFromProgID(L"" SENDNOTE_PROGID, &clsid), S_OK, L"CLSIDFromProgID");
  Check(clsid == kClsid, L"the ProgID names our class");
  IDTExtensibility2* addIn = nullptr;
  CheckHr(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidExtensibility2,
                             reinterpret_cast<void**>(&addIn)),
          S_OK, L"CoCreateInstance of the installed add-in");
  // The library COM loaded is the installed one, with its help file beside it.
  wchar_t loaded[MAX_PATH] = {};
  HMODULE dll = ::GetModuleHandleW(L"sendnote.dll");
  Check(dll && ::GetModuleFileNameW(dll, loaded, MAX_PATH) > 0, L"sendnote.dll is loaded");
  Check(LowerCase(loaded) == LowerCase(expectedDll),
        std::wstring(L"loaded ") + loaded + L", expected " + expectedDll);
  const std::wstring path = loaded;
  const std::wstring help = path.substr(0, path.find_last_of(L'\\') + 1) + L"sendnote.chm";
  Check(::GetFileAttributesW(help.c_str()) != INVALID_FILE_ATTRIBUTES,
        L"the help file lies beside the library: " + help);
  if (addIn) addIn->Release();
  ::CoUninitialize();
  return Failures() ? 1 : 0;
}

int WithOutlookWindow(const std::wstring& commandLine) {
  // Outlook's main window class, which the installer looks for.
  WNDCLASSW type{};
  type.lpfnWndProc = ::DefWindowProcW;
  type.hInstance = ::GetModuleHandleW(nullptr);
  type.lpszClassName = L"rctrl_renwnd32";
  Check(::RegisterClassW(&type) != 0, L"RegisterClass rctrl_renwnd32");
  HWND window = ::CreateWindowExW(0, type.lpszClassName, L"Outlook", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                  100, nullptr, nullptr, type.hInstance, nullptr);
  Check(window != nullptr, L"the Outlook window");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    Check(false, L"CreateProcess " + commandLine);
    return 255;
  }
  // The window answers while the child runs, as Outlook's would.
  while (::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 60000, QS_ALLINPUT) ==
         WAIT_OBJECT_0 + 1) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  }
  DWORD code = 255;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  if (window) ::DestroyWindow(window);
  return Failures() ? 255 : static_cast<int>(code);
}

}  // namespace sendnote::windows::test
