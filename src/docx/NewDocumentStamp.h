// What Word's File New writes into a new document's own properties: it was created and
// last modified now by the current user, revision 1, from the named template. The
// template's title, subject, keywords and other properties stay.
#pragma once

#include <string>

namespace sendnote::docx {

class Package;

class NewDocumentStamp {
 public:
  // Sets the core properties (creator, last modified by, revision, created, modified) and
  // the extended properties' template name, adding either part when the package has none.
  // `now` is a W3C date and time ("2026-12-08T09:30:00Z"); texts are UTF-8.
  static void Apply(Package& package, const std::string& templateFileName, const std::string& user,
                    const std::string& now);

  // The current time in UTC, as Apply takes it.
  static std::string Now();
  // The user name of the environment (USER, USERNAME or LOGNAME), or empty.
  static std::string CurrentUser();
};

}  // namespace sendnote::docx
