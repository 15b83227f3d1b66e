// The address kinds of a contact, in Outlook's mailing-address numbering, and the one
// table of the contact members that make up each kind's address.
#pragma once

#include <array>
#include <cstdint>

#include "platform/ContactField.h"

namespace sendnote::platform {

// Values as Outlook's olMailingAddress; a value read from outside may lie beyond them.
enum class MailingAddress : int32_t { kNone = 0, kHome = 1, kBusiness = 2, kOther = 3 };

inline constexpr std::array<MailingAddress, 3> kAddressKinds = {
    MailingAddress::kHome, MailingAddress::kBusiness, MailingAddress::kOther};

// The members of one address kind.
struct AddressFields {
  ContactField whole;  // the whole address, several lines
  ContactField street, city, state, postalCode, postOfficeBox, country;
  ContactField telephone, fax;
};

// Returns the members of a home, business or other address; none for kNone or any value
// outside Outlook's numbering.
const AddressFields* FieldsOf(MailingAddress kind);

// True for 0 to 3.
constexpr bool IsMailingAddress(int32_t value) { return value >= 0 && value <= 3; }

}  // namespace sendnote::platform
