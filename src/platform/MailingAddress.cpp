#include "platform/MailingAddress.h"

namespace sendnote::platform {

const AddressFields* FieldsOf(MailingAddress kind) {
  using F = ContactField;
  static constexpr AddressFields kHome{
      F::kHomeAddress,        F::kHomeAddressStreet,     F::kHomeAddressCity,
      F::kHomeAddressState,   F::kHomeAddressPostalCode, F::kHomeAddressPostOfficeBox,
      F::kHomeAddressCountry, F::kHomeTelephoneNumber,   F::kHomeFaxNumber};
  static constexpr AddressFields kBusiness{
      F::kBusinessAddress,        F::kBusinessAddressStreet,     F::kBusinessAddressCity,
      F::kBusinessAddressState,   F::kBusinessAddressPostalCode, F::kBusinessAddressPostOfficeBox,
      F::kBusinessAddressCountry, F::kBusinessTelephoneNumber,   F::kBusinessFaxNumber};
  static constexpr AddressFields kOther{
      F::kOtherAddress,        F::kOtherAddressStreet,     F::kOtherAddressCity,
      F::kOtherAddressState,   F::kOtherAddressPostalCode, F::kOtherAddressPostOfficeBox,
      F::kOtherAddressCountry, F::kOtherTelephoneNumber,   F::kOtherFaxNumber};
  switch (kind) {
    case MailingAddress::kHome:
      return &kHome;
    case MailingAddress::kBusiness:
      return &kBusiness;
    case MailingAddress::kOther:
      return &kOther;
    default:
      return nullptr;
  }
}

}  // namespace sendnote::platform
