#include "portable/contacts/AddressText.h"

#include "platform/AsciiCase.h"

#include <array>
#include <vector>

namespace sendnote::contacts {
namespace {

bool IsAscii(char16_t c) { return c < 0x80; }

bool HasNonAscii(std::u16string_view text) {
  for (char16_t c : text) {
    if (!IsAscii(c)) return true;
  }
  return false;
}

// Appends part to line: directly, or after one blank when both meet with ASCII characters.
void AppendPart(std::u16string& line, std::u16string_view part) {
  if (part.empty()) return;
  if (!line.empty() && IsAscii(line.back()) && IsAscii(part.front())) line += u' ';
  line.append(part);
}

std::vector<std::u16string_view> SplitCrLf(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(u"\r\n", start);
    if (end == std::u16string_view::npos) {
      lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
}

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\u3000')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\u3000')) text.remove_suffix(1);
  return text;
}

bool IsJapan(std::u16string_view country) {
  std::u16string key(TrimBlanks(country));
  for (char16_t& c : key) c = platform::AsciiUpper(c);
  static constexpr std::array<std::u16string_view, 5> kJapan = {u"日本", u"日本国", u"JAPAN", u"JP",
                                                                u"JPN"};
  for (std::u16string_view name : kJapan) {
    if (key == name) return true;
  }
  return false;
}

}  // namespace

bool AddressParts::Empty() const {
  return postOfficeBox.empty() && extended.empty() && street.empty() && city.empty() &&
         state.empty() && postalCode.empty() && country.empty();
}

std::u16string ComposeAddress(const AddressParts& parts) {
  std::vector<std::u16string> lines;
  lines.emplace_back(parts.postalCode);
  const std::vector<std::u16string_view> street = SplitCrLf(parts.street);
  std::u16string place;
  AppendPart(place, parts.state);
  AppendPart(place, parts.city);
  AppendPart(place, street.front());
  lines.push_back(std::move(place));
  for (size_t i = 1; i < street.size(); ++i) lines.emplace_back(street[i]);
  lines.emplace_back(parts.extended);
  lines.emplace_back(parts.postOfficeBox);
  if (!IsJapan(parts.country)) lines.emplace_back(parts.country);

  std::u16string whole;
  for (const std::u16string& line : lines) {
    if (line.empty()) continue;
    if (!whole.empty()) whole += u"\r\n";
    whole += line;
  }
  return whole;
}

void MergeExtendedIntoStreet(AddressParts& parts) {
  if (parts.extended.empty()) return;
  if (!parts.street.empty()) parts.street += u"\r\n";
  parts.street += parts.extended;
  parts.extended.clear();
}

std::u16string NormalizeLineBreaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      out += u"\r\n";
    } else if (text[i] == u'\n') {
      out += u"\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::u16string ComposeFullName(std::u16string_view first, std::u16string_view middle,
                               std::u16string_view last, std::u16string_view company) {
  const bool japanese = HasNonAscii(first) || HasNonAscii(middle) || HasNonAscii(last);
  const std::array<std::u16string_view, 3> order =
      japanese ? std::array<std::u16string_view, 3>{last, first, middle}
               : std::array<std::u16string_view, 3>{first, middle, last};
  std::u16string name;
  for (std::u16string_view part : order) {
    if (part.empty()) continue;
    if (!name.empty()) name += u' ';
    name.append(part);
  }
  if (name.empty()) name = company;
  return name;
}

}  // namespace sendnote::contacts
