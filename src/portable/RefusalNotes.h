// The command's own line after a refusal box, where the user needs more than the box says:
// which file is not a template and what this edition reads, why a template cannot be
// opened, and which addresses a contact without a mailing address has.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "contactrecord/ContactRecord.h"
#include "platform/MailingAddress.h"

namespace sendnote::docx {
class DocxApplication;
}

namespace sendnote::portable {

struct RefusalContext {
  std::filesystem::path templateFile;      // the file the File New dialog took
  const ContactRecord* contact = nullptr;  // the first contact of the selection
};

// Returns the line to print after the box with `boxText` ("sendnote: ..."), or "" when
// the box says enough.
std::string RefusalNote(std::u16string_view boxText, const RefusalContext& context);

// Returns the line that refuses the template named on the command line ("sendnote: ...")
// before any box is shown, or "" when a letter can be made from it. The template is opened
// through `word` (which keeps it when it reads templates once); with `checkEntries` every
// entry is read and checked as copying checks it (one more pass over the file).
std::string TemplateRefusal(const std::filesystem::path& file, docx::DocxApplication& word,
                            bool checkEntries);

// True when the contact has an address of `kind` (home, business or other).
bool HasAddress(const ContactRecord& contact, platform::MailingAddress kind);

}  // namespace sendnote::portable
