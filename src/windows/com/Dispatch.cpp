#include "windows/com/Dispatch.h"

#include <vector>

#include "platform/ComError.h"
#include "windows/com/BusyRetry.h"
#include "windows/com/HResultError.h"
#include "windows/com/WideText.h"

namespace sendnote::com {

DISPID Dispatch::IdOf(std::u16string_view name) const { return ids_.Of(object_.Get(), name); }

ScopedVariant Dispatch::Invoke(std::u16string_view name, WORD flags,
                               std::initializer_list<ScopedVariant> args,
                               const ScopedVariant* putValue) const {
  // A collection's enumerator has its own DISPID, whatever its name
  // (https://learn.microsoft.com/windows/win32/com/dispid-constants).
  const DISPID id = name == u"_NewEnum" ? DISPID_NEWENUM : IdOf(name);
  // Invoke takes the arguments last to first; the value of a put comes first of all.
  std::vector<VARIANT> argv;
  if (putValue) argv.push_back(putValue->Get());
  for (auto it = std::rbegin(args); it != std::rend(args); ++it) argv.push_back(it->Get());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = argv.empty() ? nullptr : argv.data();
  params.cArgs = static_cast<UINT>(argv.size());
  if (putValue) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  ScopedVariant result;
  EXCEPINFO info{};
  UINT badArg = 0;
  const HRESULT hr = RetryWhileBusy([&] {
    return object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                           putValue ? nullptr : result.Receive(), &info, &badArg);
  });
  if (FAILED(hr)) {
    // Freed however the error's text ends, out of memory included.
    struct Strings {
      EXCEPINFO& info;
      ~Strings() {
        ::SysFreeString(info.bstrSource);
        ::SysFreeString(info.bstrDescription);
        ::SysFreeString(info.bstrHelpFile);
      }
    } strings{info};
    throw ErrorOf(hr, &info, name);
  }
  return result;
}

ScopedVariant Dispatch::Get(std::u16string_view name,
                            std::initializer_list<ScopedVariant> args) const {
  return Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, nullptr);
}

void Dispatch::Put(std::u16string_view name, const ScopedVariant& value) const {
  const WORD flags = value.Type() == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  Invoke(name, flags, {}, &value);
}

ScopedVariant Dispatch::Call(std::u16string_view name,
                             std::initializer_list<ScopedVariant> args) const {
  return Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, nullptr);
}

ComPtr<IDispatch> Dispatch::ObjectOf(const ScopedVariant& value, std::u16string_view member) {
  const VARIANT& v = value.Get();
  if (V_VT(&v) == VT_DISPATCH) return ComPtr<IDispatch>(V_DISPATCH(&v));
  if (V_VT(&v) == VT_UNKNOWN) {
    ComPtr<IDispatch> object;
    if (V_UNKNOWN(&v)) {
      V_UNKNOWN(&v)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.Receive()));
      if (!object) throw ErrorOf(E_NOINTERFACE, nullptr, member);
    }
    return object;
  }
  if (V_VT(&v) == VT_EMPTY || V_VT(&v) == VT_NULL) return {};
  throw ErrorOf(DISP_E_TYPEMISMATCH, nullptr, member);
}

}  // namespace sendnote::com
