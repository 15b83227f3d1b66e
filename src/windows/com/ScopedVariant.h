// An owned VARIANT: initialised empty, cleared (releasing strings, objects and arrays) on
// destruction and before every new value.
#pragma once

#include "windows/com/Win32.h"

#include <string_view>

namespace sendnote::com {

class ScopedVariant {
 public:
  ScopedVariant();
  ScopedVariant(const ScopedVariant& other);
  ScopedVariant& operator=(const ScopedVariant& other);
  ScopedVariant(ScopedVariant&& other) noexcept;
  ScopedVariant& operator=(ScopedVariant&& other) noexcept;
  ~ScopedVariant();

  static ScopedVariant Int32(int32_t value);
  static ScopedVariant Bool(bool value);
  static ScopedVariant String(std::u16string_view text);
  // Takes a new reference to `object` (may be null: an object variant of Nothing).
  static ScopedVariant Dispatch(IDispatch* object);
  // An optional argument left out (VT_ERROR, DISP_E_PARAMNOTFOUND), as Basic passes one.
  static ScopedVariant Missing();

  void Reset();
  // For out-parameters: clears the current value first.
  VARIANT* Receive();

  const VARIANT& Get() const { return value_; }
  VARIANT* Ptr() { return &value_; }
  VARTYPE Type() const { return V_VT(&value_); }

 private:
  VARIANT value_;
};

}  // namespace sendnote::com
