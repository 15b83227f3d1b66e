#include "windows/com/ScopedSafeArray.h"

#include <utility>

#include "platform/ComError.h"

namespace sendnote::com {

ScopedSafeArray::ScopedSafeArray(ScopedSafeArray&& other) noexcept
    : array_(std::exchange(other.array_, nullptr)) {}

ScopedSafeArray& ScopedSafeArray::operator=(ScopedSafeArray&& other) noexcept {
  if (this != &other) {
    Reset();
    array_ = std::exchange(other.array_, nullptr);
  }
  return *this;
}

ScopedSafeArray::~ScopedSafeArray() { Reset(); }

ScopedSafeArray ScopedSafeArray::Create(VARTYPE type, ULONG count) {
  SAFEARRAY* array = ::SafeArrayCreateVector(type, 0, count);
  if (!array) platform::Raise(7);
  return ScopedSafeArray(array);
}

void ScopedSafeArray::Reset() {
  if (SAFEARRAY* a = std::exchange(array_, nullptr)) ::SafeArrayDestroy(a);
}

SAFEARRAY* ScopedSafeArray::Detach() { return std::exchange(array_, nullptr); }

long ScopedSafeArray::Count() const {
  if (!array_ || ::SafeArrayGetDim(array_) < 1) return 0;
  LONG lower = 0;
  LONG upper = -1;
  if (FAILED(::SafeArrayGetLBound(array_, 1, &lower)) ||
      FAILED(::SafeArrayGetUBound(array_, 1, &upper))) {
    return 0;
  }
  return upper - lower + 1;
}

}  // namespace sendnote::com
