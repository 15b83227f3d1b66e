// The library entry point and the four exports of an in-process COM server.
#include "windows/com/Win32.h"

#include <olectl.h>

#include "platform/ComError.h"
#include "windows/com/ComObject.h"
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

template <class Body>
HRESULT RegistrationStep(Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (const sendnote::platform::ComError& error) {
    return ResultOf(error);
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

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
  return RegistrationStep([] { sendnote::windows::Registration::Register(); });
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return RegistrationStep([] { sendnote::windows::Registration::Unregister(); });
}
