// One call of an exposed member: its positional arguments first to last (by-reference ones
// read through), the value of a property write, and the result slot. Conversions raise
// the one platform error, which the server turns into an EXCEPINFO.
#pragma once

#include "windows/com/Win32.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Flag.h"
#include "platform/Object.h"
#include "platform/Variant.h"
#include "windows/com/ScopedVariant.h"

namespace sendnote::hostsim {

// Basic's "Argument not optional".
inline constexpr int32_t kErrArgumentNotOptional = 449;

class Invocation {
 public:
  Invocation(WORD flags, const DISPPARAMS* params, VARIANT* result);

  bool IsWrite() const { return isWrite_; }
  size_t Count() const { return args_.size(); }
  // Given, and not left out (VT_ERROR with DISP_E_PARAMNOTFOUND, as Basic passes one).
  bool Has(size_t index) const;
  // Raises 449 for an argument that is missing.
  const VARIANT& Arg(size_t index) const;
  // The value of a property write (raises 449 for a call that is not one).
  const VARIANT& Written() const;

  std::u16string Text(size_t index) const { return TextOf(Arg(index)); }
  int32_t Int(size_t index) const { return IntOf(Arg(index)); }
  platform::Flag Flag(size_t index) const { return FlagOf(Arg(index)); }
  int32_t IntOr(size_t index, int32_t fallback) const { return Has(index) ? Int(index) : fallback; }
  platform::Flag FlagOr(size_t index, platform::Flag fallback) const {
    return Has(index) ? Flag(index) : fallback;
  }
  std::u16string TextOr(size_t index, std::u16string_view fallback) const {
    return Has(index) ? Text(index) : std::u16string(fallback);
  }

  // Conversions as the automation runtime makes them; Type mismatch (13) when impossible.
  static std::u16string TextOf(const VARIANT& value);
  static int32_t IntOf(const VARIANT& value);
  static platform::Flag FlagOf(const VARIANT& value);
  static platform::Variant ValueOf(const VARIANT& value);
  // A simulator object among the arguments; Nothing gives empty, anything else raises 13.
  static std::shared_ptr<platform::Object> ObjectOf(const VARIANT& value);

  void Return(const com::ScopedVariant& value);
  void ReturnText(std::u16string_view text) { Return(com::ScopedVariant::String(text)); }
  void ReturnInt(int32_t value) { Return(com::ScopedVariant::Int32(value)); }
  void ReturnFlag(platform::Flag value) { Return(com::ScopedVariant::Bool(value != 0)); }
  void ReturnValue(const platform::Variant& value);
  // Exposes the object (Nothing for an empty one).
  void ReturnObject(const std::shared_ptr<platform::Object>& object);

 private:
  std::vector<com::ScopedVariant> args_;  // copies, by-reference arguments read through
  com::ScopedVariant written_;
  bool isWrite_;
  VARIANT* result_;
};

}  // namespace sendnote::hostsim
