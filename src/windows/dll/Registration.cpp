#include "windows/dll/Registration.h"

#include <exception>
#include <string>

#include "windows/com/ComPtr.h"
#include "windows/com/HResultError.h"
#include "windows/com/ScopedBstr.h"
#include "windows/dll/Identities.h"
#include "windows/dll/Module.h"
#include "windows/dll/RegistryKey.h"

namespace sendnote::windows {
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

void WriteAll() {
  const std::wstring path = Module::Path();
  const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
  const TypeLibFacts typeLib = ReadTypeLib(path);
  const std::wstring libId = Text(SENDNOTE_LIBID_TEXT);
  const std::wstring progId = Text(SENDNOTE_PROGID);
  const std::wstring marshaller = Text(SENDNOTE_PSOAINTERFACE_TEXT);

  const std::wstring libVersionKey = kTypeLibKey + L"\\" + typeLib.version;
  RegistryKey::Create(HKEY_CURRENT_USER, libVersionKey).SetString(L"", typeLib.helpString);
  RegistryKey::Create(HKEY_CURRENT_USER, libVersionKey + L"\\0\\" + typeLib.platform)
      .SetString(L"", path);
  RegistryKey::Create(HKEY_CURRENT_USER, libVersionKey + L"\\FLAGS").SetString(L"", L"0");
  RegistryKey::Create(HKEY_CURRENT_USER, libVersionKey + L"\\HELPDIR").SetString(L"", folder);

  RegistryKey::Create(HKEY_CURRENT_USER, kInterfaceKey)
      .SetString(L"", L"_" + Text(SENDNOTE_CLASS_NAME));
  RegistryKey::Create(HKEY_CURRENT_USER, kInterfaceKey + L"\\ProxyStubClsid")
      .SetString(L"", marshaller);
  RegistryKey::Create(HKEY_CURRENT_USER, kInterfaceKey + L"\\ProxyStubClsid32")
      .SetString(L"", marshaller);
  {
    auto key = RegistryKey::Create(HKEY_CURRENT_USER, kInterfaceKey + L"\\TypeLib");
    key.SetString(L"", libId);
    key.SetString(L"Version", typeLib.version);
  }

  RegistryKey::Create(HKEY_CURRENT_USER, kClassKey).SetString(L"", progId);
  {
    auto key = RegistryKey::Create(HKEY_CURRENT_USER, kClassKey + L"\\InprocServer32");
    key.SetString(L"", path);
    key.SetString(L"ThreadingModel", L"Apartment");
  }
  RegistryKey::Create(HKEY_CURRENT_USER, kClassKey + L"\\ProgID").SetString(L"", progId);
  RegistryKey::Create(HKEY_CURRENT_USER, kClassKey + L"\\TypeLib").SetString(L"", libId);

  RegistryKey::Create(HKEY_CURRENT_USER, kProgIdKey).SetString(L"", progId);
  RegistryKey::Create(HKEY_CURRENT_USER, kProgIdKey + L"\\CLSID")
      .SetString(L"", Text(SENDNOTE_CLSID_TEXT));

  // Outlook's entry last: Outlook never sees an add-in whose class is not there yet.
  auto addin = RegistryKey::Create(HKEY_CURRENT_USER, kAddinKey);
  addin.SetString(L"FriendlyName", kFriendlyName);
  addin.SetString(L"Description", kDescription);
  addin.SetDword(L"LoadBehavior", kLoadBehavior);
  addin.SetDword(L"CommandLineSafe", kCommandLineSafe);
}

}  // namespace

void Registration::Register() {
  Unregister();
  try {
    WriteAll();
  } catch (...) {
    try {
      Unregister();
    } catch (...) {
    }
    throw;
  }
}

void Registration::Unregister() {
  std::exception_ptr first;
  for (const std::wstring* key :
       {&kAddinKey, &kProgIdKey, &kClassKey, &kInterfaceKey, &kTypeLibKey}) {
    try {
      RegistryKey::DeleteTree(HKEY_CURRENT_USER, *key);
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

}  // namespace sendnote::windows
