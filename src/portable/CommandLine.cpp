#include "portable/CommandLine.h"

#include <charconv>

namespace sendnote::portable {
namespace {

bool ParsePositions(const std::string& text, std::vector<int>& out) {
  out.clear();
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string_view part(text.data() + start, comma - start);
    int value = 0;
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (part.empty() || ec != std::errc() || end != part.data() + part.size() || value < 1) {
      return false;
    }
    out.push_back(value);
    start = comma + 1;
  }
  return !out.empty();
}

bool ParseAddress(const std::string& text, int32_t& kind) {
  static constexpr const char* kNames[] = {"mailing", "home", "business", "other"};
  for (int32_t i = 0; i < 4; ++i) {
    if (text == kNames[i]) {
      kind = i;
      return true;
    }
  }
  return false;
}

// Why TEXT cannot be the prefix of property names, or "": a blank one would be replaced by
// the default after a box, and a control character cannot be written into the document.
std::string PrefixProblem(const std::string& text) {
  if (text.find_first_not_of(' ') == std::string::npos) return "it has no character but blanks";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return "it holds a control character";
  }
  return "";
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
  CommandLine cl;
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::optional<std::string> inlineValue;
    if (arg.rfind("--", 0) == 0) {
      if (const size_t eq = arg.find('='); eq != std::string::npos) {
        inlineValue = arg.substr(eq + 1);
        arg = arg.substr(0, eq);
      }
    }
    auto value = [&](std::string& out) -> bool {
      if (inlineValue) {
        out = *inlineValue;
        return true;
      }
      if (i + 1 >= args.size()) {
        error = "option " + arg + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    auto flag = [&](bool& out) -> bool {
      if (inlineValue) {
        error = "option " + arg + " takes no value";
        return false;
      }
      out = true;
      return true;
    };
    std::string v;
    if (arg == "-o" || arg == "--output") {
      if (!value(v)) return std::nullopt;
      cl.output = v;
    } else if (arg == "-c" || arg == "--contact") {
      if (!value(v)) return std::nullopt;
      if (!ParsePositions(v, cl.selection)) {
        error = "invalid contact number list: " + v + " (expected N[,N...], from 1)";
        return std::nullopt;
      }
    } else if (arg == "-a" || arg == "--address") {
      if (!value(v)) return std::nullopt;
      if (!ParseAddress(v, cl.addressKind)) {
        error = "invalid address choice: " + v + " (mailing, home, business or other)";
        return std::nullopt;
      }
    } else if (arg == "-p" || arg == "--prefix") {
      if (!value(v)) return std::nullopt;
      if (!PrefixProblem(v).empty()) {
        error = "invalid prefix: " + PrefixProblem(v);
        return std::nullopt;
      }
      cl.prefix = v;
    } else if (arg == "-y" || arg == "--yes") {
      if (!flag(cl.yes)) return std::nullopt;
    } else if (arg == "-f" || arg == "--force") {
      if (!flag(cl.force)) return std::nullopt;
    } else if (arg == "--each") {
      if (!flag(cl.each)) return std::nullopt;
    } else if (arg == "--skip-existing") {
      if (!flag(cl.skipExisting)) return std::nullopt;
    } else if (arg == "--into") {
      if (!value(v)) return std::nullopt;
      cl.into = v;
    } else if (arg == "--list") {
      if (!flag(cl.list)) return std::nullopt;
    } else if (arg == "-h" || arg == "--help") {
      if (!flag(cl.help)) return std::nullopt;
    } else if (arg == "--version") {
      if (!flag(cl.version)) return std::nullopt;
    } else {
      error = "unknown option: " + arg;
      return std::nullopt;
    }
  }
  if (cl.help || cl.version) return cl;
  if (cl.yes && cl.prefix) {
    error = "--yes and --prefix exclude each other";
    return std::nullopt;
  }
  if (cl.skipExisting && (!cl.each || cl.force)) {
    error = cl.force ? "--force and --skip-existing exclude each other"
                     : "--skip-existing goes with --each";
    return std::nullopt;
  }
  if (cl.into && cl.each) {
    error = "--into and --each exclude each other";
    return std::nullopt;
  }
  const size_t wanted = cl.list || cl.into ? 1 : 2;
  if (positional.size() < wanted) {
    error = wanted == 1 ? "missing CONTACTS" : "missing CONTACTS or TEMPLATE";
    return std::nullopt;
  }
  if (positional.size() > wanted) {
    error = "unexpected argument: " + positional.back();
    return std::nullopt;
  }
  cl.contacts = positional[0];
  if (positional.size() > 1) cl.templatePath = positional[1];
  return cl;
}

std::string UsageText() {
  return R"(Usage: sendnote [OPTIONS] CONTACTS TEMPLATE
       sendnote [OPTIONS] --into DOCUMENT CONTACTS

Writes a contact of CONTACTS (a vCard .vcf, or an Outlook or Google Contacts .csv
export) into a new cover letter made from the Word template TEMPLATE, as document
properties that the template's DOCPROPERTY fields show. With --into, the contact is
written into the existing document DOCUMENT instead (the output "open a document").

Options:
  -o, --output FILE        the letter to write (default: the template's name, a blank
                           and the contact's name, .docx, in the current folder);
                           with --each, the folder for the letters
  -c, --contact N[,N...]   the contacts to select, by position in the file from 1
                           (default 1; the letter is written for the first)
  -a, --address KIND       the address to use: mailing (the contact's mailing
                           address, default), home, business or other
  -y, --yes                answer the prefix question Yes
  -p, --prefix TEXT        answer the prefix question No and use TEXT as the prefix
  -f, --force              replace an existing output file (a regular file only,
                           keeping its permissions)
      --each               one letter per selected contact, into the -o folder
      --skip-existing      with --each, write only the letters whose files are not
                           there yet (a batch that was stopped goes on)
      --into DOCUMENT      write into the existing .docx/.docm DOCUMENT, replaced in
                           its place (or written to -o); not with --each
      --list               list the contacts of CONTACTS (name, company, mailing
                           address) and stop
  -h, --help               show this help
      --version            show the version

Exit status: 0 the letter was written; 1 the command stopped (a message or an
error report was shown, nothing written); 2 the command line or a file named on it
is unusable (an invalid value, a template that cannot be used; nothing written),
or a selected contact cannot be read; with --each,
1 also when a selected contact cannot be read and the others were written.
)";
}

}  // namespace sendnote::portable
