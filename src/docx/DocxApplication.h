// The engine's Word application for a program without windows: it makes documents from
// .dotx/.dotm (also .docx/.docm) packages, and its File New dialog asks through a
// prompt that the host provides (the portable edition answers it from its terminal).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "docx/DocumentModel.h"
#include "platform/Word.h"

namespace sendnote::docx {

class DocxDocument;

// The user's answer in the File New dialog.
struct FileNewChoice {
  bool confirmed = false;
  std::u16string templatePath;
  bool newTemplate = false;  // make a template rather than a document
};
// Shows the File New dialog; gets the previous answer's template and choice as defaults.
using FileNewPrompt = std::function<FileNewChoice(const FileNewChoice& previous)>;
// Shows the File Open dialog: the file chosen, or nothing for Cancel.
using FileOpenPrompt = std::function<std::optional<std::u16string>()>;

class DocxApplication : public platform::WordApplication,
                        public ApplicationLink,
                        public std::enable_shared_from_this<DocxApplication> {
 public:
  // A new, invisible application with no documents.
  static std::shared_ptr<DocxApplication> Create(TemplateLimits limits = {});

  // --- Engine API (not part of the contract) ---
  // With no prompt, the File New dialog is cancelled.
  void SetFileNewPrompt(FileNewPrompt prompt) { prompt_ = std::move(prompt); }
  // With no prompt, the File Open dialog is cancelled.
  void SetFileOpenPrompt(FileOpenPrompt prompt) { openPrompt_ = std::move(prompt); }
  // The documents open now, in the order they were made.
  std::vector<std::shared_ptr<DocxDocument>> OpenDocuments() const { return open_; }
  bool HasQuit() const { return quit_; }
  // Where the documents' SaveAs writes: into `batch` (which must outlive its use), or each
  // file at once when empty.
  void SetSaveBatch(FileBatch* batch) { batch_ = batch; }
  // With `once`, each template is read once, at its first document, and every later
  // document of it is made from what was read then (a batch of letters from the same bytes);
  // otherwise the file is read for each document, as Word does.
  void SetReadTemplatesOnce(bool once) {
    readTemplatesOnce_ = once;
    if (!once) templates_.clear();
  }
  FileBatch* SaveBatch() const { return batch_; }
  // Raises "disconnected" once Word has quit.
  void CheckRunning() const;

  // --- platform::WordApplication ---
  std::u16string TypeName() const override { return u"Application"; }
  std::shared_ptr<platform::Object> Application() override;
  platform::Flag Visible() override;
  void SetVisible(platform::Flag visible) override;
  void Activate() override;
  std::u16string Caption() override;
  void Quit(int32_t saveChanges) override;
  std::shared_ptr<platform::Dialogs> Dialogs() override;
  std::shared_ptr<platform::Documents> Documents() override;
  std::shared_ptr<platform::Document> ActiveDocument() override;

  // --- ApplicationLink ---
  bool Running() const override { return !quit_; }
  std::shared_ptr<platform::Object> ApplicationObject() override { return shared_from_this(); }

 private:
  friend class DocxDocuments;
  friend class DocxFileNewDialog;
  friend class DocxDocument;
  friend class DocxDialogs;
  friend class DocxFileOpenDialog;
  explicit DocxApplication(TemplateLimits limits) : limits_(limits) {}
  std::shared_ptr<DocxDocument> AddDocument(std::u16string_view templateName,
                                            platform::Flag newTemplate, int32_t documentType);
  std::shared_ptr<DocxDocument> OpenDocument(std::u16string_view fileName);
  void Forget(const DocxDocument* document);

  TemplateLimits limits_;
  bool readTemplatesOnce_ = false;
  std::map<std::filesystem::path, std::unique_ptr<OpenedTemplate>> templates_;  // by absolute path
  bool quit_ = false;
  bool visible_ = false;
  FileNewPrompt prompt_;
  FileNewChoice lastChoice_;
  FileOpenPrompt openPrompt_;
  std::u16string lastOpened_;
  std::weak_ptr<DocxDocument> active_;
  int untitled_ = 0;            // new documents named so far
  FileBatch* batch_ = nullptr;  // not owning
  std::vector<std::shared_ptr<DocxDocument>> open_;
};

}  // namespace sendnote::docx
