// The barrier that ends every entry point the host calls (the button's Click and the
// connection events): nothing may escape into the host, whose process it would end.
#pragma once

#include <exception>
#include <functional>
#include <string_view>

#include "platform/ComError.h"

namespace sendnote {

// Error numbers under which exceptions other than ComError are reported.
inline constexpr int32_t kErrOutOfMemory = 7;  // std::bad_alloc
inline constexpr int32_t kErrInternal = 51;    // any other exception

// Returns the error `failure` is reported as: a ComError as it is, std::bad_alloc as "out of
// memory", any other std::exception as an internal error with its what() text.
platform::ComError AsComError(const std::exception_ptr& failure) noexcept;

// Runs `body` for the host entry point `procedure`. Whatever escapes it becomes one error
// report naming `procedure`; the call then returns normally. Returns whether `body` completed.
bool RunHostEntryPoint(std::u16string_view procedure, const std::function<void()>& body) noexcept;

}  // namespace sendnote
