// The COM automation library against automation objects of our own: error mapping,
// calls by name, the RAII types and value conversion.
#include <memory>
#include <string>
#include <vector>

#include "tests/support/windows/FakeDispatch.h"
#include "tests/windows/Checks.h"
#include "windows/com/Dispatch.h"
#include "windows/com/HResultError.h"
#include "windows/com/ScopedBstr.h"
#include "windows/com/ScopedSafeArray.h"
#include "windows/com/VariantConversion.h"
#include "windows/com/WideText.h"

namespace sendnote::windows::test {
namespace {

using com::ComPtr;
using com::Dispatch;
using com::ScopedVariant;

std::wstring Wide(const std::u16string& text) { return com::ToWide(text); }

// A server's deferred EXCEPINFO fill-in (stdcall on x86, hence not a lambda).
HRESULT STDAPICALLTYPE FillInLater(EXCEPINFO* info) {
  info->bstrDescription = ::SysAllocString(L"filled in later");
  return S_OK;
}

// Runs `body`, which must raise the platform error `number` with `description` in it.
template <class Body>
void ExpectError(const std::wstring& what, int32_t number, const std::wstring& description,
                 Body&& body) {
  try {
    body();
    Check(false, what + L": no error");
  } catch (const platform::ComError& error) {
    Check(error.Number() == number && Contains(Wide(error.Description()), description),
          what + L": " + std::to_wstring(error.Number()) + L" " + Wide(error.Description()));
  }
}

void ErrorNumbers() {
  struct Case {
    HRESULT hr;
    int32_t number;
  };
  const Case cases[] = {
      {DISP_E_UNKNOWNNAME, 438},
      {DISP_E_MEMBERNOTFOUND, 438},
      {DISP_E_TYPEMISMATCH, 13},
      {E_NOINTERFACE, 13},
      {DISP_E_BADINDEX, 9},
      {DISP_E_OVERFLOW, 6},
      {E_OUTOFMEMORY, 7},
      {DISP_E_PARAMNOTOPTIONAL, 5},
      {static_cast<HRESULT>(0x800A0005), 5},     // a Basic server's Err.Raise 5
      {static_cast<HRESULT>(0x800A1275), 4725},  // a Word error number
      {RPC_E_DISCONNECTED, platform::kErrServerGone},
      {E_FAIL, static_cast<int32_t>(E_FAIL)},
  };
  for (const Case& c : cases) {
    Check(com::ErrorNumberOf(c.hr) == c.number, L"HRESULT " + Hex(c.hr) + L" maps to " +
                                                    std::to_wstring(com::ErrorNumberOf(c.hr)) +
                                                    L", expected " + std::to_wstring(c.number));
  }
  // Without a text of its own the error gets the standard one, and the member's name.
  const platform::ComError error = com::ErrorOf(DISP_E_TYPEMISMATCH, nullptr, u"Count");
  Check(Contains(Wide(error.Description()), L"(Count)"), L"the description names the member");
  Check(Wide(error.Description()).size() > 8, L"the description has a standard text");
}

void CallsByName() {
  auto log = std::make_shared<CallLog>();
  FakeDispatch* child = FakeDispatch::Create(L"Child", log);
  FakeDispatch* object = FakeDispatch::Create(L"Object", log);
  object->AddText(L"Name", L"連絡先");
  object->AddInt(L"Count", 3);
  object->AddObject(L"Child", child);
  object->Add(L"Item", [](const std::vector<VARIANT>& args, VARIANT* result, EXCEPINFO*) {
    if (args.size() != 1 || V_VT(&args[0]) != VT_I4) return DISP_E_BADPARAMCOUNT;
    V_VT(result) = VT_I4;
    V_I4(result) = V_I4(&args[0]) * 10;
    return S_OK;
  });
  object->Add(L"Broken", [](const std::vector<VARIANT>&, VARIANT*, EXCEPINFO* info) {
    info->scode = static_cast<SCODE>(0x800A0005);
    info->bstrDescription = ::SysAllocString(L"壊れた引数");
    return DISP_E_EXCEPTION;
  });
  object->Add(L"Coded", [](const std::vector<VARIANT>&, VARIANT*, EXCEPINFO* info) {
    info->wCode = 1234;
    info->pfnDeferredFillIn = FillInLater;
    return DISP_E_EXCEPTION;
  });
  object->Add(L"Value", [](const std::vector<VARIANT>&, VARIANT*, EXCEPINFO*) { return S_OK; });
  object->Add(L"Nothing", [](const std::vector<VARIANT>&, VARIANT* result, EXCEPINFO*) {
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = nullptr;
    return S_OK;
  });
  {
    const Dispatch dispatch{ComPtr<IDispatch>(object)};
    Check(com::TextOf(dispatch.Get(u"Name")) == u"連絡先", L"a text property");
    Check(com::Int32Of(dispatch.Get(u"count")) == 3, L"names are found in any case");
    Check(com::Int32Of(dispatch.Get(u"Item", {ScopedVariant::Int32(4)})) == 40,
          L"an indexed property with its argument");
    const ComPtr<IDispatch> got = Dispatch::ObjectOf(dispatch.Get(u"Child"), u"Child");
    Check(got.Get() == static_cast<IDispatch*>(child), L"an object property");
    Check(!Dispatch::ObjectOf(dispatch.Get(u"Nothing"), u"Nothing"), L"Nothing is empty");
    ExpectError(L"a number is not an object", 13, L"(Count)",
                [&] { Dispatch::ObjectOf(dispatch.Get(u"Count"), u"Count"); });
    ExpectError(L"an unknown member", 438, L"(Missing)", [&] { dispatch.Call(u"Missing"); });
    ExpectError(L"a server's own error", 5, L"壊れた引数", [&] { dispatch.Call(u"Broken"); });
    ExpectError(L"a deferred description and wCode", 1234, L"filled in later",
                [&] { dispatch.Call(u"Coded"); });
    ExpectError(L"an empty reference", platform::kErrObjectNotSet, L"",
                [&] { Dispatch().Get(u"Name"); });
    log->clear();
    dispatch.Put(u"Value", ScopedVariant::Int32(7));
    dispatch.Put(u"Value", ScopedVariant::Dispatch(child));
    Check(*log == CallLog{L"Object.Value let(7)", L"Object.Value set(?)"},
          L"a put is a let for values and a set for objects");
  }
  object->Release();
  child->Release();
  Check(FakeDispatch::Live() == 0, L"every reference the calls took is released");
}

void Values() {
  const std::u16string withNul(u"a\0b", 3);
  com::ScopedBstr bstr(withNul);
  Check(bstr.Text() == withNul && ::SysStringLen(bstr.Get()) == 3, L"a BSTR keeps embedded NULs");
  Check(com::ScopedBstr::Text(nullptr).empty(), L"a null BSTR is the empty string");

  ScopedVariant text = ScopedVariant::String(u"添書票");
  ScopedVariant copy(text);
  Check(V_BSTR(&copy.Get()) != V_BSTR(&text.Get()) && com::TextOf(copy) == u"添書票",
        L"a copied VARIANT owns its own string");
  ScopedVariant moved(std::move(text));
  Check(text.Type() == VT_EMPTY && com::TextOf(moved) == u"添書票",
        L"a move leaves the source empty");

  LONG target = 42;
  ScopedVariant byRef;
  V_VT(byRef.Ptr()) = VT_I4 | VT_BYREF;
  V_I4REF(byRef.Ptr()) = &target;
  Check(com::Int32Of(byRef) == 42, L"a by-reference number is read through");
  Check(com::FromComVariant(ScopedVariant::Bool(true).Get()).ToFlag() == platform::kTrue,
        L"True is -1");
  ExpectError(L"an object is not a value", 13, L"",
              [] { com::FromComVariant(ScopedVariant::Dispatch(nullptr).Get()); });
  struct RoundTrip {
    platform::Variant value;
    VARTYPE type;
  };
  for (const RoundTrip& c : {RoundTrip{platform::Variant(), VT_EMPTY},
                             RoundTrip{platform::Variant::Bool(platform::kFalse), VT_BOOL},
                             RoundTrip{platform::Variant::Int32(-7), VT_I4},
                             RoundTrip{platform::Variant::Double(2.5), VT_R8},
                             RoundTrip{platform::Variant::Date(45000.5), VT_DATE},
                             RoundTrip{platform::Variant::String(u"宛先"), VT_BSTR}}) {
    const ScopedVariant v = com::ToComVariant(c.value);
    Check(v.Type() == c.type && com::FromComVariant(v.Get()) == c.value,
          L"a value keeps its kind through a VARIANT: " + Wide(c.value.ToString()));
  }
  com::ScopedSafeArray array = com::ScopedSafeArray::Create(VT_VARIANT, 0);
  Check(array.Get() != nullptr && array.Count() == 0, L"an empty custom array");
}

}  // namespace

int AutomationChecks() {
  ErrorNumbers();
  CallsByName();
  Values();
  OutlookAutomationChecks();
  WordAutomationChecks();
  return Failures() ? 1 : 0;
}

}  // namespace sendnote::windows::test
