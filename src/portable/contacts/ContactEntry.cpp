#include "portable/contacts/ContactEntry.h"

#include "portable/contacts/ContactFileError.h"

namespace sendnote::contacts {

void RefuseUnlessAnyReadable(const std::vector<ContactEntry>& entries, std::u16string_view source) {
  for (const ContactEntry& entry : entries) {
    if (entry.Readable()) return;
  }
  if (entries.empty()) return;
  RaiseProblem(source, entries.front().problem);
}

}  // namespace sendnote::contacts
