#include "contactrecord/ContactRecord.h"

namespace sendnote {

ContactRecord::ContactRecord(std::initializer_list<Value> values, platform::MailingAddress mailing)
    : mailingAddress(mailing) {
  for (const auto& [field, value] : values) (*this)[field] = std::u16string(value);
}

}  // namespace sendnote
