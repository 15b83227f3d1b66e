#include "portable/contacts/ContactEntry.h"

#include "platform/ContactField.h"
#include "platform/MailingAddress.h"
#include "portable/contacts/ContactFileError.h"

namespace sendnote::contacts {

void RefuseOverlongValues(ContactEntry& entry, size_t line) {
  if (!entry.Readable()) return;
  for (int i = 0; i < platform::kContactFieldCount; ++i) {
    const auto field = static_cast<platform::ContactField>(i);
    bool composed = field == platform::ContactField::kSubject;
    for (const platform::MailingAddress kind : platform::kAddressKinds) {
      composed = composed || platform::FieldsOf(kind)->whole == field;
    }
    const size_t limit = composed ? kMaxComposedLength : kMaxValueLength;
    if (field == platform::ContactField::kBody || entry.record[field].size() <= limit) continue;
    std::u16string message = u"the value of ";
    message.append(platform::ContactFieldName(field));
    message += u" is longer than ";
    message += DecimalText(limit);
    message += u" characters";
    entry.problem = LineProblem(line, message);
    entry.record = ContactRecord();  // its memory is given back at once
    return;
  }
}

void RefuseUnlessAnyReadable(const std::vector<ContactEntry>& entries, std::u16string_view source) {
  for (const ContactEntry& entry : entries) {
    if (entry.Readable()) return;
  }
  if (entries.empty()) return;
  RaiseProblem(source, entries.front().problem);
}

}  // namespace sendnote::contacts
