// Cards as phones, address books and Outlook write them, shared by the reader's and the
// command's tests.
#pragma once

#include <string_view>

namespace sendnote::testing::cards {

// Android 2.1: Shift_JIS, every byte quoted-printable, the whole street in the extended part.
constexpr std::string_view kAndroidCard =
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "N;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=8E=52=93=63;=91=BE=98=59;;;\r\n"
    "FN;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=8E=52=93=63=20=91=BE=98=59\r\n"
    "TEL;CELL:090-1234-5678\r\n"
    "ADR;HOME;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:;=8D=F7=8B=75=92=AC=\r\n"
    "=31=2D=32=20=82=B3=82=AD=82=E7=83=72=83=8B=33=46;;=8F=61=92=4A=8B=E6;=93=\r\n"
    "=8C=8B=9E=93=73;=31=35=30=2D=30=30=33=31;=93=FA=96=7B\r\n"
    "END:VCARD\r\n";

// Android 2.1 in UTF-8: the whole address, typed on one line, in the street part.
constexpr std::string_view kAndroidOneLineCard =
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E6=A1=9C=E4=B8=98;=E8=8A=B1=E5=AD=90;;;\r\n"
    "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E6=A1=9C=E4=B8=98=20=E8=8A=B1=E5=AD=90\r\n"
    "ADR;WORK;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;;=E6=9D=B1=E4=BA=AC=E9=\r\n"
    "=83=BD=E6=B8=8B=E8=B0=B7=E5=8C=BA=E6=A1=9C=E4=B8=98=E7=94=BA=32=36=2D=31=\r\n"
    "=E3=82=BB=E3=83=AB=E3=83=AA=E3=82=A2=E3=83=B3=E3=82=BF=E3=83=AF=E3=83=BC=\r\n"
    "=36=E9=9A=8E;;;;\r\n"
    "END:VCARD\r\n";

// iPhone 3.0: grouped properties, the street's two lines in the street component.
constexpr std::string_view kIphoneCard =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "PRODID:-//Apple Inc.//iPhone OS 17.4//EN\r\n"
    "N:山田;花子;;;\r\n"
    "FN:山田 花子\r\n"
    "ORG:株式会社テスト;開発部;\r\n"
    "TEL;type=CELL;type=VOICE;type=pref:090-0000-1111\r\n"
    "item1.ADR;type=WORK;type=pref:;;道玄坂1-2-3\\n渋谷ビル5F;渋谷区;東京都;150-0043;日本\r\n"
    "item1.X-ABADR:jp\r\n"
    "END:VCARD\r\n";

// Gmail 3.0: an address typed as one text lands in the street, the other components empty.
constexpr std::string_view kGmailCard =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "FN:鈴木 一郎\r\n"
    "N:鈴木;一郎;;;\r\n"
    "EMAIL;TYPE=INTERNET;TYPE=HOME:ichiro@example.com\r\n"
    "ADR;TYPE=HOME:;;〒220-0012 神奈川県横浜市西区みなとみらい3-3-3 15階;;;;\r\n"
    "END:VCARD\r\n";

// Another producer's work address with a suite in the extended part.
constexpr std::string_view kThunderbirdCard =
    "BEGIN:VCARD\r\n"
    "VERSION:4.0\r\n"
    "PRODID:-//Mozilla.org/NONSGML Mozilla Contact v1//EN\r\n"
    "FN:Jane Doe\r\n"
    "ORG:Example Ltd.\r\n"
    "ADR;TYPE=work:;Suite 400;1 Main St;Springfield;IL;62701;USA\r\n"
    "END:VCARD\r\n";

// Outlook 2007 2.1, known by its PRODID alone: the business extended part is the office.
constexpr std::string_view kOutlookByProdid =
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "PRODID:-//Microsoft Corporation//Outlook 12.0 MIMEDIR//EN\r\n"
    "N;LANGUAGE=ja:佐藤;次郎\r\n"
    "ORG:佐藤工業株式会社;総務部\r\n"
    "ADR;WORK;PREF:;大阪支店;中之島2-3-4;大阪市北区;大阪府;530-0005;日本\r\n"
    "ADR;HOME:;コーポ中之島 201;天満1-1;大阪市北区;大阪府;530-0043;日本\r\n"
    "END:VCARD\r\n";

// Outlook 2007 2.1 with its X-MS- properties and no PRODID, the office but no street.
constexpr std::string_view kOutlookByProperty =
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "N;LANGUAGE=ja;CHARSET=shift_jis:\x8ER\x93"
    "c;\x91\xBE\x98Y\r\n"
    "ADR;WORK;PREF;CHARSET=shift_jis:;\x96{\x8E\xD0;;\x90\xE7\x91\xE3\x93"
    "c\x8B\xE6;;;\r\n"
    "X-MS-OL-DESIGN;CHARSET=utf-8:<card/>\r\n"
    "END:VCARD\r\n";

}  // namespace sendnote::testing::cards
