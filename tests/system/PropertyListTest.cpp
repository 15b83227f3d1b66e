// The property list a contact gives: names and order, the address columns, the
// addressee line and the postal-code split.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "inmemory/InMemoryRuntime.h"
#include "letter/PropertyList.h"
#include "platform/Utf.h"
#include "tests/system/WriteDocPropTestSupport.h"

namespace sendnote {
namespace {

using F = platform::ContactField;
using testing::TestContact;

const std::vector<std::u16string> kAlwaysNames = {
    u"宛先",   u"名",   u"姓",       u"会社名", u"事業所",        u"部署",
    u"肩書き", u"役職", u"携帯電話", u"敬称",   u"メールアドレス"};
const std::vector<std::u16string> kAddressNames = {
    u"住所",     u"FAX番号",  u"電話番号",     u"番地",         u"市町村",
    u"都道府県", u"郵便番号", u"郵便番号上位", u"郵便番号下位", u"私書箱"};

std::vector<std::u16string> NamesOf(const PropertyList& list) {
  std::vector<std::u16string> names;
  for (const auto& entry : list) names.push_back(entry.name);
  return names;
}

std::u16string ValueOf(const PropertyList& list, std::u16string_view name) {
  for (const auto& entry : list) {
    if (entry.name == name) return entry.value;
  }
  ADD_FAILURE() << "no entry " << platform::ToUtf8(name);
  return {};
}

class PropertyListTest : public ::testing::Test {
 protected:
  // A contact with distinct values in all three address columns.
  static void FillAddresses(TestContact& c) {
    c.With(F::kHomeAddress, u"H-address").With(F::kHomeFaxNumber, u"H-fax");
    c.With(F::kHomeTelephoneNumber, u"H-tel").With(F::kHomeAddressStreet, u"H-street");
    c.With(F::kHomeAddressCity, u"H-city").With(F::kHomeAddressState, u"H-state");
    c.With(F::kHomeAddressPostalCode, u"111-1111").With(F::kHomeAddressPostOfficeBox, u"H-box");
    c.With(F::kBusinessAddress, u"B-address").With(F::kBusinessFaxNumber, u"B-fax");
    c.With(F::kBusinessTelephoneNumber, u"B-tel").With(F::kBusinessAddressStreet, u"B-street");
    c.With(F::kBusinessAddressCity, u"B-city").With(F::kBusinessAddressState, u"B-state");
    c.With(F::kBusinessAddressPostalCode, u"222-2222");
    c.With(F::kBusinessAddressPostOfficeBox, u"B-box");
    c.With(F::kOtherAddress, u"O-address").With(F::kOtherFaxNumber, u"O-fax");
    c.With(F::kOtherTelephoneNumber, u"O-tel").With(F::kOtherAddressStreet, u"O-street");
    c.With(F::kOtherAddressCity, u"O-city").With(F::kOtherAddressState, u"O-state");
    c.With(F::kOtherAddressPostalCode, u"333-3333").With(F::kOtherAddressPostOfficeBox, u"O-box");
    c.With(F::kHomeAddressCountry, u"H-country").With(F::kBusinessAddressCountry, u"B-country");
  }

  std::u16string Addressee(std::u16string company, std::u16string office, std::u16string dept,
                           std::u16string last, std::u16string title) {
    TestContact c;
    c.With(F::kCompanyName, company).With(F::kOfficeLocation, office);
    c.With(F::kDepartment, dept).With(F::kLastName, last).With(F::kTitle, title);
    c.With(F::kFirstName, u"太郎");
    return AddresseeLine(c);
  }

  PropertyList ListForPostCode(std::u16string code) {
    TestContact c;
    c.With(F::kHomeAddressPostalCode, std::move(code));
    return BuildPropertyList(c, 1);
  }

  inmemory::InMemoryRuntime runtime_;
  platform::ScopedRuntime scope_{runtime_};
};

TEST_F(PropertyListTest, ElevenEntriesWithoutAnAddressKind) {
  TestContact c;
  c.Mailing(0);
  EXPECT_EQ(NamesOf(BuildPropertyList(c, 0)), kAlwaysNames);
  // Kinds outside 0..3 give no address entries either.
  EXPECT_EQ(NamesOf(BuildPropertyList(c, 4)), kAlwaysNames);
  EXPECT_EQ(NamesOf(BuildPropertyList(c, -1)), kAlwaysNames);
  c.Mailing(7);
  EXPECT_EQ(NamesOf(BuildPropertyList(c, 0)), kAlwaysNames);
}

TEST_F(PropertyListTest, TwentyOneEntriesForHomeBusinessAndOther) {
  std::vector<std::u16string> all = kAlwaysNames;
  all.insert(all.end(), kAddressNames.begin(), kAddressNames.end());
  TestContact c;
  for (int32_t kind = 1; kind <= 3; ++kind) {
    EXPECT_EQ(NamesOf(BuildPropertyList(c, kind)), all) << kind;
  }
}

TEST_F(PropertyListTest, EveryMemberLandsInItsEntry) {
  TestContact c;
  c.With(F::kFirstName, u"太郎").With(F::kLastName, u"山田").With(F::kCompanyName, u"山田商事");
  c.With(F::kOfficeLocation, u"本社").With(F::kDepartment, u"営業部").With(F::kTitle, u"部長");
  c.With(F::kJobTitle, u"営業部長").With(F::kMobileTelephoneNumber, u"090-0000-0000");
  c.With(F::kSuffix, u"様").With(F::kEmail1Address, u"yamada@example.jp");
  c.With(F::kSubject, u"subject").With(F::kYomiLastName, u"ヤマダ");
  const PropertyList list = BuildPropertyList(c, 0);
  const std::vector<std::u16string> expected = {u"山田商事 本社 営業部 山田 部長",
                                                u"太郎",
                                                u"山田",
                                                u"山田商事",
                                                u"本社",
                                                u"営業部",
                                                u"部長",
                                                u"営業部長",
                                                u"090-0000-0000",
                                                u"様",
                                                u"yamada@example.jp"};
  ASSERT_EQ(list.size(), expected.size());
  for (size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].value, expected[i]) << i;
}

TEST_F(PropertyListTest, AddressEntriesComeFromTheChosenKindsColumn) {
  TestContact c;
  FillAddresses(c);
  const struct {
    int32_t kind;
    const char16_t* letter;
    const char16_t* upper;
  } columns[] = {{1, u"H", u"111"}, {2, u"B", u"222"}, {3, u"O", u"333"}};
  for (const auto& column : columns) {
    const PropertyList list = BuildPropertyList(c, column.kind);
    const std::u16string l = column.letter;
    EXPECT_EQ(ValueOf(list, u"住所"), l + u"-address");
    EXPECT_EQ(ValueOf(list, u"FAX番号"), l + u"-fax");
    EXPECT_EQ(ValueOf(list, u"電話番号"), l + u"-tel");
    EXPECT_EQ(ValueOf(list, u"番地"), l + u"-street");
    EXPECT_EQ(ValueOf(list, u"市町村"), l + u"-city");
    EXPECT_EQ(ValueOf(list, u"都道府県"), l + u"-state");
    EXPECT_EQ(ValueOf(list, u"郵便番号上位"), column.upper);
    EXPECT_EQ(ValueOf(list, u"私書箱"), l + u"-box");
  }
}

TEST_F(PropertyListTest, KindZeroTakesTheContactsMailingAddress) {
  TestContact c;
  FillAddresses(c);
  c.Mailing(2);
  EXPECT_EQ(ValueOf(BuildPropertyList(c, 0), u"住所"), u"B-address");
  c.Mailing(3);
  EXPECT_EQ(ValueOf(BuildPropertyList(c, 0), u"郵便番号"), u"333-3333");
  // A chosen kind wins over the contact's own mark.
  EXPECT_EQ(ValueOf(BuildPropertyList(c, 1), u"住所"), u"H-address");
}

TEST_F(PropertyListTest, AddresseeJoinsNonEmptyPartsWithOneBlank) {
  EXPECT_EQ(Addressee(u"株式会社山田商事", u"本社", u"営業部", u"山田", u""),
            u"株式会社山田商事 本社 営業部 山田");
  EXPECT_EQ(Addressee(u"", u"", u"", u"", u""), u"");
  EXPECT_EQ(Addressee(u"", u"", u"", u"山田", u""), u"山田");
  EXPECT_EQ(Addressee(u"", u"本社", u"", u"", u"部長"), u"本社 部長");
  // Parts are not trimmed one by one: only the joined line loses its outer blanks.
  EXPECT_EQ(Addressee(u"  A  ", u"", u"", u"", u""), u"A");
  EXPECT_EQ(Addressee(u"  A  ", u"", u"", u"B", u""), u"A   B");
  EXPECT_EQ(Addressee(u" ", u"", u"", u"B", u""), u"B");
  EXPECT_EQ(Addressee(u"A", u" ", u"", u"B", u""), u"A   B");
}

TEST_F(PropertyListTest, PostalCodeIsKeptWholeAndSplitInNarrowForm) {
  PropertyList list = ListForPostCode(u"１２３－４５６７");
  EXPECT_EQ(ValueOf(list, u"郵便番号"), u"１２３－４５６７");
  EXPECT_EQ(ValueOf(list, u"郵便番号上位"), u"123");
  EXPECT_EQ(ValueOf(list, u"郵便番号下位"), u"4567");

  list = ListForPostCode(u"〒123-4567");
  EXPECT_EQ(ValueOf(list, u"郵便番号"), u"〒123-4567");
  EXPECT_EQ(ValueOf(list, u"郵便番号上位"), u"123");
  EXPECT_EQ(ValueOf(list, u"郵便番号下位"), u"4567");

  // The parts keep their filler blanks here; the writer strips them.
  list = ListForPostCode(u"12-345");
  EXPECT_EQ(ValueOf(list, u"郵便番号上位"), u" 12");
  EXPECT_EQ(ValueOf(list, u"郵便番号下位"), u"345 ");
  list = ListForPostCode(u"");
  EXPECT_EQ(ValueOf(list, u"郵便番号上位"), u"   ");
  EXPECT_EQ(ValueOf(list, u"郵便番号下位"), u"    ");
}

TEST_F(PropertyListTest, AFailingContactReadPassesToTheCaller) {
  TestContact c;
  c.FailReads(platform::kErrServerGone);
  try {
    BuildPropertyList(c, 1);
    ADD_FAILURE() << "no error";
  } catch (const platform::ComError& e) {
    EXPECT_EQ(e.Number(), platform::kErrServerGone);
  }
}

}  // namespace
}  // namespace sendnote
