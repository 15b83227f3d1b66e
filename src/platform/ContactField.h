// The string members of an Outlook contact item that the system reads or writes,
// each reached by its member name.
#pragma once

#include <string_view>

namespace sendnote::platform {

enum class ContactField {
  kSubject,
  kBody,
  kFirstName,
  kLastName,
  kCompanyName,
  kOfficeLocation,
  kDepartment,
  kTitle,
  kJobTitle,
  kSuffix,
  kMobileTelephoneNumber,
  kEmail1Address,
  kYomiCompanyName,
  kYomiLastName,
  kYomiFirstName,
  kHomeAddress,
  kHomeFaxNumber,
  kHomeTelephoneNumber,
  kHomeAddressStreet,
  kHomeAddressCity,
  kHomeAddressState,
  kHomeAddressPostalCode,
  kHomeAddressPostOfficeBox,
  kHomeAddressCountry,
  kBusinessAddress,
  kBusinessFaxNumber,
  kBusinessTelephoneNumber,
  kBusinessAddressStreet,
  kBusinessAddressCity,
  kBusinessAddressState,
  kBusinessAddressPostalCode,
  kBusinessAddressPostOfficeBox,
  kBusinessAddressCountry,
  kOtherAddress,
  kOtherFaxNumber,
  kOtherTelephoneNumber,
  kOtherAddressStreet,
  kOtherAddressCity,
  kOtherAddressState,
  kOtherAddressPostalCode,
  kOtherAddressPostOfficeBox,
  kOtherAddressCountry,
};

inline constexpr int kContactFieldCount = static_cast<int>(ContactField::kOtherAddressCountry) + 1;

// Returns the member name of the field ("CompanyName", ...).
std::u16string_view ContactFieldName(ContactField field);

}  // namespace sendnote::platform
