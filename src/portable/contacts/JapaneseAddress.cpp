#include "portable/contacts/JapaneseAddress.h"

#include "portable/contacts/JapaneseMunicipalities.h"

namespace sendnote::contacts {
namespace {

bool IsSeparator(char16_t c) { return c == u' ' || c == u'\u3000' || c == u'\r' || c == u'\n'; }

std::u16string_view SkipSeparators(std::u16string_view text) {
  while (!text.empty() && IsSeparator(text.front())) text.remove_prefix(1);
  return text;
}

bool IsDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９'); }

// Hyphens people write in postal codes: ASCII, full-width, dashes, minus and the long vowel mark.
bool IsHyphen(char16_t c) {
  return c == u'-' || c == u'\uFF0D' || (c >= u'\u2010' && c <= u'\u2015') || c == u'\u2212' ||
         c == u'\u30FC';
}

size_t DigitsAt(std::u16string_view text, size_t at) {
  size_t end = at;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - at;
}

// Returns the length of a postal code at the start of text ("150-0031" or "1500031"), or 0.
size_t PostalCodeLength(std::u16string_view text) {
  const size_t head = DigitsAt(text, 0);
  if (head == 7) return 7;
  if (head != 3 || text.size() < 4 || !IsHyphen(text[3])) return 0;
  return DigitsAt(text, 4) == 4 ? 8 : 0;
}

// Returns the index of the prefecture that text begins with.
std::optional<size_t> PrefectureAt(std::u16string_view text) {
  const auto names = PrefectureNames();
  for (size_t i = 0; i < names.size(); ++i) {
    if (text.starts_with(names[i])) return i;
  }
  return std::nullopt;
}

std::u16string_view MunicipalityAt(std::u16string_view text, size_t prefecture) {
  std::u16string_view longest;
  for (const Municipality& m : MunicipalitiesOf(prefecture)) {
    if (m.name.size() > longest.size() && text.starts_with(m.name)) longest = m.name;
  }
  return longest;
}

// The digits of a postal code, ASCII or full-width, compared without hyphens and 〒.
std::u16string PostalDigits(std::u16string_view code) {
  std::u16string digits;
  for (char16_t c : code) {
    if (c >= u'０' && c <= u'９') c = static_cast<char16_t>(c - u'０' + u'0');
    if (c >= u'0' && c <= u'9') digits += c;
  }
  return digits;
}

}  // namespace

std::optional<JapaneseAddress> SplitJapaneseAddress(std::u16string_view text) {
  JapaneseAddress address;
  text = SkipSeparators(text);
  std::u16string_view code = text;
  if (code.starts_with(u"〒")) code = SkipSeparators(code.substr(1));
  if (const size_t length = PostalCodeLength(code)) {
    address.postalCode = code.substr(0, length);
    text = SkipSeparators(code.substr(length));
  }
  const std::optional<size_t> prefecture = PrefectureAt(text);
  if (!prefecture) return std::nullopt;
  address.prefecture = PrefectureNames()[*prefecture];
  text = SkipSeparators(text.substr(address.prefecture.size()));
  address.municipality = MunicipalityAt(text, *prefecture);
  address.rest = SkipSeparators(text.substr(address.municipality.size()));
  return address;
}

bool SplitOneLineAddress(AddressParts& parts) {
  if (parts.street.empty() || !parts.state.empty() || !parts.city.empty()) return false;
  std::optional<JapaneseAddress> split = SplitJapaneseAddress(parts.street);
  if (!split) return false;
  if (!split->postalCode.empty() && !parts.postalCode.empty() &&
      PostalDigits(split->postalCode) != PostalDigits(parts.postalCode)) {
    return false;
  }
  if (parts.postalCode.empty()) parts.postalCode = std::move(split->postalCode);
  parts.state = std::move(split->prefecture);
  parts.city = std::move(split->municipality);
  parts.street = std::move(split->rest);
  return true;
}

}  // namespace sendnote::contacts
