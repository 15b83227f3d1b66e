// Google Contacts' CSV export in its two forms, headings of no known form, near-miss headings
// and rows that cannot be read.
#include <gtest/gtest.h>

#include <string>

#include "ContactFileTestSupport.h"
#include "portable/contacts/ContactCsv.h"
#include "portable/contacts/ContactFileError.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using platform::MailingAddress;
using testing::Mentions;
using testing::RaisedBy;
using testing::Records;

// The older "Google CSV" form, as Gmail exported it.
constexpr std::string_view kGoogleOld =
    "Name,Given Name,Additional Name,Family Name,Yomi Name,Given Name Yomi,Additional Name Yomi,"
    "Family Name Yomi,Name Prefix,Name Suffix,Initials,Nickname,Short Name,Maiden Name,Birthday,"
    "Gender,Location,Billing Information,Directory Server,Mileage,Occupation,Hobby,Sensitivity,"
    "Priority,Subject,Notes,Language,Photo,Group Membership,E-mail 1 - Type,E-mail 1 - Value,"
    "E-mail 2 - Type,E-mail 2 - Value,Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,"
    "Phone 2 - Value,Phone 3 - Type,Phone 3 - Value,Phone 4 - Type,Phone 4 - Value,"
    "Address 1 - Type,Address 1 - Formatted,Address 1 - Street,Address 1 - City,"
    "Address 1 - PO Box,Address 1 - Region,Address 1 - Postal Code,Address 1 - Country,"
    "Address 1 - Extended Address,Address 2 - Type,Address 2 - Formatted,Address 2 - Street,"
    "Address 2 - City,Address 2 - PO Box,Address 2 - Region,Address 2 - Postal Code,"
    "Address 2 - Country,Address 2 - Extended Address,Organization 1 - Type,"
    "Organization 1 - Name,Organization 1 - Yomi Name,Organization 1 - Title,"
    "Organization 1 - Department,Organization 1 - Symbol,Organization 1 - Location,"
    "Organization 1 - Job Description,Website 1 - Type,Website 1 - Value\r\n"
    "山田 太郎,太郎,,山田,,たろう,,やまだ,,様,,,,,1980-01-02,,,,,,,,,,,\"メモ1行目\n2行目\",,,"
    "* myContacts,Home,taro.home@example.jp,* Work,taro@example.co.jp,Mobile,"
    "090-1111-2222 ::: 080-0000-0000,Work,03-1234-5678,Work Fax,03-1234-5679,Pager,0120-000-000,"
    "Home,\"〒150-0031\n東京都渋谷区桜丘町1-2\",桜丘町1-2,渋谷区,,東京都,150-0031,日本,"
    "さくらビル3F,* Work,,丸の内1-1,千代田区,私書箱 12,東京都,100-0005,日本,山田ビル5F,,"
    "株式会社山田商事,かぶしきがいしゃやまだしょうじ,部長,営業部,,本社,,Profile,"
    "http://example.jp\r\n";

// The newer form: First Name, Organization Name, labels instead of types.
constexpr std::string_view kGoogleNew =
    "First Name,Middle Name,Last Name,Phonetic First Name,Phonetic Middle Name,"
    "Phonetic Last Name,Name Prefix,Name Suffix,Nickname,File As,Organization Name,"
    "Organization Title,Organization Department,Birthday,Notes,Photo,Labels,E-mail 1 - Label,"
    "E-mail 1 - Value,Phone 1 - Label,Phone 1 - Value,Phone 2 - Label,Phone 2 - Value,"
    "Address 1 - Label,Address 1 - Formatted,Address 1 - Street,Address 1 - City,"
    "Address 1 - PO Box,Address 1 - Region,Address 1 - Postal Code,Address 1 - Country,"
    "Address 1 - Extended Address\n"
    "花子,,佐藤,はなこ,,さとう,,,,,表参道ソフト株式会社,主任,開発部,,,,* myContacts,Work,"
    "hanako@example.jp,携帯,090-3333-4444,Home,03-5555-6666,Other,,,,,,,,"
    "神奈川県横浜市西区みなとみらい3-3-3\n";

TEST(CsvGoogleTest, OlderFormIsMappedLikeAVCard) {
  std::vector<std::u16string> warnings;
  const std::vector<ContactRecord> records =
      Records(ParseContactCsv(kGoogleOld, u"google.csv", &warnings));
  EXPECT_TRUE(warnings.empty()) << platform::ToUtf8(warnings.at(0));
  ASSERT_EQ(records.size(), 1u);
  const ContactRecord& c = records[0];
  EXPECT_EQ(c[ContactField::kSubject], u"山田 太郎");
  EXPECT_EQ(c[ContactField::kFirstName], u"太郎");
  EXPECT_EQ(c[ContactField::kLastName], u"山田");
  EXPECT_EQ(c[ContactField::kYomiFirstName], u"たろう");
  EXPECT_EQ(c[ContactField::kYomiLastName], u"やまだ");
  EXPECT_EQ(c[ContactField::kSuffix], u"様");
  EXPECT_EQ(c[ContactField::kBody], u"メモ1行目\r\n2行目");
  EXPECT_EQ(c[ContactField::kCompanyName], u"株式会社山田商事");
  EXPECT_EQ(c[ContactField::kYomiCompanyName], u"かぶしきがいしゃやまだしょうじ");
  EXPECT_EQ(c[ContactField::kJobTitle], u"部長");
  EXPECT_EQ(c[ContactField::kDepartment], u"営業部");
  EXPECT_EQ(c[ContactField::kOfficeLocation], u"本社");
  EXPECT_EQ(c[ContactField::kEmail1Address], u"taro@example.co.jp");     // the primary one
  EXPECT_EQ(c[ContactField::kMobileTelephoneNumber], u"090-1111-2222");  // first of " ::: "
  EXPECT_EQ(c[ContactField::kBusinessTelephoneNumber], u"03-1234-5678");
  EXPECT_EQ(c[ContactField::kBusinessFaxNumber], u"03-1234-5679");
  EXPECT_EQ(c[ContactField::kOtherTelephoneNumber], u"");  // the pager has no member
  // Home: the formatted text is the whole address; the building line joins the street.
  EXPECT_EQ(c[ContactField::kHomeAddressStreet], u"桜丘町1-2\r\nさくらビル3F");
  EXPECT_EQ(c[ContactField::kHomeAddress], u"〒150-0031\r\n東京都渋谷区桜丘町1-2");
  EXPECT_EQ(c[ContactField::kHomeAddressPostalCode], u"150-0031");
  // Work, marked primary, without a formatted text: composed, and the mailing address.
  EXPECT_EQ(c[ContactField::kBusinessAddressStreet], u"丸の内1-1\r\n山田ビル5F");
  EXPECT_EQ(c[ContactField::kBusinessAddressPostOfficeBox], u"私書箱 12");
  EXPECT_EQ(c[ContactField::kBusinessAddress],
            u"100-0005\r\n東京都千代田区丸の内1-1\r\n山田ビル5F\r\n私書箱 12");
  EXPECT_EQ(c.mailingAddress, MailingAddress::kBusiness);
}

TEST(CsvGoogleTest, NewerFormWithLabelsAndTheStreetInTheExtendedPart) {
  const ContactRecord c = Records(ParseContactCsv(kGoogleNew)).at(0);
  EXPECT_EQ(c[ContactField::kSubject], u"佐藤 花子");
  EXPECT_EQ(c[ContactField::kYomiLastName], u"さとう");
  EXPECT_EQ(c[ContactField::kCompanyName], u"表参道ソフト株式会社");
  EXPECT_EQ(c[ContactField::kJobTitle], u"主任");
  EXPECT_EQ(c[ContactField::kDepartment], u"開発部");
  EXPECT_EQ(c[ContactField::kEmail1Address], u"hanako@example.jp");
  EXPECT_EQ(c[ContactField::kOtherTelephoneNumber], u"090-3333-4444");  // a label of her own
  EXPECT_EQ(c[ContactField::kHomeTelephoneNumber], u"03-5555-6666");
  // The one-line street is split; the formatted text stays the whole address.
  EXPECT_EQ(c[ContactField::kOtherAddressStreet], u"みなとみらい3-3-3");
  EXPECT_EQ(c[ContactField::kOtherAddressState], u"神奈川県");
  EXPECT_EQ(c[ContactField::kOtherAddressCity], u"横浜市西区");
  EXPECT_EQ(c[ContactField::kOtherAddress], u"神奈川県横浜市西区みなとみらい3-3-3");
  EXPECT_EQ(c.mailingAddress, MailingAddress::kOther);
}

TEST(CsvGoogleTest, HeadingsOfNoKnownFormAreRefusedWithTheHeadingsExpected) {
  const platform::ComError error =
      RaisedBy([] { ParseContactCsv("Nom,Prénom,Adresse\nDupont,Jean,Paris\n", u"x.csv"); });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  for (std::u16string_view part :
       {u"x.csv, line 1: the headings are not those of a contact export", u"\"First Name\"",
        u"\"姓\"", u"\"番地 (会社)\"", u"\"Given Name\"", u"\"Organization 1 - Name\"",
        u"\"Organization Name\""}) {
    EXPECT_TRUE(Mentions(error, part)) << error.what();
  }
}

TEST(CsvGoogleTest, ANearMissHeadingIsReportedOnceAndUnreadColumnsStaySilent) {
  struct Case {
    const char* form;
    std::string csv;
    std::vector<std::u16string> warnings;
  };
  const Case cases[] = {
      {"Outlook",
       "姓,名,番地 (会社),住所 2 (会社),住所 2 (会社),会社電話 2,電子メール 2 アドレス,"
       "Business Phone 2,E-mail 2 Address,User 1\n山田,太郎,丸の内1-1,5F,5F,1,a@x,2,b@x,u\n",
       {u"o.csv: the column \"住所 2 (会社)\" is ignored: it is not a heading of an Outlook "
        u"export (\"番地 2 (会社)\" is)"}},
      {"Google",
       "Name,Given Name,Address 3 - Stret,Adress 1 - City,Website 1 - Value,IM 1 - Service,"
       "Nickname,Custom Field 2 - Value\nA,B,x,y,z,s,n,c\n",
       {u"o.csv: the column \"Address 3 - Stret\" is ignored: it is not a heading of a Google "
        u"Contacts export (\"Address 1 - Street\" is)",
        u"o.csv: the column \"Adress 1 - City\" is ignored: it is not a heading of a Google "
        u"Contacts export (\"Address 1 - City\" is)"}},
      {"Outlook, every column read", "First Name,Last Name,Company\nA,B,C\n", {}},
      // Outlook's whole English export shares "Birthday", "Location", ... with Google's.
      {"Outlook, its whole English export",
       "Title,First Name,Middle Name,Last Name,Suffix,Company,Department,Job Title,"
       "Business Street,Business Street 2,Business Street 3,Business City,Business State,"
       "Business Postal Code,Business Country/Region,Home Street,Home Street 2,Home Street 3,"
       "Home City,Home State,Home Postal Code,Home Country/Region,Other Street,Other Street 2,"
       "Other Street 3,Other City,Other State,Other Postal Code,Other Country/Region,"
       "Assistant's Phone,Business Fax,Business Phone,Business Phone 2,Callback,Car Phone,"
       "Company Main Phone,Home Fax,Home Phone,Home Phone 2,ISDN,Mobile Phone,Other Fax,"
       "Other Phone,Pager,Primary Phone,Radio Phone,TTY/TDD Phone,Telex,Account,Anniversary,"
       "Assistant's Name,Billing Information,Birthday,Business Address PO Box,Categories,"
       "Children,Directory Server,E-mail Address,E-mail Type,E-mail Display Name,"
       "E-mail 2 Address,E-mail 2 Type,E-mail 2 Display Name,E-mail 3 Address,E-mail 3 Type,"
       "E-mail 3 Display Name,Gender,Government ID Number,Hobby,Home Address PO Box,Initials,"
       "Internet Free Busy,Keywords,Language,Location,Manager's Name,Mileage,Notes,"
       "Office Location,Organizational ID Number,Other Address PO Box,Priority,Private,"
       "Profession,Referred By,Sensitivity,Spouse,User 1,User 2,User 3,User 4,Web Page\n"
       ",John,,Smith,,,,,1 Main St\n",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form);
    std::vector<std::u16string> warnings;
    const std::vector<ContactRecord> records = Records(ParseContactCsv(c.csv, u"o.csv", &warnings));
    EXPECT_EQ(warnings, c.warnings);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_NE(records[0][ContactField::kSubject], u"");
  }
}

TEST(CsvGoogleTest, ARowThatCannotBeReadKeepsItsPlaceAndTheOthersAreRead) {
  // Shift_JIS rows around one with a lone lead byte, and a UTF-8 row among Shift_JIS ones.
  const std::string sjis =
      "\x90\xA9,\x96\xBC\r\n"  // 姓,名
      "\x8ER\x93"
      "c,\x91\xBE\x98Y\r\n"  // 山田,太郎
      "\x8ER\x93"
      "c,\x81\r\n"  // 山田,(a lead byte without its trail)
      "\xE4\xBD\x90\xE8\x97\xA4,\xE8\x8A\xB1\xE5\xAD\x90\r\n"  // 佐藤,花子 in UTF-8
      "\x97\xE9\x96\xD8,\x88\xEA\x98Y\r\n";                    // 鈴木,一郎
  const std::vector<ContactEntry> entries = ParseContactCsv(sjis, u"s.csv");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].record[ContactField::kSubject], u"山田 太郎");
  EXPECT_EQ(entries[1].problem, u"line 3: the row is neither UTF-8 nor Shift_JIS text");
  EXPECT_EQ(entries[2].record[ContactField::kSubject], u"佐藤 花子");
  EXPECT_EQ(entries[3].record[ContactField::kSubject], u"鈴木 一郎");
  for (size_t i : {0u, 2u, 3u}) EXPECT_TRUE(entries[i].Readable()) << i;

  // Headings that are neither refuse the file, as does a file of unreadable rows only.
  EXPECT_TRUE(Mentions(RaisedBy([] { ParseContactCsv("\x81\xFF,\x96\xBC\n\x81,x\n"); }),
                       u"line 1: the headings are neither UTF-8 nor Shift_JIS text"));
  EXPECT_TRUE(Mentions(RaisedBy([] { ParseContactCsv("First Name\n\x81\n\xFF\n", u"b.csv"); }),
                       u"b.csv, line 2: the row is neither UTF-8 nor Shift_JIS text"));
}

}  // namespace
}  // namespace sendnote::contacts
