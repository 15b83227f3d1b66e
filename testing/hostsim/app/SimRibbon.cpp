#include "hostsim/app/SimRibbon.h"

#include <set>

#include "tests/windows/Checks.h"
#include "windows/com/Dispatch.h"
#include "windows/com/ScopedVariant.h"
#include "windows/com/VariantConversion.h"
#include "windows/com/WideText.h"

namespace sendnote::windows::test {
namespace {

using com::Dispatch;
using com::ScopedVariant;

// The built-in ids the simulated Outlook has, per ribbon id: the tabs and shortcut menus
// of Microsoft's control-id lists that the add-in may extend.
bool KnownBuiltIn(const std::wstring& ribbonId, const std::wstring& idMso) {
  if (ribbonId == L"Microsoft.Outlook.Explorer") {
    return idMso == L"TabContacts" || idMso == L"ContextMenuContactItem";
  }
  if (ribbonId == L"Microsoft.Outlook.Contact") return idMso == L"TabContact";
  return false;
}

std::wstring Text(const ScopedVariant& value) {
  if (value.Type() != VT_BSTR) return {};
  return com::ToWide(com::TextOf(value));
}

// A DOM document of MSXML (6.0, or 3.0 where only that is registered).
Dispatch NewDocument() {
  for (const wchar_t* progId : {L"Msxml2.DOMDocument.6.0", L"Msxml2.DOMDocument.3.0"}) {
    CLSID clsid{};
    if (FAILED(::CLSIDFromProgID(progId, &clsid))) continue;
    com::ComPtr<IDispatch> document;
    if (SUCCEEDED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     reinterpret_cast<void**>(document.Receive())))) {
      return Dispatch(std::move(document));
    }
  }
  return Dispatch();
}

bool HasCallback(IDispatch* addIn, const std::wstring& name) {
  std::wstring copy = name;
  LPOLESTR names[1] = {copy.data()};
  DISPID id = DISPID_UNKNOWN;
  return addIn->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id) == S_OK;
}

}  // namespace

std::vector<RibbonButton> ReadRibbonMarkup(const std::wstring& ribbonId, const std::wstring& markup,
                                           const std::wstring& namespaceUri, IDispatch* addIn) {
  std::vector<RibbonButton> buttons;
  if (markup.empty()) return buttons;
  const std::wstring what = L"the markup for " + ribbonId;
  Dispatch document = NewDocument();
  Check(static_cast<bool>(document), L"MSXML's DOMDocument can be created");
  if (!document) return buttons;
  document.Put(u"async", ScopedVariant::Bool(false));
  const bool loaded =
      com::Int32Of(document.Call(u"loadXML", {ScopedVariant::String(com::FromWide(markup))})) != 0;
  if (!loaded) {
    const Dispatch error(Dispatch::ObjectOf(document.Get(u"parseError"), u"parseError"));
    Check(false, what + L" is not well-formed: " + Text(error.Get(u"reason")));
    return buttons;
  }
  const Dispatch root(Dispatch::ObjectOf(document.Get(u"documentElement"), u"documentElement"));
  Check(Text(root.Get(u"nodeName")) == L"customUI", what + L": the root is customUI");
  Check(Text(root.Get(u"namespaceURI")) == namespaceUri,
        what + L": namespace " + Text(root.Get(u"namespaceURI")) + L", expected " + namespaceUri);

  const Dispatch elements(Dispatch::ObjectOf(
      document.Call(u"getElementsByTagName", {ScopedVariant::String(u"*")}), u"elements"));
  const int32_t count = com::Int32Of(elements.Get(u"length"));
  std::set<std::wstring> ids;
  for (int32_t i = 0; i < count; ++i) {
    const Dispatch element(
        Dispatch::ObjectOf(elements.Get(u"item", {ScopedVariant::Int32(i)}), u"item"));
    const auto attribute = [&](const char16_t* name) {
      return Text(element.Call(u"getAttribute", {ScopedVariant::String(name)}));
    };
    const std::wstring name = Text(element.Get(u"nodeName"));
    Check(Text(element.Get(u"namespaceURI")) == namespaceUri,
          what + L": " + name + L" is in the customUI namespace");
    if (const std::wstring idMso = attribute(u"idMso"); !idMso.empty()) {
      Check(KnownBuiltIn(ribbonId, idMso), what + L": Outlook has no " + idMso + L" there");
    }
    if (const std::wstring id = attribute(u"id"); !id.empty()) {
      Check(ids.insert(id).second, what + L": the id " + id + L" is used twice");
    }
    for (const char16_t* callback : {u"onAction", u"getImage", u"getLabel", u"getEnabled",
                                     u"getVisible", u"onLoad", u"loadImage"}) {
      const std::wstring target = attribute(callback);
      if (target.empty()) continue;
      Check(HasCallback(addIn, target), what + L": the add-in's dispatch interface has no " +
                                            target + L" for " + com::ToWide(callback));
    }
    if (name != L"button") continue;
    RibbonButton button{attribute(u"id"), attribute(u"label"), attribute(u"onAction"),
                        attribute(u"getImage")};
    Check(!button.id.empty() && !button.label.empty() && !button.onAction.empty(),
          what + L": a button with an id, a label and an onAction");
    buttons.push_back(std::move(button));
  }
  return buttons;
}

}  // namespace sendnote::windows::test
