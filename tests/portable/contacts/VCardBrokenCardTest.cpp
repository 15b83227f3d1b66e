// One card that cannot be read among good ones: it keeps its place with its line and reason,
// and the cards around it are read as they would be alone.
#include <gtest/gtest.h>

#include <string>

#include "ContactFileTestSupport.h"
#include "platform/Utf.h"
#include "portable/contacts/ContactCsv.h"
#include "portable/contacts/VCardReader.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using testing::Mentions;
using testing::RaisedBy;

constexpr std::string_view kGoodCard =
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Good;One\r\nFN:Good One\r\nEND:VCARD\r\n";  // 5 lines

TEST(VCardBrokenCardTest, AnUnreadableCardKeepsItsPlaceWithLineAndReason) {
  struct Case {
    const char* what;
    std::string card;  // begins on line 6 of the file
    std::u16string problem;
  };
  const Case cases[] = {
      {"unknown character set",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=X-KLINGON:abc\r\nEND:VCARD\r\n",
       u"line 8: unknown character set \"X-KLINGON\""},
      {"byte not valid in its character set",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:a;b\r\nFN;CHARSET=UTF-8:\xFF\xFE\r\nEND:VCARD\r\n",
       u"line 9: the value is not valid UTF-8 text"},
      {"neither UTF-8 nor Shift_JIS without a character set",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\x81\r\nEND:VCARD\r\n",
       u"line 8: the value is neither UTF-8 nor Shift_JIS text"},
      {"broken line", "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:a\r\nthis is no property\r\nEND:VCARD\r\n",
       u"line 9: the line is not a property (name:value)"},
      {"unknown encoding",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE;ENCODING=X-UUENCODE:abc\r\nEND:VCARD\r\n",
       u"line 8: unknown encoding \"X-UUENCODE\""},
      {"unknown version", "BEGIN:VCARD\r\nVERSION:5.0\r\nFN:a\r\nEND:VCARD\r\n",
       u"line 7: unsupported vCard version \"5.0\""},
      {"no END before the next card", "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:a\r\n",
       u"line 6: the card that begins here has no END:VCARD"},
      {"blank after a soft line break reads both ways",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nTITLE;ENCODING=QUOTED-PRINTABLE:Sales=\r\n Manager\r\n"
       "END:VCARD\r\n",
       u"line 8: a soft line break of the quoted-printable value is followed by an indented "
       u"line"},
      {"an escaped backslash does not continue the line",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nNOTE:a\\\\\r\nnext\r\nEND:VCARD\r\n",
       u"line 9: the line is not a property"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string file(kGoodCard);
    file += c.card;
    file += kGoodCard;
    const std::vector<ContactEntry> entries = ParseVCard(file, u"book.vcf");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].Readable()) << platform::ToUtf8(entries[0].problem);
    EXPECT_TRUE(entries[2].Readable()) << platform::ToUtf8(entries[2].problem);
    EXPECT_EQ(entries[0].record[ContactField::kSubject], u"Good One");
    EXPECT_EQ(entries[2].record, entries[0].record);
    EXPECT_FALSE(entries[1].Readable());
    EXPECT_EQ(entries[1].problem.substr(0, c.problem.size()), c.problem)
        << platform::ToUtf8(entries[1].problem);
    EXPECT_EQ(entries[1].record, ContactRecord());
  }
}

TEST(VCardBrokenCardTest, AFileWithoutAReadableCardIsRefusedWithTheFirstProblem) {
  const std::string file =
      "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=X-ONE:a\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=X-TWO:a\r\nEND:VCARD\r\n";
  const platform::ComError error = RaisedBy([&] { ParseVCard(file, u"book.vcf"); });
  EXPECT_EQ(error.Number(), kErrInvalidFileFormat);
  EXPECT_EQ(error.Description(), u"book.vcf, line 3: unknown character set \"X-ONE\"");
}

TEST(VCardBrokenCardTest, UnambiguousContinuationsAndUnlabelledShiftJisAreRead) {
  struct Case {
    const char* what;
    std::string lines;  // properties of a card
    ContactField field;
    std::u16string value;
  };
  const Case cases[] = {
      {"Shift_JIS without a character set in 3.0",
       "VERSION:3.0\r\nFN:\x8ER\x93"
       "c\r\n",
       ContactField::kSubject, u"山田"},
      {"UTF-8 without a character set in 2.1", "VERSION:2.1\r\nFN:\xE5\xB1\xB1\xE7\x94\xB0\r\n",
       ContactField::kSubject, u"山田"},
      {"blank after a soft break that only decodes as indentation",
       "VERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E5=B1=\r\n =B1=E7=94=B0\r\n",
       ContactField::kSubject, u"山田"},
      {"indented line of a quoted-printable value without a soft break is folding",
       "VERSION:2.1\r\nNOTE;ENCODING=QUOTED-PRINTABLE:abc\r\n def\r\n", ContactField::kBody,
       u"abcdef"},
      {"trailing backslash before a line that is no property",
       "VERSION:3.0\r\nNOTE:first line\\\r\nsecond line\r\nFN:x\r\n", ContactField::kBody,
       u"first line\r\nsecond line"},
      {"trailing backslash in 2.1", "VERSION:2.1\r\nNOTE:one\\\r\ntwo\\\r\nthree\r\n",
       ContactField::kBody, u"one\r\ntwo\r\nthree"},
      {"Shift_JIS trail byte 0x5C before a line that is no property",
       "VERSION:2.1\r\nNOTE;CHARSET=SHIFT_JIS:\x83\\\r\nnext\r\n", ContactField::kBody,
       u"ソ\r\nnext"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string card = "BEGIN:VCARD\r\n";
    card += c.lines;
    card += "END:VCARD\r\n";
    const std::vector<ContactEntry> entries = ParseVCard(card);
    ASSERT_EQ(entries.size(), 1u);
    ASSERT_TRUE(entries[0].Readable()) << platform::ToUtf8(entries[0].problem);
    EXPECT_EQ(entries[0].record[c.field], c.value);
  }
}

TEST(VCardBrokenCardTest, AnAgentCardStillNestsAndAMissingEndDoesNotSwallowTheNextCard) {
  const std::vector<ContactEntry> entries = ParseVCard(
      "BEGIN:VCARD\nVERSION:2.1\nFN:Boss\nAGENT:\nBEGIN:VCARD\nFN:Agent\nEND:VCARD\n"
      "TITLE:Chief\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:2.1\nFN:Cut\n"
      "BEGIN:VCARD\nVERSION:2.1\nFN:Next\nEND:VCARD\n");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].record[ContactField::kSubject], u"Boss");
  EXPECT_EQ(entries[0].record[ContactField::kJobTitle], u"Chief");
  EXPECT_EQ(entries[1].problem, u"line 10: the card that begins here has no END:VCARD");
  EXPECT_EQ(entries[2].record[ContactField::kSubject], u"Next");
}

// A value longer than a letter field may hold makes its card unreadable, in vCards and CSV
// alike, at the limit's edge too; the note, which no letter shows, is not held to it.
TEST(VCardBrokenCardTest, AnOverlongValueMakesOnlyItsCardUnreadable) {
  const std::string atLimit(kMaxValueLength, 'a');
  const std::string over = atLimit + "a";
  const std::string escapes(kMaxValueLength / 3 + 1, '&');  // "<&>" at about the limit
  std::string file(kGoodCard);
  // At the limit in every part: the name and the whole address composed of them are longer.
  file += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + atLimit + ";" + atLimit + "\r\nADR;TYPE=HOME:;;" +
          atLimit + ";" + atLimit + ";" + atLimit + ";" + atLimit + ";" + atLimit +
          "\r\nNOTE:" + over + over + "\r\nEND:VCARD\r\n";
  file += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:a;b\r\nORG:" + over + "\r\nEND:VCARD\r\n";
  file += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:a;b\r\nORG:" + escapes + escapes + escapes +
          "\r\nEND:VCARD\r\n";
  // Far too long to be decoded at all: refused as written, with the value's line.
  file +=
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:a;b\r\nFN:" + std::string(16 * kMaxComposedLength + 1, 'x') +
      "\r\nEND:VCARD\r\n";
  const std::vector<ContactEntry> cards = ParseVCard(file, u"book.vcf");
  ASSERT_EQ(cards.size(), 5u);
  EXPECT_EQ(cards[4].problem, u"line 25: the value is longer than a letter's field may be");
  EXPECT_TRUE(cards[0].Readable());
  EXPECT_TRUE(cards[1].Readable()) << platform::ToUtf8(cards[1].problem);
  EXPECT_EQ(cards[1].record[ContactField::kLastName].size(), kMaxValueLength);
  EXPECT_EQ(cards[2].problem, u"line 12: the value of CompanyName is longer than 1024 characters");
  EXPECT_EQ(cards[3].problem, u"line 17: the value of CompanyName is longer than 1024 characters");

  const std::string csv = "First Name,Last Name,Company\r\nA,B,C\r\nA,B," + over + "\r\n";
  const std::vector<ContactEntry> rows = ParseContactCsv(csv, u"book.csv");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[0].Readable());
  EXPECT_EQ(rows[1].problem, u"line 3: the value of CompanyName is longer than 1024 characters");
}

}  // namespace
}  // namespace sendnote::contacts
