#include "portable/contacts/CsvHeading.h"

#include <algorithm>

#include "platform/AsciiCase.h"

namespace sendnote::contacts {
namespace {

// Levenshtein distance, stopping early once every path exceeds `limit`.
size_t EditDistance(std::u16string_view a, std::u16string_view b, size_t limit) {
  const size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
  if (gap > limit) return limit + 1;
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    size_t best = row[0];
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
      best = std::min(best, row[j]);
    }
    if (best > limit) return limit + 1;
  }
  return row[b.size()];
}

constexpr size_t kMostEdits = 2;

}  // namespace

std::u16string HeadingKey(std::u16string_view heading) {
  std::u16string key;
  for (char16_t c : heading) {
    if (c == u' ' || c == u'\u3000' || c == u'\uFEFF') continue;
    c = platform::AsciiLower(c);
    if (c == u'\uFF08') c = u'(';
    if (c == u'\uFF09') c = u')';
    key += c;
  }
  return key;
}

std::optional<std::u16string> NearMissOf(std::u16string_view key,
                                         const std::vector<std::u16string>& knownHeadings) {
  std::optional<std::u16string> closest;
  size_t closestEdits = kMostEdits + 1;
  for (const std::u16string& known : knownHeadings) {
    const size_t edits = EditDistance(key, HeadingKey(known), kMostEdits);
    if (edits == 0 || edits >= closestEdits || edits * 2 >= key.size()) continue;
    closest = known;
    closestEdits = edits;
  }
  return closest;
}

}  // namespace sendnote::contacts
