// What the portable host needs of its Word beyond the automation contract: starting
// one whose File New dialog asks the host, and saving a document to a file.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/Word.h"

namespace sendnote::portable {

// The user's answer to Word's File New dialog.
struct FileNewChoice {
  bool confirmed = false;
  std::u16string templateName;
  bool newTemplate = false;
};

class WordEngine {
 public:
  // Called each time the File New dialog is displayed.
  using FileNewPrompt = std::function<FileNewChoice()>;

  virtual ~WordEngine() = default;
  // Returns a new, invisible Word application whose File New dialog asks `prompt`.
  virtual std::shared_ptr<platform::WordApplication> Start(FileNewPrompt prompt) = 0;
  // Writes the document to `path` atomically: a complete file or none. Refuses to replace
  // an existing file unless `overwrite`, and never writes over the document's template.
  // Raises platform::ComError on failure.
  virtual void Save(platform::Document& document, const std::filesystem::path& path,
                    bool overwrite) = 0;
};

}  // namespace sendnote::portable
