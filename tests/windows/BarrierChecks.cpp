// Every method of ours that a COM caller reaches, with a C++ exception thrown inside it:
// this program replaces operator new so that the n-th allocation of a call throws
// (std::bad_alloc, a ComError, a standard exception, or an object of no exception class),
// for n = 1, 2, ... until the call completes without reaching it. Each call must come back
// as an HRESULT, none may let the exception through, and what a failed call made must not
// stay alive. Prints each failed check and exits 1 when there was one.
#include "windows/com/Win32.h"

#include <cstdlib>
#include <cwchar>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "hostsim/ClassFactory.h"
#include "hostsim/Expose.h"
#include "hostsim/LiveObjects.h"
#include "inmemory/WordApp.h"
#include "platform/ComError.h"
#include "portable/hostmodel/OutlookApp.h"
#include "tests/support/windows/FakeDispatch.h"
#include "tests/windows/Checks.h"
#include "windows/com/ClickSink.h"
#include "windows/com/ComObject.h"
#include "windows/com/ComPtr.h"
#include "windows/com/ScopedVariant.h"
#include "windows/com/WindowEventSink.h"
#include "windows/dll/ClassFactory.h"
#include "windows/dll/Extensibility.h"
#include "windows/dll/Module.h"
#include "windows/dll/WindowsUserInterface.h"

namespace {

enum class Kind { kBadAlloc, kComError, kStandard, kOther };
constexpr Kind kKinds[] = {Kind::kBadAlloc, Kind::kComError, Kind::kStandard, Kind::kOther};
constexpr int32_t kInjectedNumber = 1004;  // a runtime error of no meaning to the code

struct NotAnException {};

// The armed failure: the allocation that counts down to zero throws.
int g_countdown = 0;
Kind g_kind = Kind::kBadAlloc;
bool g_fired = false;
// Calls that failed inside, over all sweeps.
int g_failedCalls = 0;

[[noreturn]] void ThrowInjected() {
  g_fired = true;
  g_countdown = 0;
  switch (g_kind) {
    case Kind::kBadAlloc:
      throw std::bad_alloc();
    case Kind::kComError:
      throw sendnote::platform::ComError(kInjectedNumber, u"injected");
    case Kind::kStandard:
      throw std::runtime_error("injected");
    case Kind::kOther:
      break;
  }
  throw NotAnException{};
}

}  // namespace

// From the process heap: the compiler knows malloc and free, and would pair them with new.
void* operator new(std::size_t size) {
  if (g_countdown > 0 && --g_countdown == 0) ThrowInjected();
  if (void* p = ::HeapAlloc(::GetProcessHeap(), 0, size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  if (p) ::HeapFree(::GetProcessHeap(), 0, p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using namespace sendnote::windows::test;
namespace com = sendnote::com;
namespace ids = sendnote::windows;
using com::ComPtr;

std::wstring NameOf(Kind kind) {
  switch (kind) {
    case Kind::kBadAlloc:
      return L"std::bad_alloc";
    case Kind::kComError:
      return L"a ComError";
    case Kind::kStandard:
      return L"std::runtime_error";
    case Kind::kOther:
      break;
  }
  return L"a non-exception object";
}

// What a barrier of the kit tells the caller for `kind`.
HRESULT Mapped(Kind kind) {
  switch (kind) {
    case Kind::kBadAlloc:
      return E_OUTOFMEMORY;
    case Kind::kComError:
      return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, kInjectedNumber);
    default:
      return E_UNEXPECTED;
  }
}

// Boxes the add-in shows (its error reports) are closed at once, so that none blocks.
LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam) {
  auto window = reinterpret_cast<HWND>(wParam);
  wchar_t className[64] = {};
  if (code == HCBT_ACTIVATE && ::GetClassNameW(window, className, 64) &&
      std::wcscmp(className, L"#32770") == 0) {
    ::PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Runs `call` with the n-th allocation inside it throwing `kind`, n = 1, 2, ... until a
// call completes without reaching it; `accepts` judges the HRESULT of a call that threw
// inside. Returns the number of failure points reached.
int Sweep(const std::wstring& name, Kind kind, const std::function<HRESULT()>& call,
          const std::function<bool(HRESULT)>& accepts) {
  constexpr int kLimit = 3000;
  const std::wstring what = name + L" with " + NameOf(kind) + L" at allocation ";
  for (int n = 1; n <= kLimit; ++n) {
    g_fired = false;
    g_kind = kind;
    g_countdown = n;
    HRESULT hr = S_OK;
    bool escaped = false;
    try {
      hr = call();
    } catch (...) {
      escaped = true;
    }
    g_countdown = 0;
    Check(!escaped, what + std::to_wstring(n) + L": the exception reached the caller");
    if (escaped) return n;
    if (!g_fired) return n - 1;
    ++g_failedCalls;
    Check(accepts(hr), what + std::to_wstring(n) + L": " + Hex(hr));
  }
  Check(false, what + L"1 to " + std::to_wstring(kLimit) + L": the call never completed");
  return kLimit;
}

// What a call that failed inside must answer.
enum class Answer {
  kSuccess,          // S_OK: the host's events, which report their own failures
  kMapped,           // the kit's HRESULT for what was thrown
  kMappedOrHandled,  // that, or success where the code inside handled the failure
  kUnexpected,       // E_UNEXPECTED: an event sink, whose handlers report their own
};

std::function<bool(HRESULT)> Accepts(Answer answer, Kind kind) {
  return [answer, kind](HRESULT hr) {
    switch (answer) {
      case Answer::kSuccess:
        return hr == S_OK;
      case Answer::kMapped:
        return hr == Mapped(kind);
      case Answer::kMappedOrHandled:
        return hr == Mapped(kind) || SUCCEEDED(hr);
      case Answer::kUnexpected:
        break;
    }
    return hr == E_UNEXPECTED;
  };
}

struct Method {
  const wchar_t* name;
  std::function<HRESULT()> call;
  Answer answer;
};

// Sweeps every method with every kind of exception.
void SweepAll(const std::vector<Method>& methods) {
  for (Kind kind : kKinds) {
    for (const Method& method : methods) {
      Sweep(method.name, kind, method.call, Accepts(method.answer, kind));
    }
  }
}

template <class I>
ComPtr<I> Query(IUnknown* object, const IID& iid) {
  ComPtr<I> result;
  if (object) object->QueryInterface(iid, reinterpret_cast<void**>(result.Receive()));
  return result;
}

// Runs `make` with no failure armed, whatever the sweep armed for what follows.
template <class Make>
auto Unarmed(Make&& make) {
  const int armed = std::exchange(g_countdown, 0);
  auto made = make();
  g_countdown = armed;
  return made;
}

// The add-in object through each of its interfaces, from a factory of the library.
void AddInChecks() {
  auto log = std::make_shared<CallLog>();
  // An Outlook with a ribbon: the connection reads its Version and nothing else.
  FakeDispatch* app = FakeDispatch::Create(L"Application", log);
  app->AddText(L"Version", L"16.0.0.1");
  FakeDispatch* instance = FakeDispatch::Create(L"AddInInstance", log);
  FakeDispatch* control = FakeDispatch::Create(L"RibbonControl", log);

  ComPtr<IClassFactory> factory = ComPtr<IClassFactory>::Adopt(ids::ClassFactory::New());
  SweepAll({{L"IClassFactory::CreateInstance",
             [&] {
               ComPtr<IUnknown> made;
               const HRESULT hr = factory->CreateInstance(nullptr, IID_IUnknown,
                                                          reinterpret_cast<void**>(made.Receive()));
               g_countdown = 0;  // the call is over: the check's own text may allocate
               Check(SUCCEEDED(hr) == static_cast<bool>(made), L"an object only on S_OK");
               return hr;
             },
             Answer::kMapped},
            {L"IClassFactory::LockServer",
             [&] {
               const HRESULT hr = factory->LockServer(TRUE);
               factory->LockServer(FALSE);
               return hr;
             },
             Answer::kMapped}});

  ComPtr<ids::IDTExtensibility2> addIn;
  CheckHr(factory->CreateInstance(nullptr, ids::kIidExtensibility2,
                                  reinterpret_cast<void**>(addIn.Receive())),
          S_OK, L"CreateInstance of the add-in");
  auto ribbon = Query<ids::IRibbonExtensibility>(addIn.Get(), ids::kIidRibbonExtensibility);
  auto callbacks = Query<ids::DsrOutlookToWordInterface>(addIn.Get(), ids::kIidDsrOutlookToWord);
  Check(addIn && ribbon && callbacks, L"the add-in's three interfaces");
  if (!addIn || !ribbon || !callbacks) return;

  const auto getImage = [&] {
    VARIANT arg;
    ::VariantInit(&arg);
    V_VT(&arg) = VT_DISPATCH;
    V_DISPATCH(&arg) = control;
    DISPPARAMS params{&arg, nullptr, 1, 0};
    com::ScopedVariant result;
    EXCEPINFO info{};
    return callbacks->Invoke(102, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                             result.Receive(), &info, nullptr);
  };
  SweepAll({
      {L"OnConnection",
       [&] { return addIn->OnConnection(app, ids::ext_cm_Startup, instance, nullptr); },
       Answer::kSuccess},
      {L"OnStartupComplete", [&] { return addIn->OnStartupComplete(nullptr); }, Answer::kSuccess},
      {L"OnAddInsUpdate", [&] { return addIn->OnAddInsUpdate(nullptr); }, Answer::kSuccess},
      // The system's markup is empty when it cannot be made: Office shows no button.
      {L"GetCustomUI",
       [&] {
         BSTR id = ::SysAllocString(L"Microsoft.Outlook.Explorer");
         BSTR xml = nullptr;
         const HRESULT hr = ribbon->GetCustomUI(id, &xml);
         g_countdown = 0;
         Check(SUCCEEDED(hr) == (xml != nullptr), L"GetCustomUI: markup only on S_OK");
         ::SysFreeString(xml);
         ::SysFreeString(id);
         return hr;
       },
       Answer::kMappedOrHandled},
      {L"Ribbon_OnAction", [&] { return callbacks->Ribbon_OnAction(control); }, Answer::kSuccess},
      {L"Ribbon_GetImage",
       [&] {
         IDispatch* image = nullptr;
         const HRESULT hr = callbacks->Ribbon_GetImage(control, &image);
         if (image) image->Release();
         return hr;
       },
       Answer::kMappedOrHandled},
      {L"GetTypeInfo",
       [&] {
         ITypeInfo* info = nullptr;
         const HRESULT hr = callbacks->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info);
         if (info) info->Release();
         return hr;
       },
       Answer::kMappedOrHandled},
      {L"GetIDsOfNames",
       [&] {
         wchar_t name[] = L"Ribbon_GetImage";
         LPOLESTR names[] = {name};
         DISPID id = 0;
         return callbacks->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
       },
       Answer::kMappedOrHandled},
      // Invoke of Ribbon_GetImage: a failure inside is the callback's HRESULT.
      {L"Invoke", getImage, Answer::kMappedOrHandled},
      {L"OnBeginShutdown", [&] { return addIn->OnBeginShutdown(nullptr); }, Answer::kSuccess},
      {L"OnDisconnection",
       [&] { return addIn->OnDisconnection(ids::ext_dm_HostShutdown, nullptr); }, Answer::kSuccess},
      // The last Release ends the system's add-in inside the object's own barrier.
      {L"the last Release",
       [&] {
         IUnknown* made = Unarmed([&] {
           IUnknown* object = nullptr;
           factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object));
           return object;
         });
         return made ? static_cast<HRESULT>(made->Release()) : E_FAIL;
       },
       Answer::kSuccess},
  });
  for (IDispatch* p : {static_cast<IDispatch*>(app), static_cast<IDispatch*>(instance),
                       static_cast<IDispatch*>(control)}) {
    p->Release();
  }
  ribbon.Reset();
  callbacks.Reset();
  addIn.Reset();
  factory.Reset();
  Check(ids::Module::CanUnload(), L"no add-in object or factory outlives the failed calls");
  Check(FakeDispatch::Live() == 0, L"the failed calls released the host's objects");
}

// The kit's QueryInterface: one identity through every interface, one reference count,
// nothing for an interface not listed; an extended object (the simulator's event source)
// shares both with its base.
void IdentityChecks() {
  IUnknown* addIn = Unarmed([] { return ids::AddInClass().Create().Detach(); });
  const IID listed[] = {IID_IUnknown, IID_IDispatch, ids::kIidDsrOutlookToWord,
                        ids::kIidExtensibility2, ids::kIidRibbonExtensibility};
  for (const IID& iid : listed) {
    IUnknown* asked = nullptr;
    CheckHr(addIn->QueryInterface(iid, reinterpret_cast<void**>(&asked)), S_OK,
            L"the add-in answers each of its interfaces");
    IUnknown* identity = nullptr;
    if (asked) asked->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    Check(identity == addIn, L"every interface of the add-in has its one identity");
    if (identity) identity->Release();
    if (asked) asked->Release();
  }
  IUnknown* dispatch = nullptr;
  addIn->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  IUnknown* dual = nullptr;
  addIn->QueryInterface(ids::kIidDsrOutlookToWord, reinterpret_cast<void**>(&dual));
  Check(dispatch && dispatch == dual, L"IDispatch is the dual interface _dsrOutlookToWord");
  for (IUnknown* p : {dispatch, dual}) {
    if (p) p->Release();
  }
  IUnknown* none = addIn;
  CheckHr(addIn->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&none)), E_NOINTERFACE,
          L"an interface the add-in does not list");
  Check(none == nullptr, L"a refused QueryInterface hands out null");
  CheckHr(addIn->QueryInterface(IID_IUnknown, nullptr), E_POINTER, L"QueryInterface into null");
  Check(addIn->AddRef() == 2 && addIn->Release() == 1, L"one reference count");
  Check(addIn->Release() == 0 && ids::Module::CanUnload(), L"the last Release ends the add-in");

  namespace hostsim = sendnote::hostsim;
  const long live = hostsim::LiveObjects::Count();
  {
    ComPtr<IDispatch> explorers = Unarmed([] {
      return hostsim::Expose(std::make_shared<sendnote::hostmodel::OutlookExplorers>(
          std::weak_ptr<sendnote::hostmodel::OutlookApp>()));
    });
    const auto container =
        Query<IConnectionPointContainer>(explorers.Get(), IID_IConnectionPointContainer);
    const auto point = Query<IConnectionPoint>(explorers.Get(), IID_IConnectionPoint);
    Check(container && point, L"an event source answers its connection point");
    const auto identity = Query<IUnknown>(point.Get(), IID_IUnknown);
    const auto dispatch = Query<IDispatch>(container.Get(), IID_IDispatch);
    Check(identity && identity.Get() == Query<IUnknown>(explorers.Get(), IID_IUnknown).Get() &&
              dispatch.Get() == explorers.Get(),
          L"an extended object keeps its base's identity");
    const ULONG count = point->AddRef();
    Check(explorers->Release() == count - 1, L"an extended object keeps its base's count");
    explorers->AddRef();
    point->Release();
  }
  Check(hostsim::LiveObjects::Count() == live, L"no simulator object left");
}

// Fires the one event of `sink`: Click (the button, CancelDefault) or a new window.
HRESULT Fire(IDispatch* sink, DISPID id, IDispatch* object) {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT args[2];
  ::VariantInit(&args[0]);
  ::VariantInit(&args[1]);
  V_VT(&args[0]) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&args[0]) = &cancel;
  V_VT(&args[1]) = VT_DISPATCH;
  V_DISPATCH(&args[1]) = object;
  const bool click = id == com::kDispIdClick;
  DISPPARAMS params{click ? args : &args[1], nullptr, click ? 2u : 1u, 0};
  return sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                      nullptr);
}

// The event sinks: the source learns E_UNEXPECTED of any failure inside, whether the
// handler throws or the sink's own work does.
void SinkChecks() {
  auto log = std::make_shared<CallLog>();
  FakeDispatch* button = FakeDispatch::Create(L"Button", log);
  for (Kind kind : kKinds) {
    const auto throwing = [kind] {
      g_kind = kind;
      ThrowInjected();
    };
    ComPtr<IDispatch> click = ComPtr<IDispatch>::Adopt(
        com::ClickSink::Create([&](const auto&, sendnote::platform::Flag&) { throwing(); }));
    CheckHr(Fire(click.Get(), com::kDispIdClick, button), E_UNEXPECTED,
            L"a Click handler throwing " + NameOf(kind));
    ComPtr<IDispatch> opened = ComPtr<IDispatch>::Adopt(com::WindowEventSink::Create(
        com::kIidExplorersEvents, [&](ComPtr<IDispatch>) { throwing(); }));
    CheckHr(Fire(opened.Get(), com::kDispIdNewWindow, button), E_UNEXPECTED,
            L"a NewExplorer handler throwing " + NameOf(kind));
  }
  // Handlers that work: the failures come from the sinks' and the handlers' allocations.
  std::vector<std::u16string> events;
  ComPtr<IDispatch> click = ComPtr<IDispatch>::Adopt(com::ClickSink::Create(
      [&](const auto&, sendnote::platform::Flag&) { events.push_back(u"Click"); }));
  ComPtr<IDispatch> opened = ComPtr<IDispatch>::Adopt(com::WindowEventSink::Create(
      com::kIidExplorersEvents, [&](ComPtr<IDispatch>) { events.push_back(u"NewExplorer"); }));
  SweepAll(
      {{L"ClickSink::Invoke", [&] { return Fire(click.Get(), com::kDispIdClick, button); },
        Answer::kUnexpected},
       {L"WindowEventSink::Invoke",
        [&] { return Fire(opened.Get(), com::kDispIdNewWindow, button); }, Answer::kUnexpected}});
  Check(events.size() >= 2 && events.back() == u"NewExplorer",
        L"the sweeps' last events reached their handlers");
  click.Reset();
  opened.Reset();
  button->Release();
  Check(FakeDispatch::Live() == 0, L"the sinks released the button");
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t className[64] = {};
  if (!::GetClassNameW(window, className, 64) || std::wcscmp(className, L"#32770") != 0)
    return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The input box's dialog procedure, a Win32 callback: what fails inside it ends the box
// and reaches InputBox's caller, the system, as the exception; no box is left open.
void InputBoxChecks() {
  sendnote::windows::WindowsUserInterface ui;
  for (Kind kind : kKinds) {
    Sweep(
        L"the input box's procedure", kind,
        [&] {
          HRESULT hr = S_OK;
          try {
            ui.InputBox(u"接頭辞を入力してください", u"添書票", u"OUTLOOK$");
          } catch (...) {
            hr = com::HResultOfCurrentException();
          }
          g_countdown = 0;
          HWND left = nullptr;
          ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&left));
          Check(left == nullptr, L"no input box is left open after a failure inside it");
          if (left) ::DestroyWindow(left);
          return hr;
        },
        Accepts(Answer::kMappedOrHandled, kind));
  }
}

// The simulator's class factory and objects, which stand for Office's servers.
void SimulatorChecks() {
  namespace hostsim = sendnote::hostsim;
  const long before = hostsim::LiveObjects::Count();
  for (Kind kind : kKinds) {
    ComPtr<IClassFactory> failing = ComPtr<IClassFactory>::Adopt(hostsim::ClassFactory::New([kind] {
      g_kind = kind;
      ThrowInjected();
      return std::shared_ptr<sendnote::platform::Object>();
    }));
    IUnknown* made = nullptr;
    CheckHr(failing->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&made)),
            Mapped(kind), L"the simulator's class whose model throws " + NameOf(kind));
    Check(made == nullptr, L"no object from a failed CreateInstance");

    ComPtr<IClassFactory> word = ComPtr<IClassFactory>::Adopt(hostsim::ClassFactory::New([] {
      return std::static_pointer_cast<sendnote::platform::Object>(
          sendnote::inmemory::WordApp::Create());
    }));
    Sweep(
        L"the simulator's CreateInstance", kind,
        [&] {
          ComPtr<IDispatch> object;
          return word->CreateInstance(nullptr, IID_IDispatch,
                                      reinterpret_cast<void**>(object.Receive()));
        },
        Accepts(Answer::kMapped, kind));

    // A member of the simulated Word: the failure as an automation server reports it, out
    // of memory as Basic's error 7.
    ComPtr<IDispatch> application = hostsim::Expose(sendnote::inmemory::WordApp::Create());
    wchar_t name[] = L"Documents";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    Sweep(
        L"the simulator's GetIDsOfNames", kind,
        [&] { return application->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); },
        Accepts(Answer::kMapped, kind));
    Check(id != DISPID_UNKNOWN, L"Word.Documents");
    const HRESULT scode = kind == Kind::kBadAlloc   ? MAKE_HRESULT(1, FACILITY_CONTROL, 7)
                          : kind == Kind::kStandard ? MAKE_HRESULT(1, FACILITY_CONTROL, 51)
                                                    : Mapped(kind);
    const std::wstring text = kind == Kind::kBadAlloc ? L"Out of memory" : L"injected";
    EXCEPINFO info{};
    Sweep(
        L"the simulator's Invoke", kind,
        [&] {
          com::ScopedVariant result;
          ::SysFreeString(info.bstrSource);
          ::SysFreeString(info.bstrDescription);
          info = EXCEPINFO{};
          DISPPARAMS none{nullptr, nullptr, 0, 0};
          return application->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                     result.Receive(), &info, nullptr);
        },
        [&](HRESULT hr) {
          if (kind == Kind::kOther) return hr == E_UNEXPECTED;
          return hr == DISP_E_EXCEPTION && info.scode == scode && info.bstrDescription &&
                 text == info.bstrDescription;
        });
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
  }
  Check(hostsim::LiveObjects::Count() == before, L"no simulator object outlives the failed calls");
}

}  // namespace

int wmain() {
  ids::Module::Attach(::GetModuleHandleW(nullptr));
  CheckHr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK, L"CoInitializeEx");
  HHOOK hook = ::SetWindowsHookExW(WH_CBT, BoxHook, nullptr, ::GetCurrentThreadId());
  IdentityChecks();
  AddInChecks();
  SinkChecks();
  SimulatorChecks();
  InputBoxChecks();
  ::UnhookWindowsHookEx(hook);
  ::CoUninitialize();
  Print(stdout, std::to_wstring(g_failedCalls) + L" calls failed inside, at each allocation");
  if (Failures() == 0) Print(stdout, L"barrier checks passed");
  return Failures() == 0 ? 0 : 1;
}
