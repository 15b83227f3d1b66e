#include "windows/com/AutoCommandBarButton.h"

#include <ocidl.h>

#include "windows/com/ClickSink.h"
#include "windows/com/HResultError.h"

namespace sendnote::com {

std::u16string AutoCommandBarButton::OnAction() { return TextOf(dispatch().Get(u"OnAction")); }

void AutoCommandBarButton::SetOnAction(std::u16string_view action) {
  dispatch().Put(u"OnAction", ScopedVariant::String(action));
}

std::u16string AutoCommandBarButton::Caption() { return TextOf(dispatch().Get(u"Caption")); }

void AutoCommandBarButton::SetCaption(std::u16string_view caption) {
  dispatch().Put(u"Caption", ScopedVariant::String(caption));
}

void AutoCommandBarButton::SetTag(std::u16string_view tag) {
  dispatch().Put(u"Tag", ScopedVariant::String(tag));
}

platform::EventConnection AutoCommandBarButton::ConnectClick(ClickHandler handler) {
  constexpr std::u16string_view member = u"CommandBarButton.Click";
  const auto container = ComPtr<IDispatch>(dispatch().Get()).As<IConnectionPointContainer>();
  if (!container) throw ErrorOf(E_NOINTERFACE, nullptr, member);
  ComPtr<IConnectionPoint> point;
  Check(container->FindConnectionPoint(kIidCommandBarButtonEvents, point.Receive()), member);
  // The sink holds the handler only: the button and its connection point stay with the
  // connection, so nothing refers back to the sink once it is unadvised.
  ComPtr<IDispatch> sink = ComPtr<IDispatch>::Adopt(ClickSink::Create(std::move(handler)));
  DWORD cookie = 0;
  Check(point->Advise(sink.Get(), &cookie), member);
  return platform::EventConnection([point, cookie] { point->Unadvise(cookie); });
}

}  // namespace sendnote::com
