// The checks of the Windows test client: each failed one is printed, and counted for the
// exit status.
#pragma once

#include "windows/com/Win32.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace sendnote::windows::test {

inline int& FailureCount() {
  static int failures = 0;
  return failures;
}
inline int Failures() { return FailureCount(); }

// Writes a line as UTF-8: Wine's console conversion would stop at the first Japanese
// character.
inline void Print(FILE* stream, const std::wstring& line) {
  std::string bytes(line.size() * 3 + 1, '\0');
  const int n =
      ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(n > 0 ? n : 0);
  bytes += '\n';
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

inline void Check(bool ok, const std::wstring& what) {
  if (ok) return;
  ++FailureCount();
  Print(stderr, L"FAILED: " + what);
}

inline std::wstring Hex(long value) {
  wchar_t buffer[16];
  std::swprintf(buffer, 16, L"0x%08lX", static_cast<unsigned long>(value));
  return buffer;
}

inline void CheckHr(HRESULT hr, HRESULT expected, const std::wstring& what) {
  Check(hr == expected, what + L": " + Hex(hr) + L", expected " + Hex(expected));
}

inline bool Contains(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

// The COM automation library's checks (AutomationChecks.cpp).
int AutomationChecks();
// The Outlook automation objects' checks (OutlookAutomationChecks.cpp).
int OutlookAutomationChecks();
// The Word automation objects' and the class objects' checks (WordAutomationChecks.cpp).
int WordAutomationChecks();

}  // namespace sendnote::windows::test
