#include "windows/dll/WindowsRuntime.h"

#include "windows/com/Win32.h"

#include <cstdio>
#include <string>

#include "platform/Utf.h"

#include "windows/com/AutomationClass.h"
#include "windows/com/HResultError.h"
#include "windows/com/WideText.h"
#include "windows/dll/Module.h"

namespace sendnote::windows {

WindowsRuntime& WindowsRuntime::Instance() {
  static WindowsRuntime runtime;
  return runtime;
}

std::shared_ptr<platform::Object> WindowsRuntime::GetObject(std::u16string_view className) {
  return com::GetActiveObjectOf(className);
}

std::shared_ptr<platform::Object> WindowsRuntime::CreateObject(std::u16string_view className) {
  return com::CreateLocalObjectOf(className);
}

std::u16string WindowsRuntime::LibraryFolder() {
  const std::wstring path = Module::Path();
  const auto slash = path.find_last_of(L"\\/");
  return com::FromWide(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

void WindowsRuntime::Note(std::u16string_view line) noexcept {
  try {
    std::wstring folder(MAX_PATH, L'\0');
    const DWORD n = ::GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    folder.resize(n);
    folder += L"\\sendnote";
    ::CreateDirectoryW(folder.c_str(), nullptr);  // there already, as a rule
    const std::wstring path = folder + L"\\sendnote.log";
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    const std::string text = stamp + platform::ToUtf8(line) + "\r\n";
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
  } catch (...) {
    // A log line is not worth a failure of its own.
  }
}

std::u16string WindowsRuntime::Narrow(std::u16string_view text) {
  if (text.empty()) return {};
  const std::wstring wide = com::ToWide(text);
  const LCID japanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT);
  const int n = ::LCMapStringW(japanese, LCMAP_HALFWIDTH, wide.data(),
                               static_cast<int>(wide.size()), nullptr, 0);
  if (n <= 0) com::Check(HRESULT_FROM_WIN32(::GetLastError()), u"LCMapString");
  std::wstring narrow(static_cast<size_t>(n), L'\0');
  ::LCMapStringW(japanese, LCMAP_HALFWIDTH, wide.data(), static_cast<int>(wide.size()),
                 narrow.data(), n);
  return com::FromWide(narrow);
}

}  // namespace sendnote::windows
