#include "hostsim/SimObject.h"

#include <map>
#include <string>

#include "hostsim/LiveObjects.h"
#include "windows/com/ComPtr.h"
#include "windows/com/ScopedVariant.h"
#include "windows/com/WideText.h"

namespace sendnote::hostsim {
namespace {

// Live objects by the address of their whole model object; the simulator runs on one
// thread.
std::map<const void*, SimObject*>& Live() {
  static std::map<const void*, SimObject*> live;
  return live;
}

uint64_t g_invocations = 0;
uint64_t g_lookups = 0;

std::map<std::u16string, uint64_t>& ByMember() {
  static std::map<std::u16string, uint64_t> counts;
  return counts;
}

// Rejections to come, by application.
std::map<std::u16string, int>& Rejections() {
  static std::map<std::u16string, int> rejections;
  return rejections;
}

// Whether this call is one to refuse, counting it down.
bool Rejects(const std::u16string& application) {
  auto it = Rejections().find(application);
  if (it == Rejections().end() || it->second == 0) return false;
  if (it->second > 0) --it->second;
  return true;
}

const void* IdentityOf(const platform::Object* model) { return dynamic_cast<const void*>(model); }

}  // namespace

SimObject::SimObject(std::shared_ptr<platform::Object> model, const DispatchType& type)
    : model_(std::move(model)), type_(type) {
  Live()[IdentityOf(model_.get())] = this;
  LiveObjects::Created();
}

SimObject::~SimObject() {
  Live().erase(IdentityOf(model_.get()));
  LiveObjects::Destroyed();
}

SimObject* SimObject::Find(const platform::Object* model) {
  auto it = Live().find(IdentityOf(model));
  return it == Live().end() ? nullptr : it->second;
}

HRESULT SimObject::QueryOther(REFIID iid, void** object) {
  if (iid != kIidSimObject) return E_NOINTERFACE;
  *object = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

HRESULT SimObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT SimObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

void SimObject::RejectCalls(std::u16string application, int count) {
  Rejections()[std::move(application)] = count;
}

uint64_t SimObject::Invocations() { return g_invocations; }
const std::map<std::u16string, uint64_t>& SimObject::InvocationsByMember() { return ByMember(); }
uint64_t SimObject::NameLookups() { return g_lookups; }

HRESULT SimObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  ++g_lookups;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  // Named arguments are not part of these tables.
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return com::Barrier([&] {
    ids[0] = type_.IdOf(com::FromWide(names[0]));
    return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
  });
}

HRESULT SimObject::Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params,
                          VARIANT* result, EXCEPINFO* exception, UINT* badArg) {
  // The call may drop the caller's last other reference to this object.
  com::ComPtr<IDispatch> self(this);
  return com::InvokeBarrier(exception, type_.ApplicationName(), result, [&] {
    return Call(id, lcid, flags, params, result, exception, badArg);
  });
}

HRESULT SimObject::Call(DISPID id, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* badArg) {
  ++g_invocations;
  if (Rejects(type_.ApplicationName())) return RPC_E_CALL_REJECTED;
  const DispatchType::Member* member = type_.Find(id);
  ++ByMember()[type_.ApplicationName() + u": " + type_.Name() + u"." +
               (member ? member->name : u"?")];
  if (!member) return DISP_E_MEMBERNOTFOUND;
  const bool write = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (params && params->cNamedArgs > 0 &&
      !(write && params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT)) {
    return DISP_E_NONAMEDARGS;
  }
  if (write ? !member->write : !member->read) return DISP_E_MEMBERNOTFOUND;
  if (result) ::VariantInit(result);
  if (!write && member->forwardsArguments && params && params->cArgs > 0) {
    com::ScopedVariant collection;
    Invocation get(DISPATCH_PROPERTYGET, nullptr, collection.Receive());
    member->read(*model_, get);
    if (collection.Type() != VT_DISPATCH || !V_DISPATCH(&collection.Get())) {
      platform::Raise(platform::kErrObjectNotSet);
    }
    return V_DISPATCH(&collection.Get())
        ->Invoke(DISPID_VALUE, IID_NULL, lcid, DISPATCH_METHOD | DISPATCH_PROPERTYGET, params,
                 result, exception, badArg);
  }
  Invocation call(flags, params, result);
  (write ? member->write : member->read)(*model_, call);
  return S_OK;
}

}  // namespace sendnote::hostsim
