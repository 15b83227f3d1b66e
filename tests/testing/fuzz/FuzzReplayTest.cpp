// Replays every fuzz target's seeds and the reproducers fuzzing has found
// (tests/testing/fuzz/regressions/<target>/), so that a fixed fault stays fixed in the ordinary
// build. A target fails the test by letting anything but the one error type escape.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzTargets.h"

namespace sendnote::fuzz {

// Names the target in test output instead of its bytes.
void PrintTo(const Target& target, std::ostream* out) { *out << target.name; }

namespace {

namespace fs = std::filesystem;

const fs::path kSource = SENDNOTE_SOURCE_DIR;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void AddFolder(const fs::path& folder, std::vector<fs::path>& inputs) {
  if (!fs::is_directory(folder)) return;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
}

// The example files a target reads as its seeds, as scripts/fuzz.sh gives them.
std::vector<fs::path> Inputs(std::string_view name) {
  std::vector<fs::path> inputs;
  for (const auto& entry : fs::directory_iterator(kSource / "examples")) {
    const std::string ext = entry.path().extension().string();
    const bool contacts = ext == ".vcf" || ext == ".csv";
    const bool package = ext == ".dotx";
    if ((contacts && (name == "vcard" || name == "csv")) ||
        (package && (name == "zip" || name == "package" || name == "letter"))) {
      inputs.push_back(entry.path());
    }
  }
  AddFolder(kSource / "testing" / "fuzz" / "seeds" / std::string(name), inputs);
  AddFolder(kSource / "tests" / "testing" / "fuzz" / "regressions" / std::string(name), inputs);
  return inputs;
}

class FuzzReplay : public testing::TestWithParam<Target> {};

TEST_P(FuzzReplay, SeedsAndReproducersAreReadOrRefused) {
  const Target target = GetParam();
  const std::vector<fs::path> inputs = Inputs(target.name);
  if (inputs.empty()) GTEST_SKIP() << "no seeds for " << target.name;
  for (const fs::path& input : inputs) {
    SCOPED_TRACE(input.string());
    const std::string bytes = ReadAll(input);
    EXPECT_NO_THROW(target.run(bytes));
    // Cut and damaged forms of every seed, as a short sweep of what fuzzing starts from.
    for (size_t cut : {size_t{0}, bytes.size() / 3, bytes.size() / 2, bytes.size() - 1}) {
      if (cut > bytes.size()) continue;
      EXPECT_NO_THROW(target.run(std::string_view(bytes).substr(0, cut)));
    }
    std::string flipped = bytes;
    for (size_t i = 0; i < flipped.size(); i += 97) flipped[i] = static_cast<char>(~flipped[i]);
    EXPECT_NO_THROW(target.run(flipped));
  }
}

// A template whose entry that the letter only copies is damaged (its compressed data, so
// that its checksum fails): the letter target refuses it, or aborts when the letter it wrote
// fails the check of every entry.
TEST(FuzzReplayLetter, ADamagedCopiedEntryNeverReachesALetter) {
  const Target* letter = nullptr;
  for (const Target& target : Targets()) {
    if (target.name == std::string_view("letter")) letter = &target;
  }
  ASSERT_NE(letter, nullptr);
  const std::string bytes = ReadAll(kSource / "examples" / "添書票.dotx");
  const std::string entry = "word/theme/theme1.xml";
  const size_t name = bytes.find(entry);
  ASSERT_NE(name, std::string::npos);
  for (const size_t at : {size_t{20}, size_t{200}, size_t{600}}) {
    std::string damaged = bytes;
    damaged[name + entry.size() + at] = static_cast<char>(damaged[name + entry.size() + at] ^ 0x10);
    EXPECT_NO_THROW(letter->run(damaged));
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(Targets().begin(), Targets().end()),
                         [](const testing::TestParamInfo<Target>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace sendnote::fuzz
