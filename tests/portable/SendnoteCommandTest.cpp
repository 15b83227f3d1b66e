// The built command on real files: letters from the example contacts, the system's
// refusals with exit status 1, unusable input with exit status 2, and nothing written
// or changed on any failure.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "docx/DocxApplication.h"
#include "platform/Utf.h"
#include "platform/Word.h"
#include "tests/portable/CommandRunner.h"
#include "tests/portable/contacts/ProducerCards.h"
#include "tests/support/LibreOfficeText.h"
#include "tests/support/VersionText.h"

namespace sendnote {
namespace {

namespace fs = std::filesystem;
using platform::FromUtf8;
using platform::ToUtf8;
using testing::CommandResult;
using testing::ReadFileText;

const fs::path kExamples = SENDNOTE_EXAMPLES;
const fs::path kTemplate = kExamples / "添書票.dotx";

class SendnoteCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("sendnote-e2e-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    templateBytes_ = ReadFileText(kTemplate);
  }
  void TearDown() override {
    // The template is never modified, whatever the command did.
    EXPECT_EQ(ReadFileText(kTemplate), templateBytes_);
    fs::remove_all(dir_);
  }

  CommandResult Run(std::vector<std::string> args) {
    return testing::RunCommand(SENDNOTE_COMMAND, args, dir_);
  }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }

  // Files in the work folder besides the ones the test wrote.
  std::vector<std::string> Letters() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_))
      if (e.path().extension() == ".docx") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Returns the text of a custom property of a written letter, read back through the
  // Word engine, or "<none>".
  static std::string Property(const fs::path& letter, const std::u16string& name) {
    auto word = docx::DocxApplication::Create();
    auto doc =
        word->Documents()->Add(FromUtf8(letter.string()), platform::kFalse, 0, platform::kTrue);
    auto props = doc->CustomDocumentProperties();
    for (int32_t i = 1; i <= props->Count(); ++i) {
      auto p = props->Item(i);
      if (p->Name() == name) return ToUtf8(p->Value().ToString());
    }
    return "<none>";
  }

  // The results of the letter's fields, in order (body, then text boxes).
  static std::vector<std::string> FieldResults(const fs::path& letter) {
    auto word = docx::DocxApplication::Create();
    auto doc =
        word->Documents()->Add(FromUtf8(letter.string()), platform::kFalse, 0, platform::kTrue);
    std::vector<std::string> results;
    auto collect = [&](const std::shared_ptr<platform::Fields>& fields) {
      for (int32_t i = 1; i <= fields->Count(); ++i)
        results.push_back(ToUtf8(fields->Item(i)->Result()->Text()));
    };
    collect(doc->Fields());
    auto shapes = doc->Shapes();
    for (int32_t i = 1; i <= shapes->Count(); ++i)
      collect(shapes->Item(i)->TextFrame()->TextRange()->Fields());
    return results;
  }

  fs::path dir_;
  std::string templateBytes_;
};

TEST_F(SendnoteCommandTest, WritesALetterFromEachExampleContactFile) {
  struct Case {
    std::string file;
    std::string letter;
    std::string addressee;
    std::string upper, lower;
  };
  const Case cases[] = {
      {"contacts-outlook21.vcf", "添書票 山田 太郎.docx", "株式会社山田商事 本社 営業部 山田",
       "100", "0005"},
      {"contacts-v30.vcf", "添書票 鈴木 一郎.docx", "鈴木精機株式会社 技術部, 第一課 鈴木", "220",
       "8115"},
      {"contacts.csv", "添書票 高橋 健.docx", "高橋物産株式会社 名古屋支社 輸入部 高橋", "460",
       "0008"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const auto r = Run({"--yes", (kExamples / c.file).string(), kTemplate.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.letter + "\n");
    const fs::path letter = dir_ / c.letter;
    ASSERT_TRUE(fs::exists(letter));
    EXPECT_EQ(Property(letter, u"SENDNOTE$PREFIX"), "OUTLOOK$");
    EXPECT_EQ(Property(letter, u"OUTLOOK$宛先"), c.addressee);
    EXPECT_EQ(Property(letter, u"OUTLOOK$郵便番号上位"), c.upper);
    EXPECT_EQ(Property(letter, u"OUTLOOK$郵便番号下位"), c.lower);
    const auto results = FieldResults(letter);
    EXPECT_NE(std::find(results.begin(), results.end(), c.addressee), results.end());
    EXPECT_EQ(std::count_if(results.begin(), results.end(),
                            [](const std::string& s) { return s.find("«") != std::string::npos; }),
              0)
        << "a field still shows its placeholder";
  }
}

TEST_F(SendnoteCommandTest, OptionsChooseContactAddressPrefixAndOutput) {
  const auto r = Run({"-c", "2", "-a", "business", "-p", "ABC$", "-o", "letter.docx",
                      (kExamples / "contacts-outlook21.vcf").string(), kTemplate.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "letter.docx\n");
  const fs::path letter = dir_ / "letter.docx";
  EXPECT_EQ(Property(letter, u"SENDNOTE$PREFIX"), "ABC$");
  EXPECT_EQ(Property(letter, u"ABC$姓"), "佐藤");
  EXPECT_EQ(Property(letter, u"ABC$会社名"), "表参道ソフト能力開発株式会社");
  EXPECT_EQ(Property(letter, u"ABC$番地"), "中之島2-3-4");  // business, not her home
  EXPECT_EQ(Property(letter, u"OUTLOOK$姓"), "<none>");
  // The template's fields were renamed to the new prefix and show the values.
  const auto results = FieldResults(letter);
  EXPECT_NE(std::find(results.begin(), results.end(), "佐藤"), results.end());
}

TEST_F(SendnoteCommandTest, EachWritesOneLetterPerContactIntoTheFolder) {
  const auto r = Run({"--yes", "--each", "-c", "1,2", "-o", "out",
                      (kExamples / "contacts.csv").string(), kTemplate.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "out/添書票 高橋 健.docx\nout/添書票 伊藤 美咲.docx\n");
  EXPECT_EQ(Property(dir_ / "out/添書票 伊藤 美咲.docx", u"OUTLOOK$郵便番号上位"), "060");
}

TEST_F(SendnoteCommandTest, EachNumbersAThousandLettersToOneNameOnce) {
  std::string csv = "\"姓\",\"名\",\"番地 (自宅)\",\"郵便番号 (自宅)\"\n";
  std::string selection;
  for (int i = 1; i <= 1000; ++i) {
    csv += "\"山田\",\"太郎\",\"桜町" + std::to_string(i) + "\",\"150-8512\"\n";
    if (i > 1) selection += ',';
    selection += std::to_string(i);
  }
  Write("same.csv", csv);
  const auto r =
      Run({"--yes", "--each", "-c", selection, "-o", "out", "same.csv", kTemplate.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  size_t lines = 0;
  for (const char c : r.out) lines += c == '\n';
  EXPECT_EQ(lines, 1000u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "out"), fs::directory_iterator()), 1000);
  EXPECT_TRUE(fs::exists(dir_ / "out/添書票 山田 太郎.docx"));
  EXPECT_TRUE(fs::exists(dir_ / "out/添書票 山田 太郎 (2).docx"));
  EXPECT_EQ(Property(dir_ / "out/添書票 山田 太郎 (1000).docx", u"OUTLOOK$番地"), "桜町1000");
}

TEST_F(SendnoteCommandTest, ExistingLetterIsKeptUnlessForced) {
  Write("letter.docx", "keep me");
  const std::vector<std::string> args{"-y", "-o", "letter.docx",
                                      (kExamples / "contacts.csv").string(), kTemplate.string()};
  auto r = Run(args);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--force"), std::string::npos);
  EXPECT_EQ(ReadFileText(dir_ / "letter.docx"), "keep me");

  auto forced = args;
  forced.insert(forced.begin(), "--force");
  r = Run(forced);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Property(dir_ / "letter.docx", u"OUTLOOK$姓"), "高橋");
}

TEST_F(SendnoteCommandTest, ARefusalBoxReachesTheUserWithStatusOneAndNoLetter) {
  Write("nomail.vcf",
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nEMAIL:a@example.com\r\nEND:VCARD\r\n");
  const auto r = Run({"-y", "nomail.vcf", kTemplate.string()});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("無題 の連絡先アイテムに郵送先の住所がチェックされていません。"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(Letters().empty());
}

// A template that cannot be used is a file on the command line: status 2 and one line that
// says why, before any box or question.
TEST_F(SendnoteCommandTest, AnUnusableTemplateIsRefusedBeforeAnyBoxWithStatusTwo) {
  Write("old.dot", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + "binary template");
  Write("broken.dotx", "this is not a package");
  fs::copy_file(kExamples / "contacts.csv", dir_ / "plain.docx");
  const std::string csv = (kExamples / "contacts.csv").string();
  const std::string reads =
      "this edition reads .dotx and .dotm templates (a .dot or .docx is not one)";
  const std::pair<std::string, std::string> cases[] = {
      {"plain.docx", "sendnote: plain.docx is not a template: " + reads},
      {"old.dot", "sendnote: old.dot cannot be opened: " + reads},
      {"broken.dotx",
       "sendnote: broken.dotx cannot be opened: The file is not a Word document package: not a "
       "zip archive"},
      {"missing.dotx",
       "sendnote: missing.dotx cannot be opened: This file could not be found. (missing.dotx)"},
  };
  for (const auto& [file, line] : cases) {
    SCOPED_TRACE(file);
    for (const bool each : {false, true}) {
      std::vector<std::string> args{"-o", "out", csv, file};
      if (each) args.insert(args.begin(), "--each");
      const auto r = Run(args);  // no -y: a question would be answered, not refused
      EXPECT_EQ(r.status, 2) << r.err;
      EXPECT_EQ(r.err, line + "\n");
      EXPECT_EQ(r.out, "");
      EXPECT_FALSE(fs::exists(dir_ / "out"));
    }
  }
  // An entry the letter would only copy, damaged: a batch finds it before any box; one
  // letter finds it as it copies the entry (a second pass over a large template would cost
  // more than the check). Either way the entry is named and nothing is written.
  std::string damaged = templateBytes_;
  const size_t theme = damaged.find("word/theme/theme1.xml");
  ASSERT_NE(theme, std::string::npos);
  damaged[theme + 300] = static_cast<char>(damaged[theme + 300] ^ 0x10);
  Write("damaged.dotx", damaged);
  const std::string named =
      "The file is not a Word document package: entry "
      "word/theme/theme1.xml is damaged: ";
  auto r = Run({"--each", "-o", "out", csv, "damaged.dotx"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("sendnote: damaged.dotx cannot be opened: " + named, 0), 0u) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
  EXPECT_FALSE(fs::exists(dir_ / "out"));
  r = Run({"-o", "letter.docx", csv, "damaged.dotx"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("sendnote: cannot write letter.docx: " + named), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(fs::exists(dir_ / "letter.docx"));
}

// The line that follows `box` in `err`, or "<no box>".
std::string LineAfter(const std::string& err, const std::string& box) {
  const size_t at = err.find(box);
  if (at == std::string::npos) return "<no box>";
  const size_t start = err.find('\n', at);
  if (start == std::string::npos) return "";
  return err.substr(start + 1, err.find('\n', start + 1) - start - 1);
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// A vCard 2.1 as Outlook writes it when the contact marks no mailing address.
std::string UnmarkedCard(bool withBusiness) {
  std::string card =
      "BEGIN:VCARD\r\nVERSION:2.1\r\nN:山田;太郎\r\n"
      "ADR;HOME:;;桜町1;渋谷区;東京都;150-8512;\r\n";
  if (withBusiness) card += "ADR;WORK:;;丸の内1;千代田区;東京都;100-0005;\r\n";
  return card + "X-MS-OL-DEFAULT-POSTAL-ADDRESS:0\r\nEND:VCARD\r\n";
}

// Only a regular file (or nothing) is replaced: anything else under the letter's name is
// refused by its kind, with or without --force, and stays as it was.
TEST_F(SendnoteCommandTest, OnlyARegularFileIsEverReplaced) {
  const std::string csv = (kExamples / "contacts.csv").string();
  ASSERT_EQ(::mkfifo((dir_ / "fifo.docx").c_str(), 0600), 0);
  fs::create_directory(dir_ / "folder.docx");
  Write("target.txt", "kept");
  fs::create_symlink("target.txt", dir_ / "link.docx");
  std::vector<std::pair<std::string, std::string>> cases = {
      {"fifo.docx", "a FIFO"}, {"folder.docx", "a folder"}, {"link.docx", "a symbolic link"}};
  // As root, a device node like /dev/null (which a rename would replace).
  if (::geteuid() == 0 &&
      ::mknod((dir_ / "null.docx").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
    cases.emplace_back("null.docx", "a character device");
  }
  for (const auto& [name, kind] : cases) {
    for (const bool force : {false, true}) {
      SCOPED_TRACE(name + (force ? " -f" : ""));
      struct stat before {};
      ASSERT_EQ(::lstat((dir_ / name).c_str(), &before), 0);
      std::vector<std::string> args{"-y", "-o", name, csv, kTemplate.string()};
      if (force) args.insert(args.begin(), "-f");
      const auto r = Run(args);
      EXPECT_EQ(r.status, 2);
      EXPECT_EQ(r.err, "sendnote: " + name + " is " + kind + "; only a regular file is replaced\n");
      struct stat after {};
      ASSERT_EQ(::lstat((dir_ / name).c_str(), &after), 0);
      EXPECT_EQ(after.st_mode, before.st_mode);
      EXPECT_EQ(after.st_ino, before.st_ino);
    }
  }
  EXPECT_EQ(ReadFileText(dir_ / "target.txt"), "kept");
  EXPECT_EQ(Letters().size(), cases.size());  // what was there, and no letter besides
}

// The letter never takes the place of its own inputs, under any name of theirs.
TEST_F(SendnoteCommandTest, TheLetterReplacesNeitherItsContactsNorItsTemplate) {
  Write("book.csv", ReadFileText(kExamples / "contacts.csv"));
  fs::copy_file(kTemplate, dir_ / "t.dotx");
  fs::create_hard_link(dir_ / "book.csv", dir_ / "book.docx");
  fs::create_hard_link(dir_ / "t.dotx", dir_ / "t.docx");
  const std::string book = ReadFileText(dir_ / "book.csv");
  const std::string templateBytes = ReadFileText(dir_ / "t.dotx");
  const std::pair<std::string, std::string> cases[] = {
      {"book.csv", "contacts file"},
      {"book.docx", "contacts file"},
      {"./t.docx", "template"},
  };
  for (const auto& [output, what] : cases) {
    SCOPED_TRACE(output);
    const auto r = Run({"-y", "-f", "-o", output, "book.csv", "t.dotx"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "sendnote: the letter would replace its " + what + ": " + output + "\n");
  }
  EXPECT_EQ(ReadFileText(dir_ / "book.csv"), book);
  EXPECT_EQ(ReadFileText(dir_ / "t.dotx"), templateBytes);
}

// A replaced letter keeps the permissions of the file it replaces, and as root its owner.
TEST_F(SendnoteCommandTest, AReplacedLetterKeepsItsModeAndOwner) {
  const std::string csv = (kExamples / "contacts.csv").string();
  for (const mode_t mode : {0600, 0640, 0444}) {
    SCOPED_TRACE(mode);
    Write("letter.docx", "older letter");
    ASSERT_EQ(::chmod((dir_ / "letter.docx").c_str(), mode), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
      ASSERT_EQ(::chown((dir_ / "letter.docx").c_str(), 4321, 8765), 0);
    }
    const auto r = Run({"-y", "-f", "-o", "letter.docx", csv, kTemplate.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    struct stat st {};
    ASSERT_EQ(::stat((dir_ / "letter.docx").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
    if (root) {
      EXPECT_EQ(st.st_uid, 4321u);
      EXPECT_EQ(st.st_gid, 8765u);
    }
    EXPECT_EQ(Property(dir_ / "letter.docx", u"OUTLOOK$姓"), "高橋");
    fs::remove(dir_ / "letter.docx");
  }
}

// What a contact file holds reaches the terminal with its control characters made visible:
// a name cannot forge a --list row, move the cursor or retitle the window.
TEST_F(SendnoteCommandTest, ControlCharactersFromAContactFileAreShownAsEscapes) {
  Write("hostile.vcf",
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田\x1b[2J;太郎\r\nORG:A\tB\\n2\tforged\xc2\x9b\r\n"
        "ADR;TYPE=HOME,PREF:;;桜町1\x07;渋谷区;東京都;150-8512;\r\nEND:VCARD\r\n"
        "stray \x1b]0;title\x07 text\r\n"
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:鈴木;一郎\r\nEND:VCARD\r\n");
  auto r = Run({"--list", "hostile.vcf"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string out = r.out;
  EXPECT_EQ(Count(out, "\n"), 2u) << out;
  EXPECT_EQ(out.find('\x1b'), std::string::npos) << out;
  EXPECT_EQ(out.find('\x07'), std::string::npos) << out;
  EXPECT_EQ(out.find("\xc2\x9b"), std::string::npos) << out;
  EXPECT_NE(out.find("\\x1b[2J"), std::string::npos) << out;
  EXPECT_NE(out.find("\tA\\tB\\n2\\tforged\\u009b\t"), std::string::npos) << out;
  EXPECT_NE(out.find("\t桜町1\\a\n"), std::string::npos) << out;
  EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << r.err;

  // Nor a letter's name (printed as its path) or a message.
  r = Run({"-y", "--each", "-o", "out", "hostile.vcf", kTemplate.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const std::string& text : {r.out, r.err}) {
    EXPECT_EQ(text.find('\x1b'), std::string::npos) << text;
    EXPECT_EQ(text.find('\x07'), std::string::npos) << text;
  }
  EXPECT_EQ(r.out, "out/添書票 山田_[2J 太郎.docx\n");
}

TEST_F(SendnoteCommandTest, RefusalBoxesAreFollowedByALineThatSaysWhatToDo) {
  Write("nomail.vcf",
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nEMAIL:a@example.com\r\nEND:VCARD\r\n");
  Write("unmarked.vcf", UnmarkedCard(true));
  Write("home.vcf", UnmarkedCard(false));
  const std::string noMailing = "の連絡先アイテムに郵送先の住所がチェックされていません。";
  struct Case {
    std::vector<std::string> args;
    std::string box;
    std::string note;
  };
  const Case cases[] = {
      {{"nomail.vcf", kTemplate.string()},
       noMailing,
       "sendnote: the contact has no home, business or other address"},
      {{"unmarked.vcf", kTemplate.string()},
       noMailing,
       "sendnote: none of the contact's addresses (home, business) is marked as its mailing "
       "address: -a home|business picks one"},
      {{"-a", "other", "home.vcf", kTemplate.string()},
       noMailing,
       "sendnote: the contact's home address is not marked as its mailing address: -a home "
       "picks it"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.note);
    auto args = c.args;
    args.insert(args.begin(), "-y");
    const auto r = Run(args);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(LineAfter(r.err, c.box), c.note) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Letters().empty());
  }
}

TEST_F(SendnoteCommandTest, AddressOptionPicksTheAddressOfAContactThatMarksNone) {
  Write("unmarked.vcf", UnmarkedCard(true));
  const auto r =
      Run({"-y", "-a", "business", "-o", "letter.docx", "unmarked.vcf", kTemplate.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Property(dir_ / "letter.docx", u"OUTLOOK$番地"), "丸の内1");
  EXPECT_EQ(Property(dir_ / "letter.docx", u"OUTLOOK$郵便番号上位"), "100");
}

TEST_F(SendnoteCommandTest, AWriteFailureSaysTheLetterCouldNotBeWrittenAndWhy) {
  // Under a file size limit smaller than a letter every write of one fails.
  const std::string limited = "trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\"";
  const std::string csv = (kExamples / "contacts.csv").string();
  const std::string longName = std::string(300, 'x') + ".docx";
  struct Case {
    bool limit;
    std::vector<std::string> args;
    std::vector<std::string> outputs;
    std::string reason;
  };
  const Case cases[] = {
      {false, {"-o", longName, csv}, {longName}, std::strerror(ENAMETOOLONG)},
      {true, {"-o", "letter.docx", csv}, {"letter.docx"}, std::strerror(EFBIG)},
      {true,
       {"--each", "-c", "1,2", "-o", "out", csv},
       {"out/添書票 高橋 健.docx", "out/添書票 伊藤 美咲.docx"},
       std::strerror(EFBIG)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.outputs.front());
    std::vector<std::string> args{"-y"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back(kTemplate.string());
    CommandResult r;
    if (c.limit) {
      args.insert(args.begin(), {"-c", limited, SENDNOTE_COMMAND});
      r = testing::RunCommand("/bin/sh", args, dir_);
    } else {
      r = Run(args);
    }
    EXPECT_EQ(r.status, 1) << r.err;
    for (const auto& output : c.outputs) {
      std::string start = "sendnote: cannot write ";
      start.append(output).append(": ");
      const size_t at = r.err.find(start);
      ASSERT_NE(at, std::string::npos) << r.err;
      const std::string line = r.err.substr(at, r.err.find('\n', at) - at);
      EXPECT_NE(line.find(c.reason), std::string::npos) << line;
    }
    EXPECT_EQ(r.err.find("not a Word document package"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Letters().empty());
    if (fs::exists(dir_ / "out")) {
      EXPECT_TRUE(fs::is_empty(dir_ / "out"));  // no letter and no temporary file
    }
  }
}

TEST_F(SendnoteCommandTest, EachWithoutATerminalPrintsOneLinePerLetterAndTheAnswersOnce) {
  Write("three.csv",
        "\"姓\",\"名\",\"番地 (自宅)\"\n\"山田\",\"太郎\",\"桜町1\"\n"
        "\"佐藤\",\"花子\",\"桜町2\"\n\"鈴木\",\"一郎\",\"桜町3\"\n");
  const auto r =
      Run({"-p", "NEW$", "--each", "-c", "1,2,3", "-o", "out", "three.csv", kTemplate.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "out/添書票 山田 太郎.docx\nout/添書票 佐藤 花子.docx\nout/添書票 鈴木 一郎.docx\n");
  EXPECT_EQ(Count(r.err, "出力先: "), 1u) << r.err;
  EXPECT_EQ(Count(r.err, "よろしいですか？"), 1u) << r.err;
  EXPECT_EQ(Count(r.err, "接頭句を入力してください。"), 1u) << r.err;
  EXPECT_EQ(r.err.find('\r'), std::string::npos);
  for (const char* name : {"山田 太郎", "佐藤 花子", "鈴木 一郎"}) {
    const fs::path letter = dir_ / "out" / std::string("添書票 ").append(name).append(".docx");
    EXPECT_EQ(Property(letter, u"SENDNOTE$PREFIX"), "NEW$") << name;
  }
}

TEST_F(SendnoteCommandTest, EachOnATerminalAsksOnceAndShowsAProgressLineThatOverwritesItself) {
  if (!fs::exists("/usr/bin/script")) GTEST_SKIP() << "script(1) is not installed";
  Write("three.csv",
        "\"姓\",\"名\",\"番地 (自宅)\"\n\"山田\",\"太郎\",\"桜町1\"\n"
        "\"佐藤\",\"花子\",\"桜町2\"\n\"鈴木\",\"一郎\",\"桜町3\"\n");
  Write("answers.txt", "n\nNEW$\n");  // the prefix question: No, then the new prefix
  std::string command = ShellQuoted(SENDNOTE_COMMAND);
  for (const char* arg : {"--each", "-c", "1,2,3", "-o", "out", "three.csv"})
    command.append(" ").append(ShellQuoted(arg));
  command.append(" ").append(ShellQuoted(kTemplate.string()));
  // script(1) runs the command on a terminal of its own and copies what it shows.
  const auto r = testing::RunCommand("/usr/bin/script", {"-qec", command, "/dev/null"}, dir_,
                                     dir_ / "answers.txt");
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string& shown = r.out;
  EXPECT_EQ(Count(shown, "出力先: "), 1u) << shown;
  EXPECT_EQ(Count(shown, "よろしいですか？"), 1u) << shown;
  EXPECT_EQ(Count(shown, "接頭句を入力してください。"), 1u) << shown;
  const std::string clear = "\r\x1b[K";
  for (const char* line :
       {"1/3 添書票 山田 太郎.docx", "2/3 添書票 佐藤 花子.docx", "3/3 添書票 鈴木 一郎.docx"}) {
    EXPECT_EQ(Count(shown, clear + line + clear), 1u) << line << "\n" << shown;
  }
  // The paths are not listed on the terminal; the progress line is cleared for the result.
  EXPECT_EQ(Count(shown, "out/"), 0u) << shown;
  EXPECT_NE(shown.find(clear + "3 letters written into out\r\n"), std::string::npos) << shown;
  for (const char* name : {"山田 太郎", "佐藤 花子", "鈴木 一郎"}) {
    const fs::path letter = dir_ / "out" / std::string("添書票 ").append(name).append(".docx");
    EXPECT_EQ(Property(letter, u"SENDNOTE$PREFIX"), "NEW$") << name;
  }
}

// Producers' cards with one that cannot be read (contact 2, its bad value on line 13).
std::string BookWithABrokenCard() {
  using namespace testing::cards;
  std::string book(kAndroidCard);
  book +=
      "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Broken;Card\r\n"
      "FN;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=82\r\nEND:VCARD\r\n";
  book += kIphoneCard;
  book += kGmailCard;
  book += kOutlookByProdid;
  return book;
}

TEST_F(SendnoteCommandTest, AnUnreadableCardIsListedAndStopsOnlyTheLetterThatSelectsIt) {
  Write("book.vcf", BookWithABrokenCard());
  const std::string problem = "book.vcf, line 13: the value is not valid SHIFT_JIS text";
  auto r = Run({"--list", "book.vcf"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      r.out,
      "1\t山田 太郎\t\thome\t150-0031\t東京都\t渋谷区\t桜丘町1-2 さくらビル3F\n"
      "2\t(unreadable)\tline 13: the value is not valid SHIFT_JIS text\n"
      "3\t山田 花子\t株式会社テスト\tbusiness\t150-0043\t東京都\t渋谷区\t道玄坂1-2-3 渋谷ビル5F\n"
      "4\t鈴木 一郎\t\thome\t220-0012\t神奈川県\t横浜市西区\tみなとみらい3-3-3 15階\n"
      "5\t佐藤 次郎\t佐藤工業株式会社\tbusiness\t530-0005\t大阪府\t大阪市北区\t中之島2-3-4\n");

  for (const char* selection : {"2", "1,2"}) {
    r = Run({"-y", "-c", selection, "book.vcf", kTemplate.string()});
    EXPECT_EQ(r.status, 2) << selection;
    EXPECT_EQ(r.err, "sendnote: contact 2 cannot be read: " + problem + "\n");
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Letters().empty());
  }

  r = Run({"-y", "--each", "-c", "1,2,3,4,5", "-o", "out", "book.vcf", kTemplate.string()});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("sendnote: contact 2 cannot be read: " + problem + "\n"), std::string::npos)
      << r.err;
  EXPECT_EQ(r.out,
            "out/添書票 山田 太郎.docx\nout/添書票 山田 花子.docx\nout/添書票 鈴木 一郎.docx\n"
            "out/添書票 佐藤 次郎.docx\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "out"), fs::directory_iterator()), 4);

  // Each producer's address as the letter's properties hold it (lines joined by a blank).
  struct Value {
    const char* letter;
    std::u16string name;
    std::string value;
  };
  const Value values[] = {
      {"添書票 山田 太郎", u"OUTLOOK$番地", "桜丘町1-2 さくらビル3F"},
      {"添書票 山田 太郎", u"OUTLOOK$住所", "150-0031 東京都渋谷区桜丘町1-2 さくらビル3F"},
      {"添書票 山田 太郎", u"OUTLOOK$郵便番号下位", "0031"},
      {"添書票 山田 花子", u"OUTLOOK$番地", "道玄坂1-2-3 渋谷ビル5F"},
      {"添書票 山田 花子", u"OUTLOOK$住所", "150-0043 東京都渋谷区道玄坂1-2-3 渋谷ビル5F"},
      {"添書票 山田 花子", u"OUTLOOK$宛先", "株式会社テスト 開発部 山田"},
      {"添書票 山田 花子", u"OUTLOOK$事業所", ""},
      // Gmail writes the address on one line: the reader splits it.
      {"添書票 鈴木 一郎", u"OUTLOOK$番地", "みなとみらい3-3-3 15階"},
      {"添書票 鈴木 一郎", u"OUTLOOK$郵便番号上位", "220"},
      {"添書票 鈴木 一郎", u"OUTLOOK$メールアドレス", "ichiro@example.com"},
      {"添書票 佐藤 次郎", u"OUTLOOK$事業所", "大阪支店"},
      {"添書票 佐藤 次郎", u"OUTLOOK$宛先", "佐藤工業株式会社 大阪支店 総務部 佐藤"},
      {"添書票 佐藤 次郎", u"OUTLOOK$番地", "中之島2-3-4"},
      {"添書票 佐藤 次郎", u"OUTLOOK$郵便番号上位", "530"},
  };
  for (const auto& v : values) {
    const fs::path letter = dir_ / "out" / (std::string(v.letter) + ".docx");
    EXPECT_EQ(Property(letter, v.name), v.value) << v.letter << " " << ToUtf8(v.name);
  }
}

TEST_F(SendnoteCommandTest, EachOverOnlyUnreadableSelectedContactsWritesNothing) {
  Write("book.vcf", BookWithABrokenCard());
  const auto r = Run({"-y", "--each", "-c", "2", "-o", "out", "book.vcf", kTemplate.string()});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("sendnote: contact 2 cannot be read: "), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(fs::exists(dir_ / "out"));
}

TEST_F(SendnoteCommandTest, GoogleContactsCsvWritesTheLetterAndStrangeHeadingsAreNamed) {
  Write("google.csv",
        "Name,Given Name,Family Name,E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,"
        "Phone 1 - Value,Address 1 - Type,Address 1 - Street,Address 1 - City,"
        "Address 1 - Region,Address 1 - Postal Code,Address 1 - Country,"
        "Address 1 - Extended Address,Organization 1 - Name,Organization 1 - Title,"
        "Organization 1 - Department,Organization 1 - Location,Adress 1 - City,Website 1 - Value\n"
        "山田 太郎,太郎,山田,* Work,taro@example.co.jp,Mobile,090-1111-2222,Work,丸の内1-1,"
        "千代田区,東京都,〒100ー0005,日本,山田ビル5F,株式会社山田商事,部長,営業部,本社,x,"
        "http://example.jp\n");
  auto r = Run({"-y", "-o", "letter.docx", "google.csv", kTemplate.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("warning"), r.err.rfind("warning")) << r.err;  // once
  EXPECT_NE(r.err.find("sendnote: warning: google.csv: the column \"Adress 1 - City\" is "
                       "ignored: it is not a heading of a Google Contacts export (\"Address 1 - "
                       "City\" is)\n"),
            std::string::npos)
      << r.err;
  const fs::path letter = dir_ / "letter.docx";
  const std::pair<std::u16string, std::string> values[] = {
      {u"OUTLOOK$宛先", "株式会社山田商事 本社 営業部 山田"},
      {u"OUTLOOK$役職", "部長"},
      {u"OUTLOOK$番地", "丸の内1-1 山田ビル5F"},
      {u"OUTLOOK$住所", "〒100ー0005 東京都千代田区丸の内1-1 山田ビル5F"},
      {u"OUTLOOK$郵便番号", "〒100ー0005"},
      {u"OUTLOOK$携帯電話", "090-1111-2222"},
      {u"OUTLOOK$メールアドレス", "taro@example.co.jp"},
  };
  for (const auto& [name, value] : values) EXPECT_EQ(Property(letter, name), value) << ToUtf8(name);

  Write("other.csv", "Nom,Prénom\nDupont,Jean\n");
  r = Run({"-y", "other.csv", kTemplate.string()});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("sendnote: other.csv, line 1: the headings are not those of a contact "
                        "export that this edition reads; it expects Outlook's (\"First Name\"",
                        0),
            0u)
      << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(SendnoteCommandTest, UnusableInputGetsAClearMessageAndStatusTwo) {
  std::mt19937 random(7);
  std::string noise(4096, '\0');
  for (auto& b : noise) b = static_cast<char>(random());
  Write("noise.vcf", noise);
  Write("truncated.vcf", "BEGIN:VCARD\r\nVERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE:=8ER=");
  Write("charset.vcf",
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=X-NO-SUCH;ENCODING=QUOTED-PRINTABLE:=41\r\n"
        "END:VCARD\r\n");
  {
    std::ofstream longLine(dir_ / "long.vcf", std::ios::binary);
    longLine << "BEGIN:VCARD\r\nVERSION:3.0\r\nNOTE:";
    const std::string chunk(1 << 20, 'x');
    for (int i = 0; i < 100; ++i) longLine << chunk;
    longLine << "\r\nEND:VCARD\r\n";
  }
  const std::string csv = (kExamples / "contacts.csv").string();
  const std::vector<std::vector<std::string>> cases = {
      {"noise.vcf", kTemplate.string()},         {"truncated.vcf", kTemplate.string()},
      {"charset.vcf", kTemplate.string()},       {"long.vcf", kTemplate.string()},
      {"absent.vcf", kTemplate.string()},        {"--frobnicate", csv, kTemplate.string()},
      {"-c", "9", csv, kTemplate.string()},      {"-c", "0", csv, kTemplate.string()},
      {"-a", "moon", csv, kTemplate.string()},   {csv},
      {"-p", "", csv, kTemplate.string()},       {"-p", "  ", csv, kTemplate.string()},
      {"-p", "P\x1b$", csv, kTemplate.string()},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args[0]);
    const auto r = Run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("sendnote: ", 0), 0u) << r.err;
    EXPECT_LT(r.err.size(), 2000u);  // a clear line, not a dump
    EXPECT_EQ(r.out, "");
  }
  EXPECT_TRUE(Letters().empty());
}

TEST_F(SendnoteCommandTest, ListHelpAndVersion) {
  auto r = Run({"--list", (kExamples / "contacts-outlook21.vcf").string()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(
      r.out,
      "1\t山田 太郎\t株式会社山田商事\tbusiness\t１００－０００５\t東京都\t千代田区\t丸の内1-2-3\n"
      "2\t佐藤 花子\t表参道ソフト能力開発株式会社\thome\t530-0001\t大阪府\t大阪市北区\t"
      "梅田1-1-1 ソレイユ梅田201\n");
  r = Run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Usage: sendnote [OPTIONS] CONTACTS TEMPLATE"), std::string::npos);
  // In the build tree the help pages lie beside the program.
  const fs::path program = SENDNOTE_COMMAND;
  EXPECT_NE(r.out.find("\nHelp pages: " + (program.parent_path() / "help/index.html").string()),
            std::string::npos)
      << r.out;
  r = Run({"--version"});
  EXPECT_EQ(r.out, "sendnote " + test_support::FullVersion() + "\n");
}

// An Android export with the address on one line, after a header line: --list and the
// letter (whose template has a field for each part) show the same parts.
TEST_F(SendnoteCommandTest, AOneLineAddressIsListedAndWrittenInItsParts) {
  using namespace testing::cards;
  Write("android.vcf", "Exported by Contacts\r\n" + std::string(kAndroidOneLineCard) + "--\r\n" +
                           std::string(kAndroidCard));
  auto r = Run({"--list", "android.vcf"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "1\t桜丘 花子\t\tbusiness\t\t東京都\t渋谷区\t桜丘町26-1セルリアンタワー6階\n"
            "2\t山田 太郎\t\thome\t150-0031\t東京都\t渋谷区\t桜丘町1-2 さくらビル3F\n");
  EXPECT_EQ(
      r.err,
      "sendnote: warning: android.vcf, line 1: text outside the cards is skipped (2 lines)\n");

  r = Run({"-y", "-c", "1", "-o", "letter.docx", "android.vcf", kTemplate.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const fs::path letter = dir_ / "letter.docx";
  EXPECT_EQ(Property(letter, u"OUTLOOK$都道府県"), "東京都");
  EXPECT_EQ(Property(letter, u"OUTLOOK$市町村"), "渋谷区");
  EXPECT_EQ(Property(letter, u"OUTLOOK$番地"), "桜丘町26-1セルリアンタワー6階");
  const std::vector<std::string> results = FieldResults(letter);
  const std::vector<std::string> parts = {"東京都", "渋谷区", "桜丘町26-1セルリアンタワー6階"};
  EXPECT_NE(std::search(results.begin(), results.end(), parts.begin(), parts.end()), results.end());
}

TEST_F(SendnoteCommandTest, LibreOfficeShowsTheValuesInTheLetter) {
  if (!testing::LibreOfficeInstalled()) GTEST_SKIP() << "LibreOffice is not installed";
  auto r = Run({"-y", "-o", "letter.docx", (kExamples / "contacts-outlook21.vcf").string(),
                kTemplate.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto text = testing::LibreOfficeParagraphs(dir_ / "letter.docx");
  ASSERT_TRUE(text.has_value()) << text.failure;
  for (const char* value : {"株式会社山田商事 本社 営業部 山田", "100", "0005",
                            "taro.yamada@example.com", "03-1234-5679", "千代田区"}) {
    EXPECT_TRUE(testing::ShowsValue(*text, value)) << value;
  }
  for (const auto& paragraph : *text) EXPECT_EQ(paragraph.find("«"), std::string::npos);
}

}  // namespace
}  // namespace sendnote
