#include "docx/DocxDocument.h"

#include "docx/DocxApplication.h"
#include "docx/DocxFields.h"
#include "docx/DocxProperties.h"
#include "docx/DocxShapes.h"
#include "platform/ComError.h"
#include "platform/Utf.h"

namespace sendnote::docx {

DocxDocument::DocxDocument(std::shared_ptr<DocumentModel> model, std::weak_ptr<DocxApplication> app)
    : model_(std::move(model)), app_(std::move(app)) {}

void DocxDocument::SaveAs(const std::filesystem::path& path, bool overwrite, FileBatch* batch) {
  model_->CheckOpen();
  model_->SaveAs(path, overwrite, batch);
}

void DocxDocument::SaveAs(std::u16string_view fileName, bool replace) {
  model_->CheckOpen();
  const auto app = app_.lock();
  model_->SaveAs(std::filesystem::path(platform::ToUtf8(fileName)), replace,
                 app ? app->SaveBatch() : nullptr);
}

std::string DocxDocument::Extension() {
  model_->CheckOpen();
  return model_->Extension();
}

std::string DocxDocument::Bytes() {
  model_->CheckOpen();
  return model_->Bytes();
}

std::shared_ptr<platform::Object> DocxDocument::Application() { return model_->Application(); }

std::shared_ptr<platform::DocumentProperties> DocxDocument::CustomDocumentProperties() {
  model_->CheckOpen();
  return std::make_shared<DocxProperties>(model_);
}

void DocxDocument::Activate() {
  model_->CheckOpen();
  if (auto app = app_.lock()) app->active_ = weak_from_this();
}

std::u16string DocxDocument::Name() {
  model_->CheckOpen();
  const auto& saved = model_->SavedPath();
  return saved ? platform::FromUtf8(saved->filename().string()) : untitled_;
}

std::u16string DocxDocument::FullName() {
  model_->CheckOpen();
  const auto& saved = model_->SavedPath();
  return saved ? platform::FromUtf8(saved->string()) : untitled_;
}

std::shared_ptr<platform::Fields> DocxDocument::Fields() {
  model_->CheckOpen();
  return std::make_shared<DocxFields>(model_, &model_->Main());
}

std::shared_ptr<platform::StoryRanges> DocxDocument::StoryRanges() {
  model_->CheckOpen();
  return std::make_shared<DocxStoryRanges>(model_);
}

std::shared_ptr<platform::Shapes> DocxDocument::Shapes() {
  model_->CheckOpen();
  return std::make_shared<DocxShapes>(model_, &model_->Main());
}

void DocxDocument::Close(int32_t saveChanges) {
  model_->CheckOpen();
  if (saveChanges != platform::kWdDoNotSaveChanges) {
    if (!model_->SavedPath()) {
      platform::Raise(platform::kErrInvalidCall,
                      u"The document has never been saved; save it to a file first.");
    }
    model_->SaveAs(*model_->SavedPath(), true);
  }
  Discard();
}

void DocxDocument::Discard() {
  model_->Close();
  if (auto app = app_.lock()) app->Forget(this);
}

}  // namespace sendnote::docx
