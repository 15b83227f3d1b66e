// Parsing the command line: the options' forms, their values and the refusals.
#include <gtest/gtest.h>

#include "portable/CommandLine.h"

namespace sendnote::portable {
namespace {

std::optional<CommandLine> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string e;
  auto cl = ParseCommandLine(args, e);
  if (error) *error = e;
  return cl;
}

TEST(CommandLineTest, DefaultsAndEveryOptionForm) {
  auto cl = Parse({"c.vcf", "t.dotx"});
  ASSERT_TRUE(cl);
  EXPECT_EQ(cl->contacts, "c.vcf");
  EXPECT_EQ(cl->templatePath, "t.dotx");
  EXPECT_EQ(cl->selection, std::vector<int>{1});
  EXPECT_EQ(cl->addressKind, 0);
  EXPECT_FALSE(cl->output || cl->prefix || cl->yes || cl->force || cl->each);

  cl = Parse({"--output=o.docx", "-c", "3,1,2", "--address", "other", "-p", " P$ ", "-f", "--each",
              "c.vcf", "--", "-t.dotx"});
  ASSERT_TRUE(cl);
  EXPECT_EQ(*cl->output, "o.docx");
  EXPECT_EQ(cl->selection, (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(cl->addressKind, 3);
  EXPECT_EQ(*cl->prefix, " P$ ");  // typed prefixes keep their blanks
  EXPECT_TRUE(cl->force && cl->each);
  EXPECT_EQ(cl->templatePath, "-t.dotx");  // after "--" nothing is an option

  for (auto [name, kind] : {std::pair{"mailing", 0}, {"home", 1}, {"business", 2}}) {
    EXPECT_EQ(Parse({"-a", name, "c", "t"})->addressKind, kind);
  }
  EXPECT_TRUE(Parse({"--list", "c.vcf"})->list);
  EXPECT_TRUE(Parse({"--help"})->help);
  EXPECT_TRUE(Parse({"--version", "anything"})->version);
}

TEST(CommandLineTest, RefusesWhatItCannotUseWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {"--frobnicate", "c", "t"},
      {"-o"},
      {"-c", "", "c", "t"},
      {"-c", "1,,2", "c", "t"},
      {"-c", "x", "c", "t"},
      {"-c", "0", "c", "t"},
      {"-c", "-1", "c", "t"},
      {"-a", "work", "c", "t"},
      {"-y", "-p", "X", "c", "t"},
      {"c"},
      {"c", "t", "u"},
      {"--list", "c", "t"},
      {"--yes=1", "c", "t"},
      {"--skip-existing", "c", "t"},
      {"--each", "--skip-existing", "-f", "c", "t"},
      {"-p", " ", "c", "t"},
      {"-p", "A\tB", "c", "t"},
      {},
  };
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(Parse(args, &error)) << (args.empty() ? "" : args[0]);
    EXPECT_FALSE(error.empty());
  }
}

TEST(CommandLineTest, UsageNamesEveryOptionAndTheExitStatuses) {
  const std::string usage = UsageText();
  for (const char* option :
       {"--output", "--contact", "--address", "--yes", "--prefix", "--force", "--each",
        "--skip-existing", "--list", "--help", "--version", "Exit status"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace sendnote::portable
