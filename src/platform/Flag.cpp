#include "platform/Flag.h"

#include "platform/ComError.h"

namespace sendnote::platform {

int16_t CInt(int32_t value) {
  if (value < INT16_MIN || value > INT16_MAX) Raise(kErrOverflow);
  return static_cast<int16_t>(value);
}

}  // namespace sendnote::platform
