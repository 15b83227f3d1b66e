// The error a call raised, for tests of any implementation of the contracts.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/ComError.h"

namespace sendnote::test_support {

// Returns the error `call` raised, or empty when it raised none.
inline std::optional<platform::ComError> ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const platform::ComError& e) {
    return e;
  }
  return std::nullopt;
}

// Returns the number of the error `call` raised, or 0 when it raised none.
inline int32_t ErrorNumberOf(const std::function<void()>& call) {
  const std::optional<platform::ComError> error = ErrorOf(call);
  return error ? error->Number() : 0;
}

}  // namespace sendnote::test_support
