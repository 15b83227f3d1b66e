#include "windows/com/AutomationClass.h"

#include "windows/com/Win32.h"

#include "platform/AsciiCase.h"
#include "platform/Word.h"
#include "windows/com/AutomationObject.h"
#include "windows/com/HResultError.h"
#include "windows/com/WideText.h"

namespace sendnote::com {
namespace {

// 429 with the class and the reason in the description, as the caller tells only by number.
[[noreturn]] void RaiseCannotCreate(std::u16string_view className, HRESULT hr) {
  std::u16string description = platform::StandardDescription(platform::kErrCannotCreate);
  description += u" (";
  description += className;
  description += u": ";
  description += ErrorOf(hr, nullptr, {}).Description();
  description += u")";
  platform::Raise(platform::kErrCannotCreate, std::move(description));
}

CLSID ClassIdOf(std::u16string_view className) {
  CLSID id{};
  const std::wstring wide = ToWide(className);
  const HRESULT hr = ::CLSIDFromProgID(wide.c_str(), &id);
  if (FAILED(hr)) RaiseCannotCreate(className, hr);
  return id;
}

ComPtr<IDispatch> DispatchOf(std::u16string_view className, const ComPtr<IUnknown>& object) {
  ComPtr<IDispatch> dispatch;
  const HRESULT hr =
      object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Receive()));
  if (FAILED(hr) || !dispatch) RaiseCannotCreate(className, FAILED(hr) ? hr : E_NOINTERFACE);
  return dispatch;
}

// "Word.Application" or a versioned "Word.Application.9".
bool IsClass(std::u16string_view className, std::u16string_view name) {
  const std::u16string lowered = platform::AsciiLowered(className);
  const std::u16string wanted = platform::AsciiLowered(name);
  if (lowered == wanted) return true;
  return lowered.size() > wanted.size() + 1 && lowered.compare(0, wanted.size(), wanted) == 0 &&
         lowered[wanted.size()] == u'.';
}

}  // namespace

std::shared_ptr<platform::Object> GetActiveObjectOf(std::u16string_view className) {
  const CLSID id = ClassIdOf(className);
  ComPtr<IUnknown> object;
  const HRESULT hr = ::GetActiveObject(id, nullptr, object.Receive());
  if (hr == MK_E_UNAVAILABLE || (SUCCEEDED(hr) && !object)) {
    RaiseCannotCreate(className, MK_E_UNAVAILABLE);
  }
  Check(hr, u"GetObject");
  return WrapClassObject(className, DispatchOf(className, object));
}

std::shared_ptr<platform::Object> CreateLocalObjectOf(std::u16string_view className) {
  const CLSID id = ClassIdOf(className);
  ComPtr<IUnknown> object;
  const HRESULT hr = ::CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**>(object.Receive()));
  if (FAILED(hr) || !object) RaiseCannotCreate(className, FAILED(hr) ? hr : E_NOINTERFACE);
  return WrapClassObject(className, DispatchOf(className, object));
}

std::shared_ptr<platform::Object> WrapClassObject(std::u16string_view className,
                                                  ComPtr<IDispatch> object) {
  if (IsClass(className, platform::kWordClass)) return WrapWordApplication(std::move(object));
  if (IsClass(className, u"Outlook.Application")) {
    return WrapOutlookApplication(std::move(object));
  }
  return Wrap<AutoObject>(std::move(object));
}

}  // namespace sendnote::com
