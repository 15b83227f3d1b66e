// How one click of the add-in's button ended, as the add-in tells its host.
#pragma once

#include <memory>
#include <string>

#include "platform/Word.h"

namespace sendnote {

struct ClickOutcome {
  enum class Kind {
    kCompleted,  // the letter is written; `document` is the new document, open in Word
    kStopped,    // refused or cancelled; `message` is what the user was shown (may be empty)
    kFailed,     // an unexpected failure; `message` is the error report shown
  };
  Kind kind = Kind::kStopped;
  std::u16string message;
  std::shared_ptr<platform::Document> document;
};

}  // namespace sendnote
