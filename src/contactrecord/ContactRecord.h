// One contact as values: the string of each contact member and the mailing address it
// marks. The contact files read into it and the Outlook host model keeps its items in it.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "platform/ContactField.h"
#include "platform/MailingAddress.h"

namespace sendnote {

class ContactRecord {
 public:
  using Value = std::pair<platform::ContactField, std::u16string_view>;

  ContactRecord() = default;
  ContactRecord(std::initializer_list<Value> values,
                platform::MailingAddress mailing = platform::MailingAddress::kNone);

  // An unset member is the empty string.
  std::u16string& operator[](platform::ContactField field) {
    return values_[static_cast<size_t>(field)];
  }
  const std::u16string& operator[](platform::ContactField field) const {
    return values_[static_cast<size_t>(field)];
  }

  platform::MailingAddress mailingAddress = platform::MailingAddress::kNone;

  bool operator==(const ContactRecord&) const = default;

 private:
  std::array<std::u16string, platform::kContactFieldCount> values_;
};

}  // namespace sendnote
