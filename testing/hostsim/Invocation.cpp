#include "hostsim/Invocation.h"

#include "hostsim/Expose.h"
#include "platform/ComError.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::hostsim {
namespace {

bool IsMissing(const VARIANT& value) {
  return V_VT(&value) == VT_ERROR && V_ERROR(&value) == DISP_E_PARAMNOTFOUND;
}

com::ScopedVariant Changed(const VARIANT& value, VARTYPE type) {
  com::ScopedVariant changed;
  const HRESULT hr = ::VariantChangeType(changed.Receive(), const_cast<VARIANT*>(&value), 0, type);
  if (hr == DISP_E_OVERFLOW) platform::Raise(platform::kErrOverflow);
  if (FAILED(hr)) platform::Raise(platform::kErrTypeMismatch);
  return changed;
}

}  // namespace

Invocation::Invocation(WORD flags, const DISPPARAMS* params, VARIANT* result)
    : isWrite_((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0), result_(result) {
  if (!params) return;
  UINT positional = params->cArgs;
  // The written value is the one named DISPID_PROPERTYPUT, first in rgvarg.
  if (isWrite_ && params->cArgs > 0) {
    ::VariantCopyInd(written_.Receive(), &params->rgvarg[0]);
    positional = params->cArgs - 1;
  }
  const UINT offset = params->cArgs - positional;
  for (UINT i = positional; i > 0; --i) {
    com::ScopedVariant copy;
    // By-reference arguments are read through; VariantCopyInd does that.
    ::VariantCopyInd(copy.Receive(), &params->rgvarg[offset + i - 1]);
    args_.push_back(std::move(copy));
  }
}

bool Invocation::Has(size_t index) const {
  return index < args_.size() && !IsMissing(args_[index].Get());
}

const VARIANT& Invocation::Arg(size_t index) const {
  if (!Has(index)) platform::Raise(kErrArgumentNotOptional, u"Argument not optional");
  return args_[index].Get();
}

const VARIANT& Invocation::Written() const {
  if (!isWrite_) platform::Raise(kErrArgumentNotOptional, u"Argument not optional");
  return written_.Get();
}

std::u16string Invocation::TextOf(const VARIANT& value) {
  com::ScopedVariant copy;
  ::VariantCopy(copy.Receive(), const_cast<VARIANT*>(&value));
  // CStr: Null and objects do not convert.
  return com::TextOf(copy);
}

int32_t Invocation::IntOf(const VARIANT& value) { return V_I4(&Changed(value, VT_I4).Get()); }

platform::Flag Invocation::FlagOf(const VARIANT& value) {
  return V_BOOL(&Changed(value, VT_BOOL).Get()) ? platform::kTrue : platform::kFalse;
}

platform::Variant Invocation::ValueOf(const VARIANT& value) { return com::FromComVariant(value); }

std::shared_ptr<platform::Object> Invocation::ObjectOf(const VARIANT& value) {
  if (V_VT(&value) == VT_DISPATCH || V_VT(&value) == VT_UNKNOWN) {
    IUnknown* object = V_VT(&value) == VT_DISPATCH ? V_DISPATCH(&value) : V_UNKNOWN(&value);
    if (!object) return nullptr;
    if (auto model = ModelOf(object)) return model;
  }
  platform::Raise(platform::kErrTypeMismatch);
}

void Invocation::Return(const com::ScopedVariant& value) {
  if (!result_) return;
  ::VariantClear(result_);
  ::VariantCopy(result_, const_cast<VARIANT*>(&value.Get()));
}

void Invocation::ReturnValue(const platform::Variant& value) { Return(com::ToComVariant(value)); }

void Invocation::ReturnObject(const std::shared_ptr<platform::Object>& object) {
  com::ComPtr<IDispatch> exposed = Expose(object);
  Return(com::ScopedVariant::Dispatch(exposed.Get()));
}

}  // namespace sendnote::hostsim
