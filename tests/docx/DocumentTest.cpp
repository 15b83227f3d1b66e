// Documents of the engine: made from templates as Word makes them, refused templates
// that leave nothing behind, atomic saving, and the application's life cycle.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "docx/DocxApplication.h"
#include "docx/DocxDocument.h"
#include "docx/DocxErrors.h"
#include "docx/FileBatch.h"
#include "docx/Zip.h"
#include "inmemory/WordNode.h"
#include "platform/Utf.h"
#include "templatebuilder/TemplateBuilder.h"
#include "tests/docx/DocxTestSupport.h"

namespace sendnote::docx {
namespace {

using platform::Variant;
using testing::EntryText;
using testing::ErrorOf;

constexpr char kDocumentType[] =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
constexpr char kTemplateType[] =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";

TemplateDescription Letter() {
  TemplateDescription d;
  TemplateField field;
  field.code = u" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT ";
  field.result = u"会社名";
  d.body.push_back(TemplateParagraph{{TemplateText{u"宛先: "}, field}});
  d.properties.push_back({u"作成者", platform::kPropertyString, Variant::String(u"総務"), u""});
  return d;
}

class DocumentTest : public ::testing::Test {
 protected:
  std::u16string Write(const std::string& name, const std::string& bytes) {
    testing::WriteFile(dir_.File(name), bytes);
    return platform::FromUtf8(dir_.File(name).string());
  }
  std::u16string Template(const std::string& name, const TemplateDescription& d = Letter()) {
    return Write(name, BuildTemplate(d));
  }
  std::shared_ptr<DocxDocument> Add(std::u16string_view name, platform::Flag newTemplate = 0) {
    return std::static_pointer_cast<DocxDocument>(
        app_->Documents()->Add(name, newTemplate, platform::kWdNewDocument, platform::kTrue));
  }
  // A built template with one entry replaced (or removed when `text` is empty).
  std::string Edited(const std::string& entry, const std::string& text) {
    auto archive = ZipArchive::Open(std::make_shared<const std::string>(BuildTemplate(Letter())));
    ZipEdits edits;
    if (text.empty()) {
      edits.removed.push_back(*archive->Find(entry));
    } else {
      edits.replaced[*archive->Find(entry)] = text;
    }
    return RewriteZip(*archive, edits);
  }
  testing::TempDir dir_;
  std::shared_ptr<DocxApplication> app_ = DocxApplication::Create();
};

TEST_F(DocumentTest, ANewDocumentHasTheDocumentTypeAndRecordsItsTemplate) {
  const std::u16string name = Template("My Letter 添書.dotx");
  auto doc = Add(name);
  const std::string saved = doc->Bytes();
  EXPECT_NE(EntryText(saved, "[Content_Types].xml").find(kDocumentType), std::string::npos);
  EXPECT_EQ(EntryText(saved, "[Content_Types].xml").find(kTemplateType), std::string::npos);
  EXPECT_EQ(doc->Extension(), ".docx");
  const std::string settings = EntryText(saved, "word/settings.xml");
  // In its place among the settings: after the zoom and proof state, before the tab stop.
  EXPECT_NE(settings.find("<w:proofState w:spelling=\"clean\" w:grammar=\"clean\"/>"
                          "<w:attachedTemplate r:id=\"rId1\"/><w:defaultTabStop"),
            std::string::npos)
      << settings;
  const std::string rels = EntryText(saved, "word/_rels/settings.xml.rels");
  const std::string uri =
      "file://" + dir_.Path().string() + "/My%20Letter%20%E6%B7%BB%E6%9B%B8.dotx";
  EXPECT_NE(rels.find("Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                      "attachedTemplate\" Target=\"" +
                      uri + "\" TargetMode=\"External\""),
            std::string::npos)
      << rels;
  EXPECT_EQ(doc->TemplatePath(), dir_.File("My Letter 添書.dotx"));
}

TEST_F(DocumentTest, NewTemplateKeepsATemplateAndDocumentsStayDocuments) {
  auto asTemplate = Add(Template("a.dotx"), platform::kTrue);
  EXPECT_NE(EntryText(asTemplate->Bytes(), "[Content_Types].xml").find(kTemplateType),
            std::string::npos);
  EXPECT_EQ(asTemplate->Extension(), ".dotx");

  TemplateDescription document = Letter();
  document.isTemplate = false;
  auto fromDocument = Add(Template("b.docx", document));
  EXPECT_EQ(fromDocument->Extension(), ".docx");
  auto templateFromDocument = Add(Template("c.docx", document), platform::kTrue);
  EXPECT_EQ(templateFromDocument->Extension(), ".dotx");
}

TEST_F(DocumentTest, AMacroTemplateMakesAMacroDocument) {
  std::string types = EntryText(BuildTemplate(Letter()), "[Content_Types].xml");
  types.replace(types.find(kTemplateType), std::string(kTemplateType).size(),
                "application/vnd.ms-word.template.macroEnabledTemplate.main+xml");
  auto doc = Add(Write("m.dotm", Edited("[Content_Types].xml", types)));
  EXPECT_NE(EntryText(doc->Bytes(), "[Content_Types].xml")
                .find("application/vnd.ms-word.document.macroEnabled.main+xml"),
            std::string::npos);
  EXPECT_EQ(doc->Extension(), ".docm");
  // Saved under a plain document's extension, Word would refuse to open it.
  auto error = ErrorOf([&] { doc->SaveAs(dir_.File("letter.docx"), false); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrInvalidCall);
  EXPECT_NO_THROW(doc->SaveAs(dir_.File("letter.docm"), false));
}

TEST_F(DocumentTest, ATemplateWithoutSettingsGetsThem) {
  std::string rels = EntryText(BuildTemplate(Letter()), "word/_rels/document.xml.rels");
  const size_t at = rels.find("<Relationship Id=\"rId2\"");
  rels.erase(at, rels.find("/>", at) + 2 - at);
  auto doc = Add(Write("t.dotx", Edited("word/_rels/document.xml.rels", rels)));
  const std::string saved = doc->Bytes();
  // The old settings part is not related any more: a new one is made beside it.
  EXPECT_NE(EntryText(saved, "word/settings2.xml").find("<w:attachedTemplate r:id=\"rId1\"/>"),
            std::string::npos);
  EXPECT_NE(EntryText(saved, "word/_rels/document.xml.rels").find("Target=\"settings2.xml\""),
            std::string::npos);
}

TEST_F(DocumentTest, TheMainPartIsFoundThroughTheRelationshipsWhereverItIs) {
  auto archive = ZipArchive::Open(std::make_shared<const std::string>(BuildTemplate(Letter())));
  auto replaceAll = [](std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
      text.replace(at, from.size(), to);
    }
  };
  std::vector<NewZipEntry> moved;
  for (size_t i = 0; i < archive->Entries().size(); ++i) {
    std::string name = archive->Entries()[i].name;
    std::string data = archive->Read(i);
    if (name == "word/document.xml") name = "main/letter.xml";
    if (name == "word/_rels/document.xml.rels") {
      name = "main/_rels/letter.xml.rels";
      replaceAll(data, "Target=\"", "Target=\"../word/");
    }
    if (name == "[Content_Types].xml") replaceAll(data, "/word/document.xml", "/main/letter.xml");
    if (name == "_rels/.rels") replaceAll(data, "word/document.xml", "main/letter.xml");
    moved.push_back({name, data, false});
  }
  auto doc = Add(Write("moved.dotx", WriteZip(moved)));
  ASSERT_EQ(doc->Fields()->Count(), 1);
  doc->CustomDocumentProperties()->Add(u"OUTLOOK$会社名", platform::kFalse,
                                       platform::kPropertyString, Variant::String(u"移動社"));
  doc->Fields()->Item(1)->Update();
  const std::string saved = doc->Bytes();
  EXPECT_FALSE(testing::HasEntry(saved, "word/document.xml"));
  EXPECT_NE(EntryText(saved, "main/letter.xml").find("<w:t>移動社</w:t>"), std::string::npos);
  EXPECT_NE(EntryText(saved, "[Content_Types].xml")
                .find("<Override PartName=\"/main/letter.xml\" ContentType=\"" +
                      std::string(kDocumentType) + "\"/>"),
            std::string::npos);
  EXPECT_NE(EntryText(saved, "word/settings.xml").find("<w:attachedTemplate"), std::string::npos);
}

TEST_F(DocumentTest, UnusableTemplatesRaiseAndLeaveNothingBehind) {
  struct Case {
    std::string name;
    std::string bytes;
    int32_t number;
    std::string says;
  };
  std::string document = EntryText(BuildTemplate(Letter()), "word/document.xml");
  const std::string cfb("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  const std::u16string encrypted = u"EncryptedPackage";
  const std::vector<Case> cases = {
      {"old.dot", cfb + std::string(2000, '\0'), platform::kErrBadFileFormat, "97-2003"},
      {"locked.dotx",
       cfb + std::string(reinterpret_cast<const char*>(encrypted.data()), encrypted.size() * 2),
       platform::kErrBadFileFormat, "encrypted"},
      {"text.dotx", "hello", platform::kErrBadFileFormat, "not a zip archive"},
      {"cut.dotx", BuildTemplate(Letter()).substr(0, 3000), platform::kErrBadFileFormat, ""},
      {"nomain.dotx", Edited("word/document.xml", ""), platform::kErrBadFileFormat, "missing"},
      {"bad.dotx", Edited("word/document.xml", document.substr(0, document.size() - 20)),
       platform::kErrBadFileFormat, "malformed XML in /word/document.xml"},
      {"dtd.dotx",
       Edited("word/document.xml",
              "<!DOCTYPE w [<!ENTITY e \"x\">]>" + document.substr(document.find("<w:document"))),
       platform::kErrBadFileFormat, "document type declarations"},
      {"bomb.dotx",
       testing::HandMadeZip({{"[Content_Types].xml", "<Types/>"},
                             {"word/document.xml", "<w:document/>", 0, 0xFFFFFF00u}}),
       platform::kErrBadFileFormat, "expanded size"},
      {"climb.dotx",
       testing::HandMadeZip({{"[Content_Types].xml", "<Types/>"}, {"../../evil.xml", "x"}}),
       platform::kErrBadFileFormat, "climbs out"},
      {"sheet.dotx",
       Edited("[Content_Types].xml",
              "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
              "<Default Extension=\"xml\" ContentType=\"application/vnd.openxmlformats-"
              "officedocument.spreadsheetml.sheet.main+xml\"/><Default Extension=\"rels\" "
              "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/></Types>"),
       platform::kErrBadFileFormat, "not a Word document"},
  };
  for (const Case& c : cases) {
    const std::u16string name = Write(c.name, c.bytes);
    const auto before = std::filesystem::last_write_time(dir_.File(c.name));
    auto error = ErrorOf([&] { Add(name); });
    ASSERT_TRUE(error) << c.name;
    EXPECT_EQ(error->Number(), c.number) << c.name;
    EXPECT_NE(platform::ToUtf8(error->Description()).find(c.says), std::string::npos)
        << c.name << ": " << platform::ToUtf8(error->Description());
    EXPECT_EQ(testing::ReadFile(dir_.File(c.name)), c.bytes) << c.name;
    EXPECT_EQ(std::filesystem::last_write_time(dir_.File(c.name)), before);
  }
  // Not files: a folder and a pipe (which must not make Add wait for a writer).
  std::filesystem::create_directory(dir_.File("folder.dotx"));
  ::mkfifo(dir_.File("pipe.dotx").c_str(), 0600);
  for (const char* name : {"folder.dotx", "pipe.dotx"}) {
    auto error = ErrorOf([&] { Add(platform::FromUtf8(dir_.File(name).string())); });
    ASSERT_TRUE(error) << name;
    EXPECT_EQ(error->Number(), platform::kErrBadFileFormat) << name;
  }
  auto missing = ErrorOf([&] { Add(platform::FromUtf8(dir_.File("none.dotx").string())); });
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->Number(), platform::kErrWordFileNotFound);
  EXPECT_EQ(app_->Documents()->Count(), 0);
  EXPECT_EQ(dir_.Files().size(), cases.size() + 2);
}

TEST_F(DocumentTest, TheTemplateIsNeverWritten) {
  const std::u16string name = Template("letter.dotx");
  const std::string before = testing::ReadFile(dir_.File("letter.dotx"));
  ::chmod(dir_.File("letter.dotx").c_str(), 0444);
  auto doc = Add(name);
  doc->CustomDocumentProperties()->Add(u"x", platform::kFalse, platform::kPropertyString,
                                       Variant::String(u"1"));
  doc->Fields()->Item(1)->Update();
  auto error = ErrorOf([&] { doc->SaveAs(dir_.File("letter.dotx"), true); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrPathAccess);
  // Nor through another name for the same file.
  std::filesystem::create_symlink(dir_.File("letter.dotx"), dir_.File("alias.docx"));
  EXPECT_TRUE(ErrorOf([&] { doc->SaveAs(dir_.File("alias.docx"), true); }));
  doc->Close(platform::kWdDoNotSaveChanges);
  EXPECT_EQ(testing::ReadFile(dir_.File("letter.dotx")), before);
}

// The template is read in place while the document is open: when it changes before the
// document is saved, the save is refused and leaves nothing behind; made read-only and
// replaced by another file under its name (as editors save), the document still saves
// from what it opened.
TEST_F(DocumentTest, ATemplateChangedUnderAnOpenDocumentIsNotMixedIntoTheLetter) {
  const std::u16string name = Template("t.dotx");
  const std::string original = testing::ReadFile(dir_.File("t.dotx"));
  auto changed = Add(name);
  testing::WriteFile(dir_.File("t.dotx"), Edited("word/document.xml", "<w:document/>"));
  auto error = ErrorOf([&] { changed->SaveAs(dir_.File("letter.docx"), false); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrPathAccess);
  EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"t.dotx"}));

  testing::WriteFile(dir_.File("t.dotx"), original);
  auto replaced = Add(name);
  ::chmod(dir_.File("t.dotx").c_str(), 0444);
  testing::WriteFile(dir_.File("new.dotx"), Edited("word/document.xml", "<w:document/>"));
  std::filesystem::rename(dir_.File("new.dotx"), dir_.File("t.dotx"));
  replaced->SaveAs(dir_.File("letter.docx"), false);
  EXPECT_NE(
      EntryText(testing::ReadFile(dir_.File("letter.docx")), "word/document.xml").find("会社名"),
      std::string::npos);
}

// Replacing means a regular file: a FIFO, a folder or a link under the name is refused even
// with `overwrite`, and a replaced file's mode stays.
TEST_F(DocumentTest, SavingReplacesOnlyARegularFileAndKeepsItsMode) {
  auto doc = Add(Template("t.dotx"));
  ASSERT_EQ(::mkfifo(dir_.File("fifo.docx").c_str(), 0600), 0);
  std::filesystem::create_directory(dir_.File("folder.docx"));
  testing::WriteFile(dir_.File("other.txt"), "kept");
  std::filesystem::create_symlink("other.txt", dir_.File("link.docx"));
  for (const char* name : {"fifo.docx", "folder.docx", "link.docx"}) {
    auto error = ErrorOf([&] { doc->SaveAs(dir_.File(name), true); });
    ASSERT_TRUE(error) << name;
    EXPECT_EQ(error->Number(), platform::kErrPathAccess) << name;
    EXPECT_NE(platform::ToUtf8(error->Description()).find("only a regular file is replaced"),
              std::string::npos)
        << platform::ToUtf8(error->Description());
  }
  EXPECT_EQ(std::filesystem::symlink_status(dir_.File("fifo.docx")).type(),
            std::filesystem::file_type::fifo);
  EXPECT_EQ(std::filesystem::symlink_status(dir_.File("link.docx")).type(),
            std::filesystem::file_type::symlink);
  EXPECT_EQ(testing::ReadFile(dir_.File("other.txt")), "kept");

  testing::WriteFile(dir_.File("letter.docx"), "older letter");
  ::chmod(dir_.File("letter.docx").c_str(), 0600);
  doc->SaveAs(dir_.File("letter.docx"), true);
  struct stat st {};
  ASSERT_EQ(::stat(dir_.File("letter.docx").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(testing::ReadFile(dir_.File("letter.docx")), doc->Bytes());
}

// The property parts are edited for the new document, so they are held to the rules of
// every part read; a part that is only copied is not parsed, but its checksum must hold.
TEST_F(DocumentTest, PartsTheLetterEditsMustParseAndCopiedPartsMustKeepTheirChecksum) {
  for (const char* part : {"docProps/core.xml", "docProps/app.xml"}) {
    for (const char* text : {"<cp:coreProperties", "<!DOCTYPE x [<!ENTITY a \"b\">]><x>&a;</x>"}) {
      auto error = ErrorOf([&] { Add(Write("t.dotx", Edited(part, text))); });
      ASSERT_TRUE(error) << part;
      EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
      EXPECT_NE(platform::ToUtf8(error->Description()).find(part), std::string::npos)
          << platform::ToUtf8(error->Description());
    }
  }
  // Malformed but only copied: the letter keeps it as it is.
  auto doc = Add(Write("styles.dotx", Edited("word/styles.xml", "<w:styles")));
  doc->SaveAs(dir_.File("styles.docx"), false);
  EXPECT_EQ(EntryText(testing::ReadFile(dir_.File("styles.docx")), "word/styles.xml"), "<w:styles");
  doc->Close(platform::kWdDoNotSaveChanges);

  // A checksum that differs in a copied part: refused naming the entry, nothing written.
  std::string bad = BuildTemplate(Letter());
  const size_t name = bad.find("word/styles.xml");
  ASSERT_NE(name, std::string::npos);
  for (const size_t at : {name - 30 + 14, bad.find("word/styles.xml", name + 1) - 46 + 16}) {
    bad[at] = static_cast<char>(bad[at] ^ 0x01);  // the checksum, in both headers
  }
  auto damaged = Add(Write("crc.dotx", bad));
  auto error = ErrorOf([&] { damaged->SaveAs(dir_.File("crc.docx"), false); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrBadFileFormat);
  EXPECT_NE(platform::ToUtf8(error->Description()).find("entry word/styles.xml is damaged"),
            std::string::npos)
      << platform::ToUtf8(error->Description());
  EXPECT_FALSE(std::filesystem::exists(dir_.File("crc.docx")));
  EXPECT_EQ(dir_.Files(),
            (std::vector<std::string>{"crc.dotx", "styles.docx", "styles.dotx", "t.dotx"}));
}

// The template changed in place to the same size with its time put back: what is copied is
// checked as it passes, so no letter of mixed or damaged bytes is written.
TEST_F(DocumentTest, ASameSizeChangeWithItsTimeRestoredIsCaughtByTheCopyCheck) {
  // Styles of pseudo-random text, so that they lie beyond the end of the file read at opening.
  std::string noise;
  uint32_t seed = 7;
  for (int i = 0; i < 300000; ++i)
    noise += "0123456789abcdef"[(seed = seed * 1103515245 + 12345) >> 28];
  auto doc =
      Add(Write("t.dotx", Edited("word/styles.xml", "<w:styles><!--" + noise + "--></w:styles>")));
  const std::string original = testing::ReadFile(dir_.File("t.dotx"));
  struct stat before {};
  ASSERT_EQ(::stat(dir_.File("t.dotx").c_str(), &before), 0);
  std::string changed = original;
  const size_t styles = changed.find("word/styles.xml") + 15 + 1000;
  ASSERT_LT(styles + (70 << 10), changed.size());
  changed[styles] = static_cast<char>(changed[styles] ^ 0x55);
  {
    std::FILE* f = std::fopen(dir_.File("t.dotx").c_str(), "r+b");  // the same inode
    ASSERT_NE(f, nullptr);
    std::fwrite(changed.data(), 1, changed.size(), f);
    std::fclose(f);
  }
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, dir_.File("t.dotx").c_str(), times, 0), 0);
  auto error = ErrorOf([&] { doc->SaveAs(dir_.File("letter.docx"), false); });
  ASSERT_TRUE(error);
  EXPECT_NE(platform::ToUtf8(error->Description()).find("word/styles.xml"), std::string::npos)
      << platform::ToUtf8(error->Description());
  EXPECT_FALSE(std::filesystem::exists(dir_.File("letter.docx")));
}

// Reading templates once, every document of a template comes from the bytes read at its
// first: a template replaced meanwhile (as an editor saves) changes no later document, and
// the documents do not share their edits. Word's own way reads the file each time.
TEST_F(DocumentTest, ATemplateReadOnceGivesEveryDocumentTheSameBytes) {
  const std::u16string name = Template("t.dotx");
  TemplateDescription other = Letter();
  std::get<TemplateText>(std::get<TemplateParagraph>(other.body[0]).content[0]).text = u"差出人: ";
  for (const bool once : {true, false}) {
    SCOPED_TRACE(once);
    Template("t.dotx");
    auto word = DocxApplication::Create();
    word->SetReadTemplatesOnce(once);
    auto add = [&] {
      return std::static_pointer_cast<DocxDocument>(
          word->Documents()->Add(name, 0, platform::kWdNewDocument, platform::kTrue));
    };
    auto first = add();
    first->CustomDocumentProperties()->Add(u"x", platform::kFalse, platform::kPropertyString,
                                           Variant::String(u"1"));
    testing::WriteFile(dir_.File("new.dotx"), BuildTemplate(other));
    std::filesystem::rename(dir_.File("new.dotx"), dir_.File("t.dotx"));
    auto second = add();
    const std::string text = EntryText(second->Bytes(), "word/document.xml");
    EXPECT_EQ(text.find("宛先: ") != std::string::npos, once);
    EXPECT_EQ(text.find("差出人: ") != std::string::npos, !once);
    EXPECT_EQ(second->CustomDocumentProperties()->Count(), 1);  // 作成者 only, not x
    // Made from the first reading, the second saves whole after the first is closed.
    first->Close(platform::kWdDoNotSaveChanges);
    second->SaveAs(dir_.File("letter.docx"), true);
    EXPECT_EQ(testing::ReadFile(dir_.File("letter.docx")), second->Bytes());
    second->Close(platform::kWdDoNotSaveChanges);
  }
}

TEST_F(DocumentTest, SavingIsAtomicAndReplacesOnlyWhenAsked) {
  auto doc = Add(Template("t.dotx"));
  const auto target = dir_.File("letter.docx");
  testing::WriteFile(target, "older letter");
  auto refused = ErrorOf([&] { doc->SaveAs(target, false); });
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->Number(), kErrFileExists);
  EXPECT_EQ(testing::ReadFile(target), "older letter");

  doc->SaveAs(target, true);
  EXPECT_EQ(testing::ReadFile(target), doc->Bytes());
  doc->SaveAs(dir_.File("second.docx"), false);
  EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"letter.docx", "second.docx", "t.dotx"}));

  // A folder that cannot be written: an error, and no file and no temporary file.
  std::filesystem::create_directory(dir_.File("locked"));
  ::chmod(dir_.File("locked").c_str(), 0555);
  if (::geteuid() != 0) {  // root writes anyway
    auto denied = ErrorOf([&] { doc->SaveAs(dir_.File("locked") / "x.docx", false); });
    ASSERT_TRUE(denied);
    EXPECT_EQ(denied->Number(), platform::kErrPathAccess);
  }
  auto noFolder = ErrorOf([&] { doc->SaveAs(dir_.File("none") / "x.docx", false); });
  ASSERT_TRUE(noFolder);
  EXPECT_EQ(noFolder->Number(), platform::kErrPathAccess);
  EXPECT_EQ(dir_.Files(),
            (std::vector<std::string>{"letter.docx", "locked", "second.docx", "t.dotx"}));
}

TEST_F(DocumentTest, ClosingSavesOnlyWhereTheDocumentWasSavedBefore) {
  auto doc = Add(Template("t.dotx"));
  auto props = doc->CustomDocumentProperties();
  auto error = ErrorOf([&] { doc->Close(-1); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Number(), platform::kErrInvalidCall);
  EXPECT_EQ(app_->Documents()->Count(), 1);  // still open

  doc->SaveAs(dir_.File("letter.docx"), false);
  props->Add(u"late", platform::kFalse, platform::kPropertyString, Variant::String(u"v"));
  doc->Close(-1);
  EXPECT_NE(
      EntryText(testing::ReadFile(dir_.File("letter.docx")), "docProps/custom.xml").find("late"),
      std::string::npos);
  EXPECT_EQ(app_->Documents()->Count(), 0);
  auto closed = ErrorOf([&] { props->Count(); });
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->Number(), platform::kErrWordObjectDeleted);
  EXPECT_TRUE(doc->IsClosed());
}

TEST_F(DocumentTest, QuitEndsWordAndEveryObjectOfIt) {
  auto doc = Add(Template("t.dotx"));
  auto field = doc->Fields()->Item(1);
  app_->Quit(platform::kWdDoNotSaveChanges);
  EXPECT_TRUE(app_->HasQuit());
  EXPECT_TRUE(app_->OpenDocuments().empty());
  for (auto call : std::vector<std::function<void()>>{
           [&] { field->Type(); }, [&] { app_->Visible(); }, [&] { app_->Documents(); }}) {
    auto error = ErrorOf(call);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), platform::kErrServerGone);
  }
}

TEST_F(DocumentTest, TheFileNewDialogAsksTheHostsPrompt) {
  auto dialog = app_->Dialogs()->Item(platform::kWdDialogFileNew);
  EXPECT_EQ(dialog->Display(), 0);  // no prompt: cancelled
  std::vector<FileNewChoice> asked;
  app_->SetFileNewPrompt([&](const FileNewChoice& previous) {
    asked.push_back(previous);
    return FileNewChoice{true, u"/templates/letter.dot", asked.size() == 2};
  });
  EXPECT_EQ(dialog->Display(), -1);
  EXPECT_EQ(dialog->Template(), u"/templates/letter.dot");
  EXPECT_EQ(dialog->NewTemplate().ToFlag(), platform::kFalse);
  EXPECT_EQ(dialog->Display(), -1);
  EXPECT_EQ(dialog->NewTemplate().ToFlag(), platform::kTrue);
  EXPECT_EQ(asked[1].templatePath, u"/templates/letter.dot");  // the last answer is the default
  app_->SetFileNewPrompt([](const FileNewChoice&) { return FileNewChoice{}; });
  EXPECT_EQ(dialog->Display(), 0);
  EXPECT_EQ(dialog->Template(), u"/templates/letter.dot");  // a cancel changes nothing
  auto other = ErrorOf([&] { app_->Dialogs()->Item(81); });
  ASSERT_TRUE(other);
  EXPECT_EQ(other->Number(), platform::kErrWordNoSuchMember);
}

TEST_F(DocumentTest, AnEmptyTemplateNameMakesABlankDocument) {
  auto doc = Add(u"");
  EXPECT_EQ(doc->Fields()->Count(), 0);
  EXPECT_EQ(doc->Shapes()->Count(), 0);
  EXPECT_EQ(doc->CustomDocumentProperties()->Count(), 0);
  doc->SaveAs(dir_.File("blank.docx"), false);
  EXPECT_EQ(app_->OpenDocuments().size(), 1u);
}

// The contract's SaveAs, as the host saves a letter: a UTF-8 name, no replacing unless
// asked, and into the application's save batch when it has one.
TEST_F(DocumentTest, TheContractsSaveAsRefusesAnExistingFileAndWritesIntoTheBatch) {
  platform::Document& doc = *Add(Template("t.dotx"));
  const auto path = dir_.File("手紙.docx");
  const std::u16string name = platform::FromUtf8(path.string());
  doc.SaveAs(name, false);
  ASSERT_TRUE(std::filesystem::exists(path));
  auto refused = ErrorOf([&] { doc.SaveAs(name, false); });
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->Number(), platform::kErrFileExists);
  EXPECT_FALSE(ErrorOf([&] { doc.SaveAs(name, true); }));

  FileBatch batch;
  app_->SetSaveBatch(&batch);
  const auto later = dir_.File("later.docx");
  doc.SaveAs(platform::FromUtf8(later.string()), false);
  EXPECT_FALSE(std::filesystem::exists(later));  // waits for the batch
  const auto outcomes = batch.Commit();
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_FALSE(outcomes[0].error);
  EXPECT_TRUE(std::filesystem::exists(later));
  app_->SetSaveBatch(nullptr);
}

}  // namespace
}  // namespace sendnote::docx
