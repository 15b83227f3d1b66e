// The portable edition's host: like Outlook, it loads the contacts into its Contacts
// folder, shows them in an explorer, connects the add-in, selects the contacts the user
// names and clicks the add-in's button; after a completed click it saves the new letter.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <vector>

#include "contactrecord/ContactRecord.h"
#include "portable/CommandLine.h"
#include "portable/contacts/ContactEntry.h"

namespace sendnote::docx {
class DocxApplication;
}

namespace sendnote::portable {

// Exit statuses of the command.
inline constexpr int kExitWritten = 0;
inline constexpr int kExitStopped = 1;
inline constexpr int kExitUnusable = 2;

struct HostIo {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool interactive;          // a person answers on the terminal
  bool outTerminal = false;  // standard output is a terminal too
  int columns = 80;          // the terminal's width
};

class PortableHost {
 public:
  // `programFolder` holds the program; its help pages are found from it (HelpPages.h).
  PortableHost(HostIo io, std::filesystem::path programFolder);

  // Runs the command; returns its exit status.
  int Run(const CommandLine& commandLine);

 private:
  struct Letter {
    std::vector<int> selection;  // positions in the contacts file, from 1
    std::filesystem::path output;
  };

  // Plans the letters to write; returns false after telling why none can be.
  bool PlanLetters(const CommandLine& cl, const std::vector<ContactRecord>& records,
                   std::vector<Letter>& letters);
  int Session(const CommandLine& cl, const std::vector<ContactRecord>& records,
              const std::vector<Letter>& letters);
  void List(const std::vector<contacts::ContactEntry>& entries);

  HostIo io_;
  std::filesystem::path programFolder_;
  std::shared_ptr<docx::DocxApplication> word_;  // the Word the add-in starts
};

}  // namespace sendnote::portable
