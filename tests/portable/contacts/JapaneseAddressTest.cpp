// Splitting one-line Japanese addresses into prefecture, municipality and street.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/Utf.h"
#include "portable/contacts/JapaneseAddress.h"
#include "portable/contacts/JapaneseMunicipalities.h"

namespace sendnote::contacts {
namespace {

using platform::ToUtf8;

// "postal|prefecture|municipality|rest", or "-" when the text is not split.
std::string Split(std::u16string_view text) {
  const std::optional<JapaneseAddress> a = SplitJapaneseAddress(text);
  if (!a) return "-";
  return ToUtf8(a->postalCode + u"|" + a->prefecture + u"|" + a->municipality + u"|" + a->rest);
}

// Each text and its split; grouped by what could go wrong.
TEST(JapaneseAddressTest, SplitsAsPhonesAndPeopleWriteAddresses) {
  const std::pair<std::u16string_view, const char*> cases[] = {
      // As phones and address books write them.
      {u"東京都渋谷区桜丘町26-1セルリアンタワー6階",
       "|東京都|渋谷区|桜丘町26-1セルリアンタワー6階"},
      {u"神奈川県横浜市中区本町2-3-4", "|神奈川県|横浜市中区|本町2-3-4"},
      {u"北海道虻田郡倶知安町北1条西2丁目", "|北海道|虻田郡倶知安町|北1条西2丁目"},
      {u"〒600-8216 京都府京都市下京区烏丸通七条下ル",
       "600-8216|京都府|京都市下京区|烏丸通七条下ル"},
      {u"大阪府大阪市北区梅田1-1", "|大阪府|大阪市北区|梅田1-1"},
      {u"123 Main St", "-"},
      // 市, 町, 村 or 郡 at the start or in the middle of a name: it ends where the list ends it.
      {u"千葉県市川市八幡1-1", "|千葉県|市川市|八幡1-1"},
      {u"三重県四日市市諏訪町1-5", "|三重県|四日市市|諏訪町1-5"},
      {u"広島県廿日市市下平良1-11-1", "|広島県|廿日市市|下平良1-11-1"},
      {u"東京都町田市森野2-2-22", "|東京都|町田市|森野2-2-22"},
      {u"新潟県十日町市千歳町3-3", "|新潟県|十日町市|千歳町3-3"},
      {u"東京都東村山市本町1-2-3", "|東京都|東村山市|本町1-2-3"},
      {u"福島県郡山市朝日1-23-7", "|福島県|郡山市|朝日1-23-7"},
      {u"奈良県大和郡山市北郡山町248-4", "|奈良県|大和郡山市|北郡山町248-4"},
      {u"北海道余市郡余市町朝日町4", "|北海道|余市郡余市町|朝日町4"},
      {u"石川県野々市市三納1-1", "|石川県|野々市市|三納1-1"},
      {u"山梨県西八代郡市川三郷町市川大門1790-3", "|山梨県|西八代郡市川三郷町|市川大門1790-3"},
      {u"富山県中新川郡上市町湯上野1", "|富山県|中新川郡上市町|湯上野1"},
      {u"静岡県浜松市中央区元城町103-2", "|静岡県|浜松市中央区|元城町103-2"},
      // Text that only looks like a prefecture: 京都郡 is in 福岡県, and nothing is guessed
      // without a prefecture. After an unknown municipality the rest is kept whole.
      {u"福岡県京都郡苅田町富久町1-19-1", "|福岡県|京都郡苅田町|富久町1-19-1"},
      {u"京都郡苅田町富久町1-19-1", "-"},
      {u"東京都府中市宮西町2-24", "|東京都|府中市|宮西町2-24"},
      {u"京都市下京区烏丸通", "-"},
      {u"渋谷区桜丘町26-1", "-"},
      {u"東京都京都ビル1階", "|東京都||京都ビル1階"},
      // Widths, blanks and postal codes as written; digits not followed by a prefecture are
      // no postal code.
      {u"〒１５０－００３１　東京都　渋谷区　桜丘町２６－１",
       "１５０－００３１|東京都|渋谷区|桜丘町２６－１"},
      {u"150-0031 東京都渋谷区桜丘町 26-1 6F", "150-0031|東京都|渋谷区|桜丘町 26-1 6F"},
      {u"〒1500031東京都渋谷区桜丘町", "1500031|東京都|渋谷区|桜丘町"},
      {u"〒150ー0031\r\n東京都渋谷区桜丘町26-1\r\nセルリアンタワー",
       "150ー0031|東京都|渋谷区|桜丘町26-1\r\nセルリアンタワー"},
      {u"150-00312 東京都渋谷区", "-"},
      {u"〒 東京都渋谷区", "-"},
      // Forms without the 郡, the island or the ward, and ヶ for ケ.
      {u"北海道倶知安町北1条西2丁目", "|北海道|倶知安町|北1条西2丁目"},
      {u"東京都三宅村阿古", "|東京都|三宅村|阿古"},
      {u"神奈川県横浜市本町2-3-4", "|神奈川県|横浜市|本町2-3-4"},
      {u"千葉県鎌ヶ谷市新鎌ヶ谷2-6-1", "|千葉県|鎌ヶ谷市|新鎌ヶ谷2-6-1"},
  };
  for (const auto& [text, split] : cases) EXPECT_EQ(Split(text), split) << ToUtf8(text);
}

// Every municipality of the list, after its prefecture and before a street, is split off
// exactly: no other name of the prefecture is a longer match, none ends it early.
TEST(JapaneseAddressTest, EveryMunicipalityOfTheList) {
  const auto prefectures = PrefectureNames();
  ASSERT_EQ(prefectures.size(), 47u);
  size_t official = 0;
  for (size_t p = 0; p < prefectures.size(); ++p) {
    for (const Municipality& m : MunicipalitiesOf(p)) {
      const std::u16string street = u"1-1";
      const std::u16string text = std::u16string(prefectures[p]) + std::u16string(m.name) + street;
      // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on "..." + string&&.
      std::string expected = "|";
      expected += ToUtf8(prefectures[p]);
      expected += "|";
      expected += ToUtf8(m.name);
      expected += "|1-1";
      EXPECT_EQ(Split(text), expected);
      official += m.official;
    }
  }
  // Japan Post's list: 1,718 cities, towns and villages and 23 special wards, of which the
  // 20 designated cities count by their 175 wards (as of 2024).
  EXPECT_EQ(official, 1892u);
}

AddressParts Street(std::u16string_view street, std::u16string_view postalCode = {}) {
  AddressParts parts;
  parts.street = street;
  parts.postalCode = postalCode;
  return parts;
}

TEST(JapaneseAddressTest, OnlyAStreetWithoutStateOrCityIsSplit) {
  AddressParts parts = Street(u"〒600-8216 京都府京都市下京区烏丸通七条下ル");
  EXPECT_TRUE(SplitOneLineAddress(parts));
  EXPECT_EQ(parts.postalCode, u"600-8216");
  EXPECT_EQ(parts.state, u"京都府");
  EXPECT_EQ(parts.city, u"京都市下京区");
  EXPECT_EQ(parts.street, u"烏丸通七条下ル");

  // The same postal code given twice is kept once; a different one keeps the street whole.
  parts = Street(u"〒600-8216 京都府京都市下京区烏丸通", u"６００－８２１６");
  EXPECT_TRUE(SplitOneLineAddress(parts));
  EXPECT_EQ(parts.postalCode, u"６００－８２１６");
  EXPECT_EQ(parts.street, u"烏丸通");
  parts = Street(u"〒600-8216 京都府京都市下京区烏丸通", u"100-0005");
  EXPECT_FALSE(SplitOneLineAddress(parts));
  EXPECT_EQ(parts.street, u"〒600-8216 京都府京都市下京区烏丸通");

  parts = Street(u"東京都渋谷区桜丘町");
  parts.state = u"東京都";
  EXPECT_FALSE(SplitOneLineAddress(parts));
  EXPECT_EQ(parts.street, u"東京都渋谷区桜丘町");
  parts = Street(u"東京都渋谷区桜丘町");
  parts.city = u"渋谷区";
  EXPECT_FALSE(SplitOneLineAddress(parts));
  parts = Street(u"123 Main St");
  EXPECT_FALSE(SplitOneLineAddress(parts));
  EXPECT_EQ(parts.street, u"123 Main St");
}

}  // namespace
}  // namespace sendnote::contacts
