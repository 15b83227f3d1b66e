// The columns of the CSV file that Google Contacts exports, in its older form ("Name",
// "Given Name", "Family Name", "Organization 1 - Name", ...) and its newer one ("First Name",
// "Last Name", "Organization Name", ...), and the contact each row gives, mapped as a vCard
// of the same contact would be.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "contactrecord/ContactRecord.h"

namespace sendnote::contacts {

// Members: "Name" gives the Subject (composed from the names when empty); given, additional
// and family names, prefix and suffix the names, Title and Suffix; their Yomi or Phonetic
// forms the Yomi names; "Notes" the Body; organization 1's name, Yomi name, title,
// department and location the CompanyName, YomiCompanyName, JobTitle, Department and
// OfficeLocation. E-mail: the first value, or the one whose type is marked primary ("* ").
// Phones by type: Mobile, Work, Home, Work Fax, Home Fax, Other Fax (or Fax), and Main,
// Other, none or a label of the user's own as the other telephone; pagers and the like are
// skipped. Addresses by type: Home, Work, else other; the extended address is the street's
// last line (or the street when that is empty), "Formatted" the whole address (else composed
// by ComposeAddress). SelectedMailingAddress is the primary address's kind, else the first's.
// Several values in one field (joined by " ::: ") give the first.
class GoogleCsvColumns {
 public:
  explicit GoogleCsvColumns(const std::vector<std::u16string>& headings);

  // Returns true if a heading is one of Google's that Outlook's export does not have.
  bool Recognized() const;
  // Returns each heading that is none of Google's but nearly one that is read, with that one.
  std::vector<std::pair<std::u16string, std::u16string>> NearMisses() const;
  // Returns the contact of one row; missing fields are empty.
  ContactRecord Build(const std::vector<std::u16string>& fields) const;

  enum class Role { kIgnored, kField, kMiddleName, kEmail, kPhone, kAddress };
  struct Column {
    Role role = Role::kIgnored;
    platform::ContactField field = platform::ContactField::kSubject;
    unsigned group = 0;   // N of "Phone N - Value"
    std::u16string part;  // "value", "type", "street", ... (heading key of the part)
    bool googleOnly = false;
    bool known = false;  // a heading of Google's export, read or not
  };

 private:
  std::vector<std::u16string> headings_;
  std::vector<Column> columns_;
};

}  // namespace sendnote::contacts
