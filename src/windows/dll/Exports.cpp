// The library entry point, the four exports of an in-process COM server and DllInstall,
// regsvr32's entry for registering for all users.
#include "windows/com/Win32.h"

#include <olectl.h>

#include "platform/ComError.h"
#include "windows/com/ComObject.h"
#include "windows/com/ComPtr.h"
#include "windows/com/WideText.h"
#include "windows/dll/ClassFactory.h"
#include "windows/dll/Guids.h"
#include "windows/dll/Module.h"
#include "windows/dll/Registration.h"

namespace {

// The HRESULT to return for a failed registration step: the step's own failure code when
// it was one, otherwise the generic self-registration failure.
HRESULT ResultOf(const sendnote::platform::ComError& error) {
  return error.Number() < 0 ? static_cast<HRESULT>(error.Number()) : SELFREG_E_CLASS;
}

// The failure's text as the thread's error information, for a caller that reads it
// (GetErrorInfo) after the HRESULT.
void SetErrorText(const std::u16string& text) noexcept {
  sendnote::com::ComPtr<ICreateErrorInfo> create;
  if (FAILED(::CreateErrorInfo(create.Receive()))) return;
  const std::wstring wide = sendnote::com::ToWide(text);
  create->SetDescription(const_cast<LPOLESTR>(wide.c_str()));
  sendnote::com::ComPtr<IErrorInfo> info;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(info.Receive())))) {
    ::SetErrorInfo(0, info.Get());
  }
}

template <class Body>
HRESULT RegistrationStep(Body&& body) noexcept {
  try {
    ::SetErrorInfo(0, nullptr);
    body();
    return S_OK;
  } catch (const sendnote::platform::ComError& error) {
    try {
      SetErrorText(error.Description());
    } catch (...) {
    }
    return ResultOf(error);
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

using sendnote::windows::Registration;
using sendnote::windows::RegistrationScope;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    sendnote::windows::Module::Attach(instance);
    ::DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != sendnote::windows::kClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return sendnote::com::Barrier([&] {
    auto* factory = sendnote::windows::ClassFactory::New();
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
  });
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return sendnote::windows::Module::CanUnload() ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  return RegistrationStep([] { Registration::Register(RegistrationScope::kCurrentUser); });
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return RegistrationStep([] { Registration::Unregister(RegistrationScope::kCurrentUser); });
}

// regsvr32 /n /i:allusers registers for all users, /u /n /i:allusers removes that again;
// /i:user is the per-user registration of DllRegisterServer ("DllInstall function",
// learn.microsoft.com/windows/win32/api/shlwapi/nf-shlwapi-dllinstall).
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
  return RegistrationStep([&] {
    const RegistrationScope scope = Registration::ScopeOf(commandLine);
    if (install) {
      Registration::Register(scope);
    } else {
      Registration::Unregister(scope);
    }
  });
}
