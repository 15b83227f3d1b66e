// Word's built-in dialogs as far as the system uses them: the File New dialog (79) and the
// File Open dialog (80), whose answers tests script through WordApp::QueueFileNew and
// QueueFileOpen. Other dialog numbers raise.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "inmemory/WordNode.h"
#include "platform/Word.h"

namespace sendnote::inmemory {

class WordFileNewDialog : public platform::Dialog, public WordNode {
 public:
  explicit WordFileNewDialog(std::weak_ptr<WordSession> session);

  // --- platform::Dialog ---
  std::u16string TypeName() const override { return u"Dialog"; }
  std::shared_ptr<platform::Object> Application() override;
  // Takes the next scripted answer (none: the user cancels, 0). A confirmed answer sets
  // the Template and NewTemplate settings.
  int32_t Display() override;
  std::u16string Template() override;
  platform::Variant NewTemplate() override;
  std::u16string Name() override;  // not a setting of this dialog: raises 438

 private:
  std::u16string template_ = u"Normal";  // Word's settings before any choice
  platform::Variant newTemplate_ = platform::Variant::Int32(0);
};

class WordFileOpenDialog : public platform::Dialog, public WordNode {
 public:
  explicit WordFileOpenDialog(std::weak_ptr<WordSession> session);

  std::u16string TypeName() const override { return u"Dialog"; }
  std::shared_ptr<platform::Object> Application() override;
  // Takes the next scripted answer (none, or an empty one: the user cancels, 0); a file
  // chosen becomes the Name setting. Nothing is opened.
  int32_t Display() override;
  std::u16string Template() override;        // raises 438
  platform::Variant NewTemplate() override;  // raises 438
  std::u16string Name() override;

 private:
  std::u16string name_;
};

class WordDialogs : public platform::Dialogs, public WordNode {
 public:
  explicit WordDialogs(std::weak_ptr<WordSession> session);

  // --- platform::Dialogs ---
  std::u16string TypeName() const override { return u"Dialogs"; }
  std::shared_ptr<platform::Object> Application() override;
  // The File New dialog for 79, the File Open dialog for 80; raises 5941 for any other.
  std::shared_ptr<platform::Dialog> Item(int32_t id) override;

  const std::shared_ptr<WordFileNewDialog>& FileNew() const { return fileNew_; }

 private:
  std::shared_ptr<WordFileNewDialog> fileNew_;
  std::shared_ptr<WordFileOpenDialog> fileOpen_;
};

}  // namespace sendnote::inmemory
