// Checks of the Win32 user interface under Wine's null display: each dialog is driven
// through its window (posted keys and commands, as a user's would arrive), never by
// calling an event procedure, and its controls are read back through the window tree.
// Prints each failed check and exits 1 when there was one.
#include "windows/Win32.h"

#include <functional>
#include <string>
#include <vector>

#include "com/WideText.h"
#include "tests/windows/Checks.h"
#include "windows/DialogIds.h"
#include "windows/Module.h"
#include "windows/WindowsUserInterface.h"

namespace {

using namespace sendnote::windows::test;
namespace platform = sendnote::platform;

// What the test does with the next dialog that opens on this thread.
std::function<void(HWND)> g_onOpen;

LRESULT CALLBACK OpenHook(int code, WPARAM wParam, LPARAM lParam) {
  auto window = reinterpret_cast<HWND>(wParam);
  wchar_t className[64] = {};
  if (code == HCBT_ACTIVATE && ::GetClassNameW(window, className, 64) &&
      std::wcscmp(className, L"#32770") == 0 && ::GetPropW(window, L"sendnote.seen") == nullptr) {
    ::SetPropW(window, L"sendnote.seen", window);
    if (g_onOpen) g_onOpen(window);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::wstring Text(HWND dialog, int id) {
  wchar_t text[1024] = {};
  if (id == 0) {
    ::GetWindowTextW(dialog, text, 1024);
  } else {
    ::GetDlgItemTextW(dialog, id, text, 1024);
  }
  return text;
}

void Key(HWND dialog, WPARAM key) { ::PostMessageW(dialog, WM_KEYDOWN, key, 0); }
void Command(HWND dialog, int id, int code) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), 0);
}

// An output dialog that records its events; its OK unloads only when told to.
class RecordingTemplate final : public platform::TemplateDialogForm {
 public:
  std::wstring events;
  bool okUnloads = true;
  int outputAtOk = -1;
  int addressAtOk = -1;

  RecordingTemplate() {
    controls_.frameCaption = u"出力先";
    controls_.optOutputCaption = {u"文書を新規作成(&N)", u"文書を開く(&O)", u"開いている文書(&W)"};
    controls_.addressLabel = u"出力する住所(&R) :";
    controls_.okCaption = u"OK";
    controls_.cancelCaption = u"キャンセル";
    controls_.helpCaption = u"ヘルプ(&H)";
    controls_.versionCaption = u"バージョン(&A)...";
  }
  void Form_Load() override {
    events += L"Load ";
    controls_.caption = u"添書票COMアドイン";
    controls_.cboAddress = {u"郵送先住所", u"自宅", u"会社", u"その他"};
    controls_.SelectOutput(1);
    controls_.cboAddressListIndex = 2;
  }
  void OKButton_Click() override {
    events += L"OK ";
    outputAtOk = controls_.SelectedOutput();
    addressAtOk = controls_.cboAddressListIndex;
    if (okUnloads) Unload();
  }
  void CancelButton_Click() override {
    events += L"Cancel ";
    Unload();
  }
  void imgIcon_Click(int16_t index) override {
    events += L"Icon" + std::to_wstring(index) + L" ";
    controls_.SelectOutput(index);
  }
  void cmdHelp_Click() override { events += L"Help "; }
  void cmdVersion_Click() override { events += L"Version "; }
  void Form_QueryUnload() override { events += L"QueryUnload"; }
};

class RecordingAbout final : public platform::AboutForm {
 public:
  std::wstring events;
  RecordingAbout() {
    controls_.frameCaption = u"警告";
    controls_.disclaimer = u"注意書き";
    controls_.okCaption = u"OK";
  }
  void Form_Load() override {
    events += L"Load ";
    controls_.caption = u"バージョン情報";
    controls_.version = u"バージョン 1.12.525";
    controls_.titleCaption = u"添書票COMアドイン";
  }
  void cmdOK_Click() override {
    events += L"OK ";
    Unload();
  }
};

void TemplateChecks(sendnote::windows::WindowsUserInterface& ui) {
  struct Case {
    const wchar_t* name;
    std::function<void(HWND)> act;
    bool okUnloads;
    const wchar_t* events;
  };
  const Case cases[] = {
      {L"Enter", [](HWND d) { Key(d, VK_RETURN); }, true, L"Load OK QueryUnload"},
      {L"Esc", [](HWND d) { Key(d, VK_ESCAPE); }, true, L"Load Cancel QueryUnload"},
      {L"close box", [](HWND d) { ::PostMessageW(d, WM_CLOSE, 0, 0); }, true, L"Load QueryUnload"},
      {L"OK button", [](HWND d) { Command(d, IDOK, BN_CLICKED); }, true, L"Load OK QueryUnload"},
      // An OK that does not unload leaves the dialog open for the next key.
      {L"OK that stays, then Esc",
       [](HWND d) {
         Key(d, VK_RETURN);
         Key(d, VK_ESCAPE);
       },
       false, L"Load OK Cancel QueryUnload"},
      {L"picture, help and version, then OK",
       [](HWND d) {
         Command(d, SENDNOTE_IDC_ICON2, STN_CLICKED);
         Command(d, SENDNOTE_IDC_HELP, BN_CLICKED);
         Command(d, SENDNOTE_IDC_VERSION, BN_CLICKED);
         Command(d, IDOK, BN_CLICKED);
       },
       true, L"Load Icon2 Help Version OK QueryUnload"},
  };
  for (const auto& c : cases) {
    RecordingTemplate form;
    form.okUnloads = c.okUnloads;
    std::vector<std::wstring> shown;
    bool outputChecked = false;
    int address = -1;
    g_onOpen = [&](HWND d) {
      for (int id :
           {0, SENDNOTE_IDC_FRAME, SENDNOTE_IDC_OUTPUT0, SENDNOTE_IDC_OUTPUT1, SENDNOTE_IDC_OUTPUT2,
            SENDNOTE_IDC_ADDRESS_LABEL, IDOK, IDCANCEL, SENDNOTE_IDC_HELP, SENDNOTE_IDC_VERSION}) {
        shown.push_back(Text(d, id));
      }
      outputChecked = ::IsDlgButtonChecked(d, SENDNOTE_IDC_OUTPUT1) == BST_CHECKED &&
                      ::IsDlgButtonChecked(d, SENDNOTE_IDC_OUTPUT0) == BST_UNCHECKED;
      address =
          static_cast<int>(::SendDlgItemMessageW(d, SENDNOTE_IDC_ADDRESS, CB_GETCURSEL, 0, 0));
      c.act(d);
    };
    ui.ShowModal(form);
    const std::wstring name = std::wstring(L"output dialog, ") + c.name;
    Check(form.events == c.events, name + L": events '" + form.events + L"'");
    Check(form.Unloaded(), name + L": unloaded");
    const std::vector<std::wstring> expected = {L"添書票COMアドイン",
                                                L"出力先",
                                                L"文書を新規作成(&N)",
                                                L"文書を開く(&O)",
                                                L"開いている文書(&W)",
                                                L"出力する住所(&R) :",
                                                L"OK",
                                                L"キャンセル",
                                                L"ヘルプ(&H)",
                                                L"バージョン(&A)..."};
    Check(shown == expected, name + L": control captions");
    Check(outputChecked, name + L": the loaded output option is selected");
    Check(address == 2, name + L": the loaded address entry is chosen");
  }
  // The user's picture click reaches OK as the selected option, the list position too.
  RecordingTemplate form;
  g_onOpen = [](HWND d) {
    Command(d, SENDNOTE_IDC_ICON0, STN_CLICKED);
    ::SendDlgItemMessageW(d, SENDNOTE_IDC_ADDRESS, CB_SETCURSEL, 3, 0);
    Key(d, VK_RETURN);
  };
  ui.ShowModal(form);
  Check(form.outputAtOk == 0 && form.addressAtOk == 3,
        L"OK sees the choices: output " + std::to_wstring(form.outputAtOk) + L", address " +
            std::to_wstring(form.addressAtOk));
}

void AboutChecks(sendnote::windows::WindowsUserInterface& ui) {
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    RecordingAbout form;
    std::vector<std::wstring> shown;
    g_onOpen = [&](HWND d) {
      for (int id : {0, SENDNOTE_IDC_ABOUT_FRAME, SENDNOTE_IDC_DISCLAIMER, SENDNOTE_IDC_TITLE,
                     SENDNOTE_IDC_VERSION_TEXT, IDOK}) {
        shown.push_back(Text(d, id));
      }
      Key(d, key);
    };
    ui.ShowModal(form);
    const std::vector<std::wstring> expected = {
        L"バージョン情報",      L"警告", L"注意書き", L"添書票COMアドイン",
        L"バージョン 1.12.525", L"OK"};
    Check(shown == expected, L"version box captions");
    Check(form.events == L"Load OK ", L"version box events '" + form.events + L"'");
    Check(form.Unloaded(), L"version box unloaded");
  }
}

void BoxChecks(sendnote::windows::WindowsUserInterface& ui) {
  std::wstring prompt, caption;
  g_onOpen = [&](HWND d) {
    prompt = Text(d, SENDNOTE_IDC_PROMPT);
    caption = Text(d, 0);
    Check(Text(d, SENDNOTE_IDC_TEXT) == L"既定", L"input box default text");
    ::SetDlgItemTextW(d, SENDNOTE_IDC_TEXT, L"入力した接頭辞");
    Key(d, VK_RETURN);
  };
  Check(
      ui.InputBox(u"接頭辞を入力してください", u"添書票COMアドイン", u"既定") == u"入力した接頭辞",
      L"input box OK returns the typed text");
  Check(prompt == L"接頭辞を入力してください" && caption == L"添書票COMアドイン",
        L"input box prompt and title");
  g_onOpen = [](HWND d) {
    ::SetDlgItemTextW(d, SENDNOTE_IDC_TEXT, L"捨てる");
    Key(d, VK_ESCAPE);
  };
  Check(ui.InputBox(u"p", u"t", u"既定").empty(), L"input box Cancel returns empty");

  struct BoxCase {
    int32_t style;
    int answer;
  };
  for (const BoxCase& c :
       {BoxCase{16, IDOK}, BoxCase{48, IDOK}, BoxCase{64, IDOK}, BoxCase{67, IDNO}}) {
    std::wstring seen;
    g_onOpen = [&](HWND d) {
      seen = Text(d, 0) + L"|" + Text(d, 0xFFFF);
      Command(d, c.answer, BN_CLICKED);
    };
    const int32_t answer = ui.MsgBox(u"本文", c.style, u"添書票COMアドイン");
    Check(answer == c.answer,
          L"message box style " + std::to_wstring(c.style) + L" answer " + std::to_wstring(answer));
    Check(seen == L"添書票COMアドイン|本文", L"message box texts '" + seen + L"'");
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  sendnote::windows::Module::Attach(::GetModuleHandleW(nullptr));
  HHOOK hook = ::SetWindowsHookExW(WH_CBT, OpenHook, nullptr, ::GetCurrentThreadId());
  Check(hook != nullptr, L"dialog hook");
  sendnote::windows::WindowsUserInterface ui;
  TemplateChecks(ui);
  AboutChecks(ui);
  BoxChecks(ui);
  ui.SetMousePointer(platform::kVbHourglass);
  Check(ui.MousePointer() == platform::kVbHourglass, L"hourglass pointer");
  ui.SetMousePointer(platform::kVbDefault);
  Check(ui.MousePointer() == platform::kVbDefault, L"default pointer");
  Check(ui.ShowHelp(u"Z:\\no\\such\\sendnote.chm") == 0, L"a missing help file shows nothing");
  // The compiled help file, when the test names it, opens in the viewer.
  if (argc > 1) {
    const intptr_t viewer = ui.ShowHelp(sendnote::com::FromWide(argv[1]));
    Check(viewer != 0, L"the help file opens in the viewer");
    if (viewer != 0) ::DestroyWindow(reinterpret_cast<HWND>(viewer));
  }
  ::UnhookWindowsHookEx(hook);
  if (Failures() == 0) Print(stdout, L"dialog checks passed");
  return Failures() == 0 ? 0 : 1;
}
