#include "wordrules/PropertyRules.h"

#include <algorithm>

#include "platform/ComError.h"
#include "platform/Word.h"
#include "wordrules/WordValue.h"

namespace sendnote::wordrules {

void CheckNewProperty(std::u16string_view name, platform::Flag linkToContent, int32_t type,
                      bool nameTaken) {
  if (name.empty() || name.size() > kMaxNameLength) platform::Raise(platform::kErrInvalidCall);
  if (std::any_of(name.begin(), name.end(), [](char16_t c) { return c < 0x20 || c >= 0xFFFE; })) {
    platform::Raise(platform::kErrInvalidCall, u"A property name cannot hold control characters.");
  }
  if (!IsPropertyType(type)) platform::Raise(platform::kErrInvalidCall);
  if (linkToContent != platform::kFalse) {
    platform::Raise(platform::kErrInvalidCall, u"A linked property needs a link source.");
  }
  if (nameTaken) {
    platform::Raise(platform::kErrInvalidCall, u"A property of that name already exists.");
  }
}

platform::Variant ConvertValueToStore(const platform::Variant& value, int32_t type) {
  platform::Variant converted = ConvertToPropertyType(value, type);
  if (type == platform::kPropertyString &&
      converted.ToString().size() > platform::kMaxPropertyTextLength) {
    platform::Raise(platform::kErrInvalidCall,
                    u"A text property cannot hold more than 255 characters.");
  }
  return converted;
}

}  // namespace sendnote::wordrules
