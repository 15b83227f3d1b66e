#include "windows/dll/WindowsRuntime.h"

#include "windows/com/Win32.h"

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
