#include "windows/WindowsUserInterface.h"

#include "windows/Win32.h"

#include "com/AutomationObject.h"
#include "com/HResultError.h"
#include "com/WideText.h"

namespace sendnote::windows {

int32_t WindowsUserInterface::MsgBox(std::u16string_view prompt, int32_t style,
                                     std::u16string_view title) {
  // The Basic style values are MessageBox's flags, and its answers are Basic's.
  const std::wstring text = com::ToWide(prompt);
  const std::wstring caption = com::ToWide(title);
  const int answer = ::MessageBoxW(::GetActiveWindow(), text.c_str(), caption.c_str(),
                                   static_cast<UINT>(style) | MB_SETFOREGROUND);
  if (answer == 0) com::Check(HRESULT_FROM_WIN32(::GetLastError()), u"MessageBox");
  return answer;
}

std::u16string WindowsUserInterface::InputBox(std::u16string_view, std::u16string_view,
                                              std::u16string_view) {
  com::RaiseNotYetAutomated(u"InputBox");
}

void WindowsUserInterface::ShowModal(platform::TemplateDialogForm&) {
  com::RaiseNotYetAutomated(u"The output dialog");
}

void WindowsUserInterface::ShowModal(platform::AboutForm&) {
  com::RaiseNotYetAutomated(u"The version information box");
}

void WindowsUserInterface::SetMousePointer(int32_t pointer) {
  pointer_ = pointer;
  ::SetCursor(::LoadCursorW(nullptr, pointer == platform::kVbHourglass ? IDC_WAIT : IDC_ARROW));
}

intptr_t WindowsUserInterface::ShowHelp(std::u16string_view) {
  com::RaiseNotYetAutomated(u"The help viewer");
}

}  // namespace sendnote::windows
