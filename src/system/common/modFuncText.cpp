// Text, property and field helpers of the letter command.
#include <cstddef>
#include <functional>

#include "platform/ComError.h"
#include "platform/Runtime.h"
#include "platform/Variant.h"
#include "system/common/modFunc.h"

namespace sendnote {
namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kQuote = u'"';
constexpr std::size_t kNone = std::u16string_view::npos;

// Returns `s` with every `from` replaced by `to`, scanning from the start.
std::u16string ReplaceAll(std::u16string_view s, std::u16string_view from, char16_t to) {
  std::u16string out;
  out.reserve(s.size());
  std::size_t pos = 0;
  for (std::size_t hit = s.find(from); hit != kNone; hit = s.find(from, pos)) {
    out.append(s.substr(pos, hit - pos));
    out += to;
    pos = hit + from.size();
  }
  out.append(s.substr(pos));
  return out;
}

// The trimmed postal code in narrow form, and the 0-based index of its first hyphen.
struct NarrowPostCode {
  std::u16string text;
  std::size_t hyphen;
};

// The dashes people type for the postal code's hyphen (the long vowel marks come from
// Japanese input methods; U+FF0D and U+30FC are already narrowed to "-" and U+FF70).
bool IsDash(char16_t c) {
  switch (c) {
    case u'-':
    case u'\u2010':
    case u'\u2011':
    case u'\u2012':
    case u'\u2013':
    case u'\u2014':
    case u'\u2015':
    case u'\u2212':
    case u'\u30FC':
    case u'\uFF70':
    case u'\uFF0D':
      return true;
    default:
      return false;
  }
}

bool IsDigits(std::u16string_view s) {
  for (const char16_t c : s) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

// "150 8512": three digits, blanks, four digits; the blanks stand for the hyphen.
std::size_t BlankHyphen(std::u16string_view t) {
  if (t.size() < 8 || !IsDigits(t.substr(0, 3)) || t[3] != kBlank) return kNone;
  const std::size_t digits = t.find_first_not_of(kBlank, 3);
  if (digits == kNone || t.size() - digits != 4 || !IsDigits(t.substr(digits))) return kNone;
  return 3;
}

NarrowPostCode NarrowCode(std::u16string_view postCode) {
  NarrowPostCode code;
  code.text = platform::CurrentRuntime().Narrow(Trim(postCode));
  // The postal mark and the blanks after it are no part of the code.
  if (code.text.starts_with(u'\u3012')) {
    const std::size_t start = code.text.find_first_not_of(kBlank, 1);
    code.text.erase(0, start == kNone ? code.text.size() : start);
  }
  for (char16_t& c : code.text) {
    if (IsDash(c)) c = u'-';
  }
  code.hyphen = code.text.find(u'-');
  if (code.hyphen == kNone) {
    code.hyphen = BlankHyphen(code.text);
    if (code.hyphen != kNone) code.text.erase(4, code.text.size() - 8);
  }
  return code;
}

// The first seven characters of `t`, filled with blanks on the right.
std::u16string FirstSeven(const std::u16string& t) {
  std::u16string seven = t.substr(0, 7);
  seven.resize(7, kBlank);
  return seven;
}

// Where the property name of a DOCPROPERTY code lies: the index in the untrimmed code of
// the quote that opens it, and the name itself. Empty name when the code names none.
struct CodeName {
  std::size_t quote = kNone;
  std::u16string name;
};

CodeName NameInCode(std::u16string_view code) {
  CodeName result;
  const std::size_t first = code.find_first_not_of(kBlank);
  if (first == kNone) return result;
  const std::size_t last = code.find_last_not_of(kBlank);
  const std::u16string_view trimmed = code.substr(first, last - first + 1);
  const std::size_t blank = trimmed.find(kBlank);
  const std::size_t restStart = blank == kNone ? 0 : blank + 1;
  const std::u16string_view rest = trimmed.substr(restStart);
  result.name = QuotedText(rest);
  if (result.name.empty()) return result;
  result.quote = first + restStart + rest.find(kQuote);
  return result;
}

// True when a field is a DOCPROPERTY field whose property name begins with `prefix`;
// an empty name never matches.
bool NamesPrefix(const CodeName& code, std::u16string_view prefix) {
  return !code.name.empty() && std::u16string_view(code.name).starts_with(prefix);
}

int16_t Increment(int16_t count) { return platform::CInt(int32_t{count} + 1); }

// A DOCPROPERTY field whose property name begins with the prefix, as the walk finds it.
struct PrefixedField {
  platform::Field& field;
  platform::Range& code;
  const std::u16string& text;
  const CodeName& name;
};

// Calls `visit` for each DOCPROPERTY field of `fields` naming `prefix`...; returns how many.
int16_t ForEachPrefixedField(const std::shared_ptr<platform::Fields>& fields,
                             std::u16string_view prefix,
                             const std::function<void(const PrefixedField&)>& visit) {
  auto& collection = platform::Must(fields);
  int16_t count = 0;
  const int32_t total = collection.Count();
  for (int32_t i = 1; i <= total; ++i) {
    const auto field = collection.Item(i);
    if (platform::Must(field).Type() != platform::kWdFieldDocProperty) continue;
    const auto range = field->Code();
    const std::u16string text = platform::Must(range).Text();
    const CodeName code = NameInCode(text);
    if (!NamesPrefix(code, prefix)) continue;
    visit(PrefixedField{*field, *range, text, code});
    count = Increment(count);
  }
  return count;
}

}  // namespace

std::u16string Trim(std::u16string_view s) {
  const std::size_t first = s.find_first_not_of(kBlank);
  if (first == kNone) return {};
  const std::size_t last = s.find_last_not_of(kBlank);
  return std::u16string(s.substr(first, last - first + 1));
}

std::u16string SpaceBefore(std::u16string_view s) {
  if (s.empty()) return {};
  std::u16string out(1, kBlank);
  out.append(s);
  return out;
}

std::u16string PostCodeUpper(std::u16string_view postCode) {
  const NarrowPostCode code = NarrowCode(postCode);
  if (code.hyphen != kNone) {
    // The part before the hyphen, right-aligned in three characters.
    const std::u16string padded = u"   " + code.text.substr(0, code.hyphen);
    return padded.substr(padded.size() - 3);
  }
  return FirstSeven(code.text).substr(0, 3);
}

std::u16string PostCodeLower(std::u16string_view postCode) {
  const NarrowPostCode code = NarrowCode(postCode);
  if (code.hyphen != kNone) {
    // The part after the hyphen, left-aligned in four characters.
    std::u16string after = code.text.substr(code.hyphen + 1, 4);
    after.resize(4, kBlank);
    return after;
  }
  return FirstSeven(code.text).substr(3, 4);
}

std::u16string OneLine(std::u16string_view s) {
  std::u16string out = ReplaceAll(s, u"\r\n", kBlank);
  out = ReplaceAll(out, u"\r", kBlank);
  return ReplaceAll(out, u"\n", kBlank);
}

std::u16string QuotedText(std::u16string_view s) {
  const std::size_t a = s.find(kQuote);
  if (a == kNone) return {};
  const std::size_t b = s.find(kQuote, a + 1);
  if (b == kNone) return {};
  return std::u16string(s.substr(a + 1, b - a - 1));
}

platform::Flag DocPropExists(const std::shared_ptr<platform::DocumentProperties>& props,
                             std::u16string_view name) {
  try {
    // A look-up that hands back no object is absence too.
    return platform::ToFlag(platform::Must(props).Item(name) != nullptr);
  } catch (const platform::ComError&) {
    return platform::kFalse;
  }
}

std::u16string_view CutToPropertyLimit(std::u16string_view text) {
  if (text.size() <= platform::kMaxPropertyTextLength) return text;
  size_t end = platform::kMaxPropertyTextLength;
  // A pair cut in two would leave half a character: the pair goes whole.
  if (text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
  return text.substr(0, end);
}

void DocPropSet(const std::shared_ptr<platform::DocumentProperties>& props,
                std::u16string_view name, int32_t type, std::u16string_view value) {
  auto& collection = platform::Must(props);
  // Word refuses a longer text; every type is handed over as text.
  const platform::Variant text =
      platform::Variant::String(std::u16string(CutToPropertyLimit(value)));
  // Added first: a new letter has none of its properties yet, and over automation each
  // look-up is a round trip. Only a name that is taken is looked up.
  std::shared_ptr<platform::DocumentProperty> property;
  try {
    collection.Add(name, platform::kFalse, type, text);
    return;
  } catch (const platform::ComError&) {
    if (!platform::IsTrue(DocPropExists(props, name))) throw;
    property = collection.Item(name);
  }
  auto& existing = platform::Must(property);
  // A property linked to document content keeps its link and value.
  if (platform::IsTrue(existing.LinkToContent())) return;
  if (type == platform::kPropertyString) {
    existing.SetType(type);
    existing.SetValue(text);
    return;
  }
  // Other types go by way of text, so that an old value that does not convert to the new
  // type (a text "yes" becoming yes/no) cannot make the change fail.
  existing.SetType(platform::kPropertyString);
  existing.SetValue(text);
  existing.SetType(type);
}

int16_t PropFieldUpdate(const std::shared_ptr<platform::Fields>& fields,
                        std::u16string_view prefix) {
  return ForEachPrefixedField(fields, prefix, [](const PrefixedField& f) { f.field.Update(); });
}

int16_t PropFieldRename(const std::shared_ptr<platform::Fields>& fields,
                        std::u16string_view oldPrefix, std::u16string_view newPrefix) {
  return ForEachPrefixedField(fields, oldPrefix, [&](const PrefixedField& f) {
    // Only the prefix right after the name's opening quote changes; the field word,
    // blanks and switches stay exactly as they were.
    std::u16string renamed = f.text.substr(0, f.name.quote + 1);
    renamed += newPrefix;
    renamed += f.text.substr(f.name.quote + 1 + oldPrefix.size());
    f.code.SetText(renamed);
  });
}

}  // namespace sendnote
