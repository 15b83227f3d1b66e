// 16-bit automation flags: True is -1 (all bits set), False is 0. Tests compare with -1,
// so a value that is neither is not True.
#pragma once

#include <cstdint>

namespace sendnote::platform {

using Flag = int16_t;
inline constexpr Flag kTrue = -1;
inline constexpr Flag kFalse = 0;

constexpr Flag ToFlag(bool b) { return b ? kTrue : kFalse; }
constexpr bool IsTrue(Flag f) { return f == kTrue; }

// Narrows to a 16-bit signed value as the automation runtime does; raises Overflow (6).
int16_t CInt(int32_t value);

}  // namespace sendnote::platform
