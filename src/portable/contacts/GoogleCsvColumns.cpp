#include "portable/contacts/GoogleCsvColumns.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/AsciiCase.h"
#include "portable/contacts/AddressText.h"
#include "portable/contacts/CsvHeading.h"
#include "portable/contacts/JapaneseAddress.h"
#include "portable/contacts/OutlookCsvColumns.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using platform::MailingAddress;
using Role = GoogleCsvColumns::Role;
using Column = GoogleCsvColumns::Column;

struct PlainHeading {
  std::u16string_view heading;
  Role role;
  ContactField field;
};

// Headings without a number, read. The newer form shares its name headings with Outlook's.
constexpr std::array<PlainHeading, 19> kPlainHeadings = {{
    {u"Name", Role::kField, ContactField::kSubject},
    {u"Given Name", Role::kField, ContactField::kFirstName},
    {u"First Name", Role::kField, ContactField::kFirstName},
    {u"Additional Name", Role::kMiddleName, ContactField::kSubject},
    {u"Middle Name", Role::kMiddleName, ContactField::kSubject},
    {u"Family Name", Role::kField, ContactField::kLastName},
    {u"Last Name", Role::kField, ContactField::kLastName},
    {u"Name Prefix", Role::kField, ContactField::kTitle},
    {u"Name Suffix", Role::kField, ContactField::kSuffix},
    {u"Given Name Yomi", Role::kField, ContactField::kYomiFirstName},
    {u"Family Name Yomi", Role::kField, ContactField::kYomiLastName},
    {u"Phonetic First Name", Role::kField, ContactField::kYomiFirstName},
    {u"Phonetic Last Name", Role::kField, ContactField::kYomiLastName},
    {u"Notes", Role::kField, ContactField::kBody},
    {u"Organization Name", Role::kField, ContactField::kCompanyName},
    {u"Organization Title", Role::kField, ContactField::kJobTitle},
    {u"Organization Department", Role::kField, ContactField::kDepartment},
    {u"Organization Yomi Name", Role::kField, ContactField::kYomiCompanyName},
    {u"Organization Location", Role::kField, ContactField::kOfficeLocation},
}};

// Google's headings without a number that no member is read from.
constexpr std::array<std::u16string_view, 25> kUnreadPlainHeadings = {
    u"Yomi Name",
    u"Additional Name Yomi",
    u"Phonetic Middle Name",
    u"Initials",
    u"Nickname",
    u"Short Name",
    u"Maiden Name",
    u"Birthday",
    u"Gender",
    u"Location",
    u"Billing Information",
    u"Directory Server",
    u"Mileage",
    u"Occupation",
    u"Hobby",
    u"Sensitivity",
    u"Priority",
    u"Subject",
    u"Language",
    u"Photo",
    u"Group Membership",
    u"File As",
    u"Labels",
    u"Organization Symbol",
    u"Organization Job Description"};

struct GroupParts {
  std::u16string_view group;  // heading key of the group: "phone", "e-mail", ...
  Role role;
  std::vector<std::u16string_view> read;    // part keys read
  std::vector<std::u16string_view> unread;  // part keys of Google's that are not
};

const std::vector<GroupParts>& Groups() {
  static const std::vector<GroupParts> kGroups = {
      {u"e-mail", Role::kEmail, {u"value", u"type", u"label"}, {}},
      {u"phone", Role::kPhone, {u"value", u"type", u"label"}, {}},
      {u"address",
       Role::kAddress,
       {u"type", u"label", u"formatted", u"street", u"city", u"pobox", u"region", u"postalcode",
        u"country", u"extendedaddress"},
       {}},
      {u"organization",
       Role::kField,
       {u"name", u"yominame", u"title", u"department", u"location"},
       {u"type", u"label", u"symbol", u"jobdescription", u"phoneticname"}},
      {u"website", Role::kIgnored, {}, {u"type", u"label", u"value"}},
      {u"relation", Role::kIgnored, {}, {u"type", u"label", u"value"}},
      {u"event", Role::kIgnored, {}, {u"type", u"label", u"value"}},
      {u"customfield", Role::kIgnored, {}, {u"type", u"label", u"value"}},
      {u"im", Role::kIgnored, {}, {u"type", u"label", u"service", u"value"}},
      {u"externalid", Role::kIgnored, {}, {u"type", u"label", u"value"}},
  };
  return kGroups;
}

struct Numbered {
  std::u16string group;
  unsigned number = 0;
  std::u16string part;
};

// Splits a heading key such as "address1-street" into its group, number and part.
std::optional<Numbered> SplitNumbered(std::u16string_view key) {
  size_t digits = 0;
  while (digits < key.size() && !(key[digits] >= u'0' && key[digits] <= u'9')) ++digits;
  size_t end = digits;
  unsigned number = 0;
  while (end < key.size() && key[end] >= u'0' && key[end] <= u'9' && number < 1000) {
    number = number * 10 + (key[end] - u'0');
    ++end;
  }
  if (digits == 0 || end == digits || end >= key.size() || key[end] != u'-') return std::nullopt;
  return Numbered{std::u16string(key.substr(0, digits)), number,
                  std::u16string(key.substr(end + 1))};
}

ContactField OrganizationField(std::u16string_view part) {
  if (part == u"name") return ContactField::kCompanyName;
  if (part == u"yominame") return ContactField::kYomiCompanyName;
  if (part == u"title") return ContactField::kJobTitle;
  if (part == u"department") return ContactField::kDepartment;
  return ContactField::kOfficeLocation;
}

Column MapHeading(std::u16string_view heading) {
  const std::u16string key = HeadingKey(heading);
  Column column;
  for (const PlainHeading& plain : kPlainHeadings) {
    if (HeadingKey(plain.heading) != key) continue;
    column.role = plain.role;
    column.field = plain.field;
    column.known = true;
    return column;
  }
  for (std::u16string_view unread : kUnreadPlainHeadings) {
    if (HeadingKey(unread) != key) continue;
    column.known = true;
    return column;
  }
  const std::optional<Numbered> numbered = SplitNumbered(key);
  if (!numbered) return column;
  for (const GroupParts& group : Groups()) {
    if (numbered->group != group.group) continue;
    const bool read =
        std::find(group.read.begin(), group.read.end(), numbered->part) != group.read.end();
    const bool unread =
        std::find(group.unread.begin(), group.unread.end(), numbered->part) != group.unread.end();
    if (!read && !unread) return column;
    column.known = true;
    if (!read) return column;
    column.role = group.role;
    column.group = numbered->number;
    column.part = numbered->part;
    // Only the first organization: its parts belong together.
    if (group.role == Role::kField) {
      if (numbered->number != 1) column.role = Role::kIgnored;
      column.field = OrganizationField(numbered->part);
    }
    return column;
  }
  return column;
}

// Returns the first of several values joined by " ::: ".
std::u16string FirstValue(std::u16string_view value) {
  const size_t at = value.find(u" ::: ");
  return std::u16string(value.substr(0, at));
}

// A type marked primary ("* Work") and the type itself, in lower case ("work").
struct Type {
  bool primary = false;
  std::u16string name;
};

Type TypeOf(std::u16string_view value) {
  Type type;
  const std::u16string first = FirstValue(value);
  std::u16string_view text = first;
  while (!text.empty() && (text.front() == u'*' || text.front() == u' ')) {
    type.primary = type.primary || text.front() == u'*';
    text.remove_prefix(1);
  }
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  type.name = platform::AsciiLowered(text);
  return type;
}

// Keeps the first value offered, or a primary one that comes later.
class Choice {
 public:
  void Offer(bool primary, std::u16string value) {
    if (has_ && (primaryHeld_ || !primary)) return;
    value_ = std::move(value);
    has_ = true;
    primaryHeld_ = primary;
  }
  bool Has() const { return has_; }
  const std::u16string& Get() const { return value_; }

 private:
  std::u16string value_;
  bool has_ = false;
  bool primaryHeld_ = false;
};

std::optional<ContactField> PhoneField(const std::u16string& type) {
  if (type == u"mobile" || type == u"cell" || type == u"work mobile") {
    return ContactField::kMobileTelephoneNumber;
  }
  if (type == u"work") return ContactField::kBusinessTelephoneNumber;
  if (type == u"home") return ContactField::kHomeTelephoneNumber;
  if (type == u"work fax") return ContactField::kBusinessFaxNumber;
  if (type == u"home fax") return ContactField::kHomeFaxNumber;
  if (type == u"other fax" || type == u"fax") return ContactField::kOtherFaxNumber;
  // Pagers, car phones and the like have no member.
  for (std::u16string_view none :
       {u"pager", u"work pager", u"car", u"isdn", u"telex", u"tty/tdd", u"tty_tdd", u"radio",
        u"callback", u"assistant", u"company main", u"mms"}) {
    if (type == none) return std::nullopt;
  }
  return ContactField::kOtherTelephoneNumber;
}

MailingAddress AddressKindOf(const std::u16string& type) {
  if (type == u"home") return MailingAddress::kHome;
  if (type == u"work" || type == u"business") return MailingAddress::kBusiness;
  return MailingAddress::kOther;
}

struct Group {
  std::u16string type;
  std::map<std::u16string, std::u16string> parts;
};

}  // namespace

GoogleCsvColumns::GoogleCsvColumns(const std::vector<std::u16string>& headings)
    : headings_(headings) {
  for (const std::u16string& heading : headings) {
    Column column = MapHeading(heading);
    // Both exports have "First Name", "Notes", "Birthday", ...: those choose neither.
    column.googleOnly = column.known && !OutlookCsvColumns::IsOutlookHeading(heading);
    columns_.push_back(std::move(column));
  }
}

bool GoogleCsvColumns::Recognized() const {
  return std::any_of(columns_.begin(), columns_.end(),
                     [](const Column& column) { return column.googleOnly; });
}

std::vector<std::pair<std::u16string, std::u16string>> GoogleCsvColumns::NearMisses() const {
  std::vector<std::u16string> read;
  for (const PlainHeading& plain : kPlainHeadings) read.emplace_back(plain.heading);
  for (std::u16string_view heading :
       {u"E-mail 1 - Value", u"E-mail 1 - Type", u"Phone 1 - Value", u"Phone 1 - Type",
        u"Address 1 - Type", u"Address 1 - Formatted", u"Address 1 - Street", u"Address 1 - City",
        u"Address 1 - PO Box", u"Address 1 - Region", u"Address 1 - Postal Code",
        u"Address 1 - Country", u"Address 1 - Extended Address", u"Organization 1 - Name",
        u"Organization 1 - Yomi Name", u"Organization 1 - Title", u"Organization 1 - Department",
        u"Organization 1 - Location"}) {
    read.emplace_back(heading);
  }
  std::vector<std::pair<std::u16string, std::u16string>> misses;
  for (size_t i = 0; i < headings_.size(); ++i) {
    if (columns_[i].known) continue;
    // Compared as group 1, so that "Address 3 - Stret" is near "Address 1 - Street".
    std::u16string key = HeadingKey(headings_[i]);
    if (const std::optional<Numbered> numbered = SplitNumbered(key)) {
      key = numbered->group + u"1-" + numbered->part;
    }
    if (const std::optional<std::u16string> known = NearMissOf(key, read)) {
      misses.emplace_back(headings_[i], *known);
    }
  }
  return misses;
}

ContactRecord GoogleCsvColumns::Build(const std::vector<std::u16string>& fields) const {
  ContactRecord record;
  std::u16string middle;
  std::map<unsigned, Group> emails, phones, addresses;
  for (size_t i = 0; i < columns_.size() && i < fields.size(); ++i) {
    const std::u16string value = NormalizeLineBreaks(fields[i]);
    if (value.empty()) continue;
    const Column& column = columns_[i];
    std::map<unsigned, Group>* groups = nullptr;
    switch (column.role) {
      case Role::kField:
        if (record[column.field].empty()) record[column.field] = FirstValue(value);
        break;
      case Role::kMiddleName:
        if (middle.empty()) middle = FirstValue(value);
        break;
      case Role::kEmail:
        groups = &emails;
        break;
      case Role::kPhone:
        groups = &phones;
        break;
      case Role::kAddress:
        groups = &addresses;
        break;
      case Role::kIgnored:
        break;
    }
    if (!groups) continue;
    Group& group = (*groups)[column.group];
    if (column.part == u"type" || column.part == u"label") {
      if (group.type.empty()) group.type = value;
    } else {
      group.parts[column.part] = value;
    }
  }
  if (record[ContactField::kSubject].empty()) {
    record[ContactField::kSubject] =
        ComposeFullName(record[ContactField::kFirstName], middle, record[ContactField::kLastName],
                        record[ContactField::kCompanyName]);
  }

  Choice email;
  for (const auto& [number, group] : emails) {
    const auto value = group.parts.find(u"value");
    if (value != group.parts.end())
      email.Offer(TypeOf(group.type).primary, FirstValue(value->second));
  }
  if (email.Has()) record[ContactField::kEmail1Address] = email.Get();

  std::map<ContactField, Choice> phoneChoices;
  for (const auto& [number, group] : phones) {
    const auto value = group.parts.find(u"value");
    if (value == group.parts.end()) continue;
    const Type type = TypeOf(group.type);
    if (const std::optional<ContactField> field = PhoneField(type.name)) {
      phoneChoices[*field].Offer(type.primary, FirstValue(value->second));
    }
  }
  for (const auto& [field, choice] : phoneChoices) record[field] = choice.Get();

  std::array<bool, 3> held{};
  std::array<bool, 3> primaryAddress{};
  MailingAddress first = MailingAddress::kNone;
  MailingAddress primary = MailingAddress::kNone;
  for (const auto& [number, group] : addresses) {
    // Clang 14 cannot capture a structured binding: the lambda captures a plain reference.
    const auto& namedParts = group.parts;
    const auto part = [&namedParts](std::u16string_view name) {
      const auto found = namedParts.find(std::u16string(name));
      return found == namedParts.end() ? std::u16string() : found->second;
    };
    AddressParts parts;
    parts.street = part(u"street");
    parts.extended = part(u"extendedaddress");
    parts.city = part(u"city");
    parts.state = part(u"region");
    parts.postalCode = part(u"postalcode");
    parts.postOfficeBox = part(u"pobox");
    parts.country = part(u"country");
    const std::u16string formatted = part(u"formatted");
    if (parts.Empty() && formatted.empty()) continue;
    const Type type = TypeOf(group.type);
    const MailingAddress kind = AddressKindOf(type.name);
    const platform::AddressFields& fields = *platform::FieldsOf(kind);
    const size_t slot = static_cast<size_t>(kind) - 1;
    // The first address of a kind is kept unless a later one is primary.
    if (held[slot] && (primaryAddress[slot] || !type.primary)) continue;
    held[slot] = true;
    primaryAddress[slot] = type.primary;
    MergeExtendedIntoStreet(parts);
    if (parts.street.empty() && parts.city.empty() && parts.state.empty()) {
      // An export with the formatted address alone: split when it is a Japanese one.
      AddressParts fromFormatted = parts;
      fromFormatted.street = NormalizeLineBreaks(formatted);
      if (SplitOneLineAddress(fromFormatted)) parts = std::move(fromFormatted);
    } else {
      SplitOneLineAddress(parts);
    }
    record[fields.street] = parts.street;
    record[fields.city] = parts.city;
    record[fields.state] = parts.state;
    record[fields.postalCode] = parts.postalCode;
    record[fields.postOfficeBox] = parts.postOfficeBox;
    record[fields.country] = parts.country;
    record[fields.whole] = formatted.empty() ? ComposeAddress(parts) : formatted;
    if (first == MailingAddress::kNone) first = kind;
    if (type.primary && primary == MailingAddress::kNone) primary = kind;
  }
  record.mailingAddress = primary != MailingAddress::kNone ? primary : first;
  return record;
}

}  // namespace sendnote::contacts
