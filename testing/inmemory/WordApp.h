// An in-memory Word application: a registry of templates, a scripted File New dialog and
// the documents made from the templates. A new instance is invisible. After Quit every
// object of this Word raises "disconnected" (RPC_E_DISCONNECTED).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inmemory/WordContent.h"
#include "inmemory/WordNode.h"
#include "platform/Word.h"

namespace sendnote::inmemory {

class WordDialogs;
class WordDocuments;

class WordApp : public platform::WordApplication,
                public WordNode,
                public std::enable_shared_from_this<WordApp> {
 public:
  static std::shared_ptr<WordApp> Create();

  // --- Test-facing: none of these is counted, fails or needs Word to be running ---

  // Registers a template under its full name (names compare without regard to ASCII
  // case, as file names do); replaces one of the same name.
  void AddTemplate(std::u16string_view name, WordContent content);
  // Registers a template that exists but cannot be read (Documents.Add raises 5981).
  void AddUnreadableTemplate(std::u16string_view name);
  void RemoveTemplate(std::u16string_view name);

  // Queues the user's next answer to the File New dialog; with no answer queued the
  // user cancels.
  void QueueFileNew(FileNewAnswer answer);
  // Shorthand: the user confirms `templateName`, creating a document (0) or template (1).
  void QueueFileNew(std::u16string_view templateName, int32_t newTemplate = 0);
  int FileNewDisplays() const;
  int PendingFileNewAnswers() const;

  // A document file Documents.Open can open (names compare exactly); replaces one of the
  // same name. An unreadable one exists but raises 5981 when opened.
  void AddFile(std::u16string_view name, WordContent content);
  void AddUnreadableFile(std::u16string_view name);
  // Queues the user's next answer to the File Open dialog: the file chosen, or empty for
  // Cancel. With no answer queued the user cancels.
  void QueueFileOpen(std::u16string_view fileName);
  int FileOpenDisplays() const;

  // Every document added so far, open or closed, in the order of creation.
  const std::vector<std::shared_ptr<WordDocument>>& CreatedDocuments() const;
  // The documents open now (the Documents collection).
  const std::vector<std::shared_ptr<WordDocument>>& OpenDocuments() const;

  bool IsVisible() const;
  bool HasQuit() const;
  // The argument of Quit (meaningful once HasQuit).
  int32_t QuitSaveChanges() const;
  // How often Activate was called on the application.
  int ActivateCount() const;

  // Faults and counters that apply to every call of every object of this Word.
  Faults& WordFaults();
  // "TypeName.Member" of every call on any object of this Word, in call order (for
  // example u"Application.Visible", u"Document.Activate").
  const std::vector<std::u16string>& Journal() const;
  void ClearJournal();
  // What the documents' SaveAs kept, by file name.
  const std::map<std::u16string, WordContent>& SavedFiles() const;

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

 private:
  friend class WordDocuments;
  explicit WordApp(std::shared_ptr<WordSession> session);

  // Makes a document from a registered template (Documents.Add); raises as Word does.
  std::shared_ptr<WordDocument> AddDocument(std::u16string_view templateName,
                                            platform::Flag newTemplate, int32_t documentType,
                                            platform::Flag visible);
  // Opens a document file (Documents.Open); raises as Word does.
  std::shared_ptr<WordDocument> OpenDocument(std::u16string_view fileName);

  std::shared_ptr<WordSession> session_;  // the one owner of the shared state
  std::shared_ptr<WordDialogs> dialogs_;
  std::shared_ptr<WordDocuments> documents_;
};

}  // namespace sendnote::inmemory
