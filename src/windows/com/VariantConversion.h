// Values between the system's platform::Variant and automation VARIANTs.
#pragma once

#include "platform/Variant.h"
#include "windows/com/ScopedVariant.h"

namespace sendnote::com {

ScopedVariant ToComVariant(const platform::Variant& value);
// Empty, yes/no, whole and floating numbers, dates and text; other kinds (objects,
// arrays, currency, ...) raise Type mismatch (13).
platform::Variant FromComVariant(const VARIANT& value);

// The result of a read as text (CStr), as a 32-bit number (CLng) or as a flag (CBool).
std::u16string TextOf(const ScopedVariant& value);
int32_t Int32Of(const ScopedVariant& value);
platform::Flag FlagOf(const ScopedVariant& value);

}  // namespace sendnote::com
