// A late-bound automation object of the test client's own: members by name, each a
// function of the arguments (first to last), every call written to a shared log.
#pragma once

#include "windows/com/Win32.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "windows/com/ComObject.h"

namespace sendnote::windows::test {

using CallLog = std::vector<std::wstring>;

class FakeDispatch final : public com::Object<IDispatch> {
 public:
  // `exception` is the caller's EXCEPINFO (may be null) for DISP_E_EXCEPTION.
  using Member = std::function<HRESULT(const std::vector<VARIANT>& args, VARIANT* result,
                                       EXCEPINFO* exception)>;

  FakeDispatch(std::wstring name, std::shared_ptr<CallLog> log);

  // Creates one with a reference for the caller.
  static FakeDispatch* Create(std::wstring name, std::shared_ptr<CallLog> log);

  void Add(const std::wstring& member, Member body);
  // A member returning `object` (AddRef'd for each call).
  void AddObject(const std::wstring& member, IDispatch* object);
  void AddInt(const std::wstring& member, int32_t value);
  void AddText(const std::wstring& member, const std::wstring& value);
  // Answers QueryInterface for IConnectionPointContainer with `events` (kept alive).
  void SetEvents(IUnknown* events);
  // Answers QueryInterface for `iid` with `object` (kept alive), as a proxy answers
  // IClientSecurity.
  void SetInterface(const IID& iid, IUnknown* object);
  // Gives the object type information of interface `iid` declaring the members `declared`
  // (with this object's DISPIDs); the others it still resolves itself.
  void SetTypeInfo(const IID& iid, std::vector<std::wstring> declared);

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override;

  // Live objects of this class, to show the add-in released what it was given.
  static long Live();
  // GetIDsOfNames calls on every object of this class so far.
  static long NameLookups();

 private:
  ~FakeDispatch() override;
  // The events' container and the extra interface, which are other objects'.
  HRESULT QueryOther(REFIID iid, void** object) override;

  std::wstring name_;
  std::shared_ptr<CallLog> log_;
  std::vector<std::wstring> names_;
  std::vector<Member> members_;
  IUnknown* events_ = nullptr;
  ITypeInfo* type_info_ = nullptr;
  IID extra_iid_{};
  IUnknown* extra_ = nullptr;
};

}  // namespace sendnote::windows::test
