#include "windows/com/ScopedBstr.h"

#include <utility>

#include "platform/ComError.h"

namespace sendnote::com {

ScopedBstr::ScopedBstr(std::u16string_view text)
    : value_(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                 static_cast<UINT>(text.size()))) {
  if (!value_) platform::Raise(7);
}

ScopedBstr::ScopedBstr(ScopedBstr&& other) noexcept
    : value_(std::exchange(other.value_, nullptr)) {}

ScopedBstr& ScopedBstr::operator=(ScopedBstr&& other) noexcept {
  if (this != &other) {
    Reset();
    value_ = std::exchange(other.value_, nullptr);
  }
  return *this;
}

ScopedBstr::~ScopedBstr() { Reset(); }

ScopedBstr ScopedBstr::Adopt(BSTR value) {
  ScopedBstr result;
  result.value_ = value;
  return result;
}

void ScopedBstr::Reset() {
  if (BSTR v = std::exchange(value_, nullptr)) ::SysFreeString(v);
}

BSTR* ScopedBstr::Receive() {
  Reset();
  return &value_;
}

BSTR ScopedBstr::Detach() { return std::exchange(value_, nullptr); }

std::u16string ScopedBstr::Text(BSTR value) {
  if (!value) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(value), ::SysStringLen(value));
}

}  // namespace sendnote::com
