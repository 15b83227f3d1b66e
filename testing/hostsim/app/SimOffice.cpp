#include "hostsim/app/SimOffice.h"

#include <string>

#include "hostsim/Expose.h"
#include "tests/windows/Checks.h"
#include "windows/dll/Guids.h"

namespace sendnote::windows::test {
namespace {

constexpr wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins";
constexpr wchar_t kWordProgId[] = L"Word.Application";
constexpr wchar_t kWordClsidText[] = L"{000209FF-0000-0000-C000-000000000046}";

void SetString(HKEY root, const std::wstring& path, const std::wstring& value) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    Check(false, L"could not write " + path);
    return;
  }
  ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

// The ProgID keys as Office writes them per user; Wine 8 reads classes from HKLM only, so
// the simulator writes the same keys there too and removes both afterwards.
void WriteWordKeys(bool write) {
  wchar_t exe[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring progId = classes + kWordProgId;
    const std::wstring clsid = classes + L"CLSID\\" + kWordClsidText;
    if (!write) {
      ::RegDeleteTreeW(root, progId.c_str());
      ::RegDeleteKeyW(root, progId.c_str());
      ::RegDeleteTreeW(root, clsid.c_str());
      ::RegDeleteKeyW(root, clsid.c_str());
      continue;
    }
    SetString(root, progId + L"\\CLSID", kWordClsidText);
    SetString(root, clsid + L"\\ProgID", kWordProgId);
    SetString(root, clsid + L"\\LocalServer32", exe);
  }
}

using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

}  // namespace

SimOffice::SimOffice() : host_(hostmodel::OutlookHost::Create()) { app_ = host_->Start(); }

SimOffice::~SimOffice() {
  ReleaseAll();
  if (host_) host_->Shutdown();
}

std::shared_ptr<inmemory::WordApp> SimOffice::NewWord() {
  auto word = inmemory::WordApp::Create();
  if (setup_) setup_(*word);
  return word;
}

void SimOffice::RegisterWord(bool running) {
  WriteWordKeys(true);
  wordKeys_ = true;
  factory_ = com::ComPtr<hostsim::ClassFactory>::Adopt(hostsim::ClassFactory::Create([this] {
    auto word = NewWord();
    created_.push_back(word);
    return std::static_pointer_cast<platform::Object>(word);
  }));
  CheckHr(::CoRegisterClassObject(kWordClsid, factory_.Get(), CLSCTX_LOCAL_SERVER,
                                  REGCLS_MULTIPLEUSE, &factoryCookie_),
          S_OK, L"CoRegisterClassObject of Word.Application");
  if (!running) return;
  running_ = NewWord();
  com::ComPtr<IDispatch> exposed = hostsim::Expose(running_);
  CheckHr(::RegisterActiveObject(exposed.Get(), kWordClsid, ACTIVEOBJECT_STRONG, &rotCookie_), S_OK,
          L"RegisterActiveObject of the running Word");
}

void SimOffice::UnregisterWord() {
  if (rotCookie_) {
    CheckHr(::RevokeActiveObject(rotCookie_, nullptr), S_OK, L"RevokeActiveObject");
    rotCookie_ = 0;
  }
  if (factoryCookie_) {
    CheckHr(::CoRevokeClassObject(factoryCookie_), S_OK, L"CoRevokeClassObject");
    factoryCookie_ = 0;
  }
  factory_.Reset();
  if (wordKeys_) WriteWordKeys(false);
  wordKeys_ = false;
}

std::vector<std::wstring> SimOffice::AddInsToLoad() {
  std::vector<std::wstring> found;
  HKEY addins = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kAddinsKey, 0, KEY_READ, &addins) != ERROR_SUCCESS) {
    return found;
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (::RegEnumKeyExW(addins, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    DWORD behavior = 0;
    DWORD size = sizeof(behavior);
    if (::RegGetValueW(addins, name, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &behavior,
                       &size) != ERROR_SUCCESS) {
      continue;
    }
    // Load at start-up (2), or connect at the first start and on demand (16).
    if ((behavior & 2) || (behavior & 16)) found.emplace_back(name);
  }
  ::RegCloseKey(addins);
  return found;
}

bool SimOffice::LoadAddIn(const std::wstring& progId) {
  CLSID clsid{};
  HRESULT hr = ::CLSIDFromProgID(progId.c_str(), &clsid);
  CheckHr(hr, S_OK, L"CLSIDFromProgID(" + progId + L")");
  if (FAILED(hr)) return false;
  hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                          reinterpret_cast<void**>(addIn_.Receive()));
  CheckHr(hr, S_OK, L"CoCreateInstance of the add-in");
  if (FAILED(hr)) return false;
  hr = addIn_->QueryInterface(kIidExtensibility2,
                              reinterpret_cast<void**>(extensibility_.Receive()));
  CheckHr(hr, S_OK, L"the add-in's IDTExtensibility2");
  library_ = ::GetModuleHandleW(L"sendnote.dll");
  Check(library_ != nullptr, L"sendnote.dll is loaded in the simulator");
  instanceObject_ =
      hostsim::Expose(app_->NewAddInInstance(std::u16string(progId.begin(), progId.end())));
  return SUCCEEDED(hr);
}

HRESULT SimOffice::Connect(ext_ConnectMode mode) {
  if (!appObject_) appObject_ = hostsim::Expose(app_);
  SAFEARRAY* custom = ::SafeArrayCreateVector(VT_VARIANT, 0, 0);
  const HRESULT hr =
      extensibility_->OnConnection(appObject_.Get(), mode, instanceObject_.Get(), &custom);
  ::SafeArrayDestroy(custom);
  return hr;
}

HRESULT SimOffice::StartupComplete() {
  SAFEARRAY* custom = ::SafeArrayCreateVector(VT_VARIANT, 0, 0);
  const HRESULT hr = extensibility_->OnStartupComplete(&custom);
  ::SafeArrayDestroy(custom);
  return hr;
}

HRESULT SimOffice::BeginShutdown() {
  SAFEARRAY* custom = ::SafeArrayCreateVector(VT_VARIANT, 0, 0);
  const HRESULT hr = extensibility_->OnBeginShutdown(&custom);
  ::SafeArrayDestroy(custom);
  return hr;
}

HRESULT SimOffice::Disconnect(ext_DisconnectMode mode) {
  SAFEARRAY* custom = ::SafeArrayCreateVector(VT_VARIANT, 0, 0);
  const HRESULT hr = extensibility_->OnDisconnection(mode, &custom);
  ::SafeArrayDestroy(custom);
  return hr;
}

HRESULT SimOffice::ReleaseAddIn() {
  extensibility_.Reset();
  addIn_.Reset();
  if (!library_) return E_FAIL;
  auto canUnload = reinterpret_cast<CanUnloadNow>(
      reinterpret_cast<void*>(::GetProcAddress(library_, "DllCanUnloadNow")));
  return canUnload ? canUnload() : E_FAIL;
}

int SimOffice::Click(const std::shared_ptr<platform::OutlookWindow>& window,
                     const std::shared_ptr<platform::CommandBarControl>& button) {
  app_->SetActiveWindow(window);
  return app_->ClickButton(button);
}

void SimOffice::ReleaseAll() {
  UnregisterWord();
  extensibility_.Reset();
  addIn_.Reset();
  appObject_.Reset();
  instanceObject_.Reset();
}

}  // namespace sendnote::windows::test
