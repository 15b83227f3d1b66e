// The runtime of the portable edition: the terminal user interface, the .docx engine as
// the one automation class "Word.Application", and the program's folder as the add-in's.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Runtime.h"
#include "platform/Word.h"

namespace sendnote::portable {

class PortableRuntime : public platform::Runtime {
 public:
  using WordFactory = std::function<std::shared_ptr<platform::WordApplication>()>;

  PortableRuntime(platform::UserInterface& ui, WordFactory makeWord, std::u16string folder);

  // The Word started by CreateObject, or empty while none runs.
  const std::shared_ptr<platform::WordApplication>& Word() const { return word_; }

  platform::UserInterface& Ui() override { return ui_; }
  std::shared_ptr<platform::Object> GetObject(std::u16string_view className) override;
  std::shared_ptr<platform::Object> CreateObject(std::u16string_view className) override;
  std::u16string LibraryFolder() override { return folder_; }
  std::u16string Narrow(std::u16string_view text) override;
  // On standard error, the portable edition's place for what the user should know.
  void Note(std::u16string_view line) noexcept override;

 private:
  platform::UserInterface& ui_;
  WordFactory makeWord_;
  std::u16string folder_;
  std::shared_ptr<platform::WordApplication> word_;
};

}  // namespace sendnote::portable
