// Where the program finds its help pages: beside itself (the build tree) before the
// installed share/sendnote/help, and a folder without index.html is no help folder.
#include "portable/HelpPages.h"

#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"

namespace sendnote::portable {
namespace {

namespace fs = std::filesystem;

// A prefix with the program's folder bin/, and help folders made on request.
struct Prefix {
  test_support::TempDir dir;
  fs::path bin = dir.File("bin");
  fs::path beside = bin / "help";
  fs::path installed = dir.Path() / "share" / "sendnote" / "help";
  Prefix() { fs::create_directories(bin); }
  void Page(const fs::path& folder) {
    fs::create_directories(folder);
    test_support::WriteFile(folder / "index.html", "<html></html>");
  }
};

TEST(HelpFolderTest, InstalledPagesAreFoundFromTheProgramInBin) {
  Prefix p;
  p.Page(p.installed);
  EXPECT_EQ(HelpFolder(p.bin), p.installed);
}

TEST(HelpFolderTest, PagesBesideTheProgramComeFirst) {
  Prefix p;
  p.Page(p.installed);
  p.Page(p.beside);
  EXPECT_EQ(HelpFolder(p.bin), p.beside);
}

TEST(HelpFolderTest, AFolderWithoutIndexIsPassedOver) {
  // An empty help folder beside the program (a half-copied build tree) does not hide the
  // installed pages; with no pages anywhere the answer is the folder beside the program.
  Prefix p;
  fs::create_directories(p.beside);
  EXPECT_EQ(HelpFolder(p.bin), p.beside);
  p.Page(p.installed);
  EXPECT_EQ(HelpFolder(p.bin), p.installed);
}

}  // namespace
}  // namespace sendnote::portable
