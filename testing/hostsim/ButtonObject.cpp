#include "hostsim/ButtonObject.h"

#include "hostsim/Expose.h"
#include "windows/com/ClickSink.h"

namespace sendnote::hostsim {
namespace {
long g_failedClicks = 0;

// Raises Click at one sink as Office does: the clicked button, CancelDefault by reference.
void FireClick(IDispatch* sink, const std::shared_ptr<platform::CommandBarButton>& clicked,
               platform::Flag& cancelDefault) {
  com::ComPtr<IDispatch> control = Expose(clicked);
  VARIANT_BOOL cancel = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
  VARIANT args[2];
  ::VariantInit(&args[0]);
  ::VariantInit(&args[1]);
  V_VT(&args[0]) = VT_BOOL | VT_BYREF;  // last argument first
  V_BOOLREF(&args[0]) = &cancel;
  V_VT(&args[1]) = VT_DISPATCH;
  V_DISPATCH(&args[1]) = control.Get();
  DISPPARAMS params{args, nullptr, 2, 0};
  const HRESULT hr = sink->Invoke(com::kDispIdClick, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                  &params, nullptr, nullptr, nullptr);
  if (FAILED(hr)) ++g_failedClicks;
  cancelDefault = cancel ? platform::kTrue : platform::kFalse;
}

}  // namespace

ButtonObject::ButtonObject(const std::shared_ptr<platform::CommandBarButton>& button,
                           const DispatchType& type)
    : EventSourceObject(button, type, com::kIidCommandBarButtonEvents,
                        [button](com::ComPtr<IDispatch> sink) {
                          return button->ConnectClick(
                              [sink](const std::shared_ptr<platform::CommandBarButton>& clicked,
                                     platform::Flag& cancelDefault) {
                                FireClick(sink.Get(), clicked, cancelDefault);
                              });
                        }) {}

long ButtonObject::Connections() {
  return EventSourceObject::Connections(com::kIidCommandBarButtonEvents);
}

long ButtonObject::FailedClicks() { return g_failedClicks; }

}  // namespace sendnote::hostsim
