// One contact read from a contact file, neutral of any address book: the string of each
// contact member and the mailing address it marks.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/ContactField.h"

namespace sendnote::contacts {

struct ContactRecord {
  // Indexed by platform::ContactField; an unset member is the empty string.
  std::array<std::u16string, platform::kContactFieldCount> fields;
  // 0 none, 1 home, 2 business, 3 other (Outlook's numbering).
  int32_t SelectedMailingAddress = 0;

  std::u16string& operator[](platform::ContactField field) {
    return fields[static_cast<size_t>(field)];
  }
  const std::u16string& operator[](platform::ContactField field) const {
    return fields[static_cast<size_t>(field)];
  }
};

// Outlook's mailing-address numbering.
inline constexpr int32_t kMailingNone = 0;
inline constexpr int32_t kMailingHome = 1;
inline constexpr int32_t kMailingBusiness = 2;
inline constexpr int32_t kMailingOther = 3;

}  // namespace sendnote::contacts
