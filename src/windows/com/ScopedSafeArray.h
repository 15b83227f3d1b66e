// An owned SAFEARRAY, destroyed with its elements on destruction.
#pragma once

#include "windows/com/Win32.h"

namespace sendnote::com {

class ScopedSafeArray {
 public:
  ScopedSafeArray() = default;
  // Adopts an array the caller owns.
  explicit ScopedSafeArray(SAFEARRAY* array) : array_(array) {}
  ScopedSafeArray(const ScopedSafeArray&) = delete;
  ScopedSafeArray& operator=(const ScopedSafeArray&) = delete;
  ScopedSafeArray(ScopedSafeArray&& other) noexcept;
  ScopedSafeArray& operator=(ScopedSafeArray&& other) noexcept;
  ~ScopedSafeArray();

  // An empty one-dimensional array of `type` (for example the empty custom array the
  // add-in events carry). Raises Out of memory (7) when it cannot be made.
  static ScopedSafeArray Create(VARTYPE type, ULONG count);

  void Reset();
  SAFEARRAY* Get() const { return array_; }
  SAFEARRAY* Detach();
  // Elements in the first dimension (0 for a null array).
  long Count() const;

 private:
  SAFEARRAY* array_ = nullptr;
};

}  // namespace sendnote::com
