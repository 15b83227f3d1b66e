#include "windows/dll/AddInObject.h"

#include <olectl.h>

#include "platform/Runtime.h"
#include "windows/com/Dispatch.h"
#include "windows/com/Outlook.h"
#include "windows/com/WideText.h"
#include "windows/dll/DialogIds.h"
#include "windows/dll/Guids.h"
#include "windows/dll/Module.h"
#include "windows/dll/WindowsRuntime.h"

namespace sendnote::windows {
namespace {

// The callbacks' DISPIDs, as sendnote.idl.in declares them.
constexpr DISPID kDispIdOnAction = 101;
constexpr DISPID kDispIdGetImage = 102;

// The source an automation failure of ours names (EXCEPINFO's bstrSource).
constexpr char16_t kSource[] = u"sendnote";

// Runs one host event with the Windows runtime installed. The system's events end in their
// own barrier; this one also catches what happens around them (wrapping the arguments).
// The host is told S_OK whatever happened: a failing event is reported to the user, and
// Outlook would disable an add-in whose events fail.
template <class Body>
HRESULT HostEvent(Body&& body) noexcept {
  return com::Barrier(S_OK, [&] {
    platform::ScopedRuntime runtime(WindowsRuntime::Instance());
    body();
    return S_OK;
  });
}

}  // namespace

AddInObject::AddInObject() : addin_(std::make_unique<dsrOutlookToWord>()) {
  Module::ObjectCreated();
}

AddInObject::~AddInObject() {
  // A host may release the object without disconnecting it: what the add-in still holds
  // (the host's objects, the button binding) is let go under the runtime too.
  HostEvent([&] { addin_.reset(); });
  Module::ObjectDestroyed();
}

HRESULT AddInObject::LoadTypeInfo() {
  if (type_info_) return S_OK;
  com::ComPtr<ITypeLib> library;
  const std::wstring path = Module::Path();
  HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Receive());
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(kIidDsrOutlookToWord, type_info_.Receive());
}

HRESULT AddInObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT AddInObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return com::Barrier([&] {
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    *info = com::ComPtr<ITypeInfo>(type_info_).Detach();
    return S_OK;
  });
}

HRESULT AddInObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return com::Barrier([&] {
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    return ::DispGetIDsOfNames(type_info_.Get(), names, count, ids);
  });
}

HRESULT AddInObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                            VARIANT* result, EXCEPINFO* exception, UINT* badArg) {
  // The two callbacks by hand: each takes the IRibbonControl, one argument by value or by
  // reference, as Office passes it; DispInvoke's argument coercion differs between
  // oleaut32 builds, and nothing else of this interface is called late-bound.
  return com::InvokeBarrier(exception, kSource, result, [&]() -> HRESULT {
    if (id != kDispIdOnAction && id != kDispIdGetImage) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    const VARIANT& arg = params->rgvarg[0];
    IDispatch* control = nullptr;
    if (V_VT(&arg) == VT_DISPATCH) {
      control = V_DISPATCH(&arg);
    } else if (V_VT(&arg) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(&arg)) {
      control = *V_DISPATCHREF(&arg);
    } else if (V_VT(&arg) != VT_EMPTY && V_VT(&arg) != VT_ERROR) {
      if (badArg) *badArg = 0;
      return DISP_E_TYPEMISMATCH;
    }
    if (id == kDispIdOnAction) {
      if (result) ::VariantInit(result);
      return Ribbon_OnAction(control);
    }
    IDispatch* picture = nullptr;
    const HRESULT hr = Ribbon_GetImage(control, &picture);
    if (FAILED(hr)) return hr;
    if (!result) {
      picture->Release();
      return S_OK;
    }
    ::VariantInit(result);
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = picture;
    return S_OK;
  });
}

HRESULT AddInObject::Ribbon_OnAction(IDispatch* control) {
  return HostEvent([&] {
    // The control's Context is the window clicked in (a Selection for a shortcut menu).
    // When it cannot be told, the click works on Outlook's active window as the menu
    // button's does.
    std::shared_ptr<platform::OutlookWindow> window;
    try {
      com::Dispatch ribbonControl{com::ComPtr<IDispatch>(control)};
      if (ribbonControl) {
        window = com::WindowOf(com::Dispatch::ObjectOf(ribbonControl.Get(u"Context"), u"Context"));
      }
    } catch (const platform::ComError&) {
      window.reset();
    }
    addin_->Ribbon_OnAction(window);
  });
}

HRESULT AddInObject::Ribbon_GetImage(IDispatch*, IDispatch** image) {
  if (!image) return E_POINTER;
  *image = nullptr;
  return com::Barrier([&] {
    // The application icon at the large button's size; Office scales it for the small ones.
    HANDLE icon = ::LoadImageW(Module::Instance(), MAKEINTRESOURCEW(SENDNOTE_ICO_APP), IMAGE_ICON,
                               32, 32, LR_DEFAULTCOLOR);
    if (!icon) return HRESULT_FROM_WIN32(::GetLastError());
    PICTDESC picture{};
    picture.cbSizeofstruct = sizeof(picture);
    picture.picType = PICTYPE_ICON;
    picture.icon.hicon = static_cast<HICON>(icon);
    // The picture owns the icon from here on and destroys it with itself.
    const HRESULT hr = ::OleCreatePictureIndirect(&picture, IID_IPictureDisp, TRUE,
                                                  reinterpret_cast<void**>(image));
    if (FAILED(hr)) ::DestroyIcon(static_cast<HICON>(icon));
    return hr;
  });
}

HRESULT AddInObject::GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) {
  if (!RibbonXml) return E_POINTER;
  *RibbonXml = nullptr;
  return com::Barrier([&] {
    const std::u16string id =
        RibbonID ? com::FromWide(std::wstring_view(RibbonID, ::SysStringLen(RibbonID)))
                 : std::u16string();
    const std::wstring markup = com::ToWide(addin_->GetCustomUI(id));
    *RibbonXml = ::SysAllocStringLen(markup.data(), static_cast<UINT>(markup.size()));
    return *RibbonXml ? S_OK : E_OUTOFMEMORY;
  });
}

HRESULT AddInObject::OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode,
                                  IDispatch* AddInInst, SAFEARRAY**) {
  return HostEvent([&] {
    // Outlook's objects are reached by name; a host that is not Outlook fails at its first
    // Outlook member, inside the connection's own error report.
    auto application = com::Wrap<com::AutoOutlookApplication>(com::ComPtr<IDispatch>(Application));
    auto instance = com::Wrap<com::AutoAddInInstance>(com::ComPtr<IDispatch>(AddInInst));
    addin_->IDTExtensibility2_OnConnection(application, static_cast<int32_t>(ConnectMode),
                                           instance);
  });
}

HRESULT AddInObject::OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY**) {
  return HostEvent(
      [&] { addin_->IDTExtensibility2_OnDisconnection(static_cast<int32_t>(RemoveMode)); });
}

HRESULT AddInObject::OnAddInsUpdate(SAFEARRAY**) {
  return HostEvent([&] { addin_->IDTExtensibility2_OnAddInsUpdate(); });
}

HRESULT AddInObject::OnStartupComplete(SAFEARRAY**) {
  return HostEvent([&] { addin_->IDTExtensibility2_OnStartupComplete(); });
}

HRESULT AddInObject::OnBeginShutdown(SAFEARRAY**) {
  return HostEvent([&] { addin_->IDTExtensibility2_OnBeginShutdown(); });
}

}  // namespace sendnote::windows
