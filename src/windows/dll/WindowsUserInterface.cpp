#include "windows/dll/WindowsUserInterface.h"

#include "windows/com/Win32.h"

#include <exception>
#include <utility>

#include "windows/com/HResultError.h"
#include "windows/com/WideText.h"
#include "windows/dll/DialogIds.h"
#include "windows/dll/Module.h"

namespace sendnote::windows {
namespace {

// A window of this thread that a box may belong to: visible, top-level, not owned by
// another (so a host's main window, not a tool or a popup of it) and not a tool window.
BOOL CALLBACK FindThreadWindow(HWND window, LPARAM found) {
  if (!::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER)) return TRUE;
  if (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The window that owns a box, never none while the host shows one: the active window of
// this thread (the host's, or a dialog of ours on top of it), else the foreground window
// when it is this thread's, else a main window of this thread, the host's UI thread, in
// the state its user last left it (its last active popup: a dialog of ours over it).
// After Word was activated the host's thread has no active window, but its windows stay.
HWND OwnerWindow() {
  if (HWND active = ::GetActiveWindow()) return active;
  const DWORD thread = ::GetCurrentThreadId();
  HWND foreground = ::GetForegroundWindow();
  if (foreground && ::GetWindowThreadProcessId(foreground, nullptr) == thread) return foreground;
  // EnumThreadWindows: the thread's top-level windows ("EnumThreadWindows function",
  // Win32 reference); GetLastActivePopup: the popup of one most recently active.
  HWND main = nullptr;
  ::EnumThreadWindows(thread, FindThreadWindow, reinterpret_cast<LPARAM>(&main));
  if (!main) return nullptr;
  HWND popup = ::GetLastActivePopup(main);
  return popup && ::IsWindowVisible(popup) ? popup : main;
}

// Dialogs scale per monitor; the host process decides its own awareness, so only this
// thread switches while our window lives. The API exists from Windows 10 1607 on.
class PerMonitorDpi {
 public:
  PerMonitorDpi() {
    using SetContext = HANDLE(WINAPI*)(HANDLE);
    auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    if (!set) return;
    set_ = set;
    previous_ = set(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)));  // per monitor v2
  }
  ~PerMonitorDpi() {
    if (set_ && previous_) set_(previous_);
  }
  PerMonitorDpi(const PerMonitorDpi&) = delete;
  PerMonitorDpi& operator=(const PerMonitorDpi&) = delete;

 private:
  HANDLE(WINAPI* set_)(HANDLE) = nullptr;
  HANDLE previous_ = nullptr;
};

// What a dialog procedure shares with its show: the form, the mouse pointer, and an
// exception caught inside the procedure, which must not cross the Win32 callback.
template <typename Form>
struct DialogState {
  Form& form;
  const WindowsUserInterface& ui;
  std::exception_ptr failure;
};

template <typename State>
State* StateOf(HWND dialog) {
  return reinterpret_cast<State*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

void SetText(HWND dialog, int id, std::u16string_view text) {
  ::SetDlgItemTextW(dialog, id, com::ToWide(text).c_str());
}

std::u16string TextOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return com::FromWide(text);
}

// The hourglass stays over our windows while the system's code asks for it.
bool KeepWaitCursor(HWND dialog, const WindowsUserInterface& ui) {
  if (ui.MousePointer() != platform::kVbHourglass) return false;
  ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
  return true;
}

// The application icon in the title bar and the task switcher; shared, so never freed.
void ShowAppIcon(HWND dialog) {
  for (const auto& [which, metric] :
       {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
    const int size = ::GetSystemMetrics(metric);
    HANDLE icon = ::LoadImageW(Module::Instance(), MAKEINTRESOURCEW(SENDNOTE_ICO_APP), IMAGE_ICON,
                               size, size, LR_SHARED);
    if (icon) ::SendMessageW(dialog, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }
}

constexpr int kOutputIds[] = {SENDNOTE_IDC_OUTPUT0, SENDNOTE_IDC_OUTPUT1, SENDNOTE_IDC_OUTPUT2};
constexpr int kIconIds[] = {SENDNOTE_IDC_ICON0, SENDNOTE_IDC_ICON1, SENDNOTE_IDC_ICON2};

void ShowControls(HWND dialog, const platform::TemplateDialogControls& c) {
  ::SetWindowTextW(dialog, com::ToWide(c.caption).c_str());
  SetText(dialog, SENDNOTE_IDC_FRAME, c.frameCaption);
  for (int i = 0; i < 3; ++i) {
    SetText(dialog, kOutputIds[i], c.optOutputCaption[i]);
    ::CheckDlgButton(dialog, kOutputIds[i], c.optOutput[i] ? BST_CHECKED : BST_UNCHECKED);
  }
  SetText(dialog, SENDNOTE_IDC_ADDRESS_LABEL, c.addressLabel);
  HWND list = ::GetDlgItem(dialog, SENDNOTE_IDC_ADDRESS);
  ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const auto& entry : c.cboAddress) {
    const std::wstring text = com::ToWide(entry);
    ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(c.cboAddressListIndex), 0);
  SetText(dialog, IDOK, c.okCaption);
  SetText(dialog, IDCANCEL, c.cancelCaption);
  SetText(dialog, SENDNOTE_IDC_HELP, c.helpCaption);
  SetText(dialog, SENDNOTE_IDC_VERSION, c.versionCaption);
}

// The user's choices go back into the form before each of its events.
void ReadChoices(HWND dialog, platform::TemplateDialogControls& c) {
  for (int i = 0; i < 3; ++i) c.optOutput[i] = ::IsDlgButtonChecked(dialog, kOutputIds[i]) != 0;
  const LRESULT index = ::SendDlgItemMessageW(dialog, SENDNOTE_IDC_ADDRESS, CB_GETCURSEL, 0, 0);
  c.cboAddressListIndex = index == CB_ERR ? -1 : static_cast<int32_t>(index);
}

using TemplateState = DialogState<platform::TemplateDialogForm>;

// Runs one event of the output dialog and shows its outcome: the form's controls, or
// the end of the dialog once the form has unloaded.
template <typename Event>
void RaiseTemplateEvent(HWND dialog, TemplateState& state, Event event) {
  try {
    ReadChoices(dialog, state.form.Controls());
    event(state.form);
    if (state.form.Unloaded()) {
      ::EndDialog(dialog, IDOK);
      return;
    }
    ShowControls(dialog, state.form.Controls());
  } catch (...) {
    state.failure = std::current_exception();
    if (!state.form.Unloaded()) state.form.Unload();
    ::EndDialog(dialog, IDABORT);
  }
}

INT_PTR CALLBACK TemplateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto& state = *reinterpret_cast<TemplateState*>(lParam);
    ShowAppIcon(dialog);
    RaiseTemplateEvent(dialog, state, [](auto& form) { form.Form_Load(); });
    return TRUE;  // the focus goes to the first tab stop
  }
  auto* state = StateOf<TemplateState>(dialog);
  if (!state) return FALSE;
  if (message == WM_SETCURSOR) return KeepWaitCursor(dialog, state->ui);
  if (message == WM_CLOSE) {
    // The close box, Alt+F4 and the system menu close without キャンセル's own procedure.
    RaiseTemplateEvent(dialog, *state, [](auto& form) { form.Unload(); });
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (id == IDOK && code == BN_CLICKED) {
    RaiseTemplateEvent(dialog, *state, [](auto& form) { form.OKButton_Click(); });
  } else if (id == IDCANCEL && code == BN_CLICKED) {
    RaiseTemplateEvent(dialog, *state, [](auto& form) { form.CancelButton_Click(); });
  } else if (id == SENDNOTE_IDC_HELP && code == BN_CLICKED) {
    RaiseTemplateEvent(dialog, *state, [](auto& form) { form.cmdHelp_Click(); });
  } else if (id == SENDNOTE_IDC_VERSION && code == BN_CLICKED) {
    RaiseTemplateEvent(dialog, *state, [](auto& form) { form.cmdVersion_Click(); });
  } else if (code == STN_CLICKED && id >= SENDNOTE_IDC_ICON0 && id <= SENDNOTE_IDC_ICON2) {
    const auto index = static_cast<int16_t>(id - SENDNOTE_IDC_ICON0);
    RaiseTemplateEvent(dialog, *state, [index](auto& form) { form.imgIcon_Click(index); });
  } else {
    return FALSE;
  }
  return TRUE;
}

using AboutState = DialogState<platform::AboutForm>;

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto& state = *reinterpret_cast<AboutState*>(lParam);
    ShowAppIcon(dialog);
    try {
      state.form.Form_Load();
      const auto& c = state.form.Controls();
      ::SetWindowTextW(dialog, com::ToWide(c.caption).c_str());
      SetText(dialog, SENDNOTE_IDC_ABOUT_FRAME, c.frameCaption);
      SetText(dialog, SENDNOTE_IDC_DISCLAIMER, c.disclaimer);
      SetText(dialog, SENDNOTE_IDC_TITLE, c.titleCaption);
      SetText(dialog, SENDNOTE_IDC_VERSION_TEXT, c.version);
      SetText(dialog, IDOK, c.okCaption);
    } catch (...) {
      state.failure = std::current_exception();
      ::EndDialog(dialog, IDABORT);
    }
    return TRUE;  // OK, the first tab stop, has the focus
  }
  auto* state = StateOf<AboutState>(dialog);
  if (!state) return FALSE;
  if (message == WM_SETCURSOR) return KeepWaitCursor(dialog, state->ui);
  // OK, Enter, Esc (IDCANCEL) and the close box all press the one button.
  const bool press =
      message == WM_CLOSE || (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
                              (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL));
  if (!press) return FALSE;
  try {
    state->form.cmdOK_Click();
    if (!state->form.Unloaded()) state->form.Unload();
  } catch (...) {
    state->failure = std::current_exception();
  }
  ::EndDialog(dialog, IDOK);
  return TRUE;
}

using ListState = DialogState<platform::DocumentListForm>;

void ShowList(HWND dialog, const platform::DocumentListControls& c) {
  ::SetWindowTextW(dialog, com::ToWide(c.caption).c_str());
  SetText(dialog, SENDNOTE_IDC_DOCUMENTS_LABEL, c.listLabel);
  HWND list = ::GetDlgItem(dialog, SENDNOTE_IDC_DOCUMENTS);
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const auto& entry : c.lstDocuments) {
    const std::wstring text = com::ToWide(entry);
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(c.lstDocumentsListIndex), 0);
  SetText(dialog, IDOK, c.okCaption);
  SetText(dialog, IDCANCEL, c.cancelCaption);
}

// Runs one event of the list with the user's choice read back first; ends the dialog once
// the form has unloaded.
template <typename Event>
void RaiseListEvent(HWND dialog, ListState& state, Event event) {
  try {
    const LRESULT index = ::SendDlgItemMessageW(dialog, SENDNOTE_IDC_DOCUMENTS, LB_GETCURSEL, 0, 0);
    state.form.Controls().lstDocumentsListIndex =
        index == LB_ERR ? -1 : static_cast<int32_t>(index);
    event(state.form);
    if (state.form.Unloaded()) ::EndDialog(dialog, IDOK);
  } catch (...) {
    state.failure = std::current_exception();
    if (!state.form.Unloaded()) state.form.Unload();
    ::EndDialog(dialog, IDABORT);
  }
}

INT_PTR CALLBACK ListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto& state = *reinterpret_cast<ListState*>(lParam);
    ShowAppIcon(dialog);
    try {
      state.form.Form_Load();
      ShowList(dialog, state.form.Controls());
    } catch (...) {
      state.failure = std::current_exception();
      ::EndDialog(dialog, IDABORT);
    }
    return TRUE;  // the list, the first tab stop, has the focus
  }
  auto* state = StateOf<ListState>(dialog);
  if (!state) return FALSE;
  if (message == WM_SETCURSOR) return KeepWaitCursor(dialog, state->ui);
  if (message == WM_CLOSE) {
    RaiseListEvent(dialog, *state, [](auto& form) { form.Unload(); });
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if ((id == IDOK && code == BN_CLICKED) || (id == SENDNOTE_IDC_DOCUMENTS && code == LBN_DBLCLK)) {
    RaiseListEvent(dialog, *state, [](auto& form) { form.OKButton_Click(); });
  } else if (id == IDCANCEL && code == BN_CLICKED) {
    RaiseListEvent(dialog, *state, [](auto& form) { form.CancelButton_Click(); });
  } else {
    return FALSE;
  }
  return TRUE;
}

struct InputState {
  std::u16string_view prompt;
  std::u16string_view title;
  std::u16string_view defaultText;
  std::u16string result;
  std::exception_ptr failure;
};

// Runs one step of the input box; what it throws ends the box and is raised again by
// InputBox, outside the Win32 callback.
template <typename Step>
INT_PTR InputStep(HWND dialog, InputState& state, Step step) {
  try {
    return step();
  } catch (...) {
    state.failure = std::current_exception();
    ::EndDialog(dialog, IDABORT);
    return TRUE;
  }
}

INT_PTR CALLBACK InputProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto& state = *reinterpret_cast<InputState*>(lParam);
    return InputStep(dialog, state, [&]() -> INT_PTR {
      ::SetWindowTextW(dialog, com::ToWide(state.title).c_str());
      SetText(dialog, SENDNOTE_IDC_PROMPT, state.prompt);
      SetText(dialog, SENDNOTE_IDC_TEXT, state.defaultText);
      HWND text = ::GetDlgItem(dialog, SENDNOTE_IDC_TEXT);
      ::SendMessageW(text, EM_SETSEL, 0, -1);
      ::SetFocus(text);
      return FALSE;  // the focus is set
    });
  }
  auto* state = StateOf<InputState>(dialog);
  if (!state || message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  if (LOWORD(wParam) == IDOK) {
    return InputStep(dialog, *state, [&]() -> INT_PTR {
      state->result = TextOf(::GetDlgItem(dialog, SENDNOTE_IDC_TEXT));
      ::EndDialog(dialog, IDOK);
      return TRUE;
    });
  }
  if (LOWORD(wParam) == IDCANCEL) {  // also Esc and the close box
    state->result.clear();
    ::EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

// Shows one of the library's dialog resources modally over the active window, so that
// the window beneath does not react until it closes.
INT_PTR RunDialog(int resource, DLGPROC procedure, void* state, std::u16string_view what) {
  PerMonitorDpi dpi;
  const INT_PTR result =
      ::DialogBoxParamW(Module::Instance(), MAKEINTRESOURCEW(resource), OwnerWindow(), procedure,
                        reinterpret_cast<LPARAM>(state));
  if (result == -1) com::Check(HRESULT_FROM_WIN32(::GetLastError()), what);
  return result;
}

}  // namespace

int32_t WindowsUserInterface::MsgBox(std::u16string_view prompt, int32_t style,
                                     std::u16string_view title) {
  // The Basic style values are MessageBox's flags, and its answers are Basic's.
  const std::wstring text = com::ToWide(prompt);
  const std::wstring caption = com::ToWide(title);
  PerMonitorDpi dpi;
  const int answer = ::MessageBoxW(OwnerWindow(), text.c_str(), caption.c_str(),
                                   static_cast<UINT>(style) | MB_SETFOREGROUND);
  if (answer == 0) com::Check(HRESULT_FROM_WIN32(::GetLastError()), u"MessageBox");
  return answer;
}

std::u16string WindowsUserInterface::InputBox(std::u16string_view prompt, std::u16string_view title,
                                              std::u16string_view defaultText) {
  InputState state{prompt, title, defaultText, {}, nullptr};
  RunDialog(SENDNOTE_DLG_INPUT, InputProc, &state, u"InputBox");
  if (state.failure) std::rethrow_exception(state.failure);
  return state.result;
}

void WindowsUserInterface::ShowModal(platform::TemplateDialogForm& form) {
  TemplateState state{form, *this, nullptr};
  RunDialog(SENDNOTE_DLG_TEMPLATE, TemplateProc, &state, u"The output dialog");
  if (state.failure) std::rethrow_exception(state.failure);
}

void WindowsUserInterface::ShowModal(platform::AboutForm& form) {
  AboutState state{form, *this, nullptr};
  RunDialog(SENDNOTE_DLG_ABOUT, AboutProc, &state, u"The version information box");
  if (state.failure) std::rethrow_exception(state.failure);
}

void WindowsUserInterface::ShowModal(platform::DocumentListForm& form) {
  ListState state{form, *this, nullptr};
  RunDialog(SENDNOTE_DLG_DOCUMENTS, ListProc, &state, u"The list of open documents");
  if (state.failure) std::rethrow_exception(state.failure);
}

void WindowsUserInterface::SetMousePointer(int32_t pointer) {
  pointer_ = pointer;
  ::SetCursor(::LoadCursorW(nullptr, pointer == platform::kVbHourglass ? IDC_WAIT : IDC_ARROW));
}

intptr_t WindowsUserInterface::ShowHelp(std::u16string_view file) {
  const std::wstring path = com::ToWide(file);
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
  // hhctrl.ocx is loaded at run time and kept: the viewer lives on after this call.
  using HtmlHelp = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
  static HMODULE viewer = ::LoadLibraryW(L"hhctrl.ocx");
  if (!viewer) return 0;
  auto show =
      reinterpret_cast<HtmlHelp>(reinterpret_cast<void*>(::GetProcAddress(viewer, "HtmlHelpW")));
  if (!show) return 0;
  constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC: the file's default page
  return reinterpret_cast<intptr_t>(show(OwnerWindow(), path.c_str(), kDisplayTopic, 0));
}

}  // namespace sendnote::windows
