#include "tests/support/windows/FakeTypeInfo.h"

#include <atomic>
namespace sendnote::windows::test {
namespace {
std::atomic<long> g_lookups{0};
}  // namespace

FakeTypeInfo::FakeTypeInfo(const IID& iid, Resolve resolve)
    : iid_(iid), resolve_(std::move(resolve)) {
  attr_.guid = iid;
  attr_.typekind = TKIND_DISPATCH;
  attr_.cbSizeVft = 7 * sizeof(void*);
}

FakeTypeInfo* FakeTypeInfo::Create(const IID& iid, Resolve resolve) {
  return new FakeTypeInfo(iid, std::move(resolve));
}

long FakeTypeInfo::NameLookups() { return g_lookups; }

HRESULT FakeTypeInfo::GetTypeAttr(TYPEATTR** attr) {
  *attr = nullptr;
  return com::Barrier([&] {
    *attr = new TYPEATTR(attr_);
    return S_OK;
  });
}

void FakeTypeInfo::ReleaseTypeAttr(TYPEATTR* attr) { delete attr; }

HRESULT FakeTypeInfo::GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) {
  ++g_lookups;
  if (count != 1) return E_INVALIDARG;
  return com::Barrier([&] { return resolve_(names[0], ids); });
}

HRESULT FakeTypeInfo::GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context,
                                       BSTR* helpFile) {
  if (id != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
  if (name) *name = ::SysAllocString(L"FakeInterface");
  if (doc) *doc = nullptr;
  if (context) *context = 0;
  if (helpFile) *helpFile = nullptr;
  return S_OK;
}

}  // namespace sendnote::windows::test
