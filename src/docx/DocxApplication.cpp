#include "docx/DocxApplication.h"

#include "docx/FileIo.h"
#include "platform/Word.h"

#include "docx/DocxDocument.h"
#include "platform/ComError.h"
#include "platform/Utf.h"

namespace sendnote::docx {
namespace {

constexpr int32_t kLastDocumentType = 4;  // wdNewXMLDocument

[[noreturn]] void RaiseNoSuchMember() { platform::RaiseNoSuchMember(); }

}  // namespace

// What Word's built-in dialogs share: their type and their application.
class DocxDialog : public platform::Dialog {
 public:
  explicit DocxDialog(std::shared_ptr<DocxApplication> app) : app_(std::move(app)) {}

  std::u16string TypeName() const override { return u"Dialog"; }
  std::shared_ptr<platform::Object> Application() override {
    app_->CheckRunning();
    return app_;
  }

 protected:
  std::shared_ptr<DocxApplication> app_;
};

// The File New dialog (79): its answers come from the host's prompt.
class DocxFileNewDialog : public DocxDialog {
 public:
  using DocxDialog::DocxDialog;

  int32_t Display() override {
    app_->CheckRunning();
    if (!app_->prompt_) return 0;
    const FileNewChoice choice = app_->prompt_(app_->lastChoice_);
    if (!choice.confirmed) return 0;
    app_->lastChoice_ = choice;
    return -1;
  }
  std::u16string Template() override {
    app_->CheckRunning();
    return app_->lastChoice_.templatePath;
  }
  platform::Variant NewTemplate() override {
    app_->CheckRunning();
    return platform::Variant::Int32(app_->lastChoice_.newTemplate ? 1 : 0);  // as Word gives it
  }
  std::u16string Name() override;  // not a setting of this dialog
};

std::u16string DocxFileNewDialog::Name() {
  app_->CheckRunning();
  platform::Raise(platform::kErrNotSupported);
}

// The File Open dialog (80): the file comes from the host's prompt; Display opens nothing.
class DocxFileOpenDialog : public DocxDialog {
 public:
  using DocxDialog::DocxDialog;

  int32_t Display() override {
    app_->CheckRunning();
    if (!app_->openPrompt_) return 0;
    const auto chosen = app_->openPrompt_();
    if (!chosen || chosen->empty()) return 0;
    app_->lastOpened_ = *chosen;
    return -1;
  }
  std::u16string Template() override {
    app_->CheckRunning();
    platform::Raise(platform::kErrNotSupported);
  }
  platform::Variant NewTemplate() override {
    app_->CheckRunning();
    platform::Raise(platform::kErrNotSupported);
  }
  std::u16string Name() override {
    app_->CheckRunning();
    return app_->lastOpened_;
  }
};

class DocxDialogs : public platform::Dialogs {
 public:
  explicit DocxDialogs(std::shared_ptr<DocxApplication> app) : app_(std::move(app)) {}

  std::u16string TypeName() const override { return u"Dialogs"; }
  std::shared_ptr<platform::Object> Application() override {
    app_->CheckRunning();
    return app_;
  }
  std::shared_ptr<platform::Dialog> Item(int32_t id) override {
    app_->CheckRunning();
    if (id == platform::kWdDialogFileOpen) return std::make_shared<DocxFileOpenDialog>(app_);
    if (id != platform::kWdDialogFileNew) RaiseNoSuchMember();
    return std::make_shared<DocxFileNewDialog>(app_);
  }

 private:
  std::shared_ptr<DocxApplication> app_;
};

class DocxDocuments : public platform::Documents {
 public:
  explicit DocxDocuments(std::shared_ptr<DocxApplication> app) : app_(std::move(app)) {}

  std::u16string TypeName() const override { return u"Documents"; }
  std::shared_ptr<platform::Object> Application() override {
    app_->CheckRunning();
    return app_;
  }
  std::shared_ptr<platform::Document> Add(std::u16string_view templateName,
                                          platform::Flag newTemplate, int32_t documentType,
                                          platform::Flag) override {
    return app_->AddDocument(templateName, newTemplate, documentType);
  }
  int32_t Count() override {
    app_->CheckRunning();
    return static_cast<int32_t>(app_->open_.size());
  }
  std::shared_ptr<platform::Document> Item(int32_t index) override {
    app_->CheckRunning();
    if (index < 1 || static_cast<size_t>(index) > app_->open_.size()) RaiseNoSuchMember();
    return app_->open_[static_cast<size_t>(index) - 1];
  }
  std::shared_ptr<platform::Document> Open(std::u16string_view fileName) override {
    return app_->OpenDocument(fileName);
  }

 private:
  std::shared_ptr<DocxApplication> app_;
};

std::shared_ptr<DocxApplication> DocxApplication::Create(TemplateLimits limits) {
  return std::shared_ptr<DocxApplication>(new DocxApplication(limits));
}

void DocxApplication::CheckRunning() const {
  if (quit_) platform::Raise(platform::kErrServerGone);
}

std::shared_ptr<platform::Object> DocxApplication::Application() {
  CheckRunning();
  return shared_from_this();
}

platform::Flag DocxApplication::Visible() {
  CheckRunning();
  return platform::ToFlag(visible_);
}

void DocxApplication::SetVisible(platform::Flag visible) {
  CheckRunning();
  visible_ = visible != platform::kFalse;
}

void DocxApplication::Activate() { CheckRunning(); }

std::u16string DocxApplication::Caption() {
  CheckRunning();
  return u"Microsoft Word";
}

void DocxApplication::Quit(int32_t saveChanges) {
  CheckRunning();
  if (saveChanges != platform::kWdDoNotSaveChanges) {
    for (const auto& document : open_) {
      if (!document->Model()->SavedPath()) {
        platform::Raise(platform::kErrInvalidCall,
                        u"A document has never been saved; save it to a file first.");
      }
    }
    for (const auto& document : open_) {
      document->Model()->SaveAs(*document->Model()->SavedPath(), true);
    }
  }
  const auto documents = open_;
  for (const auto& document : documents) document->Discard();
  open_.clear();
  quit_ = true;
  visible_ = false;
}

std::shared_ptr<platform::Dialogs> DocxApplication::Dialogs() {
  CheckRunning();
  return std::make_shared<DocxDialogs>(shared_from_this());
}

std::shared_ptr<platform::Documents> DocxApplication::Documents() {
  CheckRunning();
  return std::make_shared<DocxDocuments>(shared_from_this());
}

std::shared_ptr<platform::Document> DocxApplication::ActiveDocument() {
  CheckRunning();
  auto active = active_.lock();
  if (!active || active->IsClosed()) {
    if (open_.empty()) {
      platform::Raise(platform::kErrWordNoDocument,
                      u"This command is not available because no document is open.");
    }
    active = open_.back();
  }
  return active;
}

std::shared_ptr<DocxDocument> DocxApplication::OpenDocument(std::u16string_view fileName) {
  CheckRunning();
  const std::filesystem::path path(platform::ToUtf8(fileName));
  std::error_code ec;
  for (const auto& document : open_) {
    const auto& saved = document->Model()->SavedPath();
    if (saved && std::filesystem::equivalent(*saved, path, ec)) {
      active_ = document;
      return document;
    }
  }
  auto model = DocumentModel::FromDocument(path, limits_, weak_from_this());
  auto document = std::make_shared<DocxDocument>(std::move(model), weak_from_this());
  open_.push_back(document);
  active_ = document;
  return document;
}

std::shared_ptr<DocxDocument> DocxApplication::AddDocument(std::u16string_view templateName,
                                                           platform::Flag newTemplate,
                                                           int32_t documentType) {
  CheckRunning();
  if (documentType < platform::kWdNewDocument || documentType > kLastDocumentType) {
    platform::Raise(platform::kErrInvalidCall);
  }
  const std::filesystem::path path(platform::ToUtf8(templateName));
  const OpenedTemplate* opened = nullptr;
  if (readTemplatesOnce_ && !path.empty()) {
    const std::filesystem::path key = AbsolutePath(path);
    auto it = templates_.find(key);
    if (it == templates_.end())
      it = templates_.emplace(key, OpenedTemplate::Open(path, limits_)).first;
    opened = it->second.get();
  }
  auto model = DocumentModel::FromTemplate(path, newTemplate != platform::kFalse, limits_,
                                           weak_from_this(), opened);
  auto document = std::make_shared<DocxDocument>(std::move(model), weak_from_this());
  document->SetUntitledName(u"Document" + platform::FromUtf8(std::to_string(++untitled_)));
  open_.push_back(document);
  active_ = document;
  return document;
}

void DocxApplication::Forget(const DocxDocument* document) {
  std::erase_if(open_, [&](const auto& d) { return d.get() == document; });
}

}  // namespace sendnote::docx
