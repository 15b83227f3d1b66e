// The user-interface operations the system relies on: message and input boxes, modal
// forms, the application-wide mouse pointer and the help viewer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Forms.h"

namespace sendnote::platform {

// Message box styles and answers.
inline constexpr int32_t kVbOKOnly = 0;
inline constexpr int32_t kVbYesNoCancel = 3;
inline constexpr int32_t kVbCritical = 16;
inline constexpr int32_t kVbExclamation = 48;
inline constexpr int32_t kVbInformation = 64;
inline constexpr int32_t kVbOK = 1;
inline constexpr int32_t kVbCancel = 2;
inline constexpr int32_t kVbYes = 6;
inline constexpr int32_t kVbNo = 7;

// Mouse pointers.
inline constexpr int32_t kVbDefault = 0;
inline constexpr int32_t kVbHourglass = 11;

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A modal message box; returns the button pressed (kVbOK, kVbYes, ...). The first
  // button is the default.
  virtual int32_t MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) = 0;
  // A modal input box; returns the text typed, or the empty string for its Cancel.
  virtual std::u16string InputBox(std::u16string_view prompt, std::u16string_view title,
                                  std::u16string_view defaultText) = 0;
  // Shows a form modally with no owner window: raises Form_Load, lets the user work with
  // it, and returns once the form has been unloaded.
  virtual void ShowModal(TemplateDialogForm& form) = 0;
  virtual void ShowModal(AboutForm& form) = 0;
  virtual void ShowModal(DocumentListForm& form) = 0;
  virtual void SetMousePointer(int32_t pointer) = 0;
  virtual int32_t MousePointer() const = 0;
  // Opens a help file at its default topic; returns non-zero when the viewer shows it,
  // 0 when the file cannot be found or opened.
  virtual intptr_t ShowHelp(std::u16string_view file) = 0;
};

}  // namespace sendnote::platform
