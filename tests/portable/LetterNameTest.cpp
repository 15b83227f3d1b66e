// Default letter names: blank between template and contact, unsafe characters, numbering
// of equal names and the 255-byte limit.
#include "portable/LetterName.h"

#include <gtest/gtest.h>

#include "platform/Utf.h"

namespace sendnote::portable {
namespace {

TEST(LetterNameTest, NamesAreTemplateBlankContactWithUnsafeCharactersReplaced) {
  const struct {
    std::u16string stem, contact;
    std::string name;
  } cases[] = {
      {u"添書票", u"山田 太郎", "添書票 山田 太郎.docx"},
      {u"添書票", u"", "添書票 無題.docx"},
      {u"", u"山田", "山田.docx"},
      {u"letter", u"a/b\\c:d*e?f\"g<h>i|j", "letter a_b_c_d_e_f_g_h_i_j.docx"},
      {u"letter", u"tab\there\r\nnew\x7F", "letter tab_here__new_.docx"},
      {u"a:b", u"c", "a_b c.docx"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LetterName names(c.stem);
    EXPECT_EQ(names.Next(c.contact), c.name);
  }
}

TEST(LetterNameTest, EqualNamesAreNumberedFromTwoWithoutAccumulating) {
  LetterName names(u"t");
  EXPECT_EQ(names.Next(u"x"), "t x.docx");
  EXPECT_EQ(names.Next(u"x"), "t x (2).docx");
  EXPECT_EQ(names.Next(u"x"), "t x (3).docx");
  // A contact whose own name is a numbered one does not take a name already given.
  EXPECT_EQ(names.Next(u"x (4)"), "t x (4).docx");
  EXPECT_EQ(names.Next(u"x"), "t x (5).docx");
  EXPECT_EQ(names.Next(u"x (2)"), "t x (2) (2).docx");
  EXPECT_EQ(names.Next(u"y"), "t y.docx");
}

TEST(LetterNameTest, LongNamesAreCutOnACharacterToFit255Bytes) {
  // 100 three-byte characters: 300 bytes with the stem, cut before the extension.
  const std::u16string contact(100, u'山');
  LetterName names(u"t");
  const std::string first = names.Next(contact);
  EXPECT_LE(first.size(), LetterName::kMaxBytes);
  EXPECT_TRUE(first.ends_with("山.docx"));
  EXPECT_EQ(platform::FromUtf8(first).size(), 2 + 82 + 5);  // "t ", 82 characters, ".docx"
  const std::string second = names.Next(contact);
  EXPECT_LE(second.size(), LetterName::kMaxBytes);
  EXPECT_TRUE(second.ends_with("山 (2).docx"));
  EXPECT_NE(first, second);
  // Characters outside the basic plane are four bytes and are never split.
  std::u16string wide = u"t a";
  for (int i = 0; i < 80; ++i) wide += u"\U0001F600";
  const std::string cut = LetterName::Cut(platform::ToUtf8(wide), 250);
  EXPECT_EQ(cut.size(), 3 + 4 * 61);
  EXPECT_EQ(platform::ToUtf8(platform::FromUtf8(cut)), cut);
  EXPECT_EQ(LetterName::Cut("abc", 250), "abc");
}

}  // namespace
}  // namespace sendnote::portable
