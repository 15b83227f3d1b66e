#include "windows/com/WindowEventSink.h"

#include "windows/com/HResultError.h"

namespace sendnote::com {

platform::EventConnection AdviseSink(IDispatch* source, const IID& events, IDispatch* sink,
                                     std::u16string_view member) {
  const auto container = ComPtr<IDispatch>(source).As<IConnectionPointContainer>();
  if (!container) throw ErrorOf(E_NOINTERFACE, nullptr, member);
  ComPtr<IConnectionPoint> point;
  Check(container->FindConnectionPoint(events, point.Receive()), member);
  DWORD cookie = 0;
  Check(point->Advise(sink, &cookie), member);
  // Only the point and the cookie stay with the connection: nothing refers back to the
  // sink once it is unadvised.
  return platform::EventConnection([point, cookie] { point->Unadvise(cookie); });
}

HRESULT WindowEventSink::Fire(DISPPARAMS& params) {
  if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
  IDispatch* window = ObjectArgument(params.rgvarg[0]);
  if (!window) return DISP_E_TYPEMISMATCH;
  if (handler_) handler_(ComPtr<IDispatch>(window));
  return S_OK;
}

}  // namespace sendnote::com
