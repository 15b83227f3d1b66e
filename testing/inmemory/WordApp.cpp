#include "inmemory/WordApp.h"

#include <algorithm>

#include "inmemory/WordDialogs.h"
#include "inmemory/WordDocument.h"
#include "inmemory/WordDocuments.h"
#include "platform/AsciiCase.h"
#include "platform/ComError.h"

namespace sendnote::inmemory {
namespace {

// Template names are file names: compared without regard to ASCII case.
std::u16string TemplateKey(std::u16string_view name) { return platform::AsciiLowered(name); }

constexpr int32_t kLastDocumentType = 4;  // wdNewXMLDocument

}  // namespace

WordApp::WordApp(std::shared_ptr<WordSession> session)
    : WordNode(u"Application", session, {}),
      session_(session),
      dialogs_(std::make_shared<WordDialogs>(session)),
      documents_(std::make_shared<WordDocuments>(session)) {}

std::shared_ptr<WordApp> WordApp::Create() {
  auto session = std::make_shared<WordSession>();
  std::shared_ptr<WordApp> app(new WordApp(session));
  session->app = app;
  return app;
}

void WordApp::AddTemplate(std::u16string_view name, WordContent content) {
  session_->templates.insert_or_assign(TemplateKey(name),
                                       WordSession::Template{std::move(content), false});
}

void WordApp::AddUnreadableTemplate(std::u16string_view name) {
  session_->templates.insert_or_assign(TemplateKey(name), WordSession::Template{{}, true});
}

void WordApp::RemoveTemplate(std::u16string_view name) {
  session_->templates.erase(TemplateKey(name));
}

void WordApp::QueueFileNew(FileNewAnswer answer) {
  session_->fileNewAnswers.push_back(std::move(answer));
}

void WordApp::QueueFileNew(std::u16string_view templateName, int32_t newTemplate) {
  QueueFileNew(
      FileNewAnswer{-1, std::u16string(templateName), platform::Variant::Int32(newTemplate)});
}

void WordApp::AddFile(std::u16string_view name, WordContent content) {
  session_->files.insert_or_assign(std::u16string(name), std::move(content));
  std::erase(session_->unreadableFiles, name);
}

void WordApp::AddUnreadableFile(std::u16string_view name) {
  session_->files.erase(std::u16string(name));
  session_->unreadableFiles.emplace_back(name);
}

void WordApp::QueueFileOpen(std::u16string_view fileName) {
  session_->fileOpenAnswers.emplace_back(fileName);
}

int WordApp::FileOpenDisplays() const { return session_->fileOpenDisplays; }

int WordApp::FileNewDisplays() const { return session_->fileNewDisplays; }

int WordApp::PendingFileNewAnswers() const {
  return static_cast<int>(session_->fileNewAnswers.size());
}

const std::vector<std::shared_ptr<WordDocument>>& WordApp::CreatedDocuments() const {
  return session_->created;
}

const std::vector<std::shared_ptr<WordDocument>>& WordApp::OpenDocuments() const {
  return session_->open;
}

bool WordApp::IsVisible() const { return session_->visible; }
bool WordApp::HasQuit() const { return session_->quit; }
int32_t WordApp::QuitSaveChanges() const { return session_->quitSaveChanges; }
int WordApp::ActivateCount() const { return faults().Calls(u"Activate"); }
Faults& WordApp::WordFaults() { return session_->faults; }
const std::vector<std::u16string>& WordApp::Journal() const { return session_->journal; }
void WordApp::ClearJournal() { session_->journal.clear(); }
const std::map<std::u16string, WordContent>& WordApp::SavedFiles() const { return session_->files; }

std::shared_ptr<platform::Object> WordApp::Application() {
  Call(u"Application");
  return shared_from_this();
}

platform::Flag WordApp::Visible() {
  Call(u"Visible");
  return platform::ToFlag(session_->visible);
}

void WordApp::SetVisible(platform::Flag visible) {
  Call(u"Visible");
  session_->visible = visible != platform::kFalse;
}

void WordApp::Activate() { Call(u"Activate"); }

std::u16string WordApp::Caption() {
  Call(u"Caption");
  return u"Microsoft Word";
}

void WordApp::Quit(int32_t saveChanges) {
  Call(u"Quit");
  session_->quit = true;
  session_->quitSaveChanges = saveChanges;
  session_->visible = false;
  for (const auto& document : session_->open) document->MarkClosed(saveChanges);
  session_->open.clear();
}

std::shared_ptr<platform::Dialogs> WordApp::Dialogs() {
  Call(u"Dialogs");
  return dialogs_;
}

std::shared_ptr<platform::Documents> WordApp::Documents() {
  Call(u"Documents");
  return documents_;
}

std::shared_ptr<platform::Document> WordApp::ActiveDocument() {
  Call(u"ActiveDocument");
  auto active = session_->active.lock();
  if (!active || active->IsClosed()) {
    if (session_->open.empty()) {
      platform::Raise(platform::kErrWordNoDocument,
                      u"This command is not available because no document is open.");
    }
    active = session_->open.back();
  }
  return active;
}

std::shared_ptr<WordDocument> WordApp::OpenDocument(std::u16string_view fileName) {
  for (const auto& document : session_->open) {
    if (document->FileName() == fileName) {
      session_->active = document;
      return document;
    }
  }
  if (std::find(session_->unreadableFiles.begin(), session_->unreadableFiles.end(), fileName) !=
      session_->unreadableFiles.end()) {
    platform::Raise(platform::kErrBadFileFormat,
                    u"Word was unable to read this document. It may be corrupt.");
  }
  auto it = session_->files.find(std::u16string(fileName));
  if (it == session_->files.end()) {
    std::u16string description = u"This file could not be found.\r(";
    description += fileName;
    description += u")";
    platform::Raise(platform::kErrWordFileNotFound, std::move(description));
  }
  auto document = WordDocument::Create(session_, it->second, {});
  document->SetFullName(std::u16string(fileName));
  session_->open.push_back(document);
  session_->created.push_back(document);
  session_->active = document;
  return document;
}

std::shared_ptr<WordDocument> WordApp::AddDocument(std::u16string_view templateName,
                                                   platform::Flag newTemplate, int32_t documentType,
                                                   platform::Flag visible) {
  if (documentType < platform::kWdNewDocument || documentType > kLastDocumentType) {
    platform::Raise(platform::kErrInvalidCall);
  }
  WordContent blank;
  const WordContent* content = &blank;
  if (!templateName.empty()) {
    auto it = session_->templates.find(TemplateKey(templateName));
    if (it == session_->templates.end()) {
      std::u16string description = u"This file could not be found.\r(";
      description += templateName;
      description += u")";
      platform::Raise(platform::kErrWordFileNotFound, std::move(description));
    }
    if (it->second.unreadable) {
      platform::Raise(platform::kErrBadFileFormat,
                      u"Word was unable to read this document. It may be corrupt.");
    }
    content = &it->second.content;
  }
  WordDocument::AddArguments arguments{std::u16string(templateName), newTemplate, documentType,
                                       visible};
  auto document = WordDocument::Create(session_, *content, std::move(arguments));
  session_->open.push_back(document);
  session_->created.push_back(document);
  session_->active = document;
  return document;
}

}  // namespace sendnote::inmemory
