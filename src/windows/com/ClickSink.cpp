#include "windows/com/ClickSink.h"

#include "windows/com/CommandBars.h"

namespace sendnote::com {

HRESULT ClickSink::Fire(DISPPARAMS& params) {
  if (params.cArgs != 2) return DISP_E_BADPARAMCOUNT;
  // Arguments come last to first: rgvarg[1] is Ctrl, rgvarg[0] CancelDefault.
  IDispatch* control = ObjectArgument(params.rgvarg[1]);
  if (!control) return DISP_E_TYPEMISMATCH;
  VARIANT& cancel = params.rgvarg[0];
  VARIANT_BOOL* cancelRef = V_VT(&cancel) == (VT_BOOL | VT_BYREF) ? V_BOOLREF(&cancel) : nullptr;
  platform::Flag cancelDefault = cancelRef ? *cancelRef : VARIANT_FALSE;
  const auto button = Wrap<AutoCommandBarButton>(ComPtr<IDispatch>(control));
  if (handler_) handler_(button, cancelDefault);
  if (cancelRef) *cancelRef = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

}  // namespace sendnote::com
