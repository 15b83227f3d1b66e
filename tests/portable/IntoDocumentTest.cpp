// --into on real files: the contact written into last week's letter or a document never
// marked, in place and atomically or to -o, and the documents refused (read-only, damaged)
// left byte for byte as they were; and the terminal's answer for the open-documents output.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "docx/DocxApplication.h"
#include "docx/Zip.h"
#include "platform/Runtime.h"
#include "platform/Utf.h"
#include "portable/PortableRuntime.h"
#include "portable/TerminalUi.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"
#include "portable/hostmodel/OutlookWindows.h"
#include "system/addin/dsrOutlookToWord.h"
#include "tests/portable/CommandRunner.h"

namespace sendnote {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileText;

const fs::path kExamples = SENDNOTE_EXAMPLES;
const fs::path kTemplate = kExamples / "添書票.dotx";
const fs::path kContacts = kExamples / "contacts.csv";  // 1 高橋 健, 2 伊藤 美咲

// Every part of a package, expanded, by name.
std::map<std::string, std::string> Parts(const fs::path& package) {
  const auto zip =
      docx::ZipArchive::Open(std::make_shared<const std::string>(ReadFileText(package)));
  std::map<std::string, std::string> parts;
  for (size_t i = 0; i < zip->Entries().size(); ++i) parts[zip->Entries()[i].name] = zip->Read(i);
  return parts;
}

// The package with `part` replaced.
void ReplacePart(const fs::path& package, const std::string& part, const std::string& data) {
  const auto zip =
      docx::ZipArchive::Open(std::make_shared<const std::string>(ReadFileText(package)));
  docx::ZipEdits edits;
  for (size_t i = 0; i < zip->Entries().size(); ++i)
    if (zip->Entries()[i].name == part) edits.replaced[i] = data;
  const std::string bytes = docx::RewriteZip(*zip, edits);
  std::ofstream(package, std::ios::binary | std::ios::trunc) << bytes;
}

// Text the user typed into the letter: a paragraph at the start of the body.
std::string WithTypedParagraph(std::string document) {
  const size_t body = document.find("<w:body>");
  document.insert(body + 8, "<w:p><w:r><w:t>先日はありがとうございました。</w:t></w:r></w:p>");
  return document;
}

class IntoDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("sendnote-into-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir_, ec))
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_);
  }
  testing::CommandResult Run(std::vector<std::string> args) {
    return testing::RunCommand(SENDNOTE_COMMAND, args, dir_);
  }
  // A letter from the example template for contact `n`, answered Yes.
  fs::path Letter(const std::string& name, int n) {
    const auto r =
        Run({"-y", "-c", std::to_string(n), "-o", name, kContacts.string(), kTemplate.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    return dir_ / name;
  }

  fs::path dir_;
};

TEST_F(IntoDocumentTest, LastWeeksLetterTakesTheNewContactAndKeepsEverythingElse) {
  const fs::path letter = Letter("先週.docx", 1);
  ReplacePart(letter, "word/document.xml",
              WithTypedParagraph(Parts(letter).at("word/document.xml")));
  const auto before = Parts(letter);
  const auto fresh = Parts(Letter("新規.docx", 2));  // what the template gives for contact 2

  const auto r = Run({"-c", "2", "--into", letter.string(), kContacts.string()});

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, letter.string() + "\n");
  EXPECT_EQ(r.err.find("接頭句として"), std::string::npos) << "asked for the prefix again";
  const auto after = Parts(letter);
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [name, data] : before) {
    SCOPED_TRACE(name);
    if (name == "docProps/custom.xml") {
      EXPECT_EQ(after.at(name), fresh.at(name));  // every property: contact 2's values
    } else if (name == "word/document.xml") {
      // The fields show contact 2; the typed paragraph is still there.
      EXPECT_EQ(after.at(name), WithTypedParagraph(fresh.at(name)));
    } else if (name == "word/header1.xml") {
      EXPECT_EQ(after.at(name), fresh.at(name));
    } else {
      EXPECT_EQ(after.at(name), data);
    }
  }
  EXPECT_NE(after.at("docProps/custom.xml"), before.at("docProps/custom.xml"));
}

TEST_F(IntoDocumentTest, ADocumentNeverMarkedIsAskedForThePrefixAndWrittenAsANewOne) {
  // A document made from the template and saved before any contact was written into it.
  const fs::path plain = dir_ / "白紙.docx";
  {
    auto word = docx::DocxApplication::Create();
    auto doc = word->Documents()->Add(platform::FromUtf8(kTemplate.string()), platform::kFalse, 0,
                                      platform::kTrue);
    doc->SaveAs(platform::FromUtf8(plain.string()), false);
  }
  const auto fresh = Parts(Letter("新規.docx", 1));

  const auto r = Run({"-c", "1", "--into", plain.string(), kContacts.string()});

  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("接頭句として、OUTLOOK$ を使用します"), std::string::npos) << r.err;
  const auto after = Parts(plain);
  EXPECT_EQ(after.at("docProps/custom.xml"), fresh.at("docProps/custom.xml"));
  EXPECT_EQ(after.at("word/document.xml"), fresh.at("word/document.xml"));
}

TEST_F(IntoDocumentTest, OutputGoesToTheOtherFileAndLeavesTheDocument) {
  const fs::path letter = Letter("先週.docx", 1);
  const std::string original = ReadFileText(letter);
  const auto r = Run({"-c", "2", "--into", letter.string(), "-o", "写し.docx", kContacts.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFileText(letter), original);
  EXPECT_NE(Parts(dir_ / "写し.docx").at("docProps/custom.xml").find("伊藤"), std::string::npos);
  // An existing -o needs --force, as for a new letter.
  EXPECT_EQ(Run({"--into", letter.string(), "-o", "写し.docx", kContacts.string()}).status, 2);
}

TEST_F(IntoDocumentTest, UnusableDocumentsAreRefusedWithStatus2AndLeftAsTheyWere) {
  const fs::path readOnly = Letter("読み取り専用.docx", 1);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const fs::path damaged = dir_ / "壊れた.docx";
  std::ofstream(damaged, std::ios::binary) << "PK\x03\x04 not a package";
  struct Case {
    fs::path document;
    std::string reason;
  };
  for (const Case& c : {Case{readOnly, "read-only"}, Case{damaged, "not a Word document"},
                        Case{dir_ / "ない.docx", "no such file"}}) {
    SCOPED_TRACE(c.document.string());
    std::error_code ec;
    const bool exists = fs::exists(c.document, ec);
    const std::string bytes = exists ? ReadFileText(c.document) : "";
    const auto r = Run({"--into", c.document.string(), kContacts.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("sendnote: cannot write into " + c.document.string()), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(fs::exists(c.document, ec), exists);
    if (exists) {
      EXPECT_EQ(ReadFileText(c.document), bytes);
    }
  }
  // No temporary file is left beside them.
  int files = 0;
  for (const auto& e : fs::directory_iterator(dir_))
    files += e.path().filename().string()[0] != '.';
  EXPECT_EQ(files, 2);
}

TEST_F(IntoDocumentTest, IntoTakesNoTemplateAndNotEach) {
  const fs::path letter = Letter("先週.docx", 1);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--into", letter.string(), "--each", kContacts.string()},
        std::vector<std::string>{"--into", letter.string(), kContacts.string(),
                                 kTemplate.string()}}) {
    const auto r = Run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Try 'sendnote --help'"), std::string::npos);
  }
}

// The open-documents output on the terminal: the portable Word has no document open.
TEST(TerminalOutputsTest, OpenDocumentsOutputSaysThereIsNoneAndStartsNoWord) {
  std::istringstream in;
  std::ostringstream err;
  portable::TerminalAnswers answers;
  answers.output = 2;
  portable::TerminalUi ui(in, err, false, answers);
  int started = 0;
  portable::PortableRuntime runtime(
      ui,
      [&]() -> std::shared_ptr<platform::WordApplication> {
        ++started;
        return docx::DocxApplication::Create();
      },
      u"");
  platform::ScopedRuntime scope(runtime);
  auto host = hostmodel::OutlookHost::Create();
  auto outlook = host->Start();
  ContactRecord record({{platform::ContactField::kLastName, u"山田"}},
                       platform::MailingAddress::kHome);
  auto contact = host->Contacts()->AddContact(record);
  auto explorer = outlook->OpenExplorer(host->Contacts());
  explorer->Select({contact});
  dsrOutlookToWord addin;
  addin.IDTExtensibility2_OnConnection(outlook, 1, outlook->NewAddInInstance());
  ASSERT_NE(addin.cbbAddin(), nullptr);

  outlook->ClickButton(addin.cbbAddin());

  EXPECT_NE(err.str().find("出力先: 開いている文書(W)"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("] 開いている文書がありません。"), std::string::npos) << err.str();
  EXPECT_EQ(started, 0);
  addin.IDTExtensibility2_OnBeginShutdown();
  addin.IDTExtensibility2_OnDisconnection(0);
  host->Shutdown();
}

}  // namespace
}  // namespace sendnote
