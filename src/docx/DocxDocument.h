// A document of the engine, made from a template. The host saves it through the contract's
// SaveAs; tests and tools also reach the engine's own save, the package and its type.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "docx/DocumentModel.h"
#include "platform/Word.h"

namespace sendnote::docx {

class DocxApplication;

class DocxDocument : public platform::Document, public std::enable_shared_from_this<DocxDocument> {
 public:
  DocxDocument(std::shared_ptr<DocumentModel> model, std::weak_ptr<DocxApplication> app);

  // --- Engine API (not part of the contract) ---
  // Saves atomically: the file appears complete or not at all. Refuses (raising) the
  // template's own file, an existing file unless `overwrite`, and a Word extension of
  // another type than the document's (see Extension). With `batch`, the file is written
  // into it and takes its name when the batch is committed.
  void SaveAs(const std::filesystem::path& path, bool overwrite, FileBatch* batch = nullptr);
  // The extension that fits the document: ".docx", or ".docm" for a template with
  // macros, ".dotx"/".dotm" for a new template.
  std::string Extension();
  // The package as it would be saved now.
  std::string Bytes();
  const std::filesystem::path& TemplatePath() const { return model_->TemplatePath(); }
  bool IsClosed() const { return model_->Closed(); }
  const std::shared_ptr<DocumentModel>& Model() const { return model_; }
  // Word's name for the document until it is saved ("Document1").
  void SetUntitledName(std::u16string name) { untitled_ = std::move(name); }

  // --- platform::Document ---
  std::u16string TypeName() const override { return u"Document"; }
  std::shared_ptr<platform::Object> Application() override;
  std::shared_ptr<platform::DocumentProperties> CustomDocumentProperties() override;
  void Activate() override;
  std::shared_ptr<platform::Fields> Fields() override;
  std::shared_ptr<platform::Shapes> Shapes() override;
  std::shared_ptr<platform::StoryRanges> StoryRanges() override;
  // Saves to the path of the last SaveAs; there is no window to ask for a name.
  void Close(int32_t saveChanges) override;
  // The engine's SaveAs, into the application's save batch when it has one.
  void SaveAs(std::u16string_view fileName, bool replace) override;
  std::u16string Name() override;
  std::u16string FullName() override;

  // Closes without a call (Word quitting).
  void Discard();

 private:
  std::shared_ptr<DocumentModel> model_;
  std::weak_ptr<DocxApplication> app_;
  std::u16string untitled_;
};

}  // namespace sendnote::docx
