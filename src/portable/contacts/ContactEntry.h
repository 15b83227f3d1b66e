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

// Longest value (UTF-16 units) of a member a letter can write: four times the 255 characters
// Word keeps of a property, which bounds what a value costs in the letter's XML. The note
// (Body) is no letter field: only the line length bounds it.
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
