// A portable full-width to half-width mapping reproducing the system's standard one
// (used where the platform offers none of its own).
#pragma once

#include <string>
#include <string_view>

namespace sendnote::wordrules {

std::u16string NarrowWidthPortable(std::u16string_view text);

}  // namespace sendnote::wordrules
