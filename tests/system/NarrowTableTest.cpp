// The portable full-width to half-width mapping, checked against the platform's standard
// mapping character by character.
#include <gtest/gtest.h>

#include <string>

#include "platform/NarrowTable.h"

namespace sendnote::platform {
namespace {

TEST(NarrowTableTest, DigitsLettersAndSymbolsBecomeAscii) {
  EXPECT_EQ(NarrowWidthPortable(u"０１２３４５６７８９"), u"0123456789");
  EXPECT_EQ(NarrowWidthPortable(u"ＡＺａｚ"), u"AZaz");
  // Every full-width ASCII variant but the reverse solidus, both ends of the block.
  for (char16_t c = 0xFF01; c <= 0xFF5E; ++c) {
    if (c == 0xFF3C) continue;
    EXPECT_EQ(NarrowWidthPortable(std::u16string(1, c)),
              std::u16string(1, static_cast<char16_t>(c - 0xFF01 + u'!')))
        << std::hex << static_cast<int>(c);
  }
  EXPECT_EQ(NarrowWidthPortable(u"\uFF3C"), u"\uFF3C");
  EXPECT_EQ(NarrowWidthPortable(u"’”"), u"'\"");
  // Other quotation marks have no narrow form.
  EXPECT_EQ(NarrowWidthPortable(u"‘“"), u"‘“");
  EXPECT_EQ(NarrowWidthPortable(u"￠￡￢￣￤￥￦"), u"\u00A2\u00A3\u00AC\u00AF\u00A6\u00A5\u20A9");
}

TEST(NarrowTableTest, HyphenMinusAndIdeographicSpace) {
  EXPECT_EQ(NarrowWidthPortable(u"\uFF0D"), u"-");
  EXPECT_EQ(NarrowWidthPortable(u"１２３－４５６７"), u"123-4567");
  EXPECT_EQ(NarrowWidthPortable(u"\u3000"), u" ");
  // Dashes and the minus sign are no hyphen-minus and stay.
  EXPECT_EQ(NarrowWidthPortable(u"\u2212\u2010\u2015"), u"\u2212\u2010\u2015");
}

TEST(NarrowTableTest, KatakanaBecomeHalfWidthVoicedOnesBasePlusMark) {
  EXPECT_EQ(NarrowWidthPortable(u"アイウエオ"), u"ｱｲｳｴｵ");
  EXPECT_EQ(NarrowWidthPortable(u"ァィゥェォッャュョ"), u"ｧｨｩｪｫｯｬｭｮ");
  EXPECT_EQ(NarrowWidthPortable(u"カキクケコタチツテトハヒフヘホ"), u"ｶｷｸｹｺﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ");
  EXPECT_EQ(NarrowWidthPortable(u"ガギグゲゴザジズゼゾ"), u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞ");
  EXPECT_EQ(NarrowWidthPortable(u"ダヂヅデドバビブベボ"), u"ﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ");
  EXPECT_EQ(NarrowWidthPortable(u"パピプペポ"), u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ");
  EXPECT_EQ(NarrowWidthPortable(u"ナニヌネノマミムメモヤユヨラリルレロワヲン"),
            u"ﾅﾆﾇﾈﾉﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝ");
  EXPECT_EQ(NarrowWidthPortable(u"ヴヷヺ"), u"ｳﾞﾜﾞｦﾞ");
  EXPECT_EQ(NarrowWidthPortable(u"・ー゛゜"), u"･ｰﾞﾟ");
  EXPECT_EQ(NarrowWidthPortable(u"\u3099\u309A"), u"ﾞﾟ");
  EXPECT_EQ(NarrowWidthPortable(u"、。「」"), u"､｡｢｣");
}

TEST(NarrowTableTest, KanaWithoutNarrowLetterKeepTheirWideForm) {
  // No narrow ヮ ヰ ヱ ヵ ヶ ヽ: they stay; their voiced forms keep the wide base.
  EXPECT_EQ(NarrowWidthPortable(u"ヮヰヱヵヶヽ"), u"ヮヰヱヵヶヽ");
  EXPECT_EQ(NarrowWidthPortable(u"ヸヹヾ"), u"ヰﾞヱﾞヽﾞ");
}

TEST(NarrowTableTest, OtherCharactersStay) {
  // Hiragana, kanji, the postal mark, half-width forms and ASCII pass unchanged.
  const std::u16string kept = u"あがぱ山田〒ｱﾞabc 123-\r\n";
  EXPECT_EQ(NarrowWidthPortable(kept), kept);
  EXPECT_EQ(NarrowWidthPortable(u""), u"");
  // An unpaired surrogate passes through as it is.
  EXPECT_EQ(NarrowWidthPortable(u"\xD800Ａ"),
            u"\xD800"
            u"A");
}

TEST(NarrowTableTest, HangulLettersBecomeHalfWidth) {
  EXPECT_EQ(NarrowWidthPortable(u"\u3131\u314E"), u"\uFFA1\uFFBE");
  // The vowels skip the unused code points of the narrow block.
  EXPECT_EQ(NarrowWidthPortable(u"\u314F\u3154\u3155\u315A\u315B\u3160\u3161\u3163"),
            u"\uFFC2\uFFC7\uFFCA\uFFCF\uFFD2\uFFD7\uFFDA\uFFDC");
  EXPECT_EQ(NarrowWidthPortable(u"\u3164"), u"\uFFA0");
  EXPECT_EQ(NarrowWidthPortable(u"\u3165"), u"\u3165");
}

}  // namespace
}  // namespace sendnote::platform
