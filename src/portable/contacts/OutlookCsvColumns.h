// The columns of the CSV file that Outlook exports from a contacts folder, with English or
// Japanese headings, and the contact each row gives.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "contactrecord/ContactRecord.h"

namespace sendnote::contacts {

// Columns are recognised by their heading, compared as HeadingKey ("First Name", "姓",
// "番地 (会社)", "Business Street 2", "会社住所私書箱", ...); other columns are ignored.
// "敬称" is the Suffix, except next to a "敬称 (英語)" column, where it is the Title (and
// "敬称 (英語)" the Suffix). Street lines 1 to 3 are joined by CR LF. Subject is
// ComposeFullName of the names; each whole address is ComposeAddress of its parts;
// SelectedMailingAddress is the first of business, home and other that has any address part,
// else 0.
class OutlookCsvColumns {
 public:
  explicit OutlookCsvColumns(const std::vector<std::u16string>& headings);

  // Returns true if any heading is one that the contact is read from.
  bool Recognized() const;
  // Returns true if the heading is one of Outlook's export, read or not.
  static bool IsOutlookHeading(std::u16string_view heading);
  // Returns each heading that is none of Outlook's but nearly one that is read, with that
  // one ("住所 2 (会社)", "番地 2 (会社)"); Outlook's columns that are not read stay out.
  std::vector<std::pair<std::u16string, std::u16string>> NearMisses() const;
  // Returns the contact of one row; missing fields are empty.
  ContactRecord Build(const std::vector<std::u16string>& fields) const;

  enum class Role { kIgnored, kField, kStreetLine, kMiddleName, kTitleOrSuffix };
  struct Column {
    Role role = Role::kIgnored;
    platform::ContactField field = platform::ContactField::kSubject;
  };

 private:
  std::vector<std::u16string> headings_;
  std::vector<Column> columns_;
};

}  // namespace sendnote::contacts
