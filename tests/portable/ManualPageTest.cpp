// The manual page and `sendnote --help` name the same options, and the manual page has
// the sections a manual page is read by.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "portable/CommandLine.h"

namespace sendnote::portable {
namespace {

std::string ManualPage() {
  std::ifstream in(SENDNOTE_MANUAL_PAGE);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The text of section `name` (from ".SH name" to the next ".SH").
std::string Section(const std::string& page, const std::string& name) {
  const std::string head = "\n.SH " + name + "\n";
  const size_t start = page.find(head);
  if (start == std::string::npos) return "";
  const size_t end = page.find("\n.SH ", start + head.size());
  return page.substr(start + head.size(), end - start - head.size());
}

// The options a --help text lists: the -x and --long words that begin its option lines.
std::set<std::string> HelpOptions(const std::string& usage) {
  std::set<std::string> options;
  const size_t start = usage.find("\nOptions:\n");
  const std::string block = usage.substr(start, usage.find("\n\n", start + 1) - start);
  static const std::regex line(R"(\n  (-\w)?(, )?\s*(--[\w-]+)?)");
  for (std::sregex_iterator it(block.begin(), block.end(), line), end; it != end; ++it) {
    for (int group : {1, 3}) {
      if ((*it)[group].matched) options.insert((*it)[group].str());
    }
  }
  return options;
}

// The options the manual page's OPTIONS section describes: the bold words of its .TP
// heading lines, with roff's \- read as a hyphen.
std::set<std::string> ManualOptions(const std::string& section) {
  std::set<std::string> options;
  static const std::regex heading(R"(\.TP\n([^\n]*))");
  static const std::regex bold(R"(\\fB((?:\\-)+[\w\\-]+)\\fR)");
  for (std::sregex_iterator it(section.begin(), section.end(), heading), end; it != end; ++it) {
    const std::string text = (*it)[1].str();
    for (std::sregex_iterator b(text.begin(), text.end(), bold); b != end; ++b) {
      options.insert(std::regex_replace((*b)[1].str(), std::regex(R"(\\-)"), "-"));
    }
  }
  return options;
}

TEST(ManualPageTest, OptionsAreThoseOfHelp) {
  const auto fromHelp = HelpOptions(UsageText());
  const auto fromManual = ManualOptions(Section(ManualPage(), "OPTIONS"));
  ASSERT_GE(fromHelp.size(), 10u) << "the --help text was not read";
  for (const auto& option : fromHelp) {
    EXPECT_TRUE(fromManual.count(option)) << option << " is in --help but not in the manual";
  }
  for (const auto& option : fromManual) {
    EXPECT_TRUE(fromHelp.count(option)) << option << " is in the manual but not in --help";
  }
}

TEST(ManualPageTest, EveryOptionOfTheManualIsAccepted) {
  // An option both texts name but the command refuses is a documentation fault too.
  for (const auto& option : ManualOptions(Section(ManualPage(), "OPTIONS"))) {
    std::string error;
    ParseCommandLine({option, "1", "contacts.vcf", "template.dotx"}, error);
    EXPECT_EQ(error.find("unknown option"), std::string::npos) << option << ": " << error;
  }
}

TEST(ManualPageTest, HasTheUsualSectionsAndEveryExitStatus) {
  const std::string page = ManualPage();
  for (const char* name : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS", "FILES",
                           "EXAMPLES", "SEE ALSO"}) {
    EXPECT_FALSE(Section(page, name).empty()) << name;
  }
  const std::string status = Section(page, "EXIT STATUS");
  for (const char* code : {"\n.B 0\n", "\n.B 1\n", "\n.B 2\n"}) {
    EXPECT_NE(status.find(code), std::string::npos) << code;
  }
}

}  // namespace
}  // namespace sendnote::portable
