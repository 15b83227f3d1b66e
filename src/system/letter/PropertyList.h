// The ordered list of (name, value) pairs that one contact gives the letter's document
// properties; the names carry no prefix.
#pragma once

#include <string>
#include <vector>

#include "platform/Outlook.h"

namespace sendnote {

struct PropertyEntry {
  std::u16string name;
  std::u16string value;
};
using PropertyList = std::vector<PropertyEntry>;

// Returns the addressee line: company, office, department, surname and title, each
// non-empty one after one blank, the whole without outer blanks.
std::u16string AddresseeLine(platform::ContactItem& contact);

// Returns the 11 entries every contact gives, followed by the 10 address entries when
// the address kind is home, business or other. `addressKind` kNone means the kind the
// contact marks as its mailing address. Failures of the contact pass to the caller.
PropertyList BuildPropertyList(platform::ContactItem& contact,
                               platform::MailingAddress addressKind);

}  // namespace sendnote
