// Character set names and decoding, Shift_JIS as Windows code page 932 above all.
#include <gtest/gtest.h>

#include "platform/ComError.h"
#include "portable/contacts/Charset.h"

namespace sendnote::contacts {
namespace {

TEST(CharsetTest, ShiftJisNamesAllMeanCodePage932) {
  for (const char* name : {"SHIFT_JIS", "Shift_JIS", "shift-jis", "SJIS", "x-sjis", "MS_Kanji",
                           "Windows-31J", "CP932", "ms932"}) {
    EXPECT_EQ(CanonicalCharset(name), kCharsetCp932) << name;
  }
  EXPECT_EQ(CanonicalCharset("utf-8"), kCharsetUtf8);
  EXPECT_EQ(CanonicalCharset("UTF8"), kCharsetUtf8);
  EXPECT_EQ(CanonicalCharset("X-KLINGON"), "");
  EXPECT_EQ(CanonicalCharset(""), "");
  // Names that a conversion library would take with options are not supported names.
  EXPECT_EQ(CanonicalCharset("UTF-8//IGNORE"), "");
}

// Characters where code page 932 differs from JIS X 0208 Shift_JIS, the NEC and IBM
// extensions, and the ASCII half that code page 932 keeps (0x5C is the backslash).
TEST(CharsetTest, CodePage932MapsTheWindowsCharacters) {
  const DecodedText decoded = DecodeCharset(
      "\x81\x7C\x81\x5F\x81\x60\x81\x61\x81\x91\x81\xCA\x87\x40\x87\x82\xFA\x40\x5C\x7E\xB1",
      kCharsetCp932);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.text,
            u"\uFF0D"    // full-width hyphen-minus, not U+2212
            u"\uFF3C"    // full-width reverse solidus, not U+005C
            u"\uFF5E"    // full-width tilde, not U+301C
            u"\u2225"    // parallel to, not U+2016
            u"\uFFE0"    // full-width cent sign
            u"\uFFE2"    // full-width not sign
            u"\u2460"    // circled digit one (NEC row 13)
            u"\u2116"    // numero sign
            u"\u2170"    // small roman numeral one (IBM extension)
            u"\\~"       // ASCII stays ASCII
            u"\uFF71");  // half-width katakana a
}

TEST(CharsetTest, MalformedBytesReportTheirOffset) {
  const DecodedText truncated = DecodeCharset("ab\x82", kCharsetCp932);
  EXPECT_FALSE(truncated.ok);
  EXPECT_EQ(truncated.errorOffset, 2u);
  const DecodedText badTrail = DecodeCharset("\x82\xA0x\x81\x20", kCharsetCp932);
  EXPECT_FALSE(badTrail.ok);
  EXPECT_EQ(badTrail.errorOffset, 3u);
  const DecodedText ascii = DecodeCharset("abc\xE9", CanonicalCharset("US-ASCII"));
  EXPECT_FALSE(ascii.ok);
  EXPECT_EQ(ascii.errorOffset, 3u);
  EXPECT_FALSE(DecodeCharset("\xC3(", kCharsetUtf8).ok);
}

TEST(CharsetTest, OtherJapaneseSetsDecode) {
  EXPECT_EQ(DecodeCharset("\xC5\xEC\xB5\xFE", CanonicalCharset("EUC-JP")).text, u"東京");
  EXPECT_EQ(DecodeCharset("\x1B$BEl5~\x1B(B!", CanonicalCharset("ISO-2022-JP")).text, u"東京!");
}

}  // namespace
}  // namespace sendnote::contacts
