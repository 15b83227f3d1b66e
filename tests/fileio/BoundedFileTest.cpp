// The one bounded file reader under the template and contact file readers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "fileio/BoundedFile.h"
#include "tests/support/TestFiles.h"

namespace sendnote::fileio {
namespace {

namespace fs = std::filesystem;
using Status = BoundedFile::Status;

TEST(BoundedFileTest, ReadsWholeFilesUpToTheLimitAndRefusesTheRest) {
  test_support::TempDir dir;
  test_support::WriteFile(dir.File("ten"), "0123456789");
  test_support::WriteFile(dir.File("empty"), "");
  test_support::WriteFile(dir.File("sparse"), "x");
  fs::resize_file(dir.File("sparse"), uint64_t{1} << 30);  // refused by its size, unread
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);  // would block a plain open
  const struct {
    fs::path path;
    uint64_t limit;
    Status status;
    std::string bytes;
  } cases[] = {
      {dir.File("ten"), 10, Status::kRead, "0123456789"},
      {dir.File("ten"), 100, Status::kRead, "0123456789"},
      {dir.File("empty"), 0, Status::kRead, ""},
      {dir.File("ten"), 9, Status::kTooLarge, ""},
      {dir.File("sparse"), 1 << 20, Status::kTooLarge, ""},
      {dir.File("none"), 10, Status::kNotFound, ""},
      {dir.File("none") / "below", 10, Status::kNotFound, ""},
      {dir.File("ten") / "below", 10, Status::kNotFound, ""},
      {dir.Path(), 10, Status::kNotAFile, ""},
      {dir.File("pipe"), 10, Status::kNotAFile, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.string() + " limit " + std::to_string(c.limit));
    const BoundedFile file = ReadBoundedFile(c.path, c.limit);
    EXPECT_EQ(file.status, c.status);
    EXPECT_EQ(file.bytes, c.bytes);
  }
}

}  // namespace
}  // namespace sendnote::fileio
