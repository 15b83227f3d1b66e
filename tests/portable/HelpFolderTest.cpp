// Where the program finds its help pages: beside itself (the build tree) before the
// installed share/sendnote/help, and a folder without index.html is no help folder.
#include "portable/HelpPages.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace sendnote::portable {
namespace {

namespace fs = std::filesystem;

class HelpFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("sendnote-help-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "bin");
  }
  void TearDown() override { fs::remove_all(root_); }
  void Page(const fs::path& folder) {
    fs::create_directories(folder);
    std::ofstream(folder / "index.html") << "<html></html>";
  }
  fs::path root_;
};

TEST_F(HelpFolderTest, InstalledPagesAreFoundFromTheProgramInBin) {
  Page(root_ / "share" / "sendnote" / "help");
  EXPECT_EQ(HelpFolder(root_ / "bin"), root_ / "share" / "sendnote" / "help");
}

TEST_F(HelpFolderTest, PagesBesideTheProgramComeFirst) {
  Page(root_ / "share" / "sendnote" / "help");
  Page(root_ / "bin" / "help");
  EXPECT_EQ(HelpFolder(root_ / "bin"), root_ / "bin" / "help");
}

TEST_F(HelpFolderTest, AFolderWithoutIndexIsPassedOver) {
  // An empty help folder beside the program (a half-copied build tree) does not hide the
  // installed pages; with no pages anywhere the answer is the folder beside the program.
  fs::create_directories(root_ / "bin" / "help");
  EXPECT_EQ(HelpFolder(root_ / "bin"), root_ / "bin" / "help");
  Page(root_ / "share" / "sendnote" / "help");
  EXPECT_EQ(HelpFolder(root_ / "bin"), root_ / "share" / "sendnote" / "help");
}

}  // namespace
}  // namespace sendnote::portable
