// The pure text helpers: blanks, postal-code split, line flattening, quoted names.
#include <gtest/gtest.h>

#include <string>

#include "common/modFunc.h"
#include "inmemory/InMemoryRuntime.h"
#include "platform/Utf.h"

namespace sendnote {
namespace {

class TextHelpersTest : public ::testing::Test {
 protected:
  inmemory::InMemoryRuntime runtime_;
  platform::ScopedRuntime scope_{runtime_};
};

TEST_F(TextHelpersTest, TrimRemovesOnlyOuterAsciiBlanks) {
  EXPECT_EQ(Trim(u"  a b  "), u"a b");
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(Trim(u""), u"");
  // Tabs, line breaks and the ideographic space are not blanks.
  EXPECT_EQ(Trim(u"\t a \u3000"), u"\t a \u3000");
  EXPECT_EQ(Trim(u"\r\n"), u"\r\n");
}

TEST_F(TextHelpersTest, SpaceBeforePrefixesNonEmptyTextOnly) {
  EXPECT_EQ(SpaceBefore(u""), u"");
  EXPECT_EQ(SpaceBefore(u" "), u"  ");
  EXPECT_EQ(SpaceBefore(u"山田"), u" 山田");
}

struct PostCodeCase {
  std::u16string code;
  std::u16string upper;
  std::u16string lower;
};

TEST_F(TextHelpersTest, PostCodeSplitsAtTheFirstHyphenWithFixedWidths) {
  const PostCodeCase cases[] = {
      {u"123-4567", u"123", u"4567"},   {u"1234-567", u"234", u"567 "},
      {u"12-34", u" 12", u"34  "},      {u"12-345", u" 12", u"345 "},
      {u"-123456", u"   ", u"1234"},    {u"123-4567-89", u"123", u"4567"},
      {u"123-", u"123", u"    "},       {u"  123-4567  ", u"123", u"4567"},
      {u"〒123-4567", u"123", u"4567"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.code));
    EXPECT_EQ(PostCodeUpper(c.code), c.upper);
    EXPECT_EQ(PostCodeLower(c.code), c.lower);
  }
}

TEST_F(TextHelpersTest, PostCodeWithoutHyphenTakesCharactersOneToSeven) {
  const PostCodeCase cases[] = {
      {u"1234567", u"123", u"4567"}, {u"12345678", u"123", u"4567"}, {u"123", u"123", u"    "},
      {u"12345", u"123", u"45  "},   {u"", u"   ", u"    "},         {u"    ", u"   ", u"    "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.code));
    EXPECT_EQ(PostCodeUpper(c.code), c.upper);
    EXPECT_EQ(PostCodeLower(c.code), c.lower);
  }
}

TEST_F(TextHelpersTest, PostCodeNarrowsFullWidthDigitsHyphenAndSpace) {
  // Full-width digits and the full-width hyphen-minus split like their ASCII forms.
  EXPECT_EQ(PostCodeUpper(u"１２３－４５６７"), u"123");
  EXPECT_EQ(PostCodeLower(u"１２３－４５６７"), u"4567");
  // The ideographic space is narrowed after trimming, so it stays inside the text.
  EXPECT_EQ(PostCodeUpper(u"\u3000１２－３"), u" 12");
  EXPECT_EQ(PostCodeLower(u"１２３\u3000４５６"), u" 456");
  // A long dash is no hyphen.
  EXPECT_EQ(PostCodeUpper(u"123ー4567"), u"123");
  EXPECT_EQ(PostCodeLower(u"123ー4567"), u"\uFF70456");
}

TEST_F(TextHelpersTest, OneLineReplacesEachLineBreakByOneBlank) {
  EXPECT_EQ(OneLine(u"A\r\nB"), u"A B");
  EXPECT_EQ(OneLine(u"A\r\r\nB"), u"A  B");
  EXPECT_EQ(OneLine(u"A\n\rB"), u"A  B");
  EXPECT_EQ(OneLine(u"\r\n\r\n"), u"  ");
  EXPECT_EQ(OneLine(u"A\nB\rC"), u"A B C");
  EXPECT_EQ(OneLine(u"no break"), u"no break");
  EXPECT_EQ(OneLine(u""), u"");
}

TEST_F(TextHelpersTest, QuotedTextIsTheTextBetweenTheFirstTwoQuotes) {
  EXPECT_EQ(QuotedText(u"\"OUTLOOK$会社名\" \\* MERGEFORMAT"), u"OUTLOOK$会社名");
  EXPECT_EQ(QuotedText(u"x \"a\" \"b\""), u"a");
  EXPECT_EQ(QuotedText(u"\"\"rest\""), u"");
  EXPECT_EQ(QuotedText(u"only \"one"), u"");
  EXPECT_EQ(QuotedText(u"none"), u"");
  EXPECT_EQ(QuotedText(u""), u"");
  // Typographic quotes are not double quotes.
  EXPECT_EQ(QuotedText(u"\u201Ca\u201D"), u"");
}

}  // namespace
}  // namespace sendnote
