// An exposed model object: IDispatch over a dispatch table, with no type information.
// There is one live COM object per model object, so that identity comparisons through
// IUnknown hold as they do in the real servers; it counts itself among the live objects.
#pragma once

#include "windows/com/Win32.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "hostsim/DispatchType.h"
#include "platform/ComError.h"
#include "platform/Object.h"
#include "windows/com/ComObject.h"

namespace sendnote::hostsim {

// Answered by the simulator's own objects only: hands out the SimObject itself.
inline constexpr IID kIidSimObject = {
    0x5e1d0f3a, 0x7c2b, 0x4d61, {0x9a, 0x4e, 0x2b, 0x83, 0x11, 0x6c, 0xd0, 0x27}};

// Every method ends behind the kit's barrier, as a real server's does: a failure of the
// model reaches the caller as an EXCEPINFO, never as an exception.
class SimObject : public com::Object<IDispatch> {
 public:
  SimObject(std::shared_ptr<platform::Object> model, const DispatchType& type);

  // The live object of a model object, or null.
  static SimObject* Find(const platform::Object* model);
  // Calls into every simulator object so far: each one a round trip to Office in the real
  // desktop. Name lookups (GetIDsOfNames) and invocations are counted apart.
  static uint64_t Invocations();
  static uint64_t NameLookups();
  // Invocations so far by application and "Type.Member", for the click's cost.
  static const std::map<std::u16string, uint64_t>& InvocationsByMember();
  // Makes the objects of `application` ("Microsoft Word") refuse their next `count` calls
  // (-1: every call) as a busy server does, with RPC_E_CALL_REJECTED; 0 ends it.
  static void RejectCalls(std::u16string application, int count);

  const std::shared_ptr<platform::Object>& Model() const { return model_; }
  const DispatchType& Type() const { return type_; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* badArg) override;

 protected:
  ~SimObject() override;

 private:
  // kIidSimObject: the object itself, to the simulator's own code.
  HRESULT QueryOther(REFIID iid, void** object) override;
  HRESULT Call(DISPID id, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
               EXCEPINFO* exception, UINT* badArg);

  std::shared_ptr<platform::Object> model_;
  const DispatchType& type_;
};

}  // namespace sendnote::hostsim
