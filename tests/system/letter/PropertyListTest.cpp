// The property list a contact gives: names and order, the address columns, the
// addressee line and the postal-code split.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "inmemory/InMemoryRuntime.h"
#include "system/letter/PropertyList.h"
#include "tests/support/WriteDocPropTestSupport.h"

namespace sendnote {
namespace {

using F = platform::ContactField;

// An address kind as a number, in range or not.
platform::MailingAddress Kind(int32_t value) {
  return static_cast<platform::MailingAddress>(value);
}

std::vector<std::u16string> Column(const PropertyList& list, bool values) {
  std::vector<std::u16string> out;
  for (const auto& entry : list) out.push_back(values ? entry.value : entry.name);
  return out;
}

class PropertyListTest : public ::testing::Test {
 protected:
  std::u16string Addressee(std::u16string company, std::u16string office, std::u16string last) {
    testing::TestContact c;
    c.With(F::kCompanyName, company).With(F::kOfficeLocation, office).With(F::kLastName, last);
    return AddresseeLine(c.With(F::kFirstName, u"太郎"));
  }

  inmemory::InMemoryRuntime runtime_;
  platform::ScopedRuntime scope_{runtime_};
  testing::TestContact contact_;
};

TEST_F(PropertyListTest, ElevenEntriesAlwaysTwentyOneForHomeBusinessOther) {
  const std::vector<std::u16string> always = {
      u"宛先",   u"名",   u"姓",       u"会社名", u"事業所",        u"部署",
      u"肩書き", u"役職", u"携帯電話", u"敬称",   u"メールアドレス"};
  std::vector<std::u16string> all = always;
  for (const auto* name : {u"住所", u"FAX番号", u"電話番号", u"番地", u"市町村", u"都道府県",
                           u"郵便番号", u"郵便番号上位", u"郵便番号下位", u"私書箱"}) {
    all.push_back(name);
  }
  for (const int32_t kind : {0, 4, -1}) {
    EXPECT_EQ(Column(BuildPropertyList(contact_, Kind(kind)), false), always) << kind;
  }
  for (const int32_t kind : {1, 2, 3}) {
    EXPECT_EQ(Column(BuildPropertyList(contact_, Kind(kind)), false), all) << kind;
  }
  contact_.mailing = platform::MailingAddress::kOther;  // kind 0: the contact's own mailing address
  EXPECT_EQ(Column(BuildPropertyList(contact_, Kind(0)), false), all);
}

TEST_F(PropertyListTest, AddressEntriesComeFromTheKindsColumn) {
  const F home[] = {
      F::kHomeAddress,     F::kHomeFaxNumber,    F::kHomeTelephoneNumber,     F::kHomeAddressStreet,
      F::kHomeAddressCity, F::kHomeAddressState, F::kHomeAddressPostOfficeBox};
  for (int i = 0; i < 7; ++i) contact_.With(home[i], u"H" + std::u16string(1, u'0' + i));
  contact_.With(F::kHomeAddressPostalCode, u"111-2222").With(F::kHomeAddressCountry, u"JP");
  contact_.With(F::kOtherAddressPostOfficeBox, u"O6").With(F::kBusinessAddress, u"B0");
  contact_.With(F::kEmail1Address, u"e@x").mailing = platform::MailingAddress::kBusiness;

  const PropertyList list = BuildPropertyList(contact_, Kind(1));
  EXPECT_EQ(Column(PropertyList(list.begin() + 11, list.end()), true),
            (std::vector<std::u16string>{u"H0", u"H1", u"H2", u"H3", u"H4", u"H5", u"111-2222",
                                         u"111", u"2222", u"H6"}));
  EXPECT_EQ(list[10].value, u"e@x");
  EXPECT_EQ(BuildPropertyList(contact_, Kind(3))[20].value, u"O6");
  EXPECT_EQ(BuildPropertyList(contact_, Kind(0))[11].value, u"B0");
}

TEST_F(PropertyListTest, AddresseeJoinsNonEmptyPartsWithOneBlank) {
  testing::TestContact c;
  c.With(F::kCompanyName, u"株式会社山田商事").With(F::kOfficeLocation, u"本社");
  c.With(F::kDepartment, u"営業部").With(F::kLastName, u"山田").With(F::kJobTitle, u"課長");
  EXPECT_EQ(AddresseeLine(c), u"株式会社山田商事 本社 営業部 山田");
  EXPECT_EQ(AddresseeLine(c.With(F::kTitle, u"部長")), u"株式会社山田商事 本社 営業部 山田 部長");
  EXPECT_EQ(Addressee(u"", u"", u""), u"");
  EXPECT_EQ(Addressee(u"", u"", u"山田"), u"山田");
  // Parts are not trimmed one by one: only the joined line loses its outer blanks.
  EXPECT_EQ(Addressee(u"  A  ", u"", u""), u"A");
  EXPECT_EQ(Addressee(u"  A  ", u"", u"B"), u"A   B");
  EXPECT_EQ(Addressee(u"A", u" ", u"B"), u"A   B");
}

TEST_F(PropertyListTest, PostalCodeIsKeptWholeAndSplitInNarrowForm) {
  const struct {
    std::u16string code, upper, lower;
  } cases[] = {{u"１２３－４５６７", u"123", u"4567"},
               {u"〒123-4567", u"123", u"4567"},
               {u"〒 150ー8512", u"150", u"8512"},
               {u"150 8512", u"150", u"8512"},
               {u"12-345", u" 12", u"345 "}};  // filler blanks: the writer strips them
  for (const auto& c : cases) {
    contact_.With(F::kBusinessAddressPostalCode, c.code);
    const PropertyList list = BuildPropertyList(contact_, Kind(2));
    EXPECT_EQ(list[17].value, c.code);
    EXPECT_EQ(list[18].value, c.upper);
    EXPECT_EQ(list[19].value, c.lower);
  }
}

}  // namespace
}  // namespace sendnote
