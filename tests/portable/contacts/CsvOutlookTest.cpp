// Outlook's CSV export of contacts: Japanese and English headings, UTF-8 or code page 932,
// quoted fields, and the record splitting underneath.
#include <gtest/gtest.h>

#include <string>

#include "ContactFileTestSupport.h"
#include "portable/contacts/ContactCsv.h"
#include "portable/contacts/CsvReader.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using platform::MailingAddress;
using testing::Mentions;
using testing::RaisedBy;
using testing::Records;

TEST(CsvOutlookTest, JapaneseExportInUtf8WithByteOrderMark) {
  const std::string csv =
      "\xEF\xBB\xBF"
      "\"敬称\",\"名\",\"ミドル ネーム\",\"姓\",\"敬称 (英語)\",\"会社名\",\"部署\",\"役職\","
      "\"番地 (会社)\",\"番地 2 (会社)\",\"番地 3 (会社)\",\"市町村 (会社)\",\"都道府県 (会社)\","
      "\"郵便番号 (会社)\",\"国/地域 (会社)\",\"番地 (自宅)\",\"市町村 (自宅)\",\"都道府県 "
      "(自宅)\","
      "\"郵便番号 (自宅)\",\"会社 FAX\",\"会社電話\",\"自宅電話\",\"携帯電話\",\"その他の電話\","
      "\"電子メール アドレス\",\"電子メール 表示名\",\"会社住所私書箱\",\"事業所\",\"メモ\"\r\n"
      "\"Dr.\",\"太郎\",\"\",\"山田\",\"様\",\"株式会社山田商事\",\"営業部\",\"部長\","
      "\"丸の内1-1\",\"山田ビル 5F\",\"\",\"千代田区\",\"東京都\",\"100－0005\",\"日本\","
      "\"梅田1-1\",\"大阪市北区\",\"大阪府\",\"530-0001\",\"03-1234-5679\",\"03-1234-5678\","
      "\"06-0000-0000\",\"090-1111-2222\",\"050-0000-0000\",\"taro@example.co.jp\",\"山田\","
      "\"私書箱 12\",\"本社\",\"1行目\r\n2行目\"\r\n"
      ",,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n"
      "\"\",\"花子\",\"\",\"佐藤\"\r\n";
  const std::vector<ContactRecord> records = Records(ParseContactCsv(csv, u"contacts.csv"));
  ASSERT_EQ(records.size(), 2u);  // the empty row is skipped
  const ContactRecord& c = records[0];
  EXPECT_EQ(c[ContactField::kTitle], u"Dr.");
  EXPECT_EQ(c[ContactField::kSuffix], u"様");
  EXPECT_EQ(c[ContactField::kFirstName], u"太郎");
  EXPECT_EQ(c[ContactField::kLastName], u"山田");
  EXPECT_EQ(c[ContactField::kSubject], u"山田 太郎");
  EXPECT_EQ(c[ContactField::kCompanyName], u"株式会社山田商事");
  EXPECT_EQ(c[ContactField::kDepartment], u"営業部");
  EXPECT_EQ(c[ContactField::kJobTitle], u"部長");
  EXPECT_EQ(c[ContactField::kOfficeLocation], u"本社");
  EXPECT_EQ(c[ContactField::kBusinessAddressStreet], u"丸の内1-1\r\n山田ビル 5F");
  EXPECT_EQ(c[ContactField::kBusinessAddressPostalCode], u"100\uFF0D0005");
  EXPECT_EQ(c[ContactField::kBusinessAddressPostOfficeBox], u"私書箱 12");
  EXPECT_EQ(c[ContactField::kBusinessAddress],
            u"100\uFF0D0005\r\n東京都千代田区丸の内1-1\r\n山田ビル 5F\r\n私書箱 12");
  EXPECT_EQ(c[ContactField::kHomeAddress], u"530-0001\r\n大阪府大阪市北区梅田1-1");
  EXPECT_EQ(c[ContactField::kBusinessFaxNumber], u"03-1234-5679");
  EXPECT_EQ(c[ContactField::kBusinessTelephoneNumber], u"03-1234-5678");
  EXPECT_EQ(c[ContactField::kHomeTelephoneNumber], u"06-0000-0000");
  EXPECT_EQ(c[ContactField::kMobileTelephoneNumber], u"090-1111-2222");
  EXPECT_EQ(c[ContactField::kOtherTelephoneNumber], u"050-0000-0000");
  EXPECT_EQ(c[ContactField::kEmail1Address], u"taro@example.co.jp");
  EXPECT_EQ(c[ContactField::kBody], u"1行目\r\n2行目");
  EXPECT_EQ(c.mailingAddress, MailingAddress::kBusiness);  // business comes first

  const ContactRecord& short_row = records[1];  // fewer fields than headings
  EXPECT_EQ(short_row[ContactField::kSubject], u"佐藤 花子");
  EXPECT_EQ(short_row[ContactField::kCompanyName], u"");
  EXPECT_EQ(short_row.mailingAddress, MailingAddress::kNone);
}

TEST(CsvOutlookTest, EnglishExportWithQuotesLineBreaksAndHomeMailingAddress) {
  const std::string csv =
      "Title,First Name,Middle Name,Last Name,Suffix,Company,Department,Job Title,"
      "Business Street,Home Street,Home Street 2,Home City,Home State,Home Postal Code,"
      "Home Country/Region,Other City,Business Phone,Home Fax,Other Fax,Mobile Phone,"
      "E-mail Address,Home Address PO Box,Notes\n"
      "Mr.,John,Q,Public,Jr.,\"ABC, \"\"The\"\" Company\",Sales,Manager,,"
      "\"12 Oak St\nApt 3\",Floor 2,Springfield,IL,62701,USA,Boston,+1 555 0100,"
      "+1 555 0101,+1 555 0102,+1 555 0199,john@example.com,PO 9,\"a,b\"\n";
  const ContactRecord c = Records(ParseContactCsv(csv)).at(0);
  EXPECT_EQ(c[ContactField::kTitle], u"Mr.");
  EXPECT_EQ(c[ContactField::kSuffix], u"Jr.");
  EXPECT_EQ(c[ContactField::kSubject], u"John Q Public");
  EXPECT_EQ(c[ContactField::kCompanyName], u"ABC, \"The\" Company");
  EXPECT_EQ(c[ContactField::kHomeAddressStreet], u"12 Oak St\r\nApt 3\r\nFloor 2");
  EXPECT_EQ(c[ContactField::kHomeAddressPostOfficeBox], u"PO 9");
  EXPECT_EQ(c[ContactField::kHomeAddress],
            u"62701\r\nIL Springfield 12 Oak St\r\nApt 3\r\nFloor 2\r\nPO 9\r\nUSA");
  EXPECT_EQ(c[ContactField::kOtherAddress], u"Boston");
  EXPECT_EQ(c[ContactField::kBusinessTelephoneNumber], u"+1 555 0100");
  EXPECT_EQ(c[ContactField::kHomeFaxNumber], u"+1 555 0101");
  EXPECT_EQ(c[ContactField::kOtherFaxNumber], u"+1 555 0102");
  EXPECT_EQ(c[ContactField::kMobileTelephoneNumber], u"+1 555 0199");
  EXPECT_EQ(c[ContactField::kEmail1Address], u"john@example.com");
  EXPECT_EQ(c[ContactField::kBody], u"a,b");
  EXPECT_EQ(c.mailingAddress, MailingAddress::kHome);  // no business address part: home
}

TEST(CsvOutlookTest, TabSeparatedExportReadsLikeTheCommaOne) {
  // Outlook's tab-separated export: commas inside values are text, quotes still group.
  const std::string tabs =
      "\"姓\"\t\"名\"\t\"会社名\"\t\"番地 (会社)\"\t\"郵便番号 (会社)\"\t\"メモ\"\r\n"
      "山田\t太郎\tYamada, Inc.\t\"桜町1-2-3\r\n山田ビル\"\t150-8512\ta,b\r\n";
  const std::string commas =
      "\"姓\",\"名\",\"会社名\",\"番地 (会社)\",\"郵便番号 (会社)\",\"メモ\"\r\n"
      "山田,太郎,\"Yamada, Inc.\",\"桜町1-2-3\r\n山田ビル\",150-8512,\"a,b\"\r\n";
  const ContactRecord fromTabs = Records(ParseContactCsv(tabs)).at(0);
  EXPECT_EQ(fromTabs, Records(ParseContactCsv(commas)).at(0));
  EXPECT_EQ(fromTabs[ContactField::kCompanyName], u"Yamada, Inc.");
  EXPECT_EQ(fromTabs[ContactField::kBusinessAddressStreet], u"桜町1-2-3\r\n山田ビル");
  EXPECT_EQ(fromTabs[ContactField::kBody], u"a,b");
}

TEST(CsvOutlookTest, ShiftJisExportKeepsBackslashTrailBytesAndFullWidthHyphen) {
  const std::string csv =
      "\x90\xA9,\x96\xBC,\x89\xEF\x8E\xD0\x96\xBC,\"\x97X\x95\xD6\x94\xD4\x8D\x86 (\x89\xEF\x8E"
      "\xD0)\",\x93s\x93\xB9\x95{\x8C\xA7 (\x89\xEF\x8E\xD0),\x95\x94\x8F\x90\r\n"
      "\x94\\,\x83\\,\"\x95\\,\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0\",100\x81|0005,\x93\x8C\x8B\x9E"
      "\x93s,\"\x83\\\"\r\n";
  const ContactRecord c = Records(ParseContactCsv(csv)).at(0);
  EXPECT_EQ(c[ContactField::kLastName], u"能");
  EXPECT_EQ(c[ContactField::kFirstName], u"ソ");
  EXPECT_EQ(c[ContactField::kCompanyName], u"表,株式会社");
  EXPECT_EQ(c[ContactField::kBusinessAddressPostalCode], u"100\uFF0D0005");
  EXPECT_EQ(c[ContactField::kBusinessAddressState], u"東京都");
  EXPECT_EQ(c[ContactField::kDepartment], u"ソ");  // a quoted field ending in 0x5C
  EXPECT_EQ(c[ContactField::kBusinessAddress], u"100\uFF0D0005\r\n東京都");
  EXPECT_EQ(c.mailingAddress, MailingAddress::kBusiness);
}

TEST(CsvOutlookTest, HonorificColumnIsTheSuffixUnlessAnEnglishOneIsBesideIt) {
  const ContactRecord c = Records(ParseContactCsv("姓,名,敬称,肩書き\n山田,太郎,様,Dr.\n")).at(0);
  EXPECT_EQ(c[ContactField::kSuffix], u"様");
  EXPECT_EQ(c[ContactField::kTitle], u"Dr.");
}

TEST(CsvOutlookTest, HeadingsMatchWithoutBlanksCaseOrFullWidthParentheses) {
  const ContactRecord c =
      Records(ParseContactCsv("first name,LAST NAME,番地（自宅）,市町村(自宅)\nA,B,1-2,横浜市\n"))
          .at(0);
  EXPECT_EQ(c[ContactField::kFirstName], u"A");
  EXPECT_EQ(c[ContactField::kLastName], u"B");
  EXPECT_EQ(c[ContactField::kHomeAddress], u"横浜市1-2");
  EXPECT_EQ(c.mailingAddress, MailingAddress::kHome);
}

TEST(CsvOutlookTest, BadFilesRaiseAnErrorNamingFileAndLine) {
  struct Case {
    std::string text;
    std::u16string where;
    std::u16string what;
  };
  const Case cases[] = {
      {"", u"c.csv:", u"empty"},
      {"Nom,Prénom\nA,1\n", u"c.csv, line 1:", u"the headings are not those of a contact export"},
      {"First Name,Last Name\n", u"c.csv:", u"no contact"},
      {"First Name,Last Name\n,\n\n", u"c.csv:", u"no contact"},
      {"First Name,Notes\nA,\"open\nstill open\n", u"c.csv, line 2:", u"closing quote"},
      // Neither UTF-8 nor code page 932: a lone lead byte at the end of the only row.
      {"First Name\nB\x81", u"c.csv, line 2:", u"the row is neither UTF-8 nor Shift_JIS text"},
  };
  for (const Case& c : cases) {
    const platform::ComError error = RaisedBy([&] { ParseContactCsv(c.text, u"c.csv"); });
    EXPECT_EQ(error.Number(), kErrInvalidFileFormat) << c.text;
    EXPECT_TRUE(Mentions(error, c.where)) << error.what();
    EXPECT_TRUE(Mentions(error, c.what)) << error.what();
  }
}

TEST(CsvReaderTest, SplitsRecordsAndCountsLinesInsideQuotedFields) {
  CsvReader reader(u"a,\"b\r\nc\"\"d\",\r\n\"x\"y,\"\"\rlast", u"");
  CsvRecord record;
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record.lineNumber, 1u);
  EXPECT_EQ(record.fields, (std::vector<std::u16string>{u"a", u"b\r\nc\"d", u""}));
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record.lineNumber, 3u);
  EXPECT_EQ(record.fields, (std::vector<std::u16string>{u"xy", u""}));
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record.lineNumber, 4u);
  EXPECT_EQ(record.fields, (std::vector<std::u16string>{u"last"}));
  EXPECT_FALSE(reader.Next(record));
}

TEST(CsvReaderTest, OverlongRecordIsRefused) {
  std::u16string text(kMaxLineLength + 2, u'a');
  CsvReader reader(text, u"big.csv");
  CsvRecord record;
  const platform::ComError error = RaisedBy([&] { reader.Next(record); });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(error, u"big.csv, line 1:")) << error.what();
}

}  // namespace
}  // namespace sendnote::contacts
