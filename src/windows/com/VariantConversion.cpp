#include "windows/com/VariantConversion.h"

#include "windows/com/HResultError.h"
#include "windows/com/ScopedBstr.h"

namespace sendnote::com {

ScopedVariant ToComVariant(const platform::Variant& value) {
  using Kind = platform::Variant::Kind;
  ScopedVariant result;
  VARIANT* v = result.Ptr();
  switch (value.kind()) {
    case Kind::kEmpty:
      return result;
    case Kind::kBool:
      return ScopedVariant::Bool(value.ToFlag() != platform::kFalse);
    case Kind::kInt32:
      return ScopedVariant::Int32(value.ToInt32());
    case Kind::kDouble:
      V_VT(v) = VT_R8;
      V_R8(v) = value.ToDouble();
      return result;
    case Kind::kDate:
      V_VT(v) = VT_DATE;
      V_DATE(v) = value.ToDouble();
      return result;
    case Kind::kString:
      return ScopedVariant::String(value.ToString());
  }
  return result;
}

platform::Variant FromComVariant(const VARIANT& value) {
  switch (V_VT(&value)) {
    case VT_EMPTY:
      return {};
    case VT_BOOL:
      return platform::Variant::Bool(V_BOOL(&value) ? platform::kTrue : platform::kFalse);
    case VT_UI1:
      return platform::Variant::Int32(V_UI1(&value));
    case VT_I2:
      return platform::Variant::Int32(V_I2(&value));
    case VT_I4:
      return platform::Variant::Int32(V_I4(&value));
    case VT_R4:
      return platform::Variant::Double(V_R4(&value));
    case VT_R8:
      return platform::Variant::Double(V_R8(&value));
    case VT_DATE:
      return platform::Variant::Date(V_DATE(&value));
    case VT_BSTR:
      return platform::Variant::String(ScopedBstr::Text(V_BSTR(&value)));
    default:
      break;
  }
  // By-reference values (VT_BYREF | ...) are read through to what they point at.
  if (V_VT(&value) & VT_BYREF) {
    VARIANT copy;
    ::VariantInit(&copy);
    if (SUCCEEDED(::VariantCopyInd(&copy, const_cast<VARIANT*>(&value)))) {
      platform::Variant result;
      try {
        result = FromComVariant(copy);
      } catch (...) {
        ::VariantClear(&copy);
        throw;
      }
      ::VariantClear(&copy);
      return result;
    }
  }
  throw ErrorOf(DISP_E_TYPEMISMATCH, nullptr, {});
}

std::u16string TextOf(const ScopedVariant& value) { return FromComVariant(value.Get()).ToString(); }

int32_t Int32Of(const ScopedVariant& value) { return FromComVariant(value.Get()).ToInt32(); }

platform::Flag FlagOf(const ScopedVariant& value) { return FromComVariant(value.Get()).ToFlag(); }

}  // namespace sendnote::com
