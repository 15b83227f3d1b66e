// Base of the engine's objects that belong to a document: every call first checks that
// Word still runs and the document is open.
#pragma once

#include <memory>

#include "docx/DocumentModel.h"

namespace sendnote::docx {

class DocxObject {
 protected:
  explicit DocxObject(std::shared_ptr<DocumentModel> model) : model_(std::move(model)) {}
  // Returns the open document's model; raises when Word or the document is gone.
  DocumentModel& Model() const {
    model_->CheckOpen();
    return *model_;
  }
  const std::shared_ptr<DocumentModel>& ModelRef() const { return model_; }

 private:
  std::shared_ptr<DocumentModel> model_;
};

// Raises Word's "Object has been deleted." (5825).
[[noreturn]] void RaiseDeleted();

}  // namespace sendnote::docx
