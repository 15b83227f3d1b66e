#include "windows/com/CommandBars.h"

#include "windows/com/ClickSink.h"
#include "windows/com/HResultError.h"
#include "windows/com/WindowEventSink.h"

namespace sendnote::com {
namespace {

// FindControl(Type, Id, Tag) by tag: Type and Id left out.
ComPtr<IDispatch> FindControlByTag(const Dispatch& bars, std::u16string_view tag) {
  return Dispatch::ObjectOf(
      bars.Get(u"FindControl",
               {ScopedVariant::Missing(), ScopedVariant::Missing(), ScopedVariant::String(tag)}),
      u"FindControl");
}

}  // namespace

std::shared_ptr<platform::CommandBarControl> AutoCommandBars::FindControl(int16_t id) {
  // FindControl(Type, Id): Type left out.
  return WrapControl(
      ObjectOf(u"FindControl", {ScopedVariant::Missing(), ScopedVariant::Int32(id)}));
}

std::shared_ptr<platform::CommandBarControl> AutoCommandBars::FindControl(std::u16string_view tag) {
  return WrapControl(FindControlByTag(dispatch(), tag));
}

std::shared_ptr<platform::CommandBarControl> AutoCommandBar::FindControl(std::u16string_view tag) {
  return WrapControl(FindControlByTag(dispatch(), tag));
}

std::shared_ptr<platform::CommandBarControl> AutoCommandBarControls::Add(
    int32_t type, int16_t id, std::u16string_view parameter) {
  // Before and Temporary left out: appended at the end, permanent.
  return WrapControl(ObjectOf(u"Add", {ScopedVariant::Int32(type), ScopedVariant::Int32(id),
                                       ScopedVariant::String(parameter)}));
}

std::shared_ptr<platform::CommandBar> AutoCommandBarPopup::CommandBar() {
  return Wrap<AutoCommandBar>(ObjectOf(u"CommandBar"));
}

std::shared_ptr<platform::CommandBarControls> AutoCommandBarPopup::Controls() {
  return Wrap<AutoCommandBarControls>(ObjectOf(u"Controls"));
}

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
  ComPtr<IDispatch> sink = ComPtr<IDispatch>::Adopt(ClickSink::Create(std::move(handler)));
  return AdviseSink(dispatch().Get(), kIidCommandBarButtonEvents, sink.Get(),
                    u"CommandBarButton.Click");
}

std::shared_ptr<platform::CommandBarControl> WrapControl(ComPtr<IDispatch> object) {
  if (!object) return nullptr;
  // Without a type library the control's class is only known from its Type.
  const int32_t type = Int32Of(Dispatch(object).Get(u"Type"));
  if (type == kMsoControlButton) return std::make_shared<AutoCommandBarButton>(std::move(object));
  if (type == kMsoControlPopup) return std::make_shared<AutoCommandBarPopup>(std::move(object));
  return std::make_shared<AutoCommandBarControl>(std::move(object));
}

}  // namespace sendnote::com
