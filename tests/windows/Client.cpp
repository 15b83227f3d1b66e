// The Windows test client: loads sendnote.dll the way Outlook does and checks what it
// sees. Modes: connect (COM creation, the five events with an application of our own,
// DllCanUnloadNow), resources (version resource and embedded type library), lock and
// unlock (an Outlook Addins key that refuses the add-in's entry, for the part-way
// registration failure), installed (the installed add-in through COM) and
// with-outlook-window (another program run beside a stand-in for Outlook's window).
// Prints each failed check and exits 1 when there was one.
#include "windows/com/Win32.h"

#include <winver.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "system/common/Version.h"
#include "tests/support/windows/FakeDispatch.h"
#include "tests/support/windows/FakeEventSource.h"
#include "tests/windows/Checks.h"
#include "tests/windows/InstallerChecks.h"
#include "tests/windows/RegistrationChecks.h"
#include "windows/com/ClickSink.h"
#include "windows/dll/Extensibility.h"
#include "windows/dll/Guids.h"

namespace {

using namespace sendnote::windows::test;
namespace ids = sendnote::windows;

// The compile-time GUID parser against Office's published interface identifier.
static_assert(ids::kIidExtensibility2.Data1 == 0xB65AD801 &&
              ids::kIidExtensibility2.Data2 == 0xABAF && ids::kIidExtensibility2.Data3 == 0x11D0 &&
              ids::kIidExtensibility2.Data4[0] == 0xBB &&
              ids::kIidExtensibility2.Data4[1] == 0x8B &&
              ids::kIidExtensibility2.Data4[2] == 0x00 && ids::kIidExtensibility2.Data4[7] == 0x44);

// Message boxes the add-in shows on this thread: read (caption and text) and closed with
// OK, so that a report under Wine's null display does not block the run.
std::vector<std::wstring> g_boxes;

LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam) {
  auto window = reinterpret_cast<HWND>(wParam);
  wchar_t className[64] = {};
  if (code == HCBT_ACTIVATE && ::GetClassNameW(window, className, 64) &&
      std::wcscmp(className, L"#32770") == 0 && ::GetPropW(window, L"sendnote.seen") == nullptr) {
    // A box is activated again when it regains the focus: count it once.
    ::SetPropW(window, L"sendnote.seen", window);
    wchar_t caption[256] = {};
    wchar_t text[2048] = {};
    ::GetWindowTextW(window, caption, 256);
    ::GetDlgItemTextW(window, 0xFFFF, text, 2048);
    g_boxes.push_back(std::wstring(caption) + L"|" + text);
    ::PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

// Outlook's command bars of one window: the built-in menu `menuId` (a popup), whose bar has
// no button of ours yet, and whose controls add `button`.
FakeDispatch* MakeBars(const std::shared_ptr<CallLog>& log, const std::wstring& window,
                       int32_t menuId, FakeDispatch* button) {
  FakeDispatch* bar = FakeDispatch::Create(window + L"MenuBar", log);
  bar->Add(L"FindControl", [](const std::vector<VARIANT>&, VARIANT* result, EXCEPINFO*) {
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = nullptr;
    return S_OK;
  });
  FakeDispatch* controls = FakeDispatch::Create(window + L"Controls", log);
  controls->AddObject(L"Add", button);
  FakeDispatch* popup = FakeDispatch::Create(window + L"Menu", log);
  popup->AddInt(L"Type", 10);
  popup->AddObject(L"CommandBar", bar);
  popup->AddObject(L"Controls", controls);
  FakeDispatch* bars = FakeDispatch::Create(window + L"CommandBars", log);
  popup->AddRef();
  auto owned = std::shared_ptr<IDispatch>(popup, [](IDispatch* p) { p->Release(); });
  bars->Add(L"FindControl",
            [owned, menuId](const std::vector<VARIANT>& args, VARIANT* result, EXCEPINFO*) {
              V_VT(result) = VT_DISPATCH;
              V_DISPATCH(result) = nullptr;
              // By Id: the menu; by tag (the removal): no button left.
              if (args.size() == 2 && V_VT(&args[1]) == VT_I4 && V_I4(&args[1]) == menuId) {
                owned->AddRef();
                V_DISPATCH(result) = owned.get();
              }
              return S_OK;
            });
  for (FakeDispatch* p : {bar, controls, popup}) p->Release();
  return bars;
}

// A button of ours as Outlook makes it: its members by name, its events from `events`.
FakeDispatch* MakeButton(const std::shared_ptr<CallLog>& log, const std::wstring& name,
                         FakeEventSource* events) {
  FakeDispatch* button = FakeDispatch::Create(name, log);
  button->AddInt(L"Type", 1);
  for (const wchar_t* member : {L"OnAction", L"Caption", L"Tag"}) {
    button->Add(member, [](const std::vector<VARIANT>&, VARIANT*, EXCEPINFO*) { return S_OK; });
  }
  button->SetEvents(static_cast<IConnectionPointContainer*>(events));
  return button;
}

// Our own Outlook: an application with a MAPI namespace, a Contacts folder with one
// contact, one explorer and no inspector; the explorer's and the contact's inspector's
// menus take the button, whose events come from `events`.
FakeDispatch* MakeOutlook(const std::shared_ptr<CallLog>& log, FakeEventSource* events,
                          FakeDispatch** clicked) {
  FakeDispatch* explorerButton = MakeButton(log, L"ExplorerButton", events);
  FakeDispatch* inspectorButton = MakeButton(log, L"InspectorButton", events);
  FakeDispatch* inspector = FakeDispatch::Create(L"Inspector", log);
  FakeDispatch* inspectorBars = MakeBars(log, L"Inspector", 30130, inspectorButton);
  inspector->AddObject(L"CommandBars", inspectorBars);
  inspector->Add(L"Close", [](const std::vector<VARIANT>&, VARIANT*, EXCEPINFO*) { return S_OK; });
  FakeDispatch* contact = FakeDispatch::Create(L"Contact", log);
  contact->AddInt(L"Class", 40);
  contact->AddObject(L"GetInspector", inspector);
  FakeDispatch* items = FakeDispatch::Create(L"Items", log);
  items->AddObject(L"GetFirst", contact);
  FakeDispatch* folder = FakeDispatch::Create(L"Folder", log);
  folder->AddText(L"Name", L"連絡先");
  folder->AddObject(L"Items", items);
  FakeDispatch* ns = FakeDispatch::Create(L"NameSpace", log);
  ns->AddObject(L"GetDefaultFolder", folder);
  FakeDispatch* explorer = FakeDispatch::Create(L"Explorer", log);
  FakeDispatch* explorerBars = MakeBars(log, L"Explorer", 30141, explorerButton);
  explorer->AddObject(L"CommandBars", explorerBars);
  FakeDispatch* explorers = FakeDispatch::Create(L"Explorers", log);
  explorers->AddInt(L"Count", 1);
  explorers->AddObject(L"Item", explorer);
  FakeDispatch* inspectors = FakeDispatch::Create(L"Inspectors", log);
  inspectors->AddInt(L"Count", 0);
  FakeDispatch* app = FakeDispatch::Create(L"Application", log);
  // Outlook 2000, whose windows have menus and no ribbon.
  app->AddText(L"Version", L"9.0.0.3821");
  app->AddObject(L"GetNamespace", ns);
  app->AddObject(L"Explorers", explorers);
  app->AddObject(L"ActiveExplorer", explorer);
  app->AddObject(L"Inspectors", inspectors);
  explorerButton->AddRef();
  *clicked = explorerButton;
  for (FakeDispatch* p : {explorerButton, inspectorButton, inspector, inspectorBars, contact, items,
                          folder, ns, explorer, explorerBars, explorers, inspectors}) {
    p->Release();
  }
  return app;
}

int Connect() {
  CheckHr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK, L"CoInitializeEx");
  HHOOK hook = ::SetWindowsHookExW(WH_CBT, BoxHook, nullptr, ::GetCurrentThreadId());
  Check(hook != nullptr, L"message box hook");

  CLSID clsid{};
  CheckHr(::CLSIDFromProgID(L"" SENDNOTE_PROGID, &clsid), S_OK, L"CLSIDFromProgID");
  Check(clsid == ids::kClsid, L"the ProgID names our class");
  IUnknown* unknown = nullptr;
  CheckHr(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&unknown)),
          S_OK, L"CoCreateInstance by ProgID");
  if (!unknown) return 1;
  HMODULE dll = ::GetModuleHandleW(L"sendnote.dll");
  Check(dll != nullptr, L"sendnote.dll is loaded");
  auto canUnload = reinterpret_cast<CanUnloadNow>(
      reinterpret_cast<void*>(::GetProcAddress(dll, "DllCanUnloadNow")));
  auto getClassObject = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(::GetProcAddress(dll, "DllGetClassObject")));
  Check(canUnload && getClassObject, L"exports by name");
  if (!canUnload || !getClassObject) return 1;
  CheckHr(canUnload(), S_FALSE, L"DllCanUnloadNow with a live object");

  ids::IDTExtensibility2* addIn = nullptr;
  CheckHr(unknown->QueryInterface(ids::kIidExtensibility2, reinterpret_cast<void**>(&addIn)), S_OK,
          L"QueryInterface IDTExtensibility2");
  IDispatch* dual = nullptr;
  CheckHr(unknown->QueryInterface(ids::kIidDsrOutlookToWord, reinterpret_cast<void**>(&dual)), S_OK,
          L"QueryInterface _dsrOutlookToWord");
  if (dual) {
    ITypeInfo* info = nullptr;
    CheckHr(dual->GetTypeInfo(0, 0, &info), S_OK, L"GetTypeInfo of the default interface");
    if (info) {
      BSTR name = nullptr;
      info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
      Check(name && std::wcscmp(name, L"_dsrOutlookToWord") == 0,
            L"type info names _dsrOutlookToWord");
      ::SysFreeString(name);
      info->Release();
    }
    dual->Release();
  }
  if (!addIn) return 1;

  // The connection, with our application and add-in instance.
  auto log = std::make_shared<CallLog>();
  FakeEventSource* events = FakeEventSource::Create(sendnote::com::kIidCommandBarButtonEvents);
  FakeDispatch* button = nullptr;
  FakeDispatch* app = MakeOutlook(log, events, &button);
  FakeDispatch* instance = FakeDispatch::Create(L"AddInInst", log);
  instance->AddText(L"ProgId", L"" SENDNOTE_PROGID);
  SAFEARRAY* custom = ::SafeArrayCreateVector(VT_VARIANT, 0, 0);
  CheckHr(addIn->OnConnection(app, ids::ext_cm_AfterStartup, instance, &custom), S_OK,
          L"OnConnection");
  for (const auto& call : *log) Print(stdout, L"call: " + call);
  for (const auto& box : g_boxes) Print(stdout, L"box: " + box);
  Check(g_boxes.empty(), L"the connection reports nothing");
  // The button goes into the explorer's menu and into the borrowed contact inspector's,
  // bearing the add-in's action, caption and tag; the explorer's is bound.
  const std::wstring action = L"OnAction let(!<" SENDNOTE_PROGID L">)";
  for (const std::wstring& call :
       {std::wstring(L"ExplorerCommandBars.FindControl"),
        std::wstring(L"ExplorerMenuBar.FindControl"),
        std::wstring(L"ExplorerControls.Add(1,1,sendnote)"), L"ExplorerButton." + action,
        std::wstring(L"ExplorerButton.Caption let(添書票の作成)"),
        std::wstring(L"ExplorerButton.Tag let(sendnote)"), std::wstring(L"Contact.GetInspector"),
        std::wstring(L"InspectorControls.Add(1,1,sendnote)"), L"InspectorButton." + action,
        std::wstring(L"InspectorButton.Tag let(sendnote)"), std::wstring(L"Inspector.Close(1)")}) {
    bool found = false;
    for (const std::wstring& made : *log) found = found || made.find(call) == 0;
    Check(found, L"the connection calls " + call);
  }
  Check(events->Advised() == 1 && events->Sinks() == 1, L"the bound button's Click is advised");

  // A click of the button reaches the add-in's click handler (with the runtime installed:
  // without it the host's process would end), whose flow then meets what our Outlook lacks
  // and reports it once, although every step on the way out meets it again.
  g_boxes.clear();
  VARIANT_BOOL cancelDefault = VARIANT_FALSE;
  CheckHr(events->FireClick(button, cancelDefault), S_OK, L"the Click event");
  for (const auto& box : g_boxes) Print(stdout, L"click box: " + box);
  Check(g_boxes.size() == 1 && Contains(g_boxes[0], L"SelectItmCheck") &&
            Contains(g_boxes[0], L"(ActiveWindow)"),
        L"the click reaches the add-in's handler, under the runtime, and reports its error once");
  g_boxes.clear();

  CheckHr(addIn->OnStartupComplete(&custom), S_OK, L"OnStartupComplete");
  CheckHr(addIn->OnAddInsUpdate(&custom), S_OK, L"OnAddInsUpdate");
  CheckHr(addIn->OnBeginShutdown(&custom), S_OK, L"OnBeginShutdown");
  CheckHr(addIn->OnDisconnection(ids::ext_dm_HostShutdown, &custom), S_OK, L"OnDisconnection");
  Check(events->Unadvised() == 1 && events->Sinks() == 0, L"the shutdown unadvises the Click");

  // A user's removal: the buttons are looked for by tag in every window and the Click is
  // unadvised.
  CheckHr(addIn->OnConnection(app, ids::ext_cm_AfterStartup, instance, &custom), S_OK,
          L"OnConnection again");
  Check(events->Sinks() == 1, L"the new connection binds the button again");
  log->clear();
  CheckHr(addIn->OnDisconnection(ids::ext_dm_UserClosed, &custom), S_OK,
          L"OnDisconnection by the user");
  for (const wchar_t* call : {L"ExplorerCommandBars.FindControl(?,?,sendnote)",
                              L"InspectorCommandBars.FindControl(?,?,sendnote)"}) {
    bool found = false;
    for (const std::wstring& made : *log) found = found || made == call;
    Check(found, std::wstring(L"the removal calls ") + call);
  }
  Check(events->Unadvised() == 2 && events->Sinks() == 0, L"the user's removal unadvises");
  Check(g_boxes.empty(), L"the removal reports nothing");

  // A host that is not Outlook has no Version: the start-up stays quiet, as with an
  // Outlook whose version cannot be read, and still returns S_OK.
  g_boxes.clear();
  FakeDispatch* stranger = FakeDispatch::Create(L"Stranger", log);
  CheckHr(addIn->OnConnection(stranger, ids::ext_cm_Startup, instance, &custom), S_OK,
          L"OnConnection by a host that is not Outlook");
  Check(g_boxes.empty(), L"a host without Version sees no box at its start-up");
  CheckHr(addIn->OnDisconnection(ids::ext_dm_UserClosed, &custom), S_OK,
          L"OnDisconnection after the failed connection");
  // A host that releases a connected add-in without the shutdown events: the add-in lets
  // go of the host's objects all the same (checked with the live count below).
  ids::IDTExtensibility2* dropped = nullptr;
  CheckHr(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, ids::kIidExtensibility2,
                             reinterpret_cast<void**>(&dropped)),
          S_OK, L"CoCreateInstance for IDTExtensibility2");
  if (dropped) {
    CheckHr(dropped->OnConnection(app, ids::ext_cm_AfterStartup, instance, &custom), S_OK,
            L"OnConnection of the second object");
    dropped->Release();
  }
  ::SafeArrayDestroy(custom);

  addIn->Release();
  CheckHr(canUnload(), S_FALSE, L"DllCanUnloadNow while the client holds IUnknown");
  unknown->Release();
  CheckHr(canUnload(), S_OK, L"DllCanUnloadNow after the last release");
  stranger->Release();
  instance->Release();
  app->Release();
  button->Release();
  Check(events->Sinks() == 0, L"a released add-in unadvises its Click");
  Check(events->Release() == 0, L"nothing holds the button's connection point");
  Check(FakeDispatch::Live() == 0, L"the add-in released every host object it was given");

  // Class-factory locks count; other classes are refused.
  IClassFactory* factory = nullptr;
  CheckHr(getClassObject(ids::kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK,
          L"DllGetClassObject");
  if (factory) {
    CheckHr(factory->LockServer(TRUE), S_OK, L"LockServer(TRUE)");
    factory->Release();
    CheckHr(canUnload(), S_FALSE, L"DllCanUnloadNow with a lock");
    CheckHr(getClassObject(ids::kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
            S_OK, L"DllGetClassObject again");
    factory->LockServer(FALSE);
    factory->Release();
    CheckHr(canUnload(), S_OK, L"DllCanUnloadNow after the unlock");
  }
  void* other = nullptr;
  CheckHr(getClassObject(IID_IDispatch, IID_IClassFactory, &other), CLASS_E_CLASSNOTAVAILABLE,
          L"DllGetClassObject for another class");

  if (hook) ::UnhookWindowsHookEx(hook);
  ::CoUninitialize();
  return Failures() ? 1 : 0;
}

std::wstring VersionString(void* block, const wchar_t* name, bool* present) {
  std::wstring path = L"\\StringFileInfo\\041104B0\\";
  path += name;
  void* value = nullptr;
  UINT length = 0;
  *present = ::VerQueryValueW(block, path.c_str(), &value, &length) != FALSE;
  if (!*present || !value || length == 0) return {};
  std::wstring text(static_cast<const wchar_t*>(value), length);
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

// The application icon (the library's first icon group) and the three option pictures,
// each with a 16, 32 and 48 pixel image of 32 bits.
void IconChecks(const wchar_t* dll) {
  HMODULE data = ::LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  Check(data != nullptr, L"the DLL as a data file");
  if (!data) return;
#pragma pack(push, 2)
  struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  for (int id = 201; id <= 204; ++id) {
    const std::wstring name = L"icon group " + std::to_wstring(id) + L": ";
    HRSRC found = ::FindResourceExW(data, RT_GROUP_ICON, MAKEINTRESOURCEW(id),
                                    MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    Check(found != nullptr, name + L"present");
    if (!found) continue;
    const auto* group = static_cast<const WORD*>(::LockResource(::LoadResource(data, found)));
    const auto* entries = reinterpret_cast<const GroupEntry*>(group + 3);
    std::wstring sizes;
    for (WORD i = 0; i < group[2]; ++i) {
      sizes += std::to_wstring(entries[i].width) + L"x" + std::to_wstring(entries[i].height) +
               L"x" + std::to_wstring(entries[i].bits) + L" ";
    }
    Check(sizes == L"16x16x32 32x32x32 48x48x32 ", name + L"images " + sizes);
  }
  ::FreeLibrary(data);
}

int Resources(const wchar_t* dll, const wchar_t* platform) {
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(dll, &handle);
  Check(size > 0, L"version resource present");
  std::vector<unsigned char> block(size);
  Check(::GetFileVersionInfoW(dll, 0, size, block.data()) != FALSE, L"GetFileVersionInfo");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  Check(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed,
        L"fixed version information");
  if (fixed) {
    // The build's version, from the header project(VERSION) generates.
    const DWORD high = MAKELONG(SENDNOTE_VERSION_MINOR, SENDNOTE_VERSION_MAJOR);
    const DWORD low = MAKELONG(SENDNOTE_VERSION_REVISION, SENDNOTE_VERSION_BUILD);
    Check(fixed->dwFileVersionMS == high && fixed->dwFileVersionLS == low,
          L"file version is the build's");
    Check(fixed->dwProductVersionMS == high && fixed->dwProductVersionLS == low,
          L"product version is the build's");
    Check(fixed->dwFileOS == VOS__WINDOWS32, L"operating system 32-bit Windows");
    Check(fixed->dwFileType == VFT_DLL, L"file type DLL");
    Check((fixed->dwFileFlags & fixed->dwFileFlagsMask) == 0, L"no flags");
  }
  WORD* translation = nullptr;
  Check(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                         reinterpret_cast<void**>(&translation), &length) &&
            length == 4 && translation[0] == 0x0411 && translation[1] == 0x04B0,
        L"translation 0x0411, 0x04B0 alone");
  struct Field {
    const wchar_t* name;
    const wchar_t* value;
  };
  for (const Field& field :
       {Field{L"FileVersion", L"" SENDNOTE_VERSION_STRING},
        Field{L"ProductVersion", L"" SENDNOTE_VERSION_STRING}, Field{L"ProductName", L"sendnote"},
        Field{L"InternalName", L"sendnote"}, Field{L"OriginalFilename", L"sendnote.dll"},
        Field{L"CompanyName", L" "}, Field{L"OLESelfRegister", L""}}) {
    bool present = false;
    const std::wstring value = VersionString(block.data(), field.name, &present);
    Check(present && value == field.value,
          std::wstring(field.name) + L" is \"" + field.value + L"\", not \"" + value + L"\"");
  }

  IconChecks(dll);

  ITypeLib* library = nullptr;
  CheckHr(::LoadTypeLibEx(dll, REGKIND_NONE, &library), S_OK, L"LoadTypeLibEx of the DLL");
  if (!library) return 1;
  TLIBATTR* attributes = nullptr;
  library->GetLibAttr(&attributes);
  const SYSKIND syskind = std::wcscmp(platform, L"win64") == 0 ? SYS_WIN64 : SYS_WIN32;
  Check(attributes->guid == ids::kLibId && attributes->wMajorVerNum == 1 &&
            attributes->wMinorVerNum == 0 && attributes->lcid == 0 &&
            attributes->syskind == syskind,
        L"library identifier, version 1.0, neutral language, platform");
  library->ReleaseTLibAttr(attributes);
  BSTR name = nullptr;
  BSTR doc = nullptr;
  BSTR helpFile = nullptr;
  library->GetDocumentation(-1, &name, &doc, nullptr, &helpFile);
  Check(name && std::wcscmp(name, L"COMAddInSendnote") == 0, L"library name COMAddInSendnote");
  Check(doc && std::wcscmp(doc, L"添書票COMアドイン") == 0,
        std::wstring(L"help string 添書票COMアドイン, not ") + (doc ? doc : L"(none)"));
  Check(!helpFile || !*helpFile, L"no help file");
  ::SysFreeString(name);
  ::SysFreeString(doc);
  ::SysFreeString(helpFile);
  Check(library->GetTypeInfoCount() == 2, L"two types: the class and its default interface");

  ITypeInfo* coclass = nullptr;
  CheckHr(library->GetTypeInfoOfGuid(ids::kClsid, &coclass), S_OK, L"the class in the library");
  if (coclass) {
    TYPEATTR* a = nullptr;
    coclass->GetTypeAttr(&a);
    Check(
        a->typekind == TKIND_COCLASS && (a->wTypeFlags & TYPEFLAG_FCANCREATE) && a->cImplTypes == 1,
        L"a creatable class with one interface");
    coclass->ReleaseTypeAttr(a);
    INT implFlags = 0;
    coclass->GetImplTypeFlags(0, &implFlags);
    Check(implFlags == IMPLTYPEFLAG_FDEFAULT, L"its interface is the default one");
    coclass->Release();
  }
  ITypeInfo* iface = nullptr;
  CheckHr(library->GetTypeInfoOfGuid(ids::kIidDsrOutlookToWord, &iface), S_OK,
          L"the default interface in the library");
  if (iface) {
    TYPEATTR* a = nullptr;
    iface->GetTypeAttr(&a);
    // The dispatch half of a dual interface carries hidden and nonextensible; the vtable
    // half below carries oleautomation.
    const WORD flags =
        TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
    Check(a->typekind == TKIND_DISPATCH && (a->wTypeFlags & flags) == flags,
          L"hidden, dual, nonextensible: " + Hex(a->wTypeFlags));
    iface->ReleaseTypeAttr(a);
    BSTR ifaceName = nullptr;
    iface->GetDocumentation(MEMBERID_NIL, &ifaceName, nullptr, nullptr, nullptr);
    Check(ifaceName && std::wcscmp(ifaceName, L"_dsrOutlookToWord") == 0,
          L"named _dsrOutlookToWord");
    ::SysFreeString(ifaceName);
    // The dual interface's vtable half: the ribbon's two callbacks, by the names the
    // markup uses and with the DISPIDs the add-in's Invoke answers.
    HREFTYPE ref = 0;
    ITypeInfo* vtable = nullptr;
    if (SUCCEEDED(iface->GetRefTypeOfImplType(-1, &ref)) &&
        SUCCEEDED(iface->GetRefTypeInfo(ref, &vtable))) {
      TYPEATTR* v = nullptr;
      vtable->GetTypeAttr(&v);
      Check(v->typekind == TKIND_INTERFACE && v->cFuncs == 2,
            L"two members of its own, not " + std::to_wstring(v->cFuncs));
      const std::pair<const wchar_t*, MEMBERID> callbacks[] = {{L"Ribbon_OnAction", 101},
                                                               {L"Ribbon_GetImage", 102}};
      for (UINT i = 0; i < v->cFuncs && i < 2; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(vtable->GetFuncDesc(i, &function))) continue;
        BSTR name = nullptr;
        vtable->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
        Check(name && std::wcscmp(name, callbacks[i].first) == 0 &&
                  function->memid == callbacks[i].second &&
                  function->cParams == static_cast<SHORT>(i + 1),
              std::wstring(L"member ") + callbacks[i].first);
        ::SysFreeString(name);
        vtable->ReleaseFuncDesc(function);
      }
      Check((v->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) != 0,
            L"automation-compatible: " + Hex(v->wTypeFlags));
      vtable->ReleaseTypeAttr(v);
      vtable->Release();
    } else {
      Check(false, L"the interface half of the dual interface");
    }
    iface->Release();
  }
  ITypeInfo* office = nullptr;
  Check(FAILED(library->GetTypeInfoOfGuid(ids::kIidExtensibility2, &office)),
        L"IDTExtensibility2 is not in our library");
  if (office) office->Release();
  library->Release();
  return Failures() ? 1 : 0;
}

// Makes Outlook's Addins key volatile (or removes it again): the registry then refuses the
// add-in's non-volatile key below it, the last step of the registration. (Wine does not
// enforce a read-only access list on keys; this refusal it does enforce, as Windows.)
int LockAddins(bool lock) {
  const wchar_t* addins = L"Software\\Microsoft\\Office\\Outlook\\Addins";
  LSTATUS status = ::RegDeleteKeyW(HKEY_CURRENT_USER, addins);
  Check(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND,
        L"remove the (empty) Addins key: " + std::to_wstring(status));
  if (!lock) return Failures() ? 1 : 0;
  HKEY key = nullptr;
  status = ::RegCreateKeyExW(HKEY_CURRENT_USER, addins, 0, nullptr, REG_OPTION_VOLATILE, KEY_READ,
                             nullptr, &key, nullptr);
  Check(status == ERROR_SUCCESS, L"create a volatile Addins key: " + std::to_wstring(status));
  if (key) ::RegCloseKey(key);
  return Failures() ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"connect") return Connect();
  if (mode == L"resources" && argc > 3) return Resources(argv[2], argv[3]);
  if (mode == L"automation") return AutomationChecks();
  if (mode == L"lock") return LockAddins(true);
  if (mode == L"unlock") return LockAddins(false);
  if (mode == L"installed" && argc > 2) return InstalledChecks(argv[2]);
  if (mode == L"refusals" && argc > 2) return RefusalChecks(argv[2]);
  if (mode == L"with-outlook-window" && argc > 2) {
    std::wstring line = L"\"" + std::wstring(argv[2]) + L"\"";
    for (int i = 3; i < argc; ++i) line += std::wstring(L" ") + argv[i];
    return WithOutlookWindow(line);
  }
  std::fwprintf(stderr,
                L"usage: client connect | resources DLL win32|win64 | automation | lock | unlock | "
                L"installed DLL | refusals DLL | with-outlook-window PROGRAM [ARGS]\n");
  return 2;
}
