#include "system/common/Like.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/ComError.h"

namespace sendnote {
namespace {

constexpr int32_t kErrInvalidPattern = 93;

void RaiseInvalidPattern() { platform::Raise(kErrInvalidPattern, u"Invalid pattern string"); }

// One step of a compiled pattern; every kind but kStar stands for exactly one character.
struct Token {
  enum class Kind { kStar, kAny, kDigit, kChar, kList };
  Kind kind = Kind::kChar;
  char16_t ch = 0;                                    // kChar
  bool negate = false;                                // kList with "!"
  std::vector<std::pair<char16_t, char16_t>> ranges;  // kList: inclusive ranges

  bool Matches(char16_t c) const {
    switch (kind) {
      case Kind::kAny:
        return true;
      case Kind::kDigit:
        return c >= u'0' && c <= u'9';
      case Kind::kChar:
        return c == ch;
      case Kind::kList: {
        bool in = false;
        for (const auto& [lo, hi] : ranges) in = in || (c >= lo && c <= hi);
        return in != negate;
      }
      case Kind::kStar:
        break;
    }
    return false;
  }
};

// Reads a bracket list starting after its "[" at `pos`; leaves `pos` after its "]".
// Returns false for "[]", which stands for no character at all.
bool ReadList(std::u16string_view pattern, std::size_t& pos, Token& token) {
  const std::size_t close = pattern.find(u']', pos);
  if (close == std::u16string_view::npos) RaiseInvalidPattern();
  std::u16string_view list = pattern.substr(pos, close - pos);
  pos = close + 1;
  if (list.empty()) return false;
  token.kind = Token::Kind::kList;
  if (list.front() == u'!') {
    token.negate = true;
    list.remove_prefix(1);
  }
  for (std::size_t i = 0; i < list.size(); ++i) {
    const char16_t lo = list[i];
    // A hyphen between two characters makes a range; first or last it stands for itself.
    if (i + 2 < list.size() && list[i + 1] == u'-') {
      const char16_t hi = list[i + 2];
      if (hi < lo) RaiseInvalidPattern();
      token.ranges.emplace_back(lo, hi);
      i += 2;
    } else {
      token.ranges.emplace_back(lo, lo);
    }
  }
  return true;
}

std::vector<Token> Compile(std::u16string_view pattern) {
  std::vector<Token> tokens;
  std::size_t pos = 0;
  while (pos < pattern.size()) {
    const char16_t c = pattern[pos++];
    Token token;
    switch (c) {
      case u'*':
        // Runs of stars mean the same as one.
        if (tokens.empty() || tokens.back().kind != Token::Kind::kStar) {
          tokens.emplace_back().kind = Token::Kind::kStar;
        }
        continue;
      case u'?':
        token.kind = Token::Kind::kAny;
        break;
      case u'#':
        token.kind = Token::Kind::kDigit;
        break;
      case u'[':
        if (!ReadList(pattern, pos, token)) continue;
        break;
      default:
        token.ch = c;
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

}  // namespace

bool Like(std::u16string_view text, std::u16string_view pattern) {
  const std::vector<Token> tokens = Compile(pattern);
  // Greedy matching that backtracks only to the last star: every other token takes one
  // character, so this is exact and takes at most text length x pattern length steps.
  std::size_t t = 0;
  std::size_t p = 0;
  std::size_t starToken = tokens.size();  // none yet
  std::size_t starText = 0;
  while (t < text.size()) {
    if (p < tokens.size() && tokens[p].kind == Token::Kind::kStar) {
      starToken = p++;
      starText = t;
    } else if (p < tokens.size() && tokens[p].Matches(text[t])) {
      ++p;
      ++t;
    } else if (starToken != tokens.size()) {
      p = starToken + 1;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < tokens.size() && tokens[p].kind == Token::Kind::kStar) ++p;
  return p == tokens.size();
}

}  // namespace sendnote
