#include "hostsim/app/SimUi.h"

#include <cwchar>

#include "windows/dll/DialogIds.h"

namespace sendnote::windows::test {
namespace {

SimUi* g_current = nullptr;

std::wstring TextOf(HWND window) {
  wchar_t text[2048] = {};
  ::GetWindowTextW(window, text, 2048);
  return text;
}

// The icon of a message box: Windows names its control 20, Wine 0x440.
int IconStyle(HWND box) {
  for (int id : {20, 0x440}) {
    HWND control = ::GetDlgItem(box, id);
    if (!control) continue;
    const auto icon = reinterpret_cast<HICON>(::SendMessageW(control, STM_GETICON, 0, 0));
    if (!icon) continue;
    if (icon == ::LoadIconW(nullptr, IDI_HAND)) return 16;
    if (icon == ::LoadIconW(nullptr, IDI_EXCLAMATION)) return 48;
    if (icon == ::LoadIconW(nullptr, IDI_ASTERISK)) return 64;
    if (icon == ::LoadIconW(nullptr, IDI_QUESTION)) return 32;
  }
  return 0;
}

int ButtonStyle(HWND box) {
  const bool yes = ::GetDlgItem(box, IDYES) != nullptr;
  const bool no = ::GetDlgItem(box, IDNO) != nullptr;
  const bool cancel = ::GetDlgItem(box, IDCANCEL) != nullptr;
  if (yes && no && cancel) return MB_YESNOCANCEL;
  if (yes && no) return MB_YESNO;
  if (::GetDlgItem(box, IDOK) && cancel) return MB_OKCANCEL;
  return MB_OK;
}

int FirstButton(int buttons) {
  switch (buttons) {
    case MB_YESNOCANCEL:
    case MB_YESNO:
      return IDYES;
    default:
      return IDOK;
  }
}

}  // namespace

SimUi::SimUi() {
  g_current = this;
  hook_ = ::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
}

SimUi::~SimUi() {
  if (hook_) ::UnhookWindowsHookEx(hook_);
  g_current = nullptr;
}

void SimUi::Clear() {
  boxes_.clear();
  dialogs_.clear();
  boxAnswers_.clear();
  dialogAnswers_.clear();
  outputClicks_.clear();
  listAnswers_.clear();
  lists_.clear();
}

LRESULT CALLBACK SimUi::Hook(int code, WPARAM wParam, LPARAM lParam) {
  auto window = reinterpret_cast<HWND>(wParam);
  wchar_t className[64] = {};
  // A window is activated again when it regains the focus: meet it once.
  if (code == HCBT_ACTIVATE && g_current && ::GetClassNameW(window, className, 64) &&
      std::wcscmp(className, L"#32770") == 0) {
    // The output dialog met before is met again when it is active once more after a box
    // (OK failed) and a further answer waits for it.
    const bool again =
        !g_current->dialogAnswers_.empty() && ::GetDlgItem(window, SENDNOTE_IDC_OUTPUT0) != nullptr;
    if (::GetPropW(window, L"sendnote.met") == nullptr || again) {
      ::SetPropW(window, L"sendnote.met", window);
      g_current->Meet(window);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void SimUi::Meet(HWND window) {
  if (HWND list = ::GetDlgItem(window, SENDNOTE_IDC_DOCUMENTS)) {
    SeenList seen;
    seen.title = TextOf(window);
    seen.label = TextOf(::GetDlgItem(window, SENDNOTE_IDC_DOCUMENTS_LABEL));
    const auto count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::wstring entry(static_cast<size_t>(::SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
      ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
      seen.entries.push_back(entry);
    }
    seen.selected = static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0));
    lists_.push_back(seen);
    ListAnswer answer{-1, false};
    if (!listAnswers_.empty()) {
      answer = listAnswers_.front();
      listAnswers_.pop_front();
    }
    if (answer.pick >= 0) ::PostMessageW(list, LB_SETCURSEL, answer.pick, 0);
    // The key goes to the list, which has the focus; the dialog turns it into OK or Cancel.
    const WPARAM key = answer.enter ? VK_RETURN : VK_ESCAPE;
    ::PostMessageW(list, WM_KEYDOWN, key, 0);
    ::PostMessageW(list, WM_KEYUP, key, 0);
    return;
  }
  if (::GetDlgItem(window, SENDNOTE_IDC_OUTPUT0)) {
    dialogs_.push_back(TextOf(window));
    DialogAnswer answer = DialogAnswer::kCancel;
    int output = -1;
    if (!dialogAnswers_.empty()) {
      answer = dialogAnswers_.front();
      dialogAnswers_.pop_front();
    }
    if (!outputClicks_.empty()) {
      output = outputClicks_.front();
      outputClicks_.pop_front();
    }
    if (output >= 0) {
      ::PostMessageW(::GetDlgItem(window, SENDNOTE_IDC_OUTPUT0 + output), BM_CLICK, 0, 0);
    }
    // As the user's click arrives: a button's notification, or the close box.
    if (answer == DialogAnswer::kCloseBox) {
      ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
      const int id = answer == DialogAnswer::kOk ? IDOK : IDCANCEL;
      ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
    }
    return;
  }
  if (::GetDlgItem(window, SENDNOTE_IDC_VERSION_TEXT) || ::GetDlgItem(window, SENDNOTE_IDC_TEXT)) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return;
  }
  SeenBox box;
  box.title = TextOf(window);
  wchar_t text[2048] = {};
  ::GetDlgItemTextW(window, 0xFFFF, text, 2048);
  box.text = text;
  const int buttons = ButtonStyle(window);
  box.style = buttons + IconStyle(window);
  int answer = FirstButton(buttons);
  if (!boxAnswers_.empty()) {
    answer = boxAnswers_.front();
    boxAnswers_.pop_front();
  }
  boxes_.push_back(box);
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

}  // namespace sendnote::windows::test
