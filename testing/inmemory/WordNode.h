// Shared state of one in-memory Word and the base of its objects: every member call is
// counted and may be failed (per object and Word-wide), and raises once Word has quit or
// the object's document has been closed.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inmemory/Faults.h"
#include "inmemory/WordContent.h"
#include "platform/Object.h"
#include "platform/Variant.h"

namespace sendnote::inmemory {

class WordApp;
class WordDocument;

// One scripted answer of the File New dialog.
struct FileNewAnswer {
  int32_t result = -1;          // what Display returns: -1 confirmed, 0 cancelled
  std::u16string templateName;  // the Template setting after a confirmed Display
  platform::Variant newTemplate = platform::Variant::Int32(0);  // as Word gives it: 0 or 1
};

// What one Word instance shares among its objects. Owned by the application object only;
// the other objects hold it weakly, so a dropped application reads as a Word gone away.
struct WordSession {
  struct Template {
    WordContent content;
    bool unreadable = false;
  };

  std::weak_ptr<WordApp> app;
  bool quit = false;
  int32_t quitSaveChanges = 0;
  bool visible = false;

  Faults faults;                                 // checked on every call of every object
  std::vector<std::u16string> journal;           // "TypeName.Member" of every call, in order
  std::map<std::u16string, Template> templates;  // key: name folded to lower case

  std::deque<FileNewAnswer> fileNewAnswers;
  int fileNewDisplays = 0;
  // The File Open dialog's answers: the file chosen, or empty for Cancel.
  std::deque<std::u16string> fileOpenAnswers;
  int fileOpenDisplays = 0;
  std::vector<std::u16string> unreadableFiles;  // files that exist but cannot be read
  std::weak_ptr<WordDocument> active;           // the last document made, opened or activated
  int untitled = 0;                             // new documents named so far

  std::vector<std::shared_ptr<WordDocument>> open;     // the Documents collection
  std::vector<std::shared_ptr<WordDocument>> created;  // every document added, in order
  std::map<std::u16string, WordContent> files;         // what SaveAs wrote, by file name
};

// Base of every in-memory Word object.
class WordNode : public Faultable {
 protected:
  // `typeName` must be a literal; `document` is empty for objects not inside a document.
  WordNode(std::u16string_view typeName, std::weak_ptr<WordSession> session,
           std::weak_ptr<WordDocument> document);

  // Counts and journals a call of `member`, raises an armed fault (Word-wide first, then
  // this object's), then raises when Word, the document or this object is gone.
  void Call(std::u16string_view member);
  // True when this object itself has been deleted.
  virtual bool Deleted() const { return false; }

  // Returns the session; raises when Word has gone away.
  std::shared_ptr<WordSession> Session() const;
  // Returns the document this object belongs to; raises when it has been closed.
  std::shared_ptr<WordDocument> Document() const;
  // Returns the application object for "Application"; raises when Word has gone away.
  std::shared_ptr<WordApp> App() const;
  // The document, possibly gone; for test-facing reads that must not raise.
  std::shared_ptr<WordDocument> DocumentOrNull() const { return document_.lock(); }
  const std::weak_ptr<WordSession>& SessionRef() const { return session_; }
  const std::weak_ptr<WordDocument>& DocumentRef() const { return document_; }

  std::u16string_view typeName_;

 private:
  std::weak_ptr<WordSession> session_;
  std::weak_ptr<WordDocument> document_;
  bool inDocument_;
};

// The fault and call counters of an in-memory Word object reached through the platform
// interfaces. Throws std::bad_cast for an object that is not an in-memory one.
Faults& FaultsOf(const std::shared_ptr<platform::Object>& object);

}  // namespace sendnote::inmemory
