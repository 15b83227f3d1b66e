// Cards as phones, address books and Outlook write them: where each puts the street, the
// building line and the office.
#include <gtest/gtest.h>

#include <string>

#include "ContactFileTestSupport.h"
#include "ProducerCards.h"
#include "portable/contacts/VCardReader.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using platform::MailingAddress;
using namespace sendnote::testing::cards;
using testing::Records;

TEST(VCardProducersTest, ExtendedAddressIsTheBuildingLineExceptOutlooksOffice) {
  struct Case {
    const char* producer;
    std::string_view card;
    MailingAddress kind;
    std::u16string street, whole, office;
  };
  const Case cases[] = {
      {"Android", kAndroidCard, MailingAddress::kHome, u"桜丘町1-2 さくらビル3F",
       u"150-0031\r\n東京都渋谷区桜丘町1-2 さくらビル3F", u""},
      {"iPhone", kIphoneCard, MailingAddress::kBusiness, u"道玄坂1-2-3\r\n渋谷ビル5F",
       u"150-0043\r\n東京都渋谷区道玄坂1-2-3\r\n渋谷ビル5F", u""},
      {"Gmail", kGmailCard, MailingAddress::kHome, u"みなとみらい3-3-3 15階",
       u"220-0012\r\n神奈川県横浜市西区みなとみらい3-3-3 15階", u""},
      {"Thunderbird", kThunderbirdCard, MailingAddress::kBusiness, u"1 Main St\r\nSuite 400",
       u"62701\r\nIL Springfield 1 Main St\r\nSuite 400\r\nUSA", u""},
      {"Outlook PRODID", kOutlookByProdid, MailingAddress::kBusiness, u"中之島2-3-4",
       u"530-0005\r\n大阪府大阪市北区中之島2-3-4", u"大阪支店"},
      {"Outlook X-MS-", kOutlookByProperty, MailingAddress::kBusiness, u"", u"千代田区", u"本社"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.producer);
    const std::vector<ContactRecord> records = Records(ParseVCard(c.card));
    ASSERT_EQ(records.size(), 1u);
    const ContactRecord& r = records[0];
    const platform::AddressFields& fields = *platform::FieldsOf(c.kind);
    EXPECT_EQ(r.mailingAddress, c.kind);
    EXPECT_EQ(r[fields.street], c.street);
    EXPECT_EQ(r[fields.whole], c.whole);
    EXPECT_EQ(r[ContactField::kOfficeLocation], c.office);
  }
}

TEST(VCardProducersTest, OutlooksHomeExtendedPartIsAStreetLineAndPartsStayInPlace) {
  const ContactRecord r = Records(ParseVCard(kOutlookByProdid)).at(0);
  EXPECT_EQ(r[ContactField::kHomeAddressStreet], u"天満1-1\r\nコーポ中之島 201");
  EXPECT_EQ(r[ContactField::kHomeAddress],
            u"530-0043\r\n大阪府大阪市北区天満1-1\r\nコーポ中之島 201");
  EXPECT_EQ(r[ContactField::kCompanyName], u"佐藤工業株式会社");
  EXPECT_EQ(r[ContactField::kDepartment], u"総務部");

  const ContactRecord android = Records(ParseVCard(kAndroidCard)).at(0);
  EXPECT_EQ(android[ContactField::kSubject], u"山田 太郎");
  EXPECT_EQ(android[ContactField::kHomeAddressCity], u"渋谷区");
  EXPECT_EQ(android[ContactField::kHomeAddressState], u"東京都");
  EXPECT_EQ(android[ContactField::kHomeAddressPostalCode], u"150-0031");
  EXPECT_EQ(android[ContactField::kHomeAddressCountry], u"日本");
  EXPECT_EQ(android[ContactField::kMobileTelephoneNumber], u"090-1234-5678");
}

}  // namespace
}  // namespace sendnote::contacts
