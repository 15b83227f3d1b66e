#include "windows/com/ScopedVariant.h"

#include "platform/ComError.h"
#include "windows/com/ScopedBstr.h"

namespace sendnote::com {

ScopedVariant::ScopedVariant() { ::VariantInit(&value_); }

ScopedVariant::ScopedVariant(const ScopedVariant& other) : ScopedVariant() {
  const HRESULT hr = ::VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
  if (FAILED(hr)) platform::Raise(7);
}

ScopedVariant& ScopedVariant::operator=(const ScopedVariant& other) {
  if (this == &other) return *this;
  ScopedVariant copy(other);
  *this = std::move(copy);
  return *this;
}

// A VARIANT is a plain struct: moving it bitwise transfers its ownership.
ScopedVariant::ScopedVariant(ScopedVariant&& other) noexcept : value_(other.value_) {
  ::VariantInit(&other.value_);
}

ScopedVariant& ScopedVariant::operator=(ScopedVariant&& other) noexcept {
  if (this != &other) {
    Reset();
    value_ = other.value_;
    ::VariantInit(&other.value_);
  }
  return *this;
}

ScopedVariant::~ScopedVariant() { Reset(); }

ScopedVariant ScopedVariant::Int32(int32_t value) {
  ScopedVariant v;
  V_VT(&v.value_) = VT_I4;
  V_I4(&v.value_) = value;
  return v;
}

ScopedVariant ScopedVariant::Bool(bool value) {
  ScopedVariant v;
  V_VT(&v.value_) = VT_BOOL;
  V_BOOL(&v.value_) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

ScopedVariant ScopedVariant::String(std::u16string_view text) {
  ScopedBstr bstr(text);
  ScopedVariant v;
  V_VT(&v.value_) = VT_BSTR;
  V_BSTR(&v.value_) = bstr.Detach();
  return v;
}

ScopedVariant ScopedVariant::Dispatch(IDispatch* object) {
  ScopedVariant v;
  if (object) object->AddRef();
  V_VT(&v.value_) = VT_DISPATCH;
  V_DISPATCH(&v.value_) = object;
  return v;
}

ScopedVariant ScopedVariant::Missing() {
  ScopedVariant v;
  V_VT(&v.value_) = VT_ERROR;
  V_ERROR(&v.value_) = DISP_E_PARAMNOTFOUND;
  return v;
}

void ScopedVariant::Reset() {
  ::VariantClear(&value_);
  ::VariantInit(&value_);
}

VARIANT* ScopedVariant::Receive() {
  Reset();
  return &value_;
}

}  // namespace sendnote::com
