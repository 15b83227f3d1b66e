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

// Longest value, in UTF-16 units, a contact may hold in a member the letter can write. Word
// keeps 255 characters of a property's text; four times that leaves room for what Word
// would cut (a long address of several lines) and bounds what one value costs in a letter,
// where its text is written as a property and as field results, escaped. The note (Body)
// is no letter field and is bounded by the line length only.
inline constexpr size_t kMaxValueLength = 1024;
// The same for a member the reader may compose of several values (the full name, a whole
// address of street, city, state, postal code and country).
inline constexpr size_t kMaxComposedLength = 8 * kMaxValueLength;

// Makes the entry unreadable when a member holds more than its limit; `line` is where the
// contact begins.
void RefuseOverlongValues(ContactEntry& entry, size_t line);

// Raises kErrInvalidFileFormat with the first entry's problem ("source, line N: reason")
// when no entry is readable: a file of broken contacts only is refused as a whole.
void RefuseUnlessAnyReadable(const std::vector<ContactEntry>& entries, std::u16string_view source);

}  // namespace sendnote::contacts
