#include "hostsim/app/SimOffice.h"

#include <olectl.h>

#include <string>

#include "hostsim/Expose.h"
#include "hostsim/RibbonControl.h"
#include "hostsim/SimObject.h"
#include "hostsim/app/WordServer.h"
#include "tests/windows/Checks.h"
#include "windows/com/WideText.h"
#include "windows/dll/Guids.h"

namespace sendnote::windows::test {
namespace {

constexpr wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins";
constexpr wchar_t kProgId[] = L"" SENDNOTE_PROGID;
constexpr wchar_t kCustomUi2009[] = L"http://schemas.microsoft.com/office/2009/07/customui";

// The Addins entry's LoadBehavior, or 0 when it has none.
DWORD LoadBehaviorOf(const std::wstring& progId) {
  DWORD behavior = 0;
  DWORD size = sizeof(behavior);
  const std::wstring key = std::wstring(kAddinsKey) + L"\\" + progId;
  if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"LoadBehavior", RRF_RT_REG_DWORD, nullptr,
                     &behavior, &size) != ERROR_SUCCESS) {
    return 0;
  }
  return behavior;
}

void SetLoadBehavior(const std::wstring& progId, DWORD behavior) {
  const std::wstring key = std::wstring(kAddinsKey) + L"\\" + progId;
  Check(::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"LoadBehavior", REG_DWORD, &behavior,
                          sizeof(behavior)) == ERROR_SUCCESS,
        L"Outlook writes LoadBehavior back");
}

// Calls a ribbon callback as Office does: found by name on the add-in's IDispatch, invoked
// as a method with an IRibbonControl (the control's id, the window as its Context).
HRESULT InvokeCallback(IDispatch* callbacks, const std::wstring& callback,
                       const std::wstring& controlId, std::shared_ptr<platform::Object> context,
                       VARIANT* result, EXCEPINFO* exception = nullptr) {
  std::wstring name = callback;
  LPOLESTR names[1] = {name.data()};
  DISPID dispid = DISPID_UNKNOWN;
  const HRESULT found = callbacks->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
  if (found != S_OK) return FAILED(found) ? found : DISP_E_UNKNOWNNAME;
  com::ComPtr<IDispatch> control = hostsim::Expose(
      std::make_shared<hostsim::RibbonControl>(com::FromWide(controlId), u"", std::move(context)));
  VARIANT arg;
  ::VariantInit(&arg);
  arg.vt = VT_DISPATCH;
  arg.pdispVal = control.Get();
  DISPPARAMS params{&arg, nullptr, 1, 0};
  return callbacks->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result,
                           exception, nullptr);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}
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

// The ProgID keys as Office writes them per user, LocalServer32 naming this simulator as a
// Word server; Wine 8 reads classes from HKLM only, so the simulator writes the same keys
// there too and removes both afterwards.
void WriteWordKeys(bool write, const std::wstring& serverArguments = L"") {
  wchar_t exe[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring server = L"\"" + std::wstring(exe) + L"\" " + kWordServerMode;
  if (!serverArguments.empty()) server += L" " + serverArguments;
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
    SetString(root, clsid + L"\\LocalServer32", server);
  }
}

using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

}  // namespace

SimOffice::SimOffice(Generation generation)
    : generation_(generation), host_(hostmodel::OutlookHost::Create()) {
  const bool y2016 = generation == Generation::k2016;
  host_->SetVersion(y2016 ? u"16.0.0.17328" : u"11.0.0.8312");
  host_->SetKeepsCustomization(!y2016);
  app_ = host_->Start();
}

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
  factory_ = com::ComPtr<hostsim::ClassFactory>::Adopt(hostsim::ClassFactory::New([this] {
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

void SimOffice::RegisterWordServer(int rejectedCalls) {
  WriteWordKeys(true, rejectedCalls ? std::to_wstring(rejectedCalls) : L"");
  wordKeys_ = true;
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

std::vector<std::wstring> SimOffice::AddInsToLoad() const {
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
    // Load at start-up (2), or connect at the first start and on demand (16): 2003 loads the
    // latter at every start, its saved button standing for the demand; 2016 rewrites it to
    // 9 once connected, after which only a demand loads it.
    if ((behavior & 2) || behavior == 16) found.emplace_back(name);
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

bool SimOffice::StartOutlook() {
  loaded_ = false;
  contactRibbonAsked_ = false;
  explorerRibbon_.clear();
  contactRibbon_.clear();
  bool listed = false;
  for (const auto& name : AddInsToLoad()) listed = listed || name == kProgId;
  if (!listed || !LoadAddIn(kProgId)) return false;
  const bool demandLater = generation_ == Generation::k2016 && LoadBehaviorOf(kProgId) == 16;

  const uint64_t invocations = hostsim::SimObject::Invocations();
  const uint64_t lookups = hostsim::SimObject::NameLookups();
  LARGE_INTEGER start;
  LARGE_INTEGER end;
  ::QueryPerformanceCounter(&start);
  const HRESULT hr = Connect(ext_cm_Startup);
  ::QueryPerformanceCounter(&end);
  CheckHr(hr, S_OK, L"OnConnection");
  cost_.milliseconds = Milliseconds(start, end);
  cost_.invocations = hostsim::SimObject::Invocations() - invocations;
  cost_.nameLookups = hostsim::SimObject::NameLookups() - lookups;
  loaded_ = true;
  if (demandLater) SetLoadBehavior(kProgId, 9);

  if (generation_ == Generation::k2016) explorerRibbon_ = LoadRibbon(L"Microsoft.Outlook.Explorer");
  CheckHr(StartupComplete(), S_OK, L"OnStartupComplete");
  return true;
}

void SimOffice::QuitOutlook() {
  if (loaded_ && generation_ == Generation::k2003) {
    CheckHr(BeginShutdown(), S_OK, L"OnBeginShutdown");
    CheckHr(Disconnect(ext_dm_HostShutdown), S_OK, L"OnDisconnection");
  }
  if (loaded_) {
    CheckHr(ReleaseAddIn(), S_OK, L"DllCanUnloadNow once Outlook let the add-in go");
  }
  loaded_ = false;
  extensibility_.Reset();
  addIn_.Reset();
  appObject_.Reset();
  instanceObject_.Reset();
  host_->Shutdown();
  app_.reset();
}

void SimOffice::NewRun() { app_ = host_->Start(); }

std::vector<RibbonButton> SimOffice::LoadRibbon(const std::wstring& ribbonId) {
  com::ComPtr<IRibbonExtensibility> ribbon;
  if (FAILED(addIn_->QueryInterface(kIidRibbonExtensibility,
                                    reinterpret_cast<void**>(ribbon.Receive()))) ||
      !ribbon) {
    return {};
  }
  BSTR id = ::SysAllocString(ribbonId.c_str());
  BSTR markup = nullptr;
  const HRESULT hr = ribbon->GetCustomUI(id, &markup);
  ::SysFreeString(id);
  CheckHr(hr, S_OK, L"GetCustomUI(" + ribbonId + L")");
  const std::wstring text = markup ? std::wstring(markup, ::SysStringLen(markup)) : L"";
  ::SysFreeString(markup);
  com::ComPtr<IDispatch> callbacks;
  addIn_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(callbacks.Receive()));
  if (!callbacks) {
    Check(text.empty(), L"an add-in with ribbon markup answers IDispatch");
    return {};
  }
  auto buttons = ReadRibbonMarkup(ribbonId, text, kCustomUi2009, callbacks.Get());
  // Office asks for each button's picture as it first shows it.
  for (const auto& button : buttons) {
    if (button.getImage.empty()) continue;
    VARIANT result;
    ::VariantInit(&result);
    const HRESULT hr =
        InvokeCallback(callbacks.Get(), button.getImage, button.id, nullptr, &result);
    if (hr == DISP_E_UNKNOWNNAME) continue;  // reported by the markup's check
    CheckHr(hr, S_OK, L"the getImage callback of " + button.id);
    com::ComPtr<IPicture> picture;
    if (result.vt == VT_DISPATCH && result.pdispVal) {
      result.pdispVal->QueryInterface(IID_IPicture, reinterpret_cast<void**>(picture.Receive()));
    }
    SHORT type = PICTYPE_NONE;
    if (picture) picture->get_Type(&type);
    Check(type == PICTYPE_ICON, L"the picture of " + button.id + L" is the application icon");
    ::VariantClear(&result);
  }
  return buttons;
}

std::shared_ptr<hostmodel::OutlookInspector> SimOffice::OpenContactInspector(
    const std::shared_ptr<platform::OutlookItem>& contact) {
  auto inspector = app_->OpenInspector(contact);
  if (generation_ == Generation::k2016 && loaded_ && !contactRibbonAsked_) {
    contactRibbonAsked_ = true;
    contactRibbon_ = LoadRibbon(L"Microsoft.Outlook.Contact");
  }
  return inspector;
}

HRESULT SimOffice::ClickRibbon(const std::shared_ptr<platform::OutlookWindow>& window,
                               const std::wstring& id) {
  const bool explorer = std::dynamic_pointer_cast<platform::Explorer>(window) != nullptr;
  const RibbonButton* button = nullptr;
  for (const auto& candidate : RibbonButtons(explorer)) {
    if (candidate.id == id) button = &candidate;
  }
  Check(button != nullptr, L"the ribbon button " + id + L" is in the window");
  if (!button || !addIn_) return E_FAIL;
  app_->SetActiveWindow(window);
  com::ComPtr<IDispatch> callbacks;
  addIn_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(callbacks.Receive()));
  VARIANT result;
  ::VariantInit(&result);
  EXCEPINFO exception{};
  const HRESULT hr =
      InvokeCallback(callbacks.Get(), button->onAction, id, window, &result, &exception);
  ::VariantClear(&result);
  if (hr == DISP_E_EXCEPTION) {
    Print(stderr, L"the callback's exception: " + std::to_wstring(exception.scode) + L" " +
                      (exception.bstrDescription ? exception.bstrDescription : L""));
  }
  ::SysFreeString(exception.bstrSource);
  ::SysFreeString(exception.bstrDescription);
  ::SysFreeString(exception.bstrHelpFile);
  return hr;
}

void SimOffice::ReleaseAll() {
  UnregisterWord();
  extensibility_.Reset();
  addIn_.Reset();
  appObject_.Reset();
  instanceObject_.Reset();
}

}  // namespace sendnote::windows::test
