// The portable full-width to half-width mapping.
#include <gtest/gtest.h>

#include <string>

#include "wordrules/NarrowTable.h"

namespace sendnote::wordrules {
namespace {

TEST(NarrowTableTest, FullWidthAsciiSpaceAndSigns) {
  for (char16_t c = 0xFF01; c <= 0xFF5E; ++c) {
    const char16_t expected = c == 0xFF3C ? c : static_cast<char16_t>(c - 0xFF01 + u'!');
    EXPECT_EQ(NarrowWidthPortable(std::u16string(1, c)), std::u16string(1, expected)) << int{c};
  }
  EXPECT_EQ(NarrowWidthPortable(u"１２３－４５６７\u3000’”"), u"123-4567 '\"");
  EXPECT_EQ(NarrowWidthPortable(u"￠￡￢￣￤￥￦"), u"\u00A2\u00A3\u00AC\u00AF\u00A6\u00A5\u20A9");
  EXPECT_EQ(NarrowWidthPortable(u"‘“\u2212\u2010"), u"‘“\u2212\u2010");
}

TEST(NarrowTableTest, KatakanaVoicedOnesBecomeBasePlusMark) {
  EXPECT_EQ(NarrowWidthPortable(u"アィカッナマャラワヲン・ー、。「」"), u"ｱｨｶｯﾅﾏｬﾗﾜｦﾝ･ｰ､｡｢｣");
  EXPECT_EQ(NarrowWidthPortable(u"ガゾヂドバポヴヷヺ"), u"ｶﾞｿﾞﾁﾞﾄﾞﾊﾞﾎﾟｳﾞﾜﾞｦﾞ");
  EXPECT_EQ(NarrowWidthPortable(u"゛゜\u3099\u309A"), u"ﾞﾟﾞﾟ");
  // No narrow ヮ ヰ ヱ ヵ ヶ ヽ: they stay, and their voiced forms keep the wide base.
  EXPECT_EQ(NarrowWidthPortable(u"ヮヰヱヵヶヽヸヹヾ"), u"ヮヰヱヵヶヽヰﾞヱﾞヽﾞ");
}

TEST(NarrowTableTest, HangulLettersAndEverythingElse) {
  EXPECT_EQ(NarrowWidthPortable(u"\u3131\u314E\u314F\u3155\u315B\u3161\u3163\u3164"),
            u"\uFFA1\uFFBE\uFFC2\uFFCA\uFFD2\uFFDA\uFFDC\uFFA0");
  const std::u16string kept = u"あがぱ山田〒ｱﾞabc 123-\r\n\xD800";
  EXPECT_EQ(NarrowWidthPortable(kept), kept);
}

}  // namespace
}  // namespace sendnote::wordrules
