#include "windows/com/AutoAddInInstance.h"

#include "windows/com/VariantConversion.h"

namespace sendnote::com {

std::u16string AutoAddInInstance::ProgId() { return TextOf(dispatch().Get(u"ProgId")); }

}  // namespace sendnote::com
