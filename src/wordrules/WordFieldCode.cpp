#include "wordrules/WordFieldCode.h"

#include "platform/AsciiCase.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sendnote::wordrules {

using namespace platform;

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Returns the position after leading blanks and the field word (letters up to a blank,
// quote or switch).
size_t SkipFieldWord(std::u16string_view code, size_t& wordStart) {
  size_t pos = 0;
  while (pos < code.size() && IsBlank(code[pos])) ++pos;
  wordStart = pos;
  while (pos < code.size() && !IsBlank(code[pos]) && code[pos] != u'"' && code[pos] != u'\\') {
    ++pos;
  }
  return pos;
}

constexpr std::array<std::pair<std::u16string_view, int32_t>, 35> kFieldTypes = {{
    {u"REF", 3},          {u"SET", 6},          {u"IF", 7},           {u"SEQ", 12},
    {u"TOC", 13},         {u"TITLE", 15},       {u"SUBJECT", 16},     {u"AUTHOR", 17},
    {u"KEYWORDS", 18},    {u"COMMENTS", 19},    {u"LASTSAVEDBY", 20}, {u"CREATEDATE", 21},
    {u"SAVEDATE", 22},    {u"PRINTDATE", 23},   {u"REVNUM", 24},      {u"EDITTIME", 25},
    {u"NUMPAGES", 26},    {u"NUMWORDS", 27},    {u"NUMCHARS", 28},    {u"FILENAME", 29},
    {u"TEMPLATE", 30},    {u"DATE", 31},        {u"TIME", 32},        {u"PAGE", 33},
    {u"PAGEREF", 37},     {u"ASK", 38},         {u"FILLIN", 39},      {u"MERGEFIELD", 59},
    {u"USERNAME", 60},    {u"DOCVARIABLE", 64}, {u"SECTION", 65},     {u"SECTIONPAGES", 66},
    {u"DOCPROPERTY", 85}, {u"HYPERLINK", 88},   {u"SYMBOL", 57},
}};

}  // namespace

int32_t FieldTypeOfCode(std::u16string_view code) {
  size_t start = 0;
  const size_t end = SkipFieldWord(code, start);
  std::u16string word(code.substr(start, end - start));
  std::ranges::transform(word, word.begin(), AsciiUpper<char16_t>);
  for (const auto& [name, type] : kFieldTypes) {
    if (name == word) return type;
  }
  return kWdFieldEmpty;
}

std::u16string DocPropertyNameOfCode(std::u16string_view code) {
  size_t start = 0;
  size_t pos = SkipFieldWord(code, start);
  while (pos < code.size() && IsBlank(code[pos])) ++pos;
  if (pos >= code.size()) return u"";
  if (code[pos] == u'"') {
    const size_t close = code.find(u'"', pos + 1);
    const size_t end = close == std::u16string_view::npos ? code.size() : close;
    return std::u16string(code.substr(pos + 1, end - pos - 1));
  }
  if (code[pos] == u'\\') return u"";  // a switch, no name
  size_t end = pos;
  while (end < code.size() && !IsBlank(code[end]) && code[end] != u'\\') ++end;
  return std::u16string(code.substr(pos, end - pos));
}

}  // namespace sendnote::wordrules
