// The command's letters on disk: the template's bytes and time stay as they were, a batch
// killed midway leaves only whole letters and its temporary files are tidied by the next
// run, and an interrupted batch removes its temporary files itself.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "docx/DocxApplication.h"
#include "docx/TemporaryFiles.h"
#include "platform/Utf.h"
#include "platform/Word.h"
#include "tests/portable/CommandRunner.h"

namespace sendnote {
namespace {

namespace fs = std::filesystem;
using platform::FromUtf8;
using platform::ToUtf8;

const fs::path kTemplate = fs::path(SENDNOTE_EXAMPLES) / "添書票.dotx";

class SaveDurabilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("sendnote-save-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "out");
    fs::copy_file(kTemplate, dir_ / "template.dotx");
    WriteContacts("contacts.vcf", kContacts);
  }
  void WriteContacts(const std::string& name, int count) {
    std::ofstream contacts(dir_ / name, std::ios::binary);
    for (int i = 1; i <= count; ++i) {
      contacts << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田" << i << ";太郎;;;\r\nFN:山田" << i
               << " 太郎\r\nORG:株式会社サンプル;営業部\r\nADR;TYPE=WORK,PREF:;;千代田1-" << i
               << ";千代田区;東京都;100-0001;日本\r\nEND:VCARD\r\n";
    }
  }
  void TearDown() override { fs::remove_all(dir_); }

  static constexpr int kContacts = 300;

  std::vector<std::string> EachArgs() const {
    std::string all = "1";
    for (int i = 2; i <= kContacts; ++i) {
      all += ',';
      all += std::to_string(i);
    }
    return {"--yes", "--force", "--each", "-c", all, "-o", "out", "contacts.vcf", "template.dotx"};
  }

  // Starts the command without waiting for it.
  pid_t Start(const std::vector<std::string>& args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
    std::vector<std::string> store{SENDNOTE_COMMAND};
    store.insert(store.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : store) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    posix_spawn(&pid, SENDNOTE_COMMAND, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  // The letters in out/.
  size_t Letters() const {
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(dir_ / "out")) n += e.path().extension() == ".docx";
    return n;
  }
  std::vector<fs::path> Temporaries() const {
    std::vector<fs::path> found;
    for (const auto& e : fs::directory_iterator(dir_ / "out"))
      if (docx::TemporaryFiles::IsOurs(e.path().filename().string())) found.push_back(e.path());
    return found;
  }

  // Waits until the running batch has temporary files waiting; false when it ended first.
  bool WaitForTemporaries(pid_t pid, size_t atLeast) {
    for (int i = 0; i < 20000; ++i) {
      if (Temporaries().size() >= atLeast) return true;
      int status = 0;
      if (::waitpid(pid, &status, WNOHANG) == pid) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return false;
  }

  static std::string Surname(const fs::path& letter) {
    auto word = docx::DocxApplication::Create();
    auto doc =
        word->Documents()->Add(FromUtf8(letter.string()), platform::kFalse, 0, platform::kTrue);
    auto props = doc->CustomDocumentProperties();
    for (int32_t i = 1; i <= props->Count(); ++i) {
      if (props->Item(i)->Name() == u"OUTLOOK$姓")
        return ToUtf8(props->Item(i)->Value().ToString());
    }
    return "<none>";
  }

  fs::path dir_;
};

struct FileState {
  std::string bytes;
  timespec modified;
};

FileState StateOf(const fs::path& path) {
  struct stat st = {};
  ::stat(path.c_str(), &st);
  return {testing::ReadFileText(path), st.st_mtim};
}

TEST_F(SaveDurabilityTest, TemplateBytesAndTimeStayAfterALetterAndABatch) {
  const FileState before = StateOf(dir_ / "template.dotx");
  const std::vector<std::vector<std::string>> runs = {
      {"--yes", "-o", "out/one.docx", "contacts.vcf", "template.dotx"},
      {"--yes", "--each", "-c", "1,2,3", "-o", "out", "contacts.vcf", "template.dotx"}};
  for (const auto& args : runs) {
    const auto r = testing::RunCommand(SENDNOTE_COMMAND, args, dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    const FileState after = StateOf(dir_ / "template.dotx");
    EXPECT_EQ(after.bytes, before.bytes);
    EXPECT_EQ(after.modified.tv_sec, before.modified.tv_sec);
    EXPECT_EQ(after.modified.tv_nsec, before.modified.tv_nsec);
    EXPECT_TRUE(Temporaries().empty());
  }
  EXPECT_EQ(Surname(dir_ / "out/one.docx"), "山田1");
  EXPECT_EQ(Surname(dir_ / "out/template 山田3 太郎.docx"), "山田3");
}

TEST_F(SaveDurabilityTest, KilledBatchLeavesWholeLettersAndTheNextRunTidiesUp) {
  // A first batch writes every letter; the killed one replaces them (--force).
  const auto first = testing::RunCommand(SENDNOTE_COMMAND, EachArgs(), dir_);
  ASSERT_EQ(first.status, 0) << first.err;
  const pid_t pid = Start(EachArgs());
  ASSERT_GT(pid, 0);
  const bool midway = WaitForTemporaries(pid, 20);
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  ASSERT_TRUE(midway) << "the batch ended before it could be killed";
  EXPECT_FALSE(Temporaries().empty());  // nothing could remove them

  int letters = 0;
  for (const auto& e : fs::directory_iterator(dir_ / "out")) {
    if (e.path().extension() != ".docx") continue;
    ++letters;
    const std::string name = e.path().filename().string();
    // "template 山田N 太郎.docx": the surname is the second word.
    const size_t first = std::string("template ").size();
    EXPECT_EQ(Surname(e.path()), name.substr(first, name.find(' ', first) - first)) << name;
  }
  EXPECT_EQ(letters, kContacts);

  const auto r = testing::RunCommand(
      SENDNOTE_COMMAND,
      {"--yes", "--force", "--each", "-o", "out", "contacts.vcf", "template.dotx"}, dir_);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Temporaries().empty());
  EXPECT_EQ(Surname(dir_ / "out/template 山田1 太郎.docx"), "山田1");
}

// A batch of 2,000 killed at a random moment goes on with --skip-existing: every letter
// whole and there once, no temporary file left; a rerun refused because letters exist
// removes the killed batch's temporary files all the same.
TEST_F(SaveDurabilityTest, AKilledBatchResumesWithSkipExisting) {
  constexpr int kBatch = 2000;
  WriteContacts("batch.vcf", kBatch);
  std::string selection = "1";
  for (int i = 2; i <= kBatch; ++i) selection.append(",").append(std::to_string(i));
  std::vector<std::string> all{"--yes", "--each", "-c",        selection,
                               "-o",    "out",    "batch.vcf", "template.dotx"};
  std::random_device seed;
  const size_t moment = 1 + seed() % (kBatch - 100);
  SCOPED_TRACE(moment);
  const pid_t pid = Start(all);
  ASSERT_GT(pid, 0);
  for (int i = 0; i < 200000 && Letters() + Temporaries().size() < moment; ++i) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) break;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  const size_t before = Letters();

  if (before > 0) {
    const auto refused = testing::RunCommand(SENDNOTE_COMMAND, all, dir_);
    EXPECT_EQ(refused.status, 2) << refused.err;
    EXPECT_TRUE(Temporaries().empty());
  }
  all.insert(all.begin() + 1, "--skip-existing");
  const auto r = testing::RunCommand(SENDNOTE_COMMAND, all, dir_);
  ASSERT_EQ(r.status, 0) << r.err;
  if (before > 0) {
    EXPECT_NE(r.err.find("sendnote: " + std::to_string(before) + " letter"), std::string::npos)
        << r.err;
  }
  EXPECT_EQ(Letters(), static_cast<size_t>(kBatch));
  EXPECT_TRUE(Temporaries().empty());
  for (int i = 1; i <= kBatch; ++i) {
    const std::string surname = "山田" + std::to_string(i);
    EXPECT_EQ(Surname(dir_ / "out" / ("template " + surname + " 太郎.docx")), surname);
  }
  // All there: nothing to write, and nothing written.
  const auto again = testing::RunCommand(SENDNOTE_COMMAND, all, dir_);
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out, "");
  EXPECT_NE(again.err.find("2000 letters skipped"), std::string::npos) << again.err;
}

TEST_F(SaveDurabilityTest, InterruptedBatchRemovesItsTemporaryFiles) {
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    const pid_t pid = Start(EachArgs());
    ASSERT_GT(pid, 0);
    const bool midway = WaitForTemporaries(pid, 20);
    ::kill(pid, signal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(midway) << "the batch ended before it could be interrupted";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
    EXPECT_TRUE(Temporaries().empty());
  }
}

}  // namespace
}  // namespace sendnote
