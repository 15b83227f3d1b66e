#include "portable/contacts/OutlookCsvReader.h"

#include <array>
#include <string>
#include <utility>

#include "platform/AsciiCase.h"
#include "platform/Utf.h"
#include "portable/contacts/AddressText.h"
#include "portable/contacts/Charset.h"
#include "portable/contacts/ContactFileError.h"
#include "portable/contacts/CsvReader.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using platform::MailingAddress;

enum class Role { kIgnored, kField, kStreetLine, kMiddleName, kTitleOrSuffix };

struct Column {
  Role role = Role::kIgnored;
  ContactField field = ContactField::kSubject;
};

// Returns the heading as compared: without blanks, ASCII in lower case, full-width
// parentheses as ASCII ones.
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

// The headings of each address kind, in the order that chooses the mailing address:
// business, home, other.
struct AddressHeadings {
  MailingAddress kind;
  std::u16string_view ja;  // "会社" as in "番地 (会社)"
  std::u16string_view jaPrefix;  // "会社" as in "会社電話", "その他の" as in "その他の電話"
  std::u16string_view en;  // "Business"
};

constexpr std::array<AddressHeadings, 3> kAddressHeadings = {{
    {MailingAddress::kBusiness, u"会社", u"会社", u"Business"},
    {MailingAddress::kHome, u"自宅", u"自宅", u"Home"},
    {MailingAddress::kOther, u"その他", u"その他の", u"Other"},
}};

using HeadingTable = std::vector<std::pair<std::u16string, Column>>;

HeadingTable BuildHeadingTable() {
  HeadingTable table;
  const auto add = [&table](std::u16string heading, Role role, ContactField field) {
    table.emplace_back(HeadingKey(heading), Column{role, field});
  };
  const auto field = [&add](std::u16string heading, ContactField f) {
    add(std::move(heading), Role::kField, f);
  };
  field(u"First Name", ContactField::kFirstName);
  field(u"Last Name", ContactField::kLastName);
  add(u"Middle Name", Role::kMiddleName, {});
  field(u"Title", ContactField::kTitle);
  field(u"Suffix", ContactField::kSuffix);
  field(u"Company", ContactField::kCompanyName);
  field(u"Department", ContactField::kDepartment);
  field(u"Job Title", ContactField::kJobTitle);
  field(u"Office Location", ContactField::kOfficeLocation);
  field(u"Mobile Phone", ContactField::kMobileTelephoneNumber);
  field(u"E-mail Address", ContactField::kEmail1Address);
  field(u"Notes", ContactField::kBody);
  field(u"名", ContactField::kFirstName);
  field(u"姓", ContactField::kLastName);
  add(u"ミドル ネーム", Role::kMiddleName, {});
  add(u"敬称", Role::kTitleOrSuffix, {});
  field(u"敬称 (英語)", ContactField::kSuffix);
  field(u"肩書き", ContactField::kTitle);
  field(u"会社名", ContactField::kCompanyName);
  field(u"部署", ContactField::kDepartment);
  field(u"役職", ContactField::kJobTitle);
  field(u"事業所", ContactField::kOfficeLocation);
  field(u"携帯電話", ContactField::kMobileTelephoneNumber);
  field(u"電子メール アドレス", ContactField::kEmail1Address);
  field(u"メモ", ContactField::kBody);
  for (std::u16string_view kana : {u"ふりがな", u"フリガナ"}) {
    const std::u16string k(kana);
    field(k + u" (姓)", ContactField::kYomiLastName);
    field(k + u" (名)", ContactField::kYomiFirstName);
    field(k + u" (会社名)", ContactField::kYomiCompanyName);
  }
  for (const AddressHeadings& h : kAddressHeadings) {
    const platform::AddressFields& a = *platform::FieldsOf(h.kind);
    const std::u16string ja = u" (" + std::u16string(h.ja) + u")";
    const std::u16string en(h.en);
    field(u"番地" + ja, a.street);
    add(u"番地 2" + ja, Role::kStreetLine, a.street);
    add(u"番地 3" + ja, Role::kStreetLine, a.street);
    field(u"市町村" + ja, a.city);
    field(u"都道府県" + ja, a.state);
    field(u"郵便番号" + ja, a.postalCode);
    field(u"国" + ja, a.country);
    field(u"国/地域" + ja, a.country);
    field(std::u16string(h.jaPrefix) + u"住所私書箱", a.postOfficeBox);
    field(std::u16string(h.jaPrefix) + u"電話", a.telephone);
    field(std::u16string(h.jaPrefix) + u" FAX", a.fax);
    field(en + u" Street", a.street);
    add(en + u" Street 2", Role::kStreetLine, a.street);
    add(en + u" Street 3", Role::kStreetLine, a.street);
    field(en + u" City", a.city);
    field(en + u" State", a.state);
    field(en + u" Postal Code", a.postalCode);
    field(en + u" Country", a.country);
    field(en + u" Country/Region", a.country);
    field(en + u" P.O. Box", a.postOfficeBox);
    field(en + u" Address PO Box", a.postOfficeBox);
    field(en + u" Phone", a.telephone);
    field(en + u" Fax", a.fax);
  }
  return table;
}

// Returns the role of each column of the heading row.
std::vector<Column> MapColumns(const std::vector<std::u16string>& headings) {
  static const HeadingTable kTable = BuildHeadingTable();
  const std::u16string englishSuffix = HeadingKey(u"敬称 (英語)");
  bool hasEnglishSuffix = false;
  for (const std::u16string& heading : headings) {
    if (HeadingKey(heading) == englishSuffix) hasEnglishSuffix = true;
  }
  std::vector<Column> columns;
  for (const std::u16string& heading : headings) {
    const std::u16string key = HeadingKey(heading);
    Column column;
    for (const auto& [known, role] : kTable) {
      if (known == key) {
        column = role;
        break;
      }
    }
    if (column.role == Role::kTitleOrSuffix) {
      column.role = Role::kField;
      column.field = hasEnglishSuffix ? ContactField::kTitle : ContactField::kSuffix;
    }
    columns.push_back(column);
  }
  return columns;
}

// Returns the line (from 1) of the byte at offset.
size_t LineOfOffset(std::string_view bytes, size_t offset) {
  size_t line = 1;
  for (size_t i = 0; i < offset && i < bytes.size(); ++i) {
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) {
      ++line;
    }
  }
  return line;
}

std::u16string DecodeCsvText(std::string_view bytes, std::u16string_view source) {
  if (platform::IsValidUtf8(bytes)) return platform::FromUtf8(bytes);
  DecodedText decoded = DecodeCharset(bytes, kCharsetCp932);
  if (!decoded.ok) {
    RaiseLineError(source, LineOfOffset(bytes, decoded.errorOffset),
                   u"the text is neither UTF-8 nor Shift_JIS");
  }
  return std::move(decoded.text);
}

ContactRecord BuildRecord(const std::vector<Column>& columns, const CsvRecord& row) {
  ContactRecord record;
  std::u16string middle;
  for (size_t i = 0; i < columns.size() && i < row.fields.size(); ++i) {
    const std::u16string value = NormalizeLineBreaks(row.fields[i]);
    if (value.empty()) continue;
    const Column& column = columns[i];
    switch (column.role) {
      case Role::kField:
        if (record[column.field].empty()) record[column.field] = value;
        break;
      case Role::kStreetLine: {
        std::u16string& street = record[column.field];
        if (!street.empty()) street += u"\r\n";
        street += value;
        break;
      }
      case Role::kMiddleName:
        if (middle.empty()) middle = value;
        break;
      case Role::kIgnored:
      case Role::kTitleOrSuffix:
        break;
    }
  }
  record[ContactField::kSubject] =
      ComposeFullName(record[ContactField::kFirstName], middle, record[ContactField::kLastName],
                      record[ContactField::kCompanyName]);
  for (const AddressHeadings& h : kAddressHeadings) {
    const platform::AddressFields& a = *platform::FieldsOf(h.kind);
    AddressParts parts;
    parts.postOfficeBox = record[a.postOfficeBox];
    parts.street = record[a.street];
    parts.city = record[a.city];
    parts.state = record[a.state];
    parts.postalCode = record[a.postalCode];
    parts.country = record[a.country];
    if (parts.Empty()) continue;
    record[a.whole] = ComposeAddress(parts);
    if (record.mailingAddress == MailingAddress::kNone) record.mailingAddress = h.kind;
  }
  return record;
}

bool IsEmptyRow(const CsvRecord& row) {
  for (const std::u16string& field : row.fields) {
    if (!field.empty()) return false;
  }
  return true;
}

// Returns the separator of the heading line: a tab when it has more tabs than commas
// outside quotes (Outlook's tab-separated export), else a comma.
char16_t SeparatorOf(std::u16string_view text) {
  size_t tabs = 0;
  size_t commas = 0;
  bool quoted = false;
  for (char16_t c : text) {
    if (c == u'"') quoted = !quoted;
    if (quoted) continue;
    if (c == u'\r' || c == u'\n') break;
    tabs += c == u'\t';
    commas += c == u',';
  }
  return tabs > commas ? u'\t' : u',';
}

}  // namespace

std::vector<ContactEntry> ParseOutlookCsv(std::string_view bytes, std::u16string_view source) {
  bytes = ContactFileText(bytes, source);
  const std::u16string text = DecodeCsvText(bytes, source);

  CsvReader reader(text, source, SeparatorOf(text));
  CsvRecord heading;
  if (!reader.Next(heading)) {
    RaiseFileError(kErrInvalidFileFormat, source, u"the file is empty");
  }
  const std::vector<Column> columns = MapColumns(heading.fields);
  bool known = false;
  for (const Column& column : columns) known = known || column.role != Role::kIgnored;
  if (!known) {
    RaiseLineError(source, heading.lineNumber,
                   u"the first line is not a heading of an Outlook contact export");
  }

  std::vector<ContactEntry> records;
  CsvRecord row;
  while (reader.Next(row)) {
    if (IsEmptyRow(row)) continue;
    CheckContactCount(records.size(), source, row.lineNumber);
    records.push_back({BuildRecord(columns, row), {}});
  }
  if (records.empty()) RaiseFileError(kErrInvalidFileFormat, source, u"the file holds no contact");
  return records;
}

}  // namespace sendnote::contacts
