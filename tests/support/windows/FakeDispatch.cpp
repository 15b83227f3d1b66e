#include "tests/support/windows/FakeDispatch.h"

#include <algorithm>
#include <atomic>
#include <cwchar>

#include "tests/support/windows/FakeTypeInfo.h"

namespace sendnote::windows::test {
namespace {
std::atomic<long> g_live{0};
std::atomic<long> g_lookups{0};

std::wstring Describe(const VARIANT& v) {
  VARIANT text;
  ::VariantInit(&text);
  std::wstring result = L"?";
  if (SUCCEEDED(::VariantChangeType(&text, const_cast<VARIANT*>(&v), 0, VT_BSTR))) {
    result.assign(V_BSTR(&text), ::SysStringLen(V_BSTR(&text)));
  }
  ::VariantClear(&text);
  return result;
}
}  // namespace

FakeDispatch::FakeDispatch(std::wstring name, std::shared_ptr<CallLog> log)
    : name_(std::move(name)), log_(std::move(log)) {
  ++g_live;
}

FakeDispatch::~FakeDispatch() {
  if (events_) events_->Release();
  if (type_info_) type_info_->Release();
  if (extra_) extra_->Release();
  --g_live;
}

void FakeDispatch::SetEvents(IUnknown* events) {
  events->AddRef();
  if (events_) events_->Release();
  events_ = events;
}

long FakeDispatch::Live() { return g_live; }

void FakeDispatch::SetInterface(const IID& iid, IUnknown* object) {
  object->AddRef();
  if (extra_) extra_->Release();
  extra_iid_ = iid;
  extra_ = object;
}

long FakeDispatch::NameLookups() { return g_lookups; }

void FakeDispatch::SetTypeInfo(const IID& iid, std::vector<std::wstring> declared) {
  if (type_info_) type_info_->Release();
  // The type information reads this object's names: callers that keep it keep the
  // object too.
  type_info_ = FakeTypeInfo::Create(iid, [this, declared = std::move(declared)](const wchar_t* name,
                                                                                MEMBERID* id) {
    const auto known = [name](const std::wstring& n) { return ::_wcsicmp(n.c_str(), name) == 0; };
    if (std::none_of(declared.begin(), declared.end(), known)) return DISP_E_UNKNOWNNAME;
    const auto at = std::find_if(names_.begin(), names_.end(), known);
    if (at == names_.end()) return DISP_E_UNKNOWNNAME;
    *id = static_cast<MEMBERID>(at - names_.begin() + 1);
    return S_OK;
  });
}

FakeDispatch* FakeDispatch::Create(std::wstring name, std::shared_ptr<CallLog> log) {
  return new FakeDispatch(std::move(name), std::move(log));
}

void FakeDispatch::Add(const std::wstring& member, Member body) {
  names_.push_back(member);
  members_.push_back(std::move(body));
}

void FakeDispatch::AddObject(const std::wstring& member, IDispatch* object) {
  object->AddRef();
  // The member keeps its object alive as long as this object lives.
  auto owned = std::shared_ptr<IDispatch>(object, [](IDispatch* p) { p->Release(); });
  Add(member, [owned](const std::vector<VARIANT>&, VARIANT* result, EXCEPINFO*) {
    if (!result) return S_OK;
    owned->AddRef();
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = owned.get();
    return S_OK;
  });
}

void FakeDispatch::AddInt(const std::wstring& member, int32_t value) {
  Add(member, [value](const std::vector<VARIANT>&, VARIANT* result, EXCEPINFO*) {
    if (!result) return S_OK;
    V_VT(result) = VT_I4;
    V_I4(result) = value;
    return S_OK;
  });
}

void FakeDispatch::AddText(const std::wstring& member, const std::wstring& value) {
  Add(member, [value](const std::vector<VARIANT>&, VARIANT* result, EXCEPINFO*) {
    if (!result) return S_OK;
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    return S_OK;
  });
}

HRESULT FakeDispatch::QueryOther(REFIID iid, void** object) {
  if (iid == IID_IConnectionPointContainer && events_) return events_->QueryInterface(iid, object);
  if (extra_ && iid == extra_iid_) return extra_->QueryInterface(iid, object);
  return E_NOINTERFACE;
}

HRESULT FakeDispatch::GetTypeInfoCount(UINT* count) {
  *count = type_info_ ? 1 : 0;
  return S_OK;
}

HRESULT FakeDispatch::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  *info = nullptr;
  if (!type_info_) return E_NOTIMPL;
  if (index != 0) return DISP_E_BADINDEX;
  type_info_->AddRef();
  *info = type_info_;
  return S_OK;
}

HRESULT FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  ++g_lookups;
  if (count != 1) return DISP_E_UNKNOWNNAME;
  for (size_t i = 0; i < names_.size(); ++i) {
    if (::_wcsicmp(names_[i].c_str(), names[0]) == 0) {
      ids[0] = static_cast<DISPID>(i + 1);
      return S_OK;
    }
  }
  ids[0] = DISPID_UNKNOWN;
  return com::Barrier([&] {
    log_->push_back(name_ + L"." + names[0] + L" unknown");
    return DISP_E_UNKNOWNNAME;
  });
}

HRESULT FakeDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* exception, UINT*) {
  const std::u16string_view source(reinterpret_cast<const char16_t*>(name_.data()), name_.size());
  return com::InvokeBarrier(exception, source, result, [&]() -> HRESULT {
    if (id < 1 || static_cast<size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    std::vector<VARIANT> args;
    for (UINT i = params ? params->cArgs : 0; i > 0; --i) args.push_back(params->rgvarg[i - 1]);
    std::wstring call = name_ + L"." + names_[id - 1];
    if (flags & DISPATCH_PROPERTYPUT) call += L" let";
    if (flags & DISPATCH_PROPERTYPUTREF) call += L" set";
    if (!args.empty()) {
      call += L"(";
      for (size_t i = 0; i < args.size(); ++i) call += (i ? L"," : L"") + Describe(args[i]);
      call += L")";
    }
    log_->push_back(call);
    return members_[id - 1](args, result, exception);
  });
}

}  // namespace sendnote::windows::test
