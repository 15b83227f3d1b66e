// The checks Word makes before adding a custom document property, alike in every Word
// implementation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Flag.h"
#include "platform/Variant.h"

namespace sendnote::wordrules {

inline constexpr size_t kMaxNameLength = 255;  // Office's limit for a property name

// Raises Invalid procedure call (5) for an empty or over-long name, a name holding control
// characters (the stored part could not carry them), an unknown type, a link to content
// (the contract cannot name the link source) or a name already taken.
void CheckNewProperty(std::u16string_view name, platform::Flag linkToContent, int32_t type,
                      bool nameTaken);

// Returns `value` converted to `type` for storing, as ConvertToPropertyType does; raises
// Invalid procedure call (5) for a text longer than Word stores.
platform::Variant ConvertValueToStore(const platform::Variant& value, int32_t type);

}  // namespace sendnote::wordrules
