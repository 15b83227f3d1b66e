#include "letter/PropertyList.h"

#include <utility>

#include "common/modFunc.h"
#include "platform/ContactField.h"

namespace sendnote {
namespace {

using F = platform::ContactField;

// The contact members of one address kind, in the order of the address entries.
struct AddressMembers {
  F address, fax, telephone, street, city, state, postalCode, postOfficeBox;
};

constexpr AddressMembers kHome{F::kHomeAddress,           F::kHomeFaxNumber,
                               F::kHomeTelephoneNumber,   F::kHomeAddressStreet,
                               F::kHomeAddressCity,       F::kHomeAddressState,
                               F::kHomeAddressPostalCode, F::kHomeAddressPostOfficeBox};
constexpr AddressMembers kBusiness{F::kBusinessAddress,           F::kBusinessFaxNumber,
                                   F::kBusinessTelephoneNumber,   F::kBusinessAddressStreet,
                                   F::kBusinessAddressCity,       F::kBusinessAddressState,
                                   F::kBusinessAddressPostalCode, F::kBusinessAddressPostOfficeBox};
constexpr AddressMembers kOther{F::kOtherAddress,           F::kOtherFaxNumber,
                                F::kOtherTelephoneNumber,   F::kOtherAddressStreet,
                                F::kOtherAddressCity,       F::kOtherAddressState,
                                F::kOtherAddressPostalCode, F::kOtherAddressPostOfficeBox};

// Returns the members of an address kind 1..3, or none for any other kind.
const AddressMembers* MembersOf(int32_t kind) {
  switch (kind) {
    case 1:
      return &kHome;
    case 2:
      return &kBusiness;
    case 3:
      return &kOther;
    default:
      return nullptr;
  }
}

}  // namespace

std::u16string AddresseeLine(platform::ContactItem& contact) {
  std::u16string line;
  for (const F field :
       {F::kCompanyName, F::kOfficeLocation, F::kDepartment, F::kLastName, F::kTitle}) {
    line += SpaceBefore(contact.Get(field));
  }
  return Trim(line);
}

PropertyList BuildPropertyList(platform::ContactItem& contact, int32_t addressKind) {
  const int32_t kind = addressKind == 0 ? contact.SelectedMailingAddress() : addressKind;

  PropertyList list;
  list.push_back({u"宛先", AddresseeLine(contact)});
  const std::pair<const char16_t*, F> always[] = {
      {u"名", F::kFirstName},       {u"姓", F::kLastName},
      {u"会社名", F::kCompanyName}, {u"事業所", F::kOfficeLocation},
      {u"部署", F::kDepartment},    {u"肩書き", F::kTitle},
      {u"役職", F::kJobTitle},      {u"携帯電話", F::kMobileTelephoneNumber},
      {u"敬称", F::kSuffix},        {u"メールアドレス", F::kEmail1Address},
  };
  for (const auto& [name, field] : always) list.push_back({name, contact.Get(field)});

  const AddressMembers* members = MembersOf(kind);
  if (!members) return list;
  list.push_back({u"住所", contact.Get(members->address)});
  list.push_back({u"FAX番号", contact.Get(members->fax)});
  list.push_back({u"電話番号", contact.Get(members->telephone)});
  list.push_back({u"番地", contact.Get(members->street)});
  list.push_back({u"市町村", contact.Get(members->city)});
  list.push_back({u"都道府県", contact.Get(members->state)});
  // The postal code as the contact holds it, then its two parts in narrow form.
  list.push_back({u"郵便番号", contact.Get(members->postalCode)});
  list.push_back({u"郵便番号上位", PostCodeUpper(contact.Get(members->postalCode))});
  list.push_back({u"郵便番号下位", PostCodeLower(contact.Get(members->postalCode))});
  list.push_back({u"私書箱", contact.Get(members->postOfficeBox)});
  return list;
}

}  // namespace sendnote
