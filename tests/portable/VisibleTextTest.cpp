// Control characters shown as escapes, and everything else (also bytes that are not UTF-8)
// printed as it is.
#include "portable/VisibleText.h"

#include <gtest/gtest.h>

namespace sendnote::portable {
namespace {

TEST(VisibleTextTest, ControlCharactersBecomeEscapesAndTheRestStays) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"山田\t太郎", "山田\\t太郎"},
      {u"a\r\nb", "a\\r\\nb"},
      {u"\x1b[2J\x07", "\\x1b[2J\\a"},
      {u"\x7f\x01", "\\x7f\\x01"},
      {u"\x9b"
       u"1m",
       "\\u009b1m"},
      {u"\u202eevil\u2028", "\\u202eevil\\u2028"},
      {u"ｶﾞ〒150 \\ ¥", "ｶﾞ〒150 \\ ¥"},
  };
  for (const auto& [text, shown] : cases) {
    EXPECT_EQ(VisibleUtf8(text), shown);
    // The UTF-8 reading of the same text agrees.
    EXPECT_EQ(VisibleUtf8(std::string_view(VisibleUtf8(text))), shown);
  }
  EXPECT_EQ(VisibleUtf8(u"box\rline\n", true), "box\rline\n");
  EXPECT_EQ(VisibleUtf8(u"box\x1b\t", true), "box\\x1b\\t");
}

TEST(VisibleTextTest, Utf8TextIsReadByteByByteAndInvalidBytesStay) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xc2\x85x\x1b", "\\u0085x\\x1b"},
      {"\xe2\x80\xae"
       "A",
       "\\u202eA"},
      {"\x82\xa0\xc2", "\x82\xa0\xc2"},  // Shift_JIS bytes and a cut sequence
      {"\xe2\x80", "\xe2\x80"},
      {"\xc2\xa0\xe2\x80\x94", "\xc2\xa0\xe2\x80\x94"},  // no-break space, em dash
  };
  for (const auto& [utf8, shown] : cases) EXPECT_EQ(VisibleUtf8(std::string_view(utf8)), shown);
}

}  // namespace
}  // namespace sendnote::portable
