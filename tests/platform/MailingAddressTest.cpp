#include <gtest/gtest.h>

#include <set>
#include <string>

#include "contactrecord/ContactRecord.h"
#include "platform/ContactField.h"
#include "platform/MailingAddress.h"

namespace sendnote {
namespace {

using platform::ContactField;
using platform::ContactFieldName;
using platform::MailingAddress;

std::u16string Name(ContactField field) { return std::u16string(ContactFieldName(field)); }

// Every member of a kind's row is that kind's own: named with its prefix and its part.
TEST(MailingAddressTest, EachKindsRowNamesOnlyThatKindsMembers) {
  const struct {
    MailingAddress kind;
    std::u16string prefix;
  } kinds[] = {{MailingAddress::kHome, u"Home"},
               {MailingAddress::kBusiness, u"Business"},
               {MailingAddress::kOther, u"Other"}};
  std::set<ContactField> seen;
  for (const auto& k : kinds) {
    const platform::AddressFields* f = platform::FieldsOf(k.kind);
    ASSERT_NE(f, nullptr);
    const std::pair<ContactField, std::u16string> rows[] = {
        {f->whole, k.prefix + u"Address"},
        {f->street, k.prefix + u"AddressStreet"},
        {f->city, k.prefix + u"AddressCity"},
        {f->state, k.prefix + u"AddressState"},
        {f->postalCode, k.prefix + u"AddressPostalCode"},
        {f->postOfficeBox, k.prefix + u"AddressPostOfficeBox"},
        {f->country, k.prefix + u"AddressCountry"},
        {f->telephone, k.prefix + u"TelephoneNumber"},
        {f->fax, k.prefix + u"FaxNumber"}};
    for (const auto& [field, name] : rows) {
      EXPECT_EQ(Name(field), name);
      EXPECT_TRUE(seen.insert(field).second) << "twice in the table";
    }
  }
}

TEST(MailingAddressTest, NoneAndValuesOutsideTheNumberingHaveNoFields) {
  for (const int32_t value : {0, -1, 4, 1000}) {
    EXPECT_EQ(platform::FieldsOf(static_cast<MailingAddress>(value)), nullptr) << value;
    EXPECT_EQ(platform::IsMailingAddress(value), value == 0) << value;
  }
}

TEST(MailingAddressTest, ContactRecordKeepsItsValuesAndComparesWhole) {
  const ContactRecord a({{ContactField::kLastName, u"山田"}}, MailingAddress::kHome);
  EXPECT_EQ(a[ContactField::kLastName], u"山田");
  EXPECT_EQ(a[ContactField::kFirstName], u"");
  ContactRecord b = a;
  EXPECT_EQ(a, b);
  b.mailingAddress = MailingAddress::kOther;
  EXPECT_NE(a, b);
  b = a;
  b[ContactField::kHomeAddressCity] = u"港区";
  EXPECT_NE(a, b);
}

}  // namespace
}  // namespace sendnote
