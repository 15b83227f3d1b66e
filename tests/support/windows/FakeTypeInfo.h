// The type information of a fake automation object: an interface identity (IID) and the
// names it declares, resolved by a function of the owner. Everything else is not
// implemented. Counts its name lookups, to show what the callers cache.
#pragma once

#include "windows/com/Win32.h"

#include <functional>
#include <string>

#include "windows/com/ComObject.h"

namespace sendnote::windows::test {

class FakeTypeInfo final : public com::Object<ITypeInfo> {
 public:
  using Resolve = std::function<HRESULT(const wchar_t* name, MEMBERID* id)>;

  // Creates one with a reference for the caller.
  static FakeTypeInfo* Create(const IID& iid, Resolve resolve);

  // GetIDsOfNames calls on every object of this class so far.
  static long NameLookups();

  HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** attr) override;
  void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* attr) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) override;
  HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context,
                                             BSTR* helpFile) override;

  HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT, FUNCDESC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetNames(MEMBERID, BSTR*, UINT, UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, PVOID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
  void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) override {}
  void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}

 private:
  FakeTypeInfo(const IID& iid, Resolve resolve);
  ~FakeTypeInfo() override = default;

  IID iid_;
  Resolve resolve_;
  TYPEATTR attr_{};
};

}  // namespace sendnote::windows::test
