// One-line Japanese addresses as the readers split them: vCard, Outlook's and Google's CSV.
#include <gtest/gtest.h>

#include <string>

#include "ContactFileTestSupport.h"
#include "ProducerCards.h"
#include "portable/contacts/ContactCsv.h"
#include "portable/contacts/VCardReader.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using platform::MailingAddress;
using testing::Records;

// "postal|state|city|street" of the record's address of that kind.
std::string Parts(const ContactRecord& r, MailingAddress kind) {
  const platform::AddressFields& a = *platform::FieldsOf(kind);
  return platform::ToUtf8(r[a.postalCode] + u"|" + r[a.state] + u"|" + r[a.city] + u"|" +
                          r[a.street]);
}

TEST(OneLineAddressReadTest, AndroidsOneLineStreetBecomesPrefectureCityAndStreet) {
  const ContactRecord r = Records(ParseVCard(sendnote::testing::cards::kAndroidOneLineCard)).at(0);
  EXPECT_EQ(Parts(r, MailingAddress::kBusiness), "|東京都|渋谷区|桜丘町26-1セルリアンタワー6階");
  EXPECT_EQ(r[ContactField::kBusinessAddress], u"東京都渋谷区桜丘町26-1セルリアンタワー6階");
}

TEST(OneLineAddressReadTest, OutlookCsvStreetColumnWithTheWholeAddress) {
  const ContactRecord r =
      Records(ParseContactCsv("\"姓\",\"名\",\"番地 (会社)\",\"郵便番号 (会社)\"\r\n"
                              "\"山田\",\"太郎\",\"〒100-0005 東京都千代田区丸の内1-1\",\"\"\r\n"))
          .at(0);
  EXPECT_EQ(Parts(r, MailingAddress::kBusiness), "100-0005|東京都|千代田区|丸の内1-1");
  EXPECT_EQ(r[ContactField::kBusinessAddress], u"100-0005\r\n東京都千代田区丸の内1-1");
}

TEST(OneLineAddressReadTest, GoogleCsvWithTheFormattedAddressAlone) {
  const std::vector<ContactRecord> records =
      Records(ParseContactCsv("Name,Address 1 - Type,Address 1 - Formatted\n"
                              "A,Work,〒600-8216 京都府京都市下京区烏丸通七条下ル\n"
                              "B,Work,\"1 Main St\nSpringfield\"\n"));
  const ContactRecord& kyoto = records.at(0);
  EXPECT_EQ(Parts(kyoto, MailingAddress::kBusiness), "600-8216|京都府|京都市下京区|烏丸通七条下ル");
  EXPECT_EQ(kyoto[ContactField::kBusinessAddress], u"〒600-8216 京都府京都市下京区烏丸通七条下ル");
  // Not a Japanese address: the formatted text stays the whole address alone, as before.
  const ContactRecord& other = records.at(1);
  EXPECT_EQ(other[ContactField::kBusinessAddressStreet], u"");
  EXPECT_EQ(other[ContactField::kBusinessAddress], u"1 Main St\r\nSpringfield");
}

}  // namespace
}  // namespace sendnote::contacts
