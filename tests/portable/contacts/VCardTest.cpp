// vCard 3.0 and 4.0: folding, escapes, type lists, preference and the mailing address.
#include <gtest/gtest.h>

#include <string>

#include "ContactFileTestSupport.h"
#include "portable/contacts/VCardReader.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using platform::MailingAddress;
using testing::Mentions;
using testing::RaisedBy;
using testing::Records;

ContactRecord OnlyCard(std::string_view text) {
  std::vector<ContactRecord> records = Records(ParseVCard(text));
  EXPECT_EQ(records.size(), 1u);
  return records.at(0);
}

TEST(VCardTest, Version3CardWithFoldingEscapesAndTypeLists) {
  const ContactRecord c = OnlyCard(
      "BEGIN:VCARD\r\n"
      "VERSION:3.0\r\n"
      "N:Public;John;Quinlan;Mr.;Esq.\r\n"
      "FN:John Q. Public\\, Esq.\r\n"
      "ORG:ABC\\, Inc.;North American Division;Marketing\r\n"
      "TITLE:Director\\; Research\r\n"
      "NOTE:first line\\nsecond \\\\ line\r\n"
      "TEL;TYPE=work,voice:+1-213-555-1234\r\n"
      "TEL;TYPE=HOME;TYPE=FAX:+1-213-555-9876\r\n"
      "TEL;TYPE=cell:+1-213-555-0000\r\n"
      "TEL;TYPE=voice:+1-213-555-1111\r\n"
      "TEL;TYPE=fax:+1-213-555-2222\r\n"
      "EMAIL;TYPE=internet:jqpublic@xyz.example.com\r\n"
      "EMAIL;TYPE=internet,pref:jqp@example.com\r\n"
      "ADR;TYPE=work:;Suite 100;123 Main Street;Any Town;CA;91921-1234;U.S.A.\r\n"
      "ADR;TYPE=home:;;5 Oak\r\n"
      "  Lane;Spring\r\n"
      "\tfield;IL;62701;USA\r\n"
      "LABEL;TYPE=home:5 Oak Lane\\nSpringfield\\, IL 62701\r\n"
      "END:VCARD\r\n");
  EXPECT_EQ(c[ContactField::kLastName], u"Public");
  EXPECT_EQ(c[ContactField::kFirstName], u"John");
  EXPECT_EQ(c[ContactField::kTitle], u"Mr.");
  EXPECT_EQ(c[ContactField::kSuffix], u"Esq.");
  EXPECT_EQ(c[ContactField::kSubject], u"John Q. Public, Esq.");
  EXPECT_EQ(c[ContactField::kCompanyName], u"ABC, Inc.");
  EXPECT_EQ(c[ContactField::kDepartment], u"North American Division Marketing");
  EXPECT_EQ(c[ContactField::kJobTitle], u"Director; Research");
  EXPECT_EQ(c[ContactField::kBody], u"first line\r\nsecond \\ line");
  EXPECT_EQ(c[ContactField::kBusinessTelephoneNumber], u"+1-213-555-1234");
  EXPECT_EQ(c[ContactField::kHomeFaxNumber], u"+1-213-555-9876");
  EXPECT_EQ(c[ContactField::kMobileTelephoneNumber], u"+1-213-555-0000");
  EXPECT_EQ(c[ContactField::kOtherTelephoneNumber], u"+1-213-555-1111");
  EXPECT_EQ(c[ContactField::kOtherFaxNumber], u"+1-213-555-2222");
  EXPECT_EQ(c[ContactField::kEmail1Address], u"jqp@example.com");  // the preferred one
  // Not Outlook's card: the extended part is the street's building line, not the office.
  EXPECT_EQ(c[ContactField::kOfficeLocation], u"");
  EXPECT_EQ(c[ContactField::kBusinessAddressStreet], u"123 Main Street\r\nSuite 100");
  // Folding removes the line break and exactly one leading blank or tab.
  EXPECT_EQ(c[ContactField::kHomeAddressStreet], u"5 Oak Lane");
  EXPECT_EQ(c[ContactField::kHomeAddressCity], u"Springfield");
  EXPECT_EQ(c[ContactField::kHomeAddress], u"5 Oak Lane\r\nSpringfield, IL 62701");
  // The parts run together in Japanese order.
  EXPECT_EQ(c[ContactField::kBusinessAddress],
            u"91921-1234\r\nCA Any Town 123 Main Street\r\nSuite 100\r\nU.S.A.");
  EXPECT_EQ(c.mailingAddress, MailingAddress::kBusiness);  // nothing preferred: the first address
}

TEST(VCardTest, Version4CardWithPrefNumbersLabelParameterAndTelUri) {
  const ContactRecord c = OnlyCard(
      "BEGIN:VCARD\n"
      "VERSION:4.0\n"
      "FN:山田 花子\n"
      "N;SORT-AS=\"やまだ,はなこ\":山田;花子;;;\n"
      "ORG;SORT-AS=\"かぶしきがいしゃ\":株式会社テスト\n"
      "EMAIL;PREF=2:second@example.jp\n"
      "EMAIL;PREF=1:first@example.jp\n"
      "EMAIL:third@example.jp\n"
      "TEL;VALUE=uri;TYPE=\"work,voice\":tel:+81-3-1234-5678\n"
      "TEL;VALUE=uri;TYPE=home;PREF=1:tel:+81-3-0000-0000\n"
      "TEL;VALUE=uri;TYPE=home:tel:+81-3-9999-9999\n"
      "ADR;TYPE=home:;;梅田1-1;大阪市北区;大阪府;530-0001;日本\n"
      "ADR;TYPE=work;PREF=1;LABEL=\"〒100-0001\\n東京都千代田区千代田1-1;ビル:5F\":;;千代田1-1;"
      "千代田区;"
      "東京都;100-0001;日本\n"
      "END:VCARD\n");
  EXPECT_EQ(c[ContactField::kSubject], u"山田 花子");
  EXPECT_EQ(c[ContactField::kYomiLastName], u"やまだ");
  EXPECT_EQ(c[ContactField::kYomiFirstName], u"はなこ");
  EXPECT_EQ(c[ContactField::kYomiCompanyName], u"かぶしきがいしゃ");
  EXPECT_EQ(c[ContactField::kEmail1Address], u"first@example.jp");
  EXPECT_EQ(c[ContactField::kBusinessTelephoneNumber], u"+81-3-1234-5678");
  EXPECT_EQ(c[ContactField::kHomeTelephoneNumber], u"+81-3-0000-0000");
  // ';' and ':' inside the quoted parameter neither end it nor start the value.
  EXPECT_EQ(c[ContactField::kBusinessAddress], u"〒100-0001\r\n東京都千代田区千代田1-1;ビル:5F");
  EXPECT_EQ(c[ContactField::kBusinessAddressStreet], u"千代田1-1");
  EXPECT_EQ(c[ContactField::kHomeAddress], u"530-0001\r\n大阪府大阪市北区梅田1-1");
  EXPECT_EQ(c.mailingAddress,
            MailingAddress::kBusiness);  // the preferred address, though not the first
}

TEST(VCardTest, MailingAddressRules) {
  // Outlook's own marker wins over preference.
  EXPECT_EQ(OnlyCard("BEGIN:VCARD\nVERSION:2.1\nADR;WORK;PREF:;;a\nADR;HOME:;;b\n"
                     "X-MS-OL-DEFAULT-POSTAL-ADDRESS:1\nEND:VCARD\n")
                .mailingAddress,
            MailingAddress::kHome);
  EXPECT_EQ(OnlyCard("BEGIN:VCARD\nVERSION:2.1\nADR;WORK:;;a\n"
                     "X-MS-OL-DEFAULT-POSTAL-ADDRESS:0\nEND:VCARD\n")
                .mailingAddress,
            MailingAddress::kNone);
  // An out-of-range marker is ignored; the preferred address decides.
  EXPECT_EQ(OnlyCard("BEGIN:VCARD\nVERSION:2.1\nADR;HOME:;;b\nADR;POSTAL;PREF:;;c\n"
                     "X-MS-OL-DEFAULT-POSTAL-ADDRESS:7\nEND:VCARD\n")
                .mailingAddress,
            MailingAddress::kOther);
  // Without preference the first address; an empty one does not count.
  EXPECT_EQ(OnlyCard("BEGIN:VCARD\nVERSION:3.0\nADR;TYPE=work:;;;;;;\nADR:;;x\n"
                     "ADR;TYPE=work:;;y\nEND:VCARD\n")
                .mailingAddress,
            MailingAddress::kOther);
  // A LABEL alone is an address too.
  EXPECT_EQ(OnlyCard("BEGIN:VCARD\nVERSION:2.1\nLABEL;HOME:Tokyo\nEND:VCARD\n").mailingAddress,
            MailingAddress::kHome);
  EXPECT_EQ(OnlyCard("BEGIN:VCARD\nVERSION:2.1\nFN:x\nEND:VCARD\n").mailingAddress,
            MailingAddress::kNone);
}

TEST(VCardTest, PreferredValueWinsOverEarlierOnesOfTheSameMember) {
  const ContactRecord c = OnlyCard(
      "BEGIN:VCARD\nVERSION:2.1\n"
      "TEL;WORK;VOICE:1\nTEL;WORK;VOICE;PREF:2\nTEL;WORK:3\n"
      "EMAIL;INTERNET:a@x\nEMAIL;INTERNET:b@x\n"
      "ADR;HOME:;;first\nADR;HOME;PREF:;;second\n"
      "END:VCARD\n");
  EXPECT_EQ(c[ContactField::kBusinessTelephoneNumber], u"2");
  EXPECT_EQ(c[ContactField::kEmail1Address], u"a@x");  // none preferred: the first
  EXPECT_EQ(c[ContactField::kHomeAddressStreet], u"second");
  EXPECT_EQ(c[ContactField::kHomeAddress], u"second");
}

TEST(VCardTest, ExtendedAddressIsTheStreetsLastLineOrTheStreetItself) {
  const ContactRecord c = OnlyCard(
      "BEGIN:VCARD\nVERSION:3.0\nADR;TYPE=postal:PO Box 7;Apt 5;1 Main St;Town;;;\n"
      "ADR;TYPE=work:;Room 3;;Town;;;\nEND:VCARD\n");
  EXPECT_EQ(c[ContactField::kOtherAddressStreet], u"1 Main St\r\nApt 5");
  EXPECT_EQ(c[ContactField::kOtherAddress], u"Town 1 Main St\r\nApt 5\r\nPO Box 7");
  EXPECT_EQ(c[ContactField::kOtherAddressPostOfficeBox], u"PO Box 7");
  EXPECT_EQ(c[ContactField::kOfficeLocation], u"");
  EXPECT_EQ(c[ContactField::kBusinessAddressStreet], u"Room 3");
  EXPECT_EQ(c[ContactField::kBusinessAddress], u"Town Room 3");
}

TEST(VCardTest, SeveralCardsInFileOrderWithGroupsAndNestedAgent) {
  const std::vector<ContactRecord> records =
      Records(ParseVCard("\xEF\xBB\xBF"
                         "begin:vcard\nversion:3.0\nitem1.EMAIL:one@x\nfn:One\nend:vcard\n"
                         "\n"
                         "BEGIN:VCARD\nVERSION:2.1\nFN:Two\n"
                         "AGENT:\nBEGIN:VCARD\nFN:Agent\nEND:VCARD\n"
                         "TITLE:Boss\nEND:VCARD\n"));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0][ContactField::kSubject], u"One");
  EXPECT_EQ(records[0][ContactField::kEmail1Address], u"one@x");
  EXPECT_EQ(records[1][ContactField::kSubject], u"Two");
  EXPECT_EQ(records[1][ContactField::kJobTitle], u"Boss");
}

TEST(VCardTest, SubjectIsComposedWhenTheCardHasNoFullName) {
  EXPECT_EQ(OnlyCard("BEGIN:VCARD\nVERSION:2.1\nN:山田;太郎\nEND:VCARD\n")[ContactField::kSubject],
            u"山田 太郎");
  EXPECT_EQ(
      OnlyCard("BEGIN:VCARD\nVERSION:2.1\nN:Smith;John;Q\nEND:VCARD\n")[ContactField::kSubject],
      u"John Q Smith");
  EXPECT_EQ(OnlyCard("BEGIN:VCARD\nVERSION:2.1\nORG:ACME\nEND:VCARD\n")[ContactField::kSubject],
            u"ACME");
}

TEST(VCardTest, MalformedFilesRaiseAnErrorNamingTheLine) {
  struct Case {
    std::string text;
    std::u16string where;
    std::u16string what;
  };
  const Case cases[] = {
      {"", u"x.vcf:", u"no vCard"},
      {"\r\n  \r\n\r\n", u"x.vcf:", u"no vCard"},
      {"hello world\n", u"line 1:", u"BEGIN:VCARD"},
      {"BEGIN:VCARD\nVERSION:3.0\nFN:a\n", u"line 1:", u"no END:VCARD"},
      {"BEGIN:VCARD\nVERSION:3.0\nthis is no property\nEND:VCARD\n", u"line 3:", u"property"},
      {"BEGIN:VCARD\nVERSION:5.0\nEND:VCARD\n", u"line 2:", u"version"},
      {"BEGIN:VCARD\nVERSION:3.0\nFN:\xFF\xFE\nEND:VCARD\n", u"line 3:", u"UTF-8"},
  };
  for (const Case& c : cases) {
    const platform::ComError error = RaisedBy([&] { ParseVCard(c.text, u"x.vcf"); });
    EXPECT_EQ(error.Number(), kErrInvalidFileFormat) << c.text;
    EXPECT_TRUE(Mentions(error, c.where)) << error.what();
    EXPECT_TRUE(Mentions(error, c.what)) << error.what();
  }
}

// A mail header before the cards and a stray word between them: both cards, one warning.
TEST(VCardTest, TextOutsideTheCardsIsSkippedWithOneWarning) {
  const std::string text =
      "From: someone@example.jp\r\n\r\nBEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n\r\n"
      "stray\r\nBEGIN:VCARD\r\nFN:B\r\nEND:VCARD\r\n";
  std::vector<std::u16string> warnings;
  const std::vector<ContactRecord> records = Records(ParseVCard(text, u"x.vcf", &warnings));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1][ContactField::kSubject], u"B");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], u"x.vcf, line 1: text outside the cards is skipped (2 lines)");

  warnings.clear();
  ParseVCard("BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\nEND:VCARD\r\n", {}, &warnings);
  EXPECT_EQ(warnings,
            std::vector<std::u16string>{u"line 4: text outside the cards is skipped (1 line)"});
}

TEST(VCardTest, RandomBytesRaiseAndNeverCrash) {
  uint32_t state = 12345;
  for (int round = 0; round < 200; ++round) {
    std::string bytes;
    const size_t length = 1 + round * 7;
    for (size_t i = 0; i < length; ++i) {
      state = state * 1103515245 + 12345;
      bytes += static_cast<char>(state >> 16);
    }
    // Half of the rounds start like a card, to reach the property parsing.
    if (round % 2 == 1) bytes = "BEGIN:VCARD\r\nVERSION:2.1\r\n" + bytes;
    EXPECT_THROW(ParseVCard(bytes), platform::ComError) << round;
  }
}

TEST(VCardTest, OverlongLineAndOversizedTextAreRefused) {
  std::string card = "BEGIN:VCARD\nVERSION:3.0\nNOTE:";
  card.append(kMaxLineLength / 2, 'a');
  card += "\n ";  // folded, so only the joined line is too long
  card.append(kMaxLineLength / 2 + 10, 'b');
  card += "\nEND:VCARD\n";
  const platform::ComError longLine = RaisedBy([&] { ParseVCard(card); });
  EXPECT_EQ(longLine.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(longLine, u"line 3:")) << longLine.what();
  EXPECT_TRUE(Mentions(longLine, u"longer")) << longLine.what();

  card.assign(kMaxFileBytes + 1, '\n');
  const platform::ComError large = RaisedBy([&] { ParseVCard(card, u"big.vcf"); });
  EXPECT_EQ(large.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(large, u"big.vcf: the file is larger")) << large.what();
}

}  // namespace
}  // namespace sendnote::contacts
