#include "tests/windows/RegistrationChecks.h"

#include <cstdio>
#include <string>

#include "tests/windows/Checks.h"
#include "windows/dll/Identities.h"

namespace sendnote::windows::test {
namespace {

using DllInstallFunction = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);

// Every key an all-users registration writes: none may be there after a refusal.
const wchar_t* const kMachineKeys[] = {
    L"Software\\Classes\\CLSID\\" SENDNOTE_CLSID_TEXT,
    L"Software\\Classes\\Interface\\" SENDNOTE_IID_TEXT,
    L"Software\\Classes\\TypeLib\\" SENDNOTE_LIBID_TEXT,
    L"Software\\Classes\\" SENDNOTE_PROGID,
    L"Software\\Microsoft\\Office\\Outlook\\Addins\\" SENDNOTE_PROGID,
};

void CheckNothingWritten(const std::wstring& after) {
  for (const wchar_t* path : kMachineKeys) {
    HKEY key = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key);
    if (key) ::RegCloseKey(key);
    Check(status == ERROR_FILE_NOT_FOUND,
          std::wstring(L"HKLM\\") + path + L" exists after " + after);
  }
}

std::wstring ErrorText() {
  IErrorInfo* info = nullptr;
  if (::GetErrorInfo(0, &info) != S_OK || !info) return L"(no error information)";
  BSTR text = nullptr;
  info->GetDescription(&text);
  std::wstring result = text ? text : L"";
  ::SysFreeString(text);
  info->Release();
  return result;
}

bool IsAdministrator() {
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  ::AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                             0, 0, 0, 0, 0, &administrators);
  BOOL member = FALSE;
  ::CheckTokenMembership(nullptr, administrators, &member);
  ::FreeSid(administrators);
  return member != FALSE;
}

// This thread takes a copy of the process's token with Administrators for denying only.
bool ImpersonateWithoutAdministrators() {
  HANDLE process = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &process)) return false;
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  ::AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                             0, 0, 0, 0, 0, &administrators);
  SID_AND_ATTRIBUTES deny{administrators, 0};
  HANDLE restricted = nullptr;
  HANDLE impersonation = nullptr;
  const bool ok =
      ::CreateRestrictedToken(process, 0, 1, &deny, 0, nullptr, 0, nullptr, &restricted) &&
      ::DuplicateToken(restricted, SecurityImpersonation, &impersonation) &&
      ::SetThreadToken(nullptr, impersonation);
  if (impersonation) ::CloseHandle(impersonation);
  if (restricted) ::CloseHandle(restricted);
  ::FreeSid(administrators);
  ::CloseHandle(process);
  return ok;
}

}  // namespace

int RefusalChecks(const std::wstring& dll) {
  HMODULE library = ::LoadLibraryW(dll.c_str());
  Check(library != nullptr, L"LoadLibrary " + dll);
  if (!library) return 1;
  auto install = reinterpret_cast<DllInstallFunction>(
      reinterpret_cast<void*>(::GetProcAddress(library, "DllInstall")));
  Check(install != nullptr, L"sendnote.dll exports DllInstall");
  if (!install) return 1;
  CheckNothingWritten(L"the start (run it after an unregistration)");

  // An unknown scope is refused whoever asks, and writes nothing.
  CheckHr(install(TRUE, L"everyone"), E_INVALIDARG, L"DllInstall(TRUE, \"everyone\")");
  // GetErrorInfo hands the information over once.
  const std::wstring unknown = ErrorText();
  Check(unknown == L"regsvr32 の /i: には user か allusers を指定してください。",
        L"the message of an unknown scope: " + unknown);
  CheckNothingWritten(L"an unknown scope");

  const std::wstring expected =
      L"すべてのユーザーへの登録には管理者の権限が必要です。"
      L"管理者として実行したコマンド プロンプトから登録してください。";
  // Registered with the rights; without them its removal is refused and removes nothing.
  CheckHr(install(TRUE, L"allusers"), S_OK, L"DllInstall(TRUE, \"allusers\") as administrator");
  if (!ImpersonateWithoutAdministrators()) {
    Check(false, L"a token without the Administrators group: " + std::to_wstring(::GetLastError()));
    return 1;
  }
  if (IsAdministrator()) {
    ::RevertToSelf();
    install(FALSE, L"allusers");
    std::fputws(
        L"Wine keeps the Administrators group in a restricted token: the refusal "
        L"cannot be shown here\n",
        stderr);
    return 77;
  }
  const HRESULT unregistered = install(FALSE, L"allusers");
  const std::wstring unregisterMessage = ErrorText();
  ::RevertToSelf();
  CheckHr(unregistered, E_ACCESSDENIED,
          L"DllInstall(FALSE, \"allusers\") without administrator rights");
  Check(unregisterMessage == expected, L"the unregistration's refusal: " + unregisterMessage);
  for (const wchar_t* path : kMachineKeys) {
    HKEY key = nullptr;
    Check(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS,
          std::wstring(L"HKLM\\") + path + L" is gone after a refused unregistration");
    if (key) ::RegCloseKey(key);
  }
  CheckHr(install(FALSE, L"allusers"), S_OK, L"DllInstall(FALSE, \"allusers\") as administrator");
  CheckNothingWritten(L"the unregistration as administrator");

  // Without the rights the registration is refused before anything is written.
  ImpersonateWithoutAdministrators();
  const HRESULT registered = install(TRUE, L"allusers");
  const std::wstring message = ErrorText();
  ::RevertToSelf();
  CheckHr(registered, E_ACCESSDENIED,
          L"DllInstall(TRUE, \"allusers\") without administrator rights");
  Check(message == expected, L"the refusal's message: " + message);
  CheckNothingWritten(L"the refusal");
  ::FreeLibrary(library);
  return Failures() ? 1 : 0;
}

}  // namespace sendnote::windows::test
