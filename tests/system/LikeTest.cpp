// The Like operator as the re-prefixing uses it: prefix followed by "*".
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "common/Like.h"
#include "platform/ComError.h"

namespace sendnote {
namespace {

TEST(LikeTest, LiteralsMatchExactlyAndCaseSensitively) {
  EXPECT_TRUE(Like(u"OUTLOOK$会社名", u"OUTLOOK$会社名"));
  EXPECT_FALSE(Like(u"outlook$会社名", u"OUTLOOK$会社名"));
  EXPECT_FALSE(Like(u"OUTLOOK$会社", u"OUTLOOK$会社名"));
  EXPECT_FALSE(Like(u"OUTLOOK$会社名X", u"OUTLOOK$会社名"));
  EXPECT_TRUE(Like(u"", u""));
  EXPECT_FALSE(Like(u"a", u""));
  // "!", "]" and "-" outside a list stand for themselves.
  EXPECT_TRUE(Like(u"a!]-", u"a!]-"));
}

TEST(LikeTest, StarMatchesAnyRunIncludingNone) {
  EXPECT_TRUE(Like(u"OUTLOOK$", u"OUTLOOK$*"));
  EXPECT_TRUE(Like(u"OUTLOOK$住所", u"OUTLOOK$*"));
  EXPECT_FALSE(Like(u"XOUTLOOK$住所", u"OUTLOOK$*"));
  EXPECT_FALSE(Like(u"SENDNOTE$PREFIX", u"OUTLOOK$*"));
  EXPECT_TRUE(Like(u"", u"*"));
  EXPECT_TRUE(Like(u"", u"***"));
  EXPECT_TRUE(Like(u"abcbc", u"a*bc"));
  EXPECT_TRUE(Like(u"aXbYc", u"a*b*c"));
  EXPECT_FALSE(Like(u"aXbYd", u"a*b*c"));
  EXPECT_TRUE(Like(u"mississippi", u"*sip*"));
  EXPECT_FALSE(Like(u"mississippi", u"*sipx*"));
}

TEST(LikeTest, QuestionAndHashTakeOneCharacter) {
  EXPECT_TRUE(Like(u"A1$x", u"A?$*"));
  EXPECT_TRUE(Like(u"Ab$x", u"A?$*"));
  EXPECT_FALSE(Like(u"A$x", u"A?$*"));
  EXPECT_TRUE(Like(u"P7$名", u"P#$*"));
  EXPECT_FALSE(Like(u"PX$名", u"P#$*"));
  // Only ASCII digits are digits; a full-width digit is not.
  EXPECT_FALSE(Like(u"P７$名", u"P#$*"));
  // "?" takes one 16-bit character, also a non-ASCII one.
  EXPECT_TRUE(Like(u"名", u"?"));
}

TEST(LikeTest, BracketListsRangesAndNegation) {
  EXPECT_TRUE(Like(u"b", u"[abc]"));
  EXPECT_FALSE(Like(u"d", u"[abc]"));
  EXPECT_TRUE(Like(u"d", u"[!abc]"));
  EXPECT_FALSE(Like(u"a", u"[!abc]"));
  EXPECT_TRUE(Like(u"M5", u"[L-P]#"));
  EXPECT_TRUE(Like(u"aM5b", u"a[L-P]#[!c-e]"));
  EXPECT_FALSE(Like(u"aM5d", u"a[L-P]#[!c-e]"));
  EXPECT_TRUE(Like(u"q", u"[a-fk-z]"));
  EXPECT_FALSE(Like(u"h", u"[a-fk-z]"));
  // A hyphen first or last in the list stands for itself.
  EXPECT_TRUE(Like(u"-", u"[-a]"));
  EXPECT_TRUE(Like(u"-", u"[a-]"));
  EXPECT_FALSE(Like(u"-", u"[!-a]"));
  // Pattern characters inside a list are plain characters.
  EXPECT_TRUE(Like(u"*", u"[*]"));
  EXPECT_FALSE(Like(u"x", u"[*]"));
  EXPECT_TRUE(Like(u"?", u"[?]"));
  EXPECT_FALSE(Like(u"3", u"[?]"));
  EXPECT_TRUE(Like(u"#", u"[#]"));
  EXPECT_TRUE(Like(u"[", u"[[]"));
  // A list is one character, however long.
  EXPECT_FALSE(Like(u"ab", u"[ab]"));
  // "[]" stands for no character at all.
  EXPECT_TRUE(Like(u"", u"[]"));
  EXPECT_TRUE(Like(u"ab", u"a[]b"));
  EXPECT_FALSE(Like(u"a", u"[]"));
}

TEST(LikeTest, PatternCharactersInsideAPrefixActAsPatterns) {
  // Re-prefixing deletes names matching prefix + "*": a prefix with "?", "#" or a list
  // matches more than its literal text.
  EXPECT_TRUE(Like(u"AB$住所", u"A?$*"));
  EXPECT_TRUE(Like(u"A9$住所", u"A#$*"));
  EXPECT_FALSE(Like(u"A#$住所", u"A#$*"));
  EXPECT_TRUE(Like(u"Ab$x", u"A[a-c]$*"));
  EXPECT_TRUE(Like(u"A*$x", u"A*$*"));
  EXPECT_TRUE(Like(u"AZZZ$x", u"A*$*"));
}

TEST(LikeTest, InvalidPatternsRaiseInvalidPatternString) {
  for (const std::u16string pattern : {u"A[", u"[abc", u"x*[!", u"[z-a]", u"OUT[9-0]$*"}) {
    try {
      Like(u"anything", pattern);
      ADD_FAILURE() << "no error for an invalid pattern";
    } catch (const platform::ComError& error) {
      EXPECT_EQ(error.Number(), 93);
    }
  }
  // A single-character range is ascending enough.
  EXPECT_TRUE(Like(u"a", u"[a-a]"));
}

TEST(LikeTest, PathologicalPatternsFinishQuickly) {
  // Many stars against a long text that almost matches: exponential backtracking would
  // never finish here.
  const std::u16string text(20000, u'a');
  std::u16string pattern;
  for (int i = 0; i < 40; ++i) pattern += u"*a";
  pattern += u"b";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Like(text, pattern));
  EXPECT_TRUE(Like(text + u"b", pattern));
  EXPECT_TRUE(Like(text, u"*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*"));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

}  // namespace
}  // namespace sendnote
