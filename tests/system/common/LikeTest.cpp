// The Like operator as the re-prefixing uses it: prefix followed by "*".
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/ComError.h"
#include "system/common/Like.h"

namespace sendnote {
namespace {

TEST(LikeTest, LiteralsAndWildcards) {
  EXPECT_TRUE(Like(u"OUTLOOK$住所", u"OUTLOOK$*"));
  EXPECT_TRUE(Like(u"OUTLOOK$", u"OUTLOOK$*"));
  EXPECT_FALSE(Like(u"outlook$住所", u"OUTLOOK$*"));  // case-sensitive
  EXPECT_FALSE(Like(u"XOUTLOOK$住所", u"OUTLOOK$*"));
  EXPECT_FALSE(Like(u"a", u""));
  EXPECT_TRUE(Like(u"a!]-", u"a!]-"));  // "!", "]" and "-" outside a list
  EXPECT_TRUE(Like(u"abcbc", u"a*bc"));
  EXPECT_FALSE(Like(u"aXbYd", u"a*b*c"));
  EXPECT_TRUE(Like(u"A名$x", u"A?$*"));
  EXPECT_FALSE(Like(u"A$x", u"A?$*"));
  EXPECT_TRUE(Like(u"P7$x", u"P#$*"));
  EXPECT_FALSE(Like(u"P７$x", u"P#$*"));  // only ASCII digits
}

TEST(LikeTest, BracketLists) {
  EXPECT_TRUE(Like(u"aM5b", u"a[L-P]#[!c-e]"));
  EXPECT_FALSE(Like(u"aM5d", u"a[L-P]#[!c-e]"));
  EXPECT_FALSE(Like(u"h", u"[a-fk-z]"));
  EXPECT_TRUE(Like(u"-", u"[-a]"));
  EXPECT_TRUE(Like(u"-", u"[a-]"));
  EXPECT_FALSE(Like(u"-", u"[!-a]"));
  EXPECT_TRUE(Like(u"*?#[", u"[*][?][#][[]"));  // pattern characters inside a list
  EXPECT_FALSE(Like(u"x", u"[*]"));
  EXPECT_FALSE(Like(u"ab", u"[ab]"));
  EXPECT_TRUE(Like(u"ab", u"a[]b"));  // "[]" stands for no character
  EXPECT_TRUE(Like(u"a", u"[a-a]"));
  for (const std::u16string pattern : {u"A[", u"x*[!", u"[z-a]"}) {
    try {
      Like(u"anything", pattern);
      ADD_FAILURE() << "no error for an invalid pattern";
    } catch (const platform::ComError& error) {
      EXPECT_EQ(error.Number(), 93);
    }
  }
}

TEST(LikeTest, PathologicalPatternsFinishQuickly) {
  const std::u16string text(20000, u'a');
  std::u16string pattern;
  for (int i = 0; i < 40; ++i) pattern += u"*a";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Like(text, pattern + u"b"));
  EXPECT_TRUE(Like(text + u"b", pattern + u"b"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace sendnote
