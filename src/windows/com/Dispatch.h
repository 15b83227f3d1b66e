// Call-by-name over IDispatch: property get and put and method calls, resolved with
// GetIDsOfNames (each name once, MemberIds.h) and made with Invoke, as late-bound Basic
// makes them. Failures raise the one platform error (HResultError.h).
#pragma once

#include "windows/com/Win32.h"

#include <initializer_list>
#include <string>
#include <string_view>

#include "windows/com/ComPtr.h"
#include "windows/com/MemberIds.h"
#include "windows/com/ScopedVariant.h"

namespace sendnote::com {

class Dispatch {
 public:
  Dispatch() = default;
  explicit Dispatch(ComPtr<IDispatch> object) : object_(std::move(object)) {}

  // Reads a property, with arguments for indexed ones (Item(1)).
  ScopedVariant Get(std::u16string_view name, std::initializer_list<ScopedVariant> args = {}) const;
  // Writes a property; object values are assigned by reference (Basic's Set).
  void Put(std::u16string_view name, const ScopedVariant& value) const;
  // Calls a method; the result is empty for one that returns nothing.
  ScopedVariant Call(std::u16string_view name,
                     std::initializer_list<ScopedVariant> args = {}) const;

  // The object a result holds; raises Type mismatch (13) for a non-object value. Nothing
  // (a null object) gives an empty pointer.
  static ComPtr<IDispatch> ObjectOf(const ScopedVariant& value, std::u16string_view member);

  IDispatch* Get() const { return object_.Get(); }
  explicit operator bool() const { return static_cast<bool>(object_); }

 private:
  DISPID IdOf(std::u16string_view name) const;
  ScopedVariant Invoke(std::u16string_view name, WORD flags,
                       std::initializer_list<ScopedVariant> args,
                       const ScopedVariant* putValue) const;

  ComPtr<IDispatch> object_;
  mutable MemberIds ids_;
};

}  // namespace sendnote::com
