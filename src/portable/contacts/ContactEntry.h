// One contact of a contact file as read: its record, or why it cannot be read. A contact
// that cannot be read keeps its position in the file, so the others keep theirs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "contactrecord/ContactRecord.h"

namespace sendnote::contacts {

struct ContactEntry {
  ContactRecord record;    // empty when the contact cannot be read
  std::u16string problem;  // "line N: reason" when it cannot be read, else empty

  bool Readable() const { return problem.empty(); }
};

// Raises kErrInvalidFileFormat with the first entry's problem ("source, line N: reason")
// when no entry is readable: a file of broken contacts only is refused as a whole.
void RefuseUnlessAnyReadable(const std::vector<ContactEntry>& entries, std::u16string_view source);

}  // namespace sendnote::contacts
