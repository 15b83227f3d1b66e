// Failures of COM calls as the one platform error: an HRESULT (and the EXCEPINFO an
// automation server filled in) becomes a ComError with the number and description a
// Basic client would see.
#pragma once

#include "windows/com/Win32.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ComError.h"

namespace sendnote::com {

// The error number of a failed HRESULT: a runtime error number for the automation codes
// Basic maps (unknown member 438, type mismatch 13, bad index 9, overflow 6, out of memory
// 7, FACILITY_CONTROL n -> n), otherwise the HRESULT itself as a signed number.
int32_t ErrorNumberOf(HRESULT hr);

// The ComError for a failed call of `member`. With DISP_E_EXCEPTION the server's
// EXCEPINFO (deferred fill-in included) gives the code and text; `info` may be null.
platform::ComError ErrorOf(HRESULT hr, EXCEPINFO* info, std::u16string_view member);

// Raises ErrorOf(hr, nullptr, member) when `hr` failed.
void Check(HRESULT hr, std::u16string_view member);

}  // namespace sendnote::com
