#include "portable/contacts/OutlookCsvColumns.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "portable/contacts/AddressText.h"
#include "portable/contacts/CsvHeading.h"
#include "portable/contacts/JapaneseAddress.h"

namespace sendnote::contacts {
namespace {

using platform::ContactField;
using platform::MailingAddress;

using Role = OutlookCsvColumns::Role;
using Column = OutlookCsvColumns::Column;

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

struct KnownHeading {
  std::u16string heading;
  std::u16string key;
  Column column;
};
using HeadingTable = std::vector<KnownHeading>;

HeadingTable BuildHeadingTable() {
  HeadingTable table;
  const auto add = [&table](std::u16string heading, Role role, ContactField field) {
    std::u16string key = HeadingKey(heading);
    table.push_back({std::move(heading), std::move(key), Column{role, field}});
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

const HeadingTable& Table() {
  static const HeadingTable kTable = BuildHeadingTable();
  return kTable;
}

// Outlook's columns that no member is read from: silent, never near misses of the read ones.
const std::vector<std::u16string>& UnreadHeadingKeys() {
  static const std::vector<std::u16string> kKeys = [] {
    std::vector<std::u16string> keys;
    for (std::u16string_view heading : {u"Assistant's Phone",
                                        u"Business Phone 2",
                                        u"Callback",
                                        u"Car Phone",
                                        u"Company Main Phone",
                                        u"Home Phone 2",
                                        u"ISDN",
                                        u"Pager",
                                        u"Primary Phone",
                                        u"Radio Phone",
                                        u"TTY/TDD Phone",
                                        u"Telex",
                                        u"Account",
                                        u"Anniversary",
                                        u"Assistant's Name",
                                        u"Billing Information",
                                        u"Birthday",
                                        u"Categories",
                                        u"Children",
                                        u"Directory Server",
                                        u"E-mail Type",
                                        u"E-mail Display Name",
                                        u"E-mail 2 Address",
                                        u"E-mail 2 Type",
                                        u"E-mail 2 Display Name",
                                        u"E-mail 3 Address",
                                        u"E-mail 3 Type",
                                        u"E-mail 3 Display Name",
                                        u"Gender",
                                        u"Government ID Number",
                                        u"Hobby",
                                        u"Initials",
                                        u"Internet Free Busy",
                                        u"Keywords",
                                        u"Language",
                                        u"Location",
                                        u"Manager's Name",
                                        u"Mileage",
                                        u"Organizational ID Number",
                                        u"Priority",
                                        u"Private",
                                        u"Profession",
                                        u"Referred By",
                                        u"Sensitivity",
                                        u"Spouse",
                                        u"User 1",
                                        u"User 2",
                                        u"User 3",
                                        u"User 4",
                                        u"Web Page",
                                        u"会社電話 2",
                                        u"自宅電話 2",
                                        u"会社代表電話",
                                        u"代表電話",
                                        u"自動車電話",
                                        u"無線電話",
                                        u"ポケットベル",
                                        u"コールバック",
                                        u"テレックス",
                                        u"アシスタント電話",
                                        u"アシスタントの電話",
                                        u"通常の電話",
                                        u"電子メール 表示名",
                                        u"電子メールの種類",
                                        u"電子メール 2 アドレス",
                                        u"電子メール 2 の種類",
                                        u"電子メール 2 表示名",
                                        u"電子メール 3 アドレス",
                                        u"電子メール 3 の種類",
                                        u"電子メール 3 表示名",
                                        u"誕生日",
                                        u"記念日",
                                        u"分類",
                                        u"秘書の名前",
                                        u"上司の名前",
                                        u"配偶者",
                                        u"子供",
                                        u"趣味",
                                        u"言語",
                                        u"性別",
                                        u"個人",
                                        u"秘密度",
                                        u"重要度",
                                        u"イニシャル",
                                        u"Web ページ",
                                        u"キーワード",
                                        u"場所",
                                        u"支払い情報",
                                        u"紹介者",
                                        u"職業",
                                        u"ユーザー 1",
                                        u"ユーザー 2",
                                        u"ユーザー 3",
                                        u"ユーザー 4"}) {
      keys.push_back(HeadingKey(heading));
    }
    return keys;
  }();
  return kKeys;
}

// Returns the role of each column of the heading row.
std::vector<Column> MapColumns(const std::vector<std::u16string>& headings) {
  const std::u16string englishSuffix = HeadingKey(u"敬称 (英語)");
  bool hasEnglishSuffix = false;
  for (const std::u16string& heading : headings) {
    if (HeadingKey(heading) == englishSuffix) hasEnglishSuffix = true;
  }
  std::vector<Column> columns;
  for (const std::u16string& heading : headings) {
    const std::u16string key = HeadingKey(heading);
    Column column;
    for (const KnownHeading& known : Table()) {
      if (known.key == key) {
        column = known.column;
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

}  // namespace

OutlookCsvColumns::OutlookCsvColumns(const std::vector<std::u16string>& headings)
    : headings_(headings), columns_(MapColumns(headings)) {}

bool OutlookCsvColumns::Recognized() const {
  for (const Column& column : columns_) {
    if (column.role != Role::kIgnored) return true;
  }
  return false;
}

bool OutlookCsvColumns::IsOutlookHeading(std::u16string_view heading) {
  const std::u16string key = HeadingKey(heading);
  const std::vector<std::u16string>& unread = UnreadHeadingKeys();
  return std::any_of(Table().begin(), Table().end(),
                     [&key](const KnownHeading& known) { return known.key == key; }) ||
         std::find(unread.begin(), unread.end(), key) != unread.end();
}

std::vector<std::pair<std::u16string, std::u16string>> OutlookCsvColumns::NearMisses() const {
  std::vector<std::u16string> read;
  for (const KnownHeading& known : Table()) read.push_back(known.heading);
  const std::vector<std::u16string>& unread = UnreadHeadingKeys();
  std::vector<std::pair<std::u16string, std::u16string>> misses;
  for (size_t i = 0; i < headings_.size(); ++i) {
    if (columns_[i].role != Role::kIgnored) continue;
    const std::u16string key = HeadingKey(headings_[i]);
    if (std::find(unread.begin(), unread.end(), key) != unread.end()) continue;
    if (const std::optional<std::u16string> known = NearMissOf(key, read)) {
      misses.emplace_back(headings_[i], *known);
    }
  }
  return misses;
}

ContactRecord OutlookCsvColumns::Build(const std::vector<std::u16string>& fields) const {
  const std::vector<Column>& columns = columns_;
  ContactRecord record;
  std::u16string middle;
  for (size_t i = 0; i < columns.size() && i < fields.size(); ++i) {
    const std::u16string value = NormalizeLineBreaks(fields[i]);
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
    if (SplitOneLineAddress(parts)) {
      record[a.street] = parts.street;
      record[a.city] = parts.city;
      record[a.state] = parts.state;
      record[a.postalCode] = parts.postalCode;
    }
    record[a.whole] = ComposeAddress(parts);
    if (record.mailingAddress == MailingAddress::kNone) record.mailingAddress = h.kind;
  }
  return record;
}

}  // namespace sendnote::contacts
