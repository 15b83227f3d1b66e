// The pure text helpers: blanks, postal-code split, line flattening, quoted names.
#include <gtest/gtest.h>

#include <string>

#include "inmemory/InMemoryRuntime.h"
#include "platform/Utf.h"
#include "system/common/modFunc.h"

namespace sendnote {
namespace {

TEST(TextHelpersTest, BlanksAreU0020Only) {
  EXPECT_EQ(Trim(u"  a b  "), u"a b");
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(Trim(u"\t a \u3000"), u"\t a \u3000");
  EXPECT_EQ(SpaceBefore(u""), u"");
  EXPECT_EQ(SpaceBefore(u" "), u"  ");
  EXPECT_EQ(SpaceBefore(u"山田"), u" 山田");
}

TEST(TextHelpersTest, PostCodeSplitsIntoThreeAndFourCharacters) {
  inmemory::InMemoryRuntime runtime;
  platform::ScopedRuntime scope(runtime);
  const struct {
    std::u16string code, upper, lower;
  } cases[] = {
      {u"123-4567", u"123", u"4567"},
      {u"1234-567", u"234", u"567 "},
      {u"12-34", u" 12", u"34  "},
      {u"-123456", u"   ", u"1234"},
      {u"123-4567-89", u"123", u"4567"},
      {u"  123-4567  ", u"123", u"4567"},
      {u"〒123-4567", u"123", u"4567"},
      {u"1234567", u"123", u"4567"},
      {u"12345678", u"123", u"4567"},
      {u"123", u"123", u"    "},
      {u"", u"   ", u"    "},
      {u"１２３－４５６７", u"123", u"4567"},
      // The ideographic space is narrowed after trimming, so it stays in the text.
      {u"\u3000１２－３", u" 12", u"3   "},
      {u"１２３\u3000４５６", u"123", u" 456"},
      // Dashes people type for the hyphen, the postal mark with blanks after it, and
      // blanks between three and four digits.
      {u"150−8512", u"150", u"8512"},
      {u"150ー8512", u"150", u"8512"},
      {u"150ｰ8512", u"150", u"8512"},
      {u"150‐8512", u"150", u"8512"},
      {u"150‑8512", u"150", u"8512"},
      {u"150‒8512", u"150", u"8512"},
      {u"150–8512", u"150", u"8512"},
      {u"150—8512", u"150", u"8512"},
      {u"150―8512", u"150", u"8512"},
      {u"150 8512", u"150", u"8512"},
      {u"150   8512", u"150", u"8512"},
      {u"１５０\u30008512", u"150", u"8512"},
      {u"〒150-8512", u"150", u"8512"},
      {u"〒 150-8512", u"150", u"8512"},
      {u"〒\u3000１５０－８５１２", u"150", u"8512"},
      {u"〒１５０８５１２", u"150", u"8512"},
      {u"〒150 8512", u"150", u"8512"},
      {u"〒", u"   ", u"    "},
      // Blanks elsewhere are no hyphen: the text is split by position as before.
      {u"15 08512", u"15 ", u"0851"},
      {u"150 85123", u"150", u" 851"},
      // Codes of other countries keep their split.
      {u"SW1A 1AA", u"SW1", u"A 1A"},
      {u"10115", u"101", u"15  "},
      {u"K1A 0B1", u"K1A", u" 0B1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.code));
    EXPECT_EQ(PostCodeUpper(c.code), c.upper);
    EXPECT_EQ(PostCodeLower(c.code), c.lower);
  }
}

TEST(TextHelpersTest, OneLineReplacesEachLineBreakByOneBlank) {
  EXPECT_EQ(OneLine(u"A\r\nB"), u"A B");
  EXPECT_EQ(OneLine(u"A\r\r\nB"), u"A  B");
  EXPECT_EQ(OneLine(u"A\n\rB"), u"A  B");
  EXPECT_EQ(OneLine(u"\r\n\r\nA\nB\rC"), u"  A B C");
}

TEST(TextHelpersTest, QuotedTextIsTheTextBetweenTheFirstTwoQuotes) {
  EXPECT_EQ(QuotedText(u"\"OUTLOOK$会社名\" \\* MERGEFORMAT"), u"OUTLOOK$会社名");
  EXPECT_EQ(QuotedText(u"x \"a\" \"b\""), u"a");
  EXPECT_EQ(QuotedText(u"\"\"rest\""), u"");
  EXPECT_EQ(QuotedText(u"only \"one"), u"");
  EXPECT_EQ(QuotedText(u"\u201Ca\u201D"), u"");  // typographic quotes do not count
}

}  // namespace
}  // namespace sendnote
