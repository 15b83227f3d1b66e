#include "com/AutomationObject.h"

namespace sendnote::com {

void RaiseNotYetAutomated(std::u16string_view member) {
  std::u16string description(member);
  description += u" is not automated yet in the Windows edition of the add-in";
  platform::Raise(platform::kErrNotSupported, std::move(description));
}

}  // namespace sendnote::com
