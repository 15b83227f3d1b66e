#include "system/letter/PropertyList.h"

#include <map>
#include <utility>

#include "platform/ContactField.h"
#include "system/common/modFunc.h"

namespace sendnote {
namespace {
using F = platform::ContactField;

// Reads each field of the contact once: over automation every read is a round trip to
// Outlook, and the list reads some fields twice.
class FieldReader {
 public:
  explicit FieldReader(platform::ContactItem& contact) : contact_(contact) {}
  const std::u16string& operator()(F field) {
    auto it = read_.find(field);
    if (it == read_.end()) it = read_.emplace(field, contact_.Get(field)).first;
    return it->second;
  }

 private:
  platform::ContactItem& contact_;
  std::map<F, std::u16string> read_;
};

std::u16string AddresseeLineOf(FieldReader& read) {
  std::u16string line;
  for (const F field :
       {F::kCompanyName, F::kOfficeLocation, F::kDepartment, F::kLastName, F::kTitle}) {
    line += SpaceBefore(read(field));
  }
  return Trim(line);
}

}  // namespace

std::u16string AddresseeLine(platform::ContactItem& contact) {
  FieldReader read(contact);
  return AddresseeLineOf(read);
}

PropertyList BuildPropertyList(platform::ContactItem& contact,
                               platform::MailingAddress addressKind) {
  const platform::MailingAddress kind = addressKind == platform::MailingAddress::kNone
                                            ? contact.SelectedMailingAddress()
                                            : addressKind;

  FieldReader read(contact);
  PropertyList list;
  list.push_back({u"宛先", AddresseeLineOf(read)});
  const std::pair<const char16_t*, F> always[] = {
      {u"名", F::kFirstName},       {u"姓", F::kLastName},
      {u"会社名", F::kCompanyName}, {u"事業所", F::kOfficeLocation},
      {u"部署", F::kDepartment},    {u"肩書き", F::kTitle},
      {u"役職", F::kJobTitle},      {u"携帯電話", F::kMobileTelephoneNumber},
      {u"敬称", F::kSuffix},        {u"メールアドレス", F::kEmail1Address},
  };
  for (const auto& [name, field] : always) list.push_back({name, read(field)});

  const platform::AddressFields* members = platform::FieldsOf(kind);
  if (!members) return list;
  list.push_back({u"住所", read(members->whole)});
  list.push_back({u"FAX番号", read(members->fax)});
  list.push_back({u"電話番号", read(members->telephone)});
  list.push_back({u"番地", read(members->street)});
  list.push_back({u"市町村", read(members->city)});
  list.push_back({u"都道府県", read(members->state)});
  // The postal code as the contact holds it, then its two parts in narrow form.
  list.push_back({u"郵便番号", read(members->postalCode)});
  list.push_back({u"郵便番号上位", PostCodeUpper(read(members->postalCode))});
  list.push_back({u"郵便番号下位", PostCodeLower(read(members->postalCode))});
  list.push_back({u"私書箱", read(members->postOfficeBox)});
  return list;
}

}  // namespace sendnote
