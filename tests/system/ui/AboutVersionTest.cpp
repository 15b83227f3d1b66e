// The version box and the one place the version numbers live: the box, the version
// resource's string form and the build's project version must tell the same version.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "inmemory/InMemoryRuntime.h"
#include "system/common/Version.h"
#include "system/ui/frmAbout.h"
#include "tests/support/VersionText.h"

namespace sendnote {
namespace {

namespace fs = std::filesystem;

std::string TopLevelCMakeLists() {
  std::ifstream in(fs::path(SENDNOTE_SOURCE_DIR) / "CMakeLists.txt");
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(AboutVersionTest, VersionNumbersAgreeEverywhere) {
  // The resource's string form writes the revision with four digits.
  char resource[32];
  std::snprintf(resource, sizeof resource, "%d.%d.%04d", SENDNOTE_VERSION_MAJOR,
                SENDNOTE_VERSION_MINOR, SENDNOTE_VERSION_REVISION);
  EXPECT_STREQ(SENDNOTE_VERSION_STRING, resource);

  std::smatch match;
  const std::string cmake = TopLevelCMakeLists();
  ASSERT_TRUE(
      std::regex_search(cmake, match, std::regex(R"(project\(sendnote VERSION ([0-9.]+))")));
  EXPECT_EQ(match[1].str(), test_support::FullVersion());
}

TEST(AboutVersionTest, BoxShowsCaptionTitleAndVersionWithoutTheRevisionsLeadingZero) {
  inmemory::InMemoryRuntime runtime;
  platform::ScopedRuntime scope(runtime);
  frmAbout about;
  runtime.Scripted().ShowModal(about);

  ASSERT_EQ(runtime.Scripted().AboutBoxes().size(), 1u);
  const auto& shown = runtime.Scripted().AboutBoxes()[0].atLoad;
  EXPECT_EQ(shown.caption, u"バージョン情報");
  EXPECT_EQ(shown.version, test_support::VersionBoxLine());
  EXPECT_EQ(shown.titleCaption, u"添書票COMアドイン");
  EXPECT_TRUE(runtime.Scripted().MsgBoxes().empty());
}

}  // namespace
}  // namespace sendnote
