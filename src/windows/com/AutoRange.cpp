#include "windows/com/AutoRange.h"

#include "windows/com/AutoFields.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

std::u16string AutoRange::Text() { return TextOf(dispatch().Get(u"Text")); }

void AutoRange::SetText(std::u16string_view text) {
  dispatch().Put(u"Text", ScopedVariant::String(text));
}

std::shared_ptr<platform::Fields> AutoRange::Fields() {
  return Wrap<AutoFields>(ObjectOf(u"Fields"));
}

}  // namespace sendnote::com
