#include "windows/dll/Registration.h"

#include <cwctype>
#include <exception>
#include <string>

#include "platform/ComError.h"
#include "windows/com/ComPtr.h"
#include "windows/com/HResultError.h"
#include "windows/com/ScopedBstr.h"
#include "windows/dll/Identities.h"
#include "windows/dll/Module.h"
#include "windows/dll/RegistryKey.h"

namespace sendnote::windows {

const char16_t Registration::kNeedsAdministrator[] =
    u"すべてのユーザーへの登録には管理者の権限が必要です。"
    u"管理者として実行したコマンド プロンプトから登録してください。";

namespace {

// The Identities.h texts are ASCII.
std::wstring Text(const char* ascii) {
  return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kClassKey = kClasses + L"CLSID\\" + Text(SENDNOTE_CLSID_TEXT);
const std::wstring kProgIdKey = kClasses + Text(SENDNOTE_PROGID);
const std::wstring kInterfaceKey = kClasses + L"Interface\\" + Text(SENDNOTE_IID_TEXT);
const std::wstring kTypeLibKey = kClasses + L"TypeLib\\" + Text(SENDNOTE_LIBID_TEXT);
const std::wstring kAddinKey =
    L"Software\\Microsoft\\Office\\Outlook\\Addins\\" + Text(SENDNOTE_PROGID);

// The registry view of the other build: a 64-bit process reaches the 32-bit view and the
// other way round. 32-bit Windows ignores the flag and has the one view.
constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

// The Outlook add-in entry: fixed data of the library.
constexpr wchar_t kFriendlyName[] = L"添書票COMアドイン";
constexpr wchar_t kDescription[] =
    L"Word2000のテンプレートを使って添書票に住所や名前をコピーするアドインです。";
// Loaded and connected at every start of Outlook ("Registry entries for VSTO Add-ins",
// LoadBehavior: 3 = load at start-up). 16 (connect once, then on demand) loses the add-in
// from the second start on in every Outlook since 2010, which keeps no command-bar button
// that could demand it, and writes 9 back after the first session.
constexpr DWORD kLoadBehavior = 3;
constexpr DWORD kCommandLineSafe = 0;

HKEY RootOf(RegistrationScope scope) {
  return scope == RegistrationScope::kAllUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Whether the caller's token holds the Administrators group enabled: a filtered token of
// User Account Control holds it for denying only and is no member ("CheckTokenMembership
// function",
// learn.microsoft.com/windows/win32/api/securitybaseapi/nf-securitybaseapi-checktokenmembership).
bool CallerIsAdministrator() {
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!::AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
    return false;
  }
  BOOL member = FALSE;
  if (!::CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  ::FreeSid(administrators);
  return member != FALSE;
}

// What the embedded type library says of itself: its registration is written from it.
struct TypeLibFacts {
  std::wstring version;   // "1.0"
  std::wstring platform;  // "win32" or "win64"
  std::wstring helpString;
};

TypeLibFacts ReadTypeLib(const std::wstring& path) {
  com::ComPtr<ITypeLib> library;
  com::Check(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Receive()), u"LoadTypeLibEx");
  TLIBATTR* attributes = nullptr;
  com::Check(library->GetLibAttr(&attributes), u"GetLibAttr");
  TypeLibFacts facts;
  facts.version =
      std::to_wstring(attributes->wMajorVerNum) + L"." + std::to_wstring(attributes->wMinorVerNum);
  facts.platform = attributes->syskind == SYS_WIN64 ? L"win64" : L"win32";
  library->ReleaseTLibAttr(attributes);
  com::ScopedBstr help;
  com::Check(library->GetDocumentation(-1, nullptr, help.Receive(), nullptr, nullptr),
             u"GetDocumentation");
  facts.helpString.assign(help.Get() ? help.Get() : L"");
  return facts;
}

// This build's own type-library entry: the file for its platform.
std::wstring OwnTypeLibFileKey() {
  const TypeLibFacts typeLib = ReadTypeLib(Module::Path());
  return kTypeLibKey + L"\\" + typeLib.version + L"\\0\\" + typeLib.platform;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The other build is registered in this scope when the class key of the other view names
// a server that is not this file (Wine keeps one view for both: there it finds this file).
bool OtherBuildRegistered(HKEY root) {
  const auto server =
      RegistryKey::ReadString(root, kClassKey + L"\\InprocServer32", L"", kOtherView);
  return server && !SamePath(*server, Module::Path());
}

void WriteAll(RegistrationScope scope) {
  const HKEY root = RootOf(scope);
  const std::wstring path = Module::Path();
  const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
  const TypeLibFacts typeLib = ReadTypeLib(path);
  const std::wstring libId = Text(SENDNOTE_LIBID_TEXT);
  const std::wstring progId = Text(SENDNOTE_PROGID);
  const std::wstring marshaller = Text(SENDNOTE_PSOAINTERFACE_TEXT);

  const std::wstring libVersionKey = kTypeLibKey + L"\\" + typeLib.version;
  RegistryKey::Create(root, libVersionKey).SetString(L"", typeLib.helpString);
  RegistryKey::Create(root, libVersionKey + L"\\0\\" + typeLib.platform).SetString(L"", path);
  RegistryKey::Create(root, libVersionKey + L"\\FLAGS").SetString(L"", L"0");
  RegistryKey::Create(root, libVersionKey + L"\\HELPDIR").SetString(L"", folder);

  RegistryKey::Create(root, kInterfaceKey).SetString(L"", L"_" + Text(SENDNOTE_CLASS_NAME));
  RegistryKey::Create(root, kInterfaceKey + L"\\ProxyStubClsid").SetString(L"", marshaller);
  RegistryKey::Create(root, kInterfaceKey + L"\\ProxyStubClsid32").SetString(L"", marshaller);
  {
    auto key = RegistryKey::Create(root, kInterfaceKey + L"\\TypeLib");
    key.SetString(L"", libId);
    key.SetString(L"Version", typeLib.version);
  }

  RegistryKey::Create(root, kClassKey).SetString(L"", progId);
  {
    auto key = RegistryKey::Create(root, kClassKey + L"\\InprocServer32");
    key.SetString(L"", path);
    key.SetString(L"ThreadingModel", L"Apartment");
  }
  RegistryKey::Create(root, kClassKey + L"\\ProgID").SetString(L"", progId);
  RegistryKey::Create(root, kClassKey + L"\\TypeLib").SetString(L"", libId);

  RegistryKey::Create(root, kProgIdKey).SetString(L"", progId);
  RegistryKey::Create(root, kProgIdKey + L"\\CLSID").SetString(L"", Text(SENDNOTE_CLSID_TEXT));

  // Outlook's entry last: Outlook never sees an add-in whose class is not there yet.
  auto addin = RegistryKey::Create(root, kAddinKey);
  addin.SetString(L"FriendlyName", kFriendlyName);
  addin.SetString(L"Description", kDescription);
  addin.SetDword(L"LoadBehavior", kLoadBehavior);
  addin.SetDword(L"CommandLineSafe", kCommandLineSafe);
}

}  // namespace

RegistrationScope Registration::ScopeOf(const wchar_t* commandLine) {
  std::wstring text(commandLine ? commandLine : L"");
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
  if (text.empty() || text == L"user") return RegistrationScope::kCurrentUser;
  if (text == L"allusers") return RegistrationScope::kAllUsers;
  throw platform::ComError(static_cast<int32_t>(E_INVALIDARG),
                           u"regsvr32 の /i: には user か allusers を指定してください。");
}

void Registration::Register(RegistrationScope scope) {
  Unregister(scope);
  try {
    WriteAll(scope);
  } catch (...) {
    try {
      Unregister(scope);
    } catch (...) {
    }
    throw;
  }
}

void Registration::Unregister(RegistrationScope scope) {
  // The machine's keys are an administrator's to change: refused before anything is touched.
  if (scope == RegistrationScope::kAllUsers && !CallerIsAdministrator()) {
    throw platform::ComError(static_cast<int32_t>(E_ACCESSDENIED), kNeedsAdministrator);
  }
  const HKEY root = RootOf(scope);
  const bool keepShared = OtherBuildRegistered(root);
  std::exception_ptr first;
  auto remove = [&](const std::wstring& key) {
    try {
      RegistryKey::DeleteTree(root, key);
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  };
  // Outlook's entry first, so that it never finds an add-in whose class is gone. The
  // per-user entry is shared by both builds; the machine-wide one has a view per build.
  if (scope == RegistrationScope::kAllUsers || !keepShared) remove(kAddinKey);
  remove(kClassKey);
  remove(kInterfaceKey);
  if (keepShared) {
    try {
      remove(OwnTypeLibFileKey());
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  } else {
    remove(kProgIdKey);
    remove(kTypeLibKey);
  }
  if (first) std::rethrow_exception(first);
}

}  // namespace sendnote::windows
