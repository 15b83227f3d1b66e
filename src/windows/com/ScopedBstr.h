// An owned BSTR: allocated from UTF-16 text, freed on destruction.
#pragma once

#include "windows/com/Win32.h"

#include <string>
#include <string_view>

namespace sendnote::com {

class ScopedBstr {
 public:
  ScopedBstr() = default;
  // Raises Out of memory (7) when the string cannot be allocated.
  explicit ScopedBstr(std::u16string_view text);
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  ScopedBstr(ScopedBstr&& other) noexcept;
  ScopedBstr& operator=(ScopedBstr&& other) noexcept;
  ~ScopedBstr();

  // Adopts a BSTR the caller owns.
  static ScopedBstr Adopt(BSTR value);
  void Reset();
  // For out-parameters: frees the current string first.
  BSTR* Receive();
  BSTR Detach();

  BSTR Get() const { return value_; }
  // The text, embedded NULs included; a null BSTR is the empty string.
  std::u16string Text() const { return Text(value_); }
  static std::u16string Text(BSTR value);

 private:
  BSTR value_ = nullptr;
};

}  // namespace sendnote::com
