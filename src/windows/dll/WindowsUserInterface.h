// The user interface of the Windows edition: Win32 message and input boxes, the output
// dialog and the version box as dialog resources driven by the forms' own event
// procedures, the application-wide mouse pointer, and HTML Help for the help file.
#pragma once

#include "platform/UserInterface.h"

namespace sendnote::windows {

class WindowsUserInterface final : public platform::UserInterface {
 public:
  int32_t MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) override;
  std::u16string InputBox(std::u16string_view prompt, std::u16string_view title,
                          std::u16string_view defaultText) override;
  void ShowModal(platform::TemplateDialogForm& form) override;
  void ShowModal(platform::AboutForm& form) override;
  void ShowModal(platform::DocumentListForm& form) override;
  void SetMousePointer(int32_t pointer) override;
  int32_t MousePointer() const override { return pointer_; }
  intptr_t ShowHelp(std::u16string_view file) override;

 private:
  int32_t pointer_ = platform::kVbDefault;
};

}  // namespace sendnote::windows
