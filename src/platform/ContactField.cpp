#include "platform/ContactField.h"

#include <array>

namespace sendnote::platform {

std::u16string_view ContactFieldName(ContactField field) {
  static constexpr std::array<std::u16string_view, kContactFieldCount> kNames = {
      u"Subject",
      u"Body",
      u"FirstName",
      u"LastName",
      u"CompanyName",
      u"OfficeLocation",
      u"Department",
      u"Title",
      u"JobTitle",
      u"Suffix",
      u"MobileTelephoneNumber",
      u"Email1Address",
      u"YomiCompanyName",
      u"YomiLastName",
      u"YomiFirstName",
      u"HomeAddress",
      u"HomeFaxNumber",
      u"HomeTelephoneNumber",
      u"HomeAddressStreet",
      u"HomeAddressCity",
      u"HomeAddressState",
      u"HomeAddressPostalCode",
      u"HomeAddressPostOfficeBox",
      u"HomeAddressCountry",
      u"BusinessAddress",
      u"BusinessFaxNumber",
      u"BusinessTelephoneNumber",
      u"BusinessAddressStreet",
      u"BusinessAddressCity",
      u"BusinessAddressState",
      u"BusinessAddressPostalCode",
      u"BusinessAddressPostOfficeBox",
      u"BusinessAddressCountry",
      u"OtherAddress",
      u"OtherFaxNumber",
      u"OtherTelephoneNumber",
      u"OtherAddressStreet",
      u"OtherAddressCity",
      u"OtherAddressState",
      u"OtherAddressPostalCode",
      u"OtherAddressPostOfficeBox",
      u"OtherAddressCountry",
  };
  return kNames[static_cast<size_t>(field)];
}

}  // namespace sendnote::platform
