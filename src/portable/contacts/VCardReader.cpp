#include "portable/contacts/VCardReader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "platform/ComError.h"
#include "platform/Utf.h"
#include "portable/contacts/AddressText.h"
#include "portable/contacts/AsciiText.h"
#include "portable/contacts/Charset.h"
#include "portable/contacts/ContactFileError.h"
#include "portable/contacts/JapaneseAddress.h"
#include "portable/contacts/QuotedPrintable.h"
#include "portable/contacts/VCardLine.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using platform::MailingAddress;

enum class Version { k21, k30, k40 };

// Preference ranks: 1 (most preferred) to 100 as PREF=n gives them; unmarked values rank after.
constexpr int kMostPreferred = 1;
constexpr int kLeastPreferred = 100;
constexpr int kNotPreferred = 101;

// Keeps the most preferred of the values offered for one member, the first among equals.
template <typename T>
class Preferred {
 public:
  void Offer(int rank, T value) {
    if (value_ && rank >= rank_) return;
    value_ = std::move(value);
    rank_ = rank;
  }
  bool Has() const { return value_.has_value(); }
  const T& Get() const { return *value_; }

 private:
  std::optional<T> value_;
  int rank_ = kNotPreferred;
};

// The properties whose values reach a letter's fields (the note does not).
bool IsLetterProperty(std::string_view name) {
  return name == "N" || name == "FN" || name == "ORG" || name == "TITLE" || name == "EMAIL" ||
         name == "TEL" || name == "ADR" || name == "LABEL" ||
         name == "X-MS-OL-DEFAULT-POSTAL-ADDRESS" || name == "X-PHONETIC-FIRST-NAME" ||
         name == "X-PHONETIC-LAST-NAME" || name == "X-PHONETIC-ORG" || name == "SORT-STRING";
}

// The longest value as written that such a property may have: its decoded members are held
// to kMaxComposedLength at most, and no encoding takes more than sixteen bytes per unit. A
// longer one is refused before it is decoded, which would cost many times its size.
constexpr size_t kMaxWrittenValueBytes = 16 * kMaxComposedLength;

bool IsCardDelimiter(const VCardLine& line, std::string_view name) {
  return line.wellFormed && line.name == name && EqualsNoCase(TrimBlanks(line.value), "VCARD");
}

// Returns the rank of the line's preference: PREF=n, else 1 for a PREF type, else unmarked.
int PreferenceRank(const VCardLine& line) {
  if (const std::optional<std::string> pref = line.Param("PREF")) {
    const std::string_view digits = TrimBlanks(*pref);
    int rank = 0;
    for (char c : digits) {
      if (c < '0' || c > '9' || rank > kLeastPreferred) return kLeastPreferred;
      rank = rank * 10 + (c - '0');
    }
    if (digits.empty()) return kLeastPreferred;
    return std::clamp(rank, kMostPreferred, kLeastPreferred);
  }
  return line.HasType("PREF") ? kMostPreferred : kNotPreferred;
}

// Removes the escapes of a text value: "\;" and a backslash before a line break in 2.1; also
// "\n", "\,", "\\" (and "\:") in 3.0 and 4.0. Other backslashes stay as they are.
std::u16string Unescape(std::u16string_view text, Version version) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char16_t next = text[i + 1];
    if (next == u'\r' || next == u'\n') {
      continue;  // a backslash that escapes a line break of the file: the break stays
    }
    if (next == u';') {
      out += next;
    } else if (version == Version::k21) {
      out += text[i];
      continue;
    } else if (next == u'n' || next == u'N') {
      out += u'\n';
    } else if (next == u',' || next == u'\\' || next == u':') {
      out += next;
    } else {
      out += text[i];
      continue;
    }
    ++i;
  }
  return out;
}

// Returns the components of a structured value, split at the ';' that no backslash escapes.
std::vector<std::u16string> SplitComponents(std::u16string_view text, Version version) {
  std::vector<std::u16string> parts;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\') {
      ++i;
    } else if (text[i] == u';') {
      parts.push_back(Unescape(text.substr(start, i - start), version));
      start = i + 1;
    }
  }
  parts.push_back(Unescape(text.substr(std::min(start, text.size())), version));
  return parts;
}

std::u16string Component(const std::vector<std::u16string>& parts, size_t index) {
  return index < parts.size() ? parts[index] : std::u16string();
}

// Splits a "last,first" sort text (SORT-AS) or a "last first" one (SORT-STRING).
std::pair<std::u16string, std::u16string> SplitYomi(std::u16string_view text,
                                                    std::u16string_view separators) {
  const size_t at = text.find_first_of(separators);
  if (at == std::u16string_view::npos) return {std::u16string(text), {}};
  std::u16string_view first = text.substr(at + 1);
  while (!first.empty() && separators.find(first.front()) != std::u16string_view::npos) {
    first.remove_prefix(1);
  }
  return {std::u16string(text.substr(0, at)), std::u16string(first)};
}

enum class TelSlot { kBusiness, kHome, kOther, kBusinessFax, kHomeFax, kOtherFax, kMobile, kNone };

constexpr std::array<ContactField, 7> kTelFields = {
    ContactField::kBusinessTelephoneNumber, ContactField::kHomeTelephoneNumber,
    ContactField::kOtherTelephoneNumber,    ContactField::kBusinessFaxNumber,
    ContactField::kHomeFaxNumber,           ContactField::kOtherFaxNumber,
    ContactField::kMobileTelephoneNumber};

TelSlot ClassifyTelephone(const VCardLine& line) {
  if (line.HasType("CELL") || line.HasType("IPHONE")) return TelSlot::kMobile;
  const bool work = line.HasType("WORK");
  const bool home = line.HasType("HOME");
  if (line.HasType("FAX")) {
    return work ? TelSlot::kBusinessFax : home ? TelSlot::kHomeFax : TelSlot::kOtherFax;
  }
  for (const std::string& type : line.types) {
    // Pagers, car phones, ISDN, modems, video and text phones have no member here.
    if (type != "WORK" && type != "HOME" && type != "VOICE" && type != "PREF" && type != "MSG" &&
        type != "MAIN" && type != "OTHER") {
      return TelSlot::kNone;
    }
  }
  return work ? TelSlot::kBusiness : home ? TelSlot::kHome : TelSlot::kOther;
}

constexpr size_t kKindCount = platform::kAddressKinds.size();

MailingAddress AddressKind(const VCardLine& line) {
  if (line.HasType("WORK")) return MailingAddress::kBusiness;
  if (line.HasType("HOME")) return MailingAddress::kHome;
  return MailingAddress::kOther;
}

// Where a kind's address and label are kept, in Outlook's numbering minus one.
size_t Slot(MailingAddress kind) { return static_cast<size_t>(kind) - 1; }

struct Address {
  AddressParts parts;
  std::u16string label;  // 4.0 LABEL parameter
};

// Turns the property lines of one card into a contact.
class CardBuilder {
 public:
  CardBuilder(Version version, std::u16string_view source) : version_(version), source_(source) {}

  void Add(const VCardLine& line);
  ContactRecord Build() const;

 private:
  std::optional<std::u16string> Text(const VCardLine& line) const;
  std::u16string QuotedPrintableText(const VCardLine& line) const;
  DecodedText TryDecode(const VCardLine& line, std::string_view bytes) const;
  std::u16string Decode(const VCardLine& line, std::string_view bytes) const;
  void AddAddress(const VCardLine& line, const std::u16string& text);
  void NoteAddress(MailingAddress kind, int rank);

  Version version_;
  std::u16string_view source_;
  Preferred<std::vector<std::u16string>> name_, org_;
  Preferred<std::u16string> fullName_, jobTitle_, note_, email_;
  std::array<Preferred<std::u16string>, kTelFields.size()> phones_;
  std::array<Preferred<Address>, kKindCount> addresses_;
  std::array<Preferred<std::u16string>, kKindCount> labels_;
  // Yomi last, first and company names, ranked by their source.
  std::array<Preferred<std::u16string>, 3> yomi_;
  std::optional<MailingAddress> defaultPostal_;
  MailingAddress firstKind_ = MailingAddress::kNone;
  MailingAddress bestKind_ = MailingAddress::kNone;
  int bestRank_ = kNotPreferred;
  bool outlook_ = false;  // Outlook wrote the card: its business extended part is the office
};

// Yomi sources, best first.
constexpr int kYomiPhonetic = 1;
constexpr int kYomiSortAs = 2;
constexpr int kYomiSortString = 3;

// Decodes bytes in the line's CHARSET. Without one a value is UTF-8 when it is valid UTF-8,
// else Windows' Shift_JIS, as old phones write it without saying so.
DecodedText CardBuilder::TryDecode(const VCardLine& line, std::string_view bytes) const {
  if (const std::optional<std::string> name = line.Param("CHARSET")) {
    const std::string charset = CanonicalCharset(TrimBlanks(*name));
    if (charset.empty()) {
      RaiseLineError(source_, line.lineNumber,
                     u"unknown character set \"" + platform::FromUtf8(*name) + u"\"");
    }
    return DecodeCharset(bytes, charset);
  }
  if (platform::IsValidUtf8(bytes)) return DecodeCharset(bytes, kCharsetUtf8);
  return DecodeCharset(bytes, kCharsetCp932);
}

std::u16string CardBuilder::Decode(const VCardLine& line, std::string_view bytes) const {
  DecodedText decoded = TryDecode(line, bytes);
  if (decoded.ok) return std::move(decoded.text);
  if (const std::optional<std::string> name = line.Param("CHARSET")) {
    RaiseLineError(source_, line.lineNumber,
                   u"the value is not valid " + platform::FromUtf8(TrimBlanks(*name)) + u" text");
  }
  RaiseLineError(source_, line.lineNumber, u"the value is neither UTF-8 nor Shift_JIS text");
}

// A blank after a soft line break is text to quoted-printable and indentation to folding;
// the reading that decodes wins, and where both do the card cannot be read.
std::u16string CardBuilder::QuotedPrintableText(const VCardLine& line) const {
  if (line.indentedSoftBreaks.empty()) return Decode(line, DecodeQuotedPrintable(line.value));
  std::string unindented;
  size_t from = 0;
  for (const size_t at : line.indentedSoftBreaks) {
    unindented.append(line.value, from, at - from);
    from = at + 1;
  }
  unindented.append(line.value, from);
  DecodedText asText = TryDecode(line, DecodeQuotedPrintable(line.value));
  DecodedText asIndent = TryDecode(line, DecodeQuotedPrintable(unindented));
  if (asText.ok && asIndent.ok) {
    RaiseLineError(source_, line.lineNumber,
                   u"a soft line break of the quoted-printable value is followed by an indented "
                   u"line: its blank may be text or indentation");
  }
  if (asText.ok) return std::move(asText.text);
  if (asIndent.ok) return std::move(asIndent.text);
  return Decode(line, DecodeQuotedPrintable(line.value));
}

// Returns the decoded value of a text property, or nothing for binary (base64) values.
std::optional<std::u16string> CardBuilder::Text(const VCardLine& line) const {
  const std::string encoding = line.Encoding();
  if (encoding == "QUOTED-PRINTABLE") return QuotedPrintableText(line);
  if (encoding.empty() || encoding == "8BIT" || encoding == "7BIT") {
    return Decode(line, line.value);
  }
  if (encoding == "BASE64" || encoding == "B") return std::nullopt;
  RaiseLineError(source_, line.lineNumber,
                 u"unknown encoding \"" + platform::FromUtf8(encoding) + u"\"");
}

void CardBuilder::NoteAddress(MailingAddress kind, int rank) {
  if (firstKind_ == MailingAddress::kNone) firstKind_ = kind;
  if (rank < bestRank_) {
    bestRank_ = rank;
    bestKind_ = kind;
  }
}

void CardBuilder::AddAddress(const VCardLine& line, const std::u16string& text) {
  const std::vector<std::u16string> parts = SplitComponents(text, version_);
  Address address;
  address.parts.postOfficeBox = NormalizeLineBreaks(Component(parts, 0));
  address.parts.extended = NormalizeLineBreaks(Component(parts, 1));
  address.parts.street = NormalizeLineBreaks(Component(parts, 2));
  address.parts.city = NormalizeLineBreaks(Component(parts, 3));
  address.parts.state = NormalizeLineBreaks(Component(parts, 4));
  address.parts.postalCode = NormalizeLineBreaks(Component(parts, 5));
  address.parts.country = NormalizeLineBreaks(Component(parts, 6));
  if (const std::optional<std::string> label = line.Param("LABEL")) {
    // Parameter values escape line breaks as "\n" or (RFC 6868) "^n".
    std::u16string decoded = Decode(line, *label);
    std::u16string plain;
    for (size_t i = 0; i < decoded.size(); ++i) {
      if (decoded[i] == u'^' && i + 1 < decoded.size()) {
        const char16_t next = decoded[i + 1];
        if (next == u'n' || next == u'^' || next == u'\'') {
          plain += next == u'n' ? u'\n' : next == u'\'' ? u'"' : u'^';
          ++i;
          continue;
        }
      }
      plain += decoded[i];
    }
    address.label = NormalizeLineBreaks(Unescape(plain, version_));
  }
  if (address.parts.Empty() && address.label.empty()) return;
  const MailingAddress kind = AddressKind(line);
  const int rank = PreferenceRank(line);
  addresses_[Slot(kind)].Offer(rank, std::move(address));
  NoteAddress(kind, rank);
}

void CardBuilder::Add(const VCardLine& line) {
  const std::string& name = line.name;
  if (name.starts_with("X-MS-") ||
      (name == "PRODID" && UpperAscii(line.value).find("MICROSOFT") != std::string::npos)) {
    outlook_ = true;
  }
  if (name != "NOTE" && !IsLetterProperty(name)) return;
  const std::optional<std::u16string> text = Text(line);
  if (!text) return;
  const int rank = PreferenceRank(line);

  if (name == "N") {
    name_.Offer(rank, SplitComponents(*text, version_));
    if (const std::optional<std::string> sortAs = line.Param("SORT-AS")) {
      auto [last, first] = SplitYomi(Unescape(Decode(line, *sortAs), version_), u",");
      yomi_[0].Offer(kYomiSortAs, std::move(last));
      yomi_[1].Offer(kYomiSortAs, std::move(first));
    }
  } else if (name == "ORG") {
    org_.Offer(rank, SplitComponents(*text, version_));
    if (const std::optional<std::string> sortAs = line.Param("SORT-AS")) {
      yomi_[2].Offer(kYomiSortAs, Unescape(Decode(line, *sortAs), version_));
    }
  } else if (name == "FN") {
    fullName_.Offer(rank, Unescape(*text, version_));
  } else if (name == "TITLE") {
    jobTitle_.Offer(rank, Unescape(*text, version_));
  } else if (name == "NOTE") {
    note_.Offer(rank, NormalizeLineBreaks(Unescape(*text, version_)));
  } else if (name == "EMAIL") {
    email_.Offer(rank, Unescape(*text, version_));
  } else if (name == "TEL") {
    const TelSlot slot = ClassifyTelephone(line);
    if (slot == TelSlot::kNone) return;
    std::u16string number = Unescape(*text, version_);
    if (number.size() >= 4 && (number[0] == u't' || number[0] == u'T') &&
        (number[1] == u'e' || number[1] == u'E') && (number[2] == u'l' || number[2] == u'L') &&
        number[3] == u':') {
      number.erase(0, 4);
    }
    phones_[static_cast<size_t>(slot)].Offer(rank, std::move(number));
  } else if (name == "ADR") {
    AddAddress(line, *text);
  } else if (name == "LABEL") {
    std::u16string label = NormalizeLineBreaks(Unescape(*text, version_));
    if (label.empty()) return;
    const MailingAddress kind = AddressKind(line);
    labels_[Slot(kind)].Offer(rank, std::move(label));
    NoteAddress(kind, rank);
  } else if (name == "X-MS-OL-DEFAULT-POSTAL-ADDRESS") {
    const std::string value = platform::ToUtf8(*text);
    const std::string_view digit = TrimBlanks(value);
    if (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '3')
      defaultPostal_ = static_cast<MailingAddress>(digit[0] - '0');
  } else if (name == "X-PHONETIC-LAST-NAME") {
    yomi_[0].Offer(kYomiPhonetic, Unescape(*text, version_));
  } else if (name == "X-PHONETIC-FIRST-NAME") {
    yomi_[1].Offer(kYomiPhonetic, Unescape(*text, version_));
  } else if (name == "X-PHONETIC-ORG") {
    yomi_[2].Offer(kYomiPhonetic, Unescape(*text, version_));
  } else if (name == "SORT-STRING") {
    auto [last, first] = SplitYomi(Unescape(*text, version_), u" \u3000");
    yomi_[0].Offer(kYomiSortString, std::move(last));
    yomi_[1].Offer(kYomiSortString, std::move(first));
  }
}

ContactRecord CardBuilder::Build() const {
  ContactRecord record;
  std::u16string middle;
  if (name_.Has()) {
    const std::vector<std::u16string>& parts = name_.Get();
    record[ContactField::kLastName] = Component(parts, 0);
    record[ContactField::kFirstName] = Component(parts, 1);
    middle = Component(parts, 2);
    record[ContactField::kTitle] = Component(parts, 3);
    record[ContactField::kSuffix] = Component(parts, 4);
  }
  if (org_.Has()) {
    const std::vector<std::u16string>& units = org_.Get();
    record[ContactField::kCompanyName] = Component(units, 0);
    std::u16string& department = record[ContactField::kDepartment];
    for (size_t i = 1; i < units.size(); ++i) {
      if (units[i].empty()) continue;
      if (!department.empty()) department += u' ';
      department += units[i];
    }
  }
  if (fullName_.Has() && !fullName_.Get().empty()) {
    record[ContactField::kSubject] = fullName_.Get();
  } else {
    record[ContactField::kSubject] =
        ComposeFullName(record[ContactField::kFirstName], middle, record[ContactField::kLastName],
                        record[ContactField::kCompanyName]);
  }
  if (jobTitle_.Has()) record[ContactField::kJobTitle] = jobTitle_.Get();
  if (note_.Has()) record[ContactField::kBody] = note_.Get();
  if (email_.Has()) record[ContactField::kEmail1Address] = email_.Get();
  for (size_t i = 0; i < kTelFields.size(); ++i) {
    if (phones_[i].Has()) record[kTelFields[i]] = phones_[i].Get();
  }
  constexpr std::array<ContactField, 3> kYomiFields = {
      ContactField::kYomiLastName, ContactField::kYomiFirstName, ContactField::kYomiCompanyName};
  for (size_t i = 0; i < kYomiFields.size(); ++i) {
    if (yomi_[i].Has()) record[kYomiFields[i]] = yomi_[i].Get();
  }

  for (const MailingAddress kind : platform::kAddressKinds) {
    const platform::AddressFields& fields = *platform::FieldsOf(kind);
    const size_t slot = Slot(kind);
    std::u16string label = labels_[slot].Has() ? labels_[slot].Get() : u"";
    if (addresses_[slot].Has()) {
      const Address& address = addresses_[slot].Get();
      AddressParts parts = address.parts;
      if (kind == MailingAddress::kBusiness && outlook_) {
        // Outlook keeps the office in the business address's extended part.
        record[ContactField::kOfficeLocation] = parts.extended;
        parts.extended.clear();
      } else {
        // Every other producer writes a building, floor or suite there.
        MergeExtendedIntoStreet(parts);
      }
      SplitOneLineAddress(parts);
      record[fields.street] = parts.street;
      record[fields.city] = parts.city;
      record[fields.state] = parts.state;
      record[fields.postalCode] = parts.postalCode;
      record[fields.postOfficeBox] = parts.postOfficeBox;
      record[fields.country] = parts.country;
      if (!address.label.empty()) {
        label = address.label;
      } else if (label.empty()) {
        label = ComposeAddress(parts);
      }
    }
    record[fields.whole] = std::move(label);
  }

  if (defaultPostal_) {
    record.mailingAddress = *defaultPostal_;
  } else if (bestRank_ != kNotPreferred) {
    record.mailingAddress = bestKind_;
  } else {
    record.mailingAddress = firstKind_;
  }
  return record;
}

Version CardVersion(const std::vector<VCardLine>& lines, std::u16string_view source) {
  for (const VCardLine& line : lines) {
    if (line.name != "VERSION") continue;
    const std::string_view value = TrimBlanks(line.value);
    if (value == "2.1") return Version::k21;
    if (value == "3.0") return Version::k30;
    if (value == "4.0") return Version::k40;
    RaiseLineError(source, line.lineNumber,
                   u"unsupported vCard version \"" + platform::FromUtf8(value) + u"\"");
  }
  return Version::k21;
}

ContactRecord BuildCard(const std::vector<VCardLine>& lines) {
  // Without a source the errors read "line N: reason", the problem of this card alone.
  CardBuilder builder(CardVersion(lines, {}), {});
  for (const VCardLine& line : lines) builder.Add(line);
  return builder.Build();
}

// Collects the lines of one card and the first reason it cannot be read.
struct Card {
  size_t line = 0;  // of its BEGIN:VCARD
  std::vector<VCardLine> lines;
  std::u16string problem;

  void Refuse(size_t at, std::u16string_view reason) {
    if (problem.empty()) problem = LineProblem(at, reason);
  }
};

ContactEntry EntryOf(const Card& card) {
  ContactEntry entry;
  entry.problem = card.problem;
  if (!entry.Readable()) return entry;
  try {
    entry.record = BuildCard(card.lines);
  } catch (const platform::ComError& error) {
    if (error.Number() != kErrInvalidFileFormat) throw;
    entry.problem = error.Description();
  }
  RefuseOverlongValues(entry, card.line);
  return entry;
}

}  // namespace

std::vector<ContactEntry> ParseVCard(std::string_view bytes, std::u16string_view source,
                                     std::vector<std::u16string>* warnings) {
  bytes = ContactFileText(bytes, source);

  std::vector<ContactEntry> entries;
  std::optional<Card> card;
  auto endCard = [&] {
    CheckContactCount(entries.size(), source, card->line);
    entries.push_back(EntryOf(*card));
    card.reset();
  };
  VCardLineReader reader(bytes, source);
  VCardLine line;
  int depth = 0;  // cards may nest (2.1 AGENT); only the outermost become contacts
  bool inBase64 = false;
  bool afterAgent = false;  // the last property was an AGENT without a value
  size_t strayLine = 0;     // the first line of text outside the cards
  size_t strayLines = 0;
  while (reader.Next(line)) {
    if (depth == 1 && !afterAgent && IsCardDelimiter(line, "BEGIN")) {
      // A card begins where the one before has not ended: that one cannot be read.
      card->Refuse(card->line, u"the card that begins here has no END:VCARD");
      endCard();
      depth = 0;
    }
    if (depth == 0) {
      if (line.blank) continue;
      if (!IsCardDelimiter(line, "BEGIN")) {
        if (strayLines++ == 0) strayLine = line.lineNumber;
        continue;
      }
      depth = 1;
      card.emplace();
      card->line = line.lineNumber;
      inBase64 = false;
      afterAgent = false;
      continue;
    }
    if (!line.problem.empty()) card->Refuse(line.lineNumber, line.problem);
    if (IsCardDelimiter(line, "BEGIN")) {
      ++depth;
    } else if (IsCardDelimiter(line, "END")) {
      if (--depth == 0) endCard();
      afterAgent = false;
    } else if (depth > 1) {
      continue;
    } else if (line.blank) {
      inBase64 = false;
    } else if (line.wellFormed) {
      const std::string encoding = line.Encoding();
      inBase64 = encoding == "BASE64" || encoding == "B";
      afterAgent = line.name == "AGENT" && TrimBlanks(line.value).empty();
      if (IsLetterProperty(line.name) && line.value.size() > kMaxWrittenValueBytes) {
        card->Refuse(line.lineNumber, u"the value is longer than a letter's field may be");
        continue;
      }
      card->lines.push_back(std::move(line));
    } else if (!inBase64) {
      // 2.1 writers may continue base64 data on unindented lines up to a blank line.
      card->Refuse(line.lineNumber, u"the line is not a property (name:value)");
    }
  }
  if (card) {
    card->Refuse(card->line, u"the card that begins here has no END:VCARD");
    endCard();
  }
  if (entries.empty()) {
    if (strayLines != 0) RaiseLineError(source, strayLine, u"expected BEGIN:VCARD");
    RaiseFileError(kErrInvalidFileFormat, source, u"the file holds no vCard");
  }
  RefuseUnlessAnyReadable(entries, source);
  if (strayLines != 0 && warnings) {
    std::u16string text(source);
    if (!text.empty()) text += u", ";
    text +=
        LineProblem(strayLine, u"text outside the cards is skipped (" + DecimalText(strayLines) +
                                   (strayLines == 1 ? u" line)" : u" lines)"));
    warnings->push_back(std::move(text));
  }
  return entries;
}

}  // namespace sendnote::contacts
