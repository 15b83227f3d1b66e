// The runtime services of the Windows edition, installed around every host event.
// GetObject finds a running class object in the running object table; CreateObject
// starts its local server (Word is out of process). Both raise 429 as Basic does.
#pragma once

#include "platform/Runtime.h"
#include "windows/dll/WindowsUserInterface.h"

namespace sendnote::windows {

class WindowsRuntime final : public platform::Runtime {
 public:
  // The library's one runtime.
  static WindowsRuntime& Instance();

  platform::UserInterface& Ui() override { return ui_; }
  std::shared_ptr<platform::Object> GetObject(std::u16string_view className) override;
  std::shared_ptr<platform::Object> CreateObject(std::u16string_view className) override;
  std::u16string LibraryFolder() override;
  std::u16string Narrow(std::u16string_view text) override;
  // Appends the line, with the local time, to %LOCALAPPDATA%\sendnote\sendnote.log (UTF-8).
  void Note(std::u16string_view line) noexcept override;

 private:
  WindowsUserInterface ui_;
};

}  // namespace sendnote::windows
