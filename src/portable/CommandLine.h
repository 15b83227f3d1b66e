// The `sendnote` command line: sendnote [OPTIONS] CONTACTS TEMPLATE, or
// sendnote [OPTIONS] --into DOCUMENT CONTACTS
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sendnote::portable {

struct CommandLine {
  std::string contacts;               // CONTACTS: a .vcf, Outlook or Google .csv file
  std::string templatePath;           // TEMPLATE: a Word template (.dotx, .dotm, .dot)
  std::optional<std::string> output;  // -o: the letter, or the folder with --each
  std::vector<int> selection{1};      // -c: positions in the contacts file, from 1
  int32_t addressKind = 0;            // -a: 0 mailing, 1 home, 2 business, 3 other
  bool yes = false;                   // -y: answer the prefix question Yes
  std::optional<std::string> prefix;  // -p: answer No and type this prefix
  bool force = false;                 // -f: replace an existing output file
  bool each = false;                  // --each: one letter per selected contact
  bool skipExisting = false;          // --skip-existing: with --each, keep the letters there
  bool list = false;                  // --list: list the contacts and stop
  std::optional<std::string> into;    // --into: the document to write into, for TEMPLATE
  bool help = false;
  bool version = false;
};

// Returns the parsed command line, or nothing with `error` set to a one-line reason.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

// The --help text.
std::string UsageText();

}  // namespace sendnote::portable
