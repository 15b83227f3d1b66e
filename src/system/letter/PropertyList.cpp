#include "system/letter/PropertyList.h"

#include <utility>

#include "platform/ContactField.h"
#include "system/common/modFunc.h"

namespace sendnote {
namespace {
using F = platform::ContactField;
}  // namespace

std::u16string AddresseeLine(platform::ContactItem& contact) {
  std::u16string line;
  for (const F field :
       {F::kCompanyName, F::kOfficeLocation, F::kDepartment, F::kLastName, F::kTitle}) {
    line += SpaceBefore(contact.Get(field));
  }
  return Trim(line);
}

PropertyList BuildPropertyList(platform::ContactItem& contact,
                               platform::MailingAddress addressKind) {
  const platform::MailingAddress kind = addressKind == platform::MailingAddress::kNone
                                            ? contact.SelectedMailingAddress()
                                            : addressKind;

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

  const platform::AddressFields* members = platform::FieldsOf(kind);
  if (!members) return list;
  list.push_back({u"住所", contact.Get(members->whole)});
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
