// vCard 2.1 as Outlook writes it: quoted-printable with soft line breaks, Shift_JIS bytes,
// bare type parameters.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "ContactFileTestSupport.h"
#include "portable/contacts/VCardReader.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using platform::MailingAddress;
using testing::Mentions;
using testing::RaisedBy;
using testing::Records;

// A card as Japanese Outlook exports it; Shift_JIS bytes are written as escapes. The soft
// line breaks of the quoted-printable values fall inside characters (丸 =8A=DB, 田 =93 c).
constexpr std::string_view kOutlookCard =
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "N;LANGUAGE=ja;CHARSET=SHIFT_JIS:"
    "\x8ER\x93"
    "c;\x91\xBE\x98Y;;Dr.;\x97l"
    "\r\n"
    "FN;CHARSET=SHIFT_JIS:"
    "\x8ER\x93"
    "c \x91\xBE\x98Y"
    "\r\n"
    "X-PHONETIC-FIRST-NAME;CHARSET=SHIFT_JIS:"
    "\x82\xBD\x82\xEB\x82\xA4"
    "\r\n"
    "X-PHONETIC-LAST-NAME;CHARSET=SHIFT_JIS:"
    "\x82\xE2\x82\xDC\x82\xBE"
    "\r\n"
    "ORG;CHARSET=SHIFT_JIS:"
    "\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0\x8ER\x93"
    "c\x8F\xA4\x8E\x96;\x89"
    "c\x8B\xC6\x95\x94"
    "\r\n"
    "TITLE;CHARSET=SHIFT_JIS:"
    "\x95\x94\x92\xB7"
    "\r\n"
    "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=SHIFT_JIS:=8F=89=89=F1=96K=96=E2 202=\r\n"
    "4=94N1=8C=8E=0D=0A=92S=93=96=81F=8D=B2=93=A1\r\n"
    "TEL;WORK;VOICE:03-1234-5678\r\n"
    "TEL;HOME;VOICE:03-9876-5432\r\n"
    "TEL;CELL;VOICE:090-1111-2222\r\n"
    "TEL;WORK;FAX:03-1234-5679\r\n"
    "TEL;PAGER;VOICE:0120-000-000\r\n"
    "ADR;WORK;PREF;ENCODING=QUOTED-PRINTABLE;CHARSET=SHIFT_JIS:;=96{=8E=D0;=8A=\r\n"
    "=DB=82=CC=93=E01-1=0D=0A=8ER=93c=83r=83=8B 5F;=90=E7=91=E3=93c=8B=E6;=93=8C=\r\n"
    "=8B=9E=93s;100=81|0005;=93=FA=96{\r\n"
    "LABEL;WORK;PREF;ENCODING=QUOTED-PRINTABLE;CHARSET=SHIFT_JIS:100=81|0005=0D=\r\n"
    "=0A=93=8C=8B=9E=93s=90=E7=91=E3=93c=8B=E6=8A=DB=82=CC=93=E01-1=0D=0A=8ER=93=\r\n"
    "c=83r=83=8B 5F=0D=0A=93=FA=96{\r\n"
    "ADR;HOME;CHARSET=SHIFT_JIS:"
    ";;\x95\\\x8EQ\x93\xB9"
    "1-2;\x8F"
    "a\x92J\x8B\xE6;\x93\x8C\x8B"
    "\x9E\x93s;150-0001;\x93\xFA\x96{"
    "\r\n"
    "X-MS-OL-DEFAULT-POSTAL-ADDRESS:2\r\n"
    "EMAIL;PREF;INTERNET:taro@example.co.jp\r\n"
    "X-MS-OL-DESIGN;CHARSET=utf-8:<card xmlns=\"http://schemas.microsoft.com/office/outlook/12/"
    "electronicbusinesscards\" ver=\"1.0\"/>\r\n"
    "REV:20240115T093000Z\r\n"
    "END:VCARD\r\n";

TEST(VCardOutlookTest, ReadsEveryMemberOfAnOutlookCard) {
  const std::vector<ContactRecord> records = Records(ParseVCard(kOutlookCard));
  ASSERT_EQ(records.size(), 1u);
  const ContactRecord& c = records[0];
  EXPECT_EQ(c[ContactField::kLastName], u"山田");
  EXPECT_EQ(c[ContactField::kFirstName], u"太郎");
  EXPECT_EQ(c[ContactField::kTitle], u"Dr.");
  EXPECT_EQ(c[ContactField::kSuffix], u"様");
  EXPECT_EQ(c[ContactField::kSubject], u"山田 太郎");
  EXPECT_EQ(c[ContactField::kYomiLastName], u"やまだ");
  EXPECT_EQ(c[ContactField::kYomiFirstName], u"たろう");
  EXPECT_EQ(c[ContactField::kCompanyName], u"株式会社山田商事");
  EXPECT_EQ(c[ContactField::kDepartment], u"営業部");
  EXPECT_EQ(c[ContactField::kJobTitle], u"部長");
  EXPECT_EQ(c[ContactField::kBody], u"初回訪問 2024年1月\r\n担当：佐藤");
  EXPECT_EQ(c[ContactField::kBusinessTelephoneNumber], u"03-1234-5678");
  EXPECT_EQ(c[ContactField::kHomeTelephoneNumber], u"03-9876-5432");
  EXPECT_EQ(c[ContactField::kMobileTelephoneNumber], u"090-1111-2222");
  EXPECT_EQ(c[ContactField::kBusinessFaxNumber], u"03-1234-5679");
  EXPECT_EQ(c[ContactField::kOtherTelephoneNumber], u"");  // the pager has no member
  EXPECT_EQ(c[ContactField::kEmail1Address], u"taro@example.co.jp");
  EXPECT_EQ(c.mailingAddress, MailingAddress::kBusiness);

  EXPECT_EQ(c[ContactField::kOfficeLocation], u"本社");
  EXPECT_EQ(c[ContactField::kBusinessAddressStreet], u"丸の内1-1\r\n山田ビル 5F");
  EXPECT_EQ(c[ContactField::kBusinessAddressCity], u"千代田区");
  EXPECT_EQ(c[ContactField::kBusinessAddressState], u"東京都");
  // 0x817C is the full-width hyphen-minus U+FF0D in code page 932 (U+2212 in JIS).
  EXPECT_EQ(c[ContactField::kBusinessAddressPostalCode], u"100\uFF0D0005");
  EXPECT_EQ(c[ContactField::kBusinessAddressCountry], u"日本");
  EXPECT_EQ(c[ContactField::kBusinessAddressPostOfficeBox], u"");
  EXPECT_EQ(c[ContactField::kBusinessAddress],
            u"100\uFF0D0005\r\n東京都千代田区丸の内1-1\r\n山田ビル 5F\r\n日本");

  // No LABEL for home: the whole address is composed, the country Japan left out.
  EXPECT_EQ(c[ContactField::kHomeAddressStreet], u"表参道1-2");
  EXPECT_EQ(c[ContactField::kHomeAddressPostalCode], u"150-0001");
  EXPECT_EQ(c[ContactField::kHomeAddress], u"150-0001\r\n東京都渋谷区表参道1-2");
  EXPECT_EQ(c[ContactField::kOtherAddress], u"");
}

TEST(VCardOutlookTest, LinefeedOnlyFileReadsTheSame) {
  std::string lf;
  for (char ch : kOutlookCard) {
    if (ch != '\r') lf += ch;
  }
  const ContactRecord crlf = Records(ParseVCard(kOutlookCard)).at(0);
  const ContactRecord plain = Records(ParseVCard(lf)).at(0);
  EXPECT_EQ(plain, crlf);
}

// 表 (0x95 0x5C), 能 (0x94 0x5C) and ソ (0x83 0x5C) end in the backslash byte; each sits just
// before a ';' that must still separate the components.
TEST(VCardOutlookTest, ShiftJisTrailByteBackslashDoesNotEscapeTheSeparator) {
  const std::string card =
      "BEGIN:VCARD\r\nVERSION:2.1\r\n"
      "N;CHARSET=SHIFT_JIS:\x94\\;\x83\\\r\n"
      "ORG;CHARSET=SHIFT_JIS:\x95\\;\x83\\\r\n"
      "ADR;HOME;CHARSET=SHIFT_JIS:;;\x95\\;\x94\\;\x83\\;923-1198;\r\n"
      "ADR;WORK;ENCODING=QUOTED-PRINTABLE;CHARSET=SHIFT_JIS:;;=95\\;=94\\;=83\\;923-1=\r\n"
      "198;\r\n"
      "END:VCARD\r\n";
  const ContactRecord c = Records(ParseVCard(card)).at(0);
  EXPECT_EQ(c[ContactField::kLastName], u"能");
  EXPECT_EQ(c[ContactField::kFirstName], u"ソ");
  EXPECT_EQ(c[ContactField::kCompanyName], u"表");
  EXPECT_EQ(c[ContactField::kDepartment], u"ソ");
  for (auto [street, city, state, postal] :
       {std::tuple{ContactField::kHomeAddressStreet, ContactField::kHomeAddressCity,
                   ContactField::kHomeAddressState, ContactField::kHomeAddressPostalCode},
        std::tuple{ContactField::kBusinessAddressStreet, ContactField::kBusinessAddressCity,
                   ContactField::kBusinessAddressState,
                   ContactField::kBusinessAddressPostalCode}}) {
    EXPECT_EQ(c[street], u"表");
    EXPECT_EQ(c[city], u"能");
    EXPECT_EQ(c[state], u"ソ");
    EXPECT_EQ(c[postal], u"923-1198");
  }
}

TEST(VCardOutlookTest, EscapedSemicolonStaysInsideAComponent) {
  const ContactRecord c =
      Records(ParseVCard("BEGIN:VCARD\nVERSION:2.1\nORG:A\\;B;Sales\nEND:VCARD\n")).at(0);
  EXPECT_EQ(c[ContactField::kCompanyName], u"A;B");
  EXPECT_EQ(c[ContactField::kDepartment], u"Sales");
}

TEST(VCardOutlookTest, BareQuotedPrintableAndLowerCaseHexDecode) {
  const ContactRecord c = Records(ParseVCard("BEGIN:VCARD\nVERSION:2.1\n"
                                             "FN;QUOTED-PRINTABLE;CHARSET=SHIFT_JIS:=8eR=93c\n"
                                             "TITLE;QUOTED-PRINTABLE:a=3Db =ZZ=\n"
                                             "=\n"
                                             "c\n"
                                             "END:VCARD\n"))
                              .at(0);
  EXPECT_EQ(c[ContactField::kSubject], u"山田");
  // "=ZZ" is no escape and stays; two soft breaks in a row join three lines.
  EXPECT_EQ(c[ContactField::kJobTitle], u"a=b =ZZc");
}

TEST(VCardOutlookTest, TwoOneValueWithoutCharsetIsUtf8OrElseShiftJis) {
  const ContactRecord c = Records(ParseVCard("BEGIN:VCARD\nVERSION:2.1\n"
                                             "FN:\xE5\xB1\xB1\xE7\x94\xB0\n"  // UTF-8
                                             "TITLE:\x95\x94\x92\xB7\n"       // Shift_JIS
                                             "END:VCARD\n"))
                              .at(0);
  EXPECT_EQ(c[ContactField::kSubject], u"山田");
  EXPECT_EQ(c[ContactField::kJobTitle], u"部長");
}

// Only a quoted-printable value continues after a final "="; base64 padding does not.
TEST(VCardOutlookTest, FinalEqualsSignOutsideQuotedPrintableEndsTheLine) {
  const ContactRecord c = Records(ParseVCard("BEGIN:VCARD\nVERSION:3.0\n"
                                             "KEY;ENCODING=b:QUJD=\n"
                                             "TITLE:a=\n"
                                             "FN:Taro\n"
                                             "END:VCARD\n"))
                              .at(0);
  EXPECT_EQ(c[ContactField::kJobTitle], u"a=");
  EXPECT_EQ(c[ContactField::kSubject], u"Taro");
}

TEST(VCardOutlookTest, Base64PhotoOnUnindentedLinesIsSkipped) {
  const ContactRecord c = Records(ParseVCard("BEGIN:VCARD\nVERSION:2.1\n"
                                             "PHOTO;TYPE=JPEG;ENCODING=BASE64:\n"
                                             "/9j/4AAQSkZJRgABAQEAYABgAAD\n"
                                             "AAAAAAAA==\n"
                                             "\n"
                                             "FN:Taro\n"
                                             "END:VCARD\n"))
                              .at(0);
  EXPECT_EQ(c[ContactField::kSubject], u"Taro");
}

TEST(VCardOutlookTest, SoftBreakAtTheEndOfTheFileIsAnError) {
  const platform::ComError error = RaisedBy([] {
    ParseVCard("BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE;ENCODING=QUOTED-PRINTABLE:abc=\r\n",
               u"card.vcf");
  });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(error, u"card.vcf, line 3:")) << error.what();
  EXPECT_TRUE(Mentions(error, u"soft line break")) << error.what();
}

TEST(VCardOutlookTest, SoftBreakSwallowingEndLeavesTheCardOpen) {
  const platform::ComError error = RaisedBy([] {
    ParseVCard("BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE;QUOTED-PRINTABLE:abc=\r\nEND:VCARD\r\n");
  });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(error, u"line 1:")) << error.what();
  EXPECT_TRUE(Mentions(error, u"END:VCARD")) << error.what();
}

TEST(VCardOutlookTest, UnknownOrMisusedCharsetIsAnErrorNamingTheLine) {
  const platform::ComError unknown = RaisedBy([] {
    ParseVCard("BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=X-KLINGON:abc\nEND:VCARD\n", u"a.vcf");
  });
  EXPECT_EQ(unknown.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(unknown, u"a.vcf, line 3:")) << unknown.what();
  EXPECT_TRUE(Mentions(unknown, u"X-KLINGON")) << unknown.what();

  // A lead byte without its trail byte is no Shift_JIS text.
  const platform::ComError bad = RaisedBy([] {
    ParseVCard("BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=SHIFT_JIS;QUOTED-PRINTABLE:=82\nEND:VCARD\n");
  });
  EXPECT_EQ(bad.Number(), kErrInvalidFileFormat);
  EXPECT_TRUE(Mentions(bad, u"line 3:")) << bad.what();
}

}  // namespace
}  // namespace sendnote::contacts
