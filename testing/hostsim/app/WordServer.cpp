#include "hostsim/app/WordServer.h"

#include "windows/com/Win32.h"

#include <memory>

#include "hostsim/ClassFactory.h"
#include "hostsim/Expose.h"
#include "hostsim/app/SimLetters.h"
#include "hostsim/app/SimOffice.h"
#include "inmemory/WordApp.h"
#include "tests/windows/Checks.h"

namespace sendnote::windows::test {
namespace {

// A test that broke off must not leave a Word behind for ever; COM asks for the Word at
// once after starting the server.
constexpr ULONGLONG kLifetimeLimitMs = 3 * 60 * 1000;
constexpr ULONGLONG kCreationLimitMs = 30 * 1000;
// File New answers for as many clicks as a scenario makes with one Word.
constexpr int kFileNewAnswers = 4;

// Word busy, as while it starts or shows a dialog: its message filter refuses the first
// `calls` automation calls, and COM answers each RPC_E_CALL_REJECTED to a caller whose
// own filter does not retry ("IMessageFilter::RetryRejectedCall"). Word answers
// SERVERCALL_RETRYLATER; Wine 8 runs such a call anyway, so this filter answers
// SERVERCALL_REJECTED, which the caller meets alike. COM's own calls (IRemUnknown) pass.
class BusyFilter final : public com::Object<IMessageFilter> {
 public:
  explicit BusyFilter(int calls) : left_(calls) {}

  int Rejected() const { return rejected_; }

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO call) override {
    if (left_ <= 0 || !call || call->iid != IID_IDispatch) return SERVERCALL_ISHANDLED;
    --left_;
    ++rejected_;
    return SERVERCALL_REJECTED;
  }
  // This server calls no one.
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
    return static_cast<DWORD>(-1);
  }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    return PENDINGMSG_WAITDEFPROCESS;
  }

 private:
  ~BusyFilter() override = default;

  int left_;
  int rejected_ = 0;
};

}  // namespace

int RunWordServer(bool embedding, int rejectedCalls) {
  com::ComPtr<BusyFilter> filter;
  if (rejectedCalls > 0) {
    filter = com::ComPtr<BusyFilter>::Adopt(new BusyFilter(rejectedCalls));
    com::ComPtr<IMessageFilter> previous;
    CheckHr(::CoRegisterMessageFilter(filter.Get(), previous.Receive()), S_OK,
            L"the Word server's CoRegisterMessageFilter");
  }

  std::shared_ptr<inmemory::WordApp> word;
  com::ComPtr<IDispatch> exposed;
  DWORD rotCookie = 0;
  auto start = [&]() -> std::shared_ptr<platform::Object> {
    word = inmemory::WordApp::Create();
    word->AddTemplate(kTemplate, MarkedTemplate(false));
    for (int i = 0; i < kFileNewAnswers; ++i) word->QueueFileNew(kTemplate);
    exposed = hostsim::Expose(word);
    CheckHr(::RegisterActiveObject(exposed.Get(), kWordClsid, ACTIVEOBJECT_STRONG, &rotCookie),
            S_OK, L"the Word server's RegisterActiveObject");
    return word;
  };

  com::ComPtr<hostsim::ClassFactory> factory;
  DWORD factoryCookie = 0;
  if (embedding) {
    factory = com::ComPtr<hostsim::ClassFactory>::Adopt(hostsim::ClassFactory::New(start));
    CheckHr(::CoRegisterClassObject(kWordClsid, factory.Get(), CLSCTX_LOCAL_SERVER,
                                    REGCLS_SINGLEUSE, &factoryCookie),
            S_OK, L"the Word server's CoRegisterClassObject");
  } else {
    start();
  }

  // Calls arrive as window messages of this apartment; Quit is one of them.
  const ULONGLONG started = ::GetTickCount64();
  bool quit = false;
  for (;;) {
    const ULONGLONG elapsed = ::GetTickCount64() - started;
    if (quit || elapsed > kLifetimeLimitMs || (!word && elapsed > kCreationLimitMs)) break;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    quit = word && word->HasQuit();
  }
  Check(word != nullptr, L"the Word server: no Word was asked for");
  Check(quit, L"the Word server: no Word quit within its lifetime");

  if (filter) {
    Check(filter->Rejected() == rejectedCalls,
          L"the Word server refused " + std::to_wstring(filter->Rejected()) + L" calls, not " +
              std::to_wstring(rejectedCalls));
    com::ComPtr<IMessageFilter> previous;
    ::CoRegisterMessageFilter(nullptr, previous.Receive());
  }
  if (factoryCookie) ::CoRevokeClassObject(factoryCookie);
  if (rotCookie) ::RevokeActiveObject(rotCookie, nullptr);
  // Clients that still hold this Word's objects see the server gone once the process
  // ends, as with a Word that was closed.
  return Failures() ? 1 : 0;
}

}  // namespace sendnote::windows::test
