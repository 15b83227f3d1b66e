// Checks of the Win32 user interface under Wine's null display: each dialog is driven
// through its window (posted keys and commands, as a user's would arrive), never by
// calling an event procedure, and its controls are read back through the window tree.
// Prints each failed check and exits 1 when there was one.

// The font checks compare with GDI's weights and character sets, which windows/com/Win32.h
// leaves out (NOGDI), so GDI is read here first. Its GetObject macro would rename this
// file's override of the runtime contract's GetObject: it is dropped at once.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#undef GetObject

#include "windows/com/Win32.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/ComError.h"
#include "platform/Runtime.h"
#include "system/common/ReportError.h"
#include "system/ui/modHtmlHelp.h"
#include "tests/support/VersionText.h"
#include "tests/windows/Checks.h"
#include "tests/windows/DialogResource.h"
#include "windows/com/WideText.h"
#include "windows/dll/DialogIds.h"
#include "windows/dll/Module.h"
#include "windows/dll/WindowsUserInterface.h"

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

// The dialog's title-bar icons, and a picture in each of the given static controls.
bool HasIcons(HWND dialog, std::initializer_list<int> pictures) {
  bool all = ::SendMessageW(dialog, WM_GETICON, ICON_BIG, 0) != 0 &&
             ::SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0) != 0;
  for (int id : pictures) {
    all = all && ::SendDlgItemMessageW(dialog, id, STM_GETICON, 0, 0) != 0;
  }
  return all;
}

void Key(HWND dialog, WPARAM key) { ::PostMessageW(dialog, WM_KEYDOWN, key, 0); }
void Command(HWND dialog, int id, int code) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), 0);
}

std::wstring Wide(std::u16string_view text) { return sendnote::com::ToWide(text); }

// The recording forms show the resource's captions marked, so that a caption the dialog
// shows is known to come from the form, not from the template beneath.
std::u16string Marked(const std::wstring& caption) {
  return sendnote::com::FromWide(caption + L" *");
}

// An output dialog that records its events; its OK unloads only when told to.
class RecordingTemplate final : public platform::TemplateDialogForm {
 public:
  std::wstring events;
  bool okUnloads = true;
  int outputAtOk = -1;
  int addressAtOk = -1;

  RecordingTemplate() {
    controls_.frameCaption = Marked(resource_.Caption(SENDNOTE_IDC_FRAME));
    controls_.optOutputCaption = {Marked(resource_.Caption(SENDNOTE_IDC_OUTPUT0)),
                                  Marked(resource_.Caption(SENDNOTE_IDC_OUTPUT1)),
                                  Marked(resource_.Caption(SENDNOTE_IDC_OUTPUT2))};
    controls_.addressLabel = Marked(resource_.Caption(SENDNOTE_IDC_ADDRESS_LABEL));
    controls_.okCaption = Marked(resource_.Caption(IDOK));
    controls_.cancelCaption = Marked(resource_.Caption(IDCANCEL));
    controls_.helpCaption = Marked(resource_.Caption(SENDNOTE_IDC_HELP));
    controls_.versionCaption = Marked(resource_.Caption(SENDNOTE_IDC_VERSION));
  }
  void Form_Load() override {
    events += L"Load ";
    controls_.caption = Marked(resource_.title);
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

 private:
  const DialogResource resource_ = ReadDialogResource(SENDNOTE_DLG_TEMPLATE);
};

class RecordingAbout final : public platform::AboutForm {
 public:
  std::wstring events;
  RecordingAbout() {
    controls_.frameCaption = Marked(resource_.Caption(SENDNOTE_IDC_ABOUT_FRAME));
    controls_.disclaimer = u"注意書き";
    controls_.okCaption = Marked(resource_.Caption(IDOK));
  }
  void Form_Load() override {
    events += L"Load ";
    controls_.caption = Marked(resource_.title);
    controls_.version = sendnote::test_support::VersionBoxLine();
    controls_.titleCaption = sendnote::kAppTitle;
  }
  void cmdOK_Click() override {
    events += L"OK ";
    Unload();
  }

 private:
  const DialogResource resource_ = ReadDialogResource(SENDNOTE_DLG_ABOUT);
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
    bool icons = false;
    int address = -1;
    g_onOpen = [&](HWND d) {
      icons = HasIcons(d, {SENDNOTE_IDC_ICON0, SENDNOTE_IDC_ICON1, SENDNOTE_IDC_ICON2});
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
    const auto& controls = form.Controls();
    const std::vector<std::wstring> expected = {Wide(controls.caption),
                                                Wide(controls.frameCaption),
                                                Wide(controls.optOutputCaption[0]),
                                                Wide(controls.optOutputCaption[1]),
                                                Wide(controls.optOutputCaption[2]),
                                                Wide(controls.addressLabel),
                                                Wide(controls.okCaption),
                                                Wide(controls.cancelCaption),
                                                Wide(controls.helpCaption),
                                                Wide(controls.versionCaption)};
    Check(shown == expected, name + L": control captions");
    Check(outputChecked, name + L": the loaded output option is selected");
    Check(address == 2, name + L": the loaded address entry is chosen");
    Check(icons, name + L": the application icon and the three pictures");
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
    bool icons = false;
    g_onOpen = [&](HWND d) {
      icons = HasIcons(d, {SENDNOTE_IDC_ABOUT_ICON});
      for (int id : {0, SENDNOTE_IDC_ABOUT_FRAME, SENDNOTE_IDC_DISCLAIMER, SENDNOTE_IDC_TITLE,
                     SENDNOTE_IDC_VERSION_TEXT, IDOK}) {
        shown.push_back(Text(d, id));
      }
      Key(d, key);
    };
    ui.ShowModal(form);
    const auto& controls = form.Controls();
    const std::vector<std::wstring> expected = {
        Wide(controls.caption),      Wide(controls.frameCaption), Wide(controls.disclaimer),
        Wide(controls.titleCaption), Wide(controls.version),      Wide(controls.okCaption)};
    Check(shown == expected, L"version box captions");
    Check(form.events == L"Load OK ", L"version box events '" + form.events + L"'");
    Check(form.Unloaded(), L"version box unloaded");
    Check(icons, L"version box: the application icon in its title bar and beside the title");
  }
}

// What a message box shows besides its texts: its icon, its buttons and its owner.
struct BoxLook {
  HICON icon = nullptr;
  std::wstring buttons;  // the identifiers present, e.g. "2 6 7 "
  HWND owner = nullptr;
};

BoxLook LookOf(HWND box) {
  BoxLook look;
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      look.icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    }
  }
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    if (::GetDlgItem(box, id)) look.buttons += std::to_wstring(id) + L" ";
  }
  look.owner = ::GetWindow(box, GW_OWNER);
  return look;
}

// A window of the host's (Outlook's explorer), active while the boxes open.
HWND MakeHost() {
  WNDCLASSW type{};
  type.lpfnWndProc = ::DefWindowProcW;
  type.hInstance = ::GetModuleHandleW(nullptr);
  type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  type.lpszClassName = L"sendnote.host";
  ::RegisterClassW(&type);
  HWND host = ::CreateWindowExW(0, type.lpszClassName, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                0, 300, 200, nullptr, nullptr, type.hInstance, nullptr);
  ::SetActiveWindow(host);
  return host;
}

// Another thread's window in front, as Word's is once activated: this thread keeps its
// windows but has no active one.
class ForeignForeground {
 public:
  ForeignForeground() {
    ready_ = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    thread_ = ::CreateThread(nullptr, 0, Run, this, 0, &id_);
    ::WaitForSingleObject(ready_, 5000);
  }
  ~ForeignForeground() {
    ::PostThreadMessageW(id_, WM_QUIT, 0, 0);
    ::WaitForSingleObject(thread_, 5000);
    ::CloseHandle(thread_);
    ::CloseHandle(ready_);
  }
  ForeignForeground(const ForeignForeground&) = delete;
  ForeignForeground& operator=(const ForeignForeground&) = delete;

  // Brings the window to the front again and lets this thread see its deactivation.
  void Front() {
    ::PostThreadMessageW(id_, WM_APP, 0, 0);
    ::WaitForSingleObject(ready_, 5000);
    for (int i = 0; i < 20 && ::GetActiveWindow(); ++i) {
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
      ::Sleep(10);
    }
  }

 private:
  static DWORD WINAPI Run(void* self) {
    auto& me = *static_cast<ForeignForeground*>(self);
    HWND window = ::CreateWindowExW(0, L"sendnote.host", L"Word", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    40, 40, 300, 200, nullptr, nullptr, nullptr, nullptr);
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
    ::SetEvent(me.ready_);
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (message.message == WM_APP && !message.hwnd) {
        ::SetForegroundWindow(window);
        ::SetEvent(me.ready_);
        continue;
      }
      ::DispatchMessageW(&message);
    }
    ::DestroyWindow(window);
    return 0;
  }

  HANDLE ready_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD id_ = 0;
};

// With no active window on this thread the boxes still belong to the host's window.
void OwnerChecks(sendnote::windows::WindowsUserInterface& ui, HWND host) {
  ForeignForeground word;
  HWND owner = host;
  g_onOpen = [&](HWND d) {
    owner = ::GetWindow(d, GW_OWNER);
    Command(d, IDOK, BN_CLICKED);
  };
  word.Front();
  Check(::GetActiveWindow() == nullptr,
        L"no active window here while another thread's is in front");
  ui.MsgBox(u"p", 64, sendnote::kAppTitle);
  Check(owner == host, L"a message box after Word was activated is owned by the host's window");
  word.Front();
  owner = nullptr;
  ui.InputBox(u"p", u"t", u"");
  Check(owner == host, L"an input box after Word was activated is owned by the host's window");
  // A hidden host window is no owner; with none left a box has none.
  ::ShowWindow(host, SW_HIDE);
  word.Front();
  owner = host;
  ui.MsgBox(u"p", 64, sendnote::kAppTitle);
  Check(owner == nullptr, L"without a visible window of the host's thread a box has no owner");
  ::ShowWindow(host, SW_SHOW);
}

void BoxChecks(sendnote::windows::WindowsUserInterface& ui) {
  HWND host = MakeHost();
  Check(host && ::GetActiveWindow() == host, L"the host's window is active");
  std::wstring prompt, caption;
  HWND inputOwner = nullptr;
  g_onOpen = [&](HWND d) {
    prompt = Text(d, SENDNOTE_IDC_PROMPT);
    caption = Text(d, 0);
    inputOwner = ::GetWindow(d, GW_OWNER);
    Check(Text(d, SENDNOTE_IDC_TEXT) == L"既定", L"input box default text");
    ::SetDlgItemTextW(d, SENDNOTE_IDC_TEXT, L"入力した接頭辞");
    Key(d, VK_RETURN);
  };
  Check(ui.InputBox(u"接頭辞を入力してください", sendnote::kAppTitle, u"既定") == u"入力した接頭辞",
        L"input box OK returns the typed text");
  Check(prompt == L"接頭辞を入力してください" && caption == Wide(sendnote::kAppTitle),
        L"input box prompt and title");
  Check(inputOwner == host, L"the input box is owned by the host's window");
  g_onOpen = [](HWND d) {
    ::SetDlgItemTextW(d, SENDNOTE_IDC_TEXT, L"捨てる");
    Key(d, VK_ESCAPE);
  };
  Check(ui.InputBox(u"p", u"t", u"既定").empty(), L"input box Cancel returns empty");

  // The four styles of the system: the report, refusals, information, the prefix question.
  struct BoxCase {
    int32_t style;
    int answer;
    LPCWSTR icon;
    const wchar_t* buttons;
  };
  for (const BoxCase& c :
       {BoxCase{16, IDOK, IDI_HAND, L"1 "}, BoxCase{48, IDOK, IDI_EXCLAMATION, L"1 "},
        BoxCase{64, IDOK, IDI_ASTERISK, L"1 "}, BoxCase{67, IDNO, IDI_ASTERISK, L"2 6 7 "},
        BoxCase{67, IDCANCEL, IDI_ASTERISK, L"2 6 7 "}}) {
    const std::wstring name = L"message box style " + std::to_wstring(c.style) + L": ";
    std::wstring seen;
    BoxLook look;
    int opened = 0;
    g_onOpen = [&](HWND d) {
      ++opened;
      seen = Text(d, 0) + L"|" + Text(d, 0xFFFF);
      look = LookOf(d);
      Command(d, c.answer, BN_CLICKED);
    };
    const int32_t answer = ui.MsgBox(u"一行目\r二行目", c.style, sendnote::kAppTitle);
    Check(answer == c.answer, name + L"answer " + std::to_wstring(answer));
    Check(opened == 1, name + L"one box");
    Check(seen == Wide(sendnote::kAppTitle) + L"|一行目\r二行目", name + L"texts '" + seen + L"'");
    Check(look.icon && look.icon == ::LoadIconW(nullptr, c.icon), name + L"icon");
    Check(look.buttons == c.buttons, name + L"buttons " + look.buttons);
    Check(look.owner == host, name + L"owned by the host's window");
  }
  OwnerChecks(ui, host);
  ::DestroyWindow(host);
}

// The runtime the help procedure asks for the library's folder.
class HelpRuntime final : public platform::Runtime {
 public:
  explicit HelpRuntime(std::u16string folder) : folder_(std::move(folder)) {}
  platform::UserInterface& Ui() override { return ui_; }
  std::shared_ptr<platform::Object> GetObject(std::u16string_view) override { return nullptr; }
  std::shared_ptr<platform::Object> CreateObject(std::u16string_view) override { return nullptr; }
  std::u16string LibraryFolder() override { return folder_; }
  std::u16string Narrow(std::u16string_view text) override { return std::u16string(text); }
  void Note(std::u16string_view) noexcept override {}

 private:
  std::u16string folder_;
  sendnote::windows::WindowsUserInterface ui_;
};

// The help button's procedure itself: the file beside the library opens without a word,
// a folder without it gets the one box "ヘルプが見つかりません。".
void HelpChecks(const std::wstring& chm) {
  const std::wstring withHelp = chm.substr(0, chm.find_last_of(L'\\'));
  struct HelpCase {
    const wchar_t* name;
    std::wstring folder;
    bool found;
  };
  for (const HelpCase& c : {HelpCase{L"beside the library", withHelp, true},
                            HelpCase{L"with a trailing backslash", withHelp + L"\\", true},
                            HelpCase{L"missing", L"Z:\\no\\such\\folder", false}}) {
    const std::wstring name = std::wstring(L"help file ") + c.name + L": ";
    std::vector<std::wstring> boxes;
    BoxLook look;
    g_onOpen = [&](HWND d) {
      boxes.push_back(Text(d, 0) + L"|" + Text(d, 0xFFFF));
      look = LookOf(d);
      Command(d, IDOK, BN_CLICKED);
    };
    HelpRuntime runtime(sendnote::com::FromWide(c.folder));
    platform::ScopedRuntime installed(runtime);
    try {
      sendnote::OpenHelpFile();
    } catch (const platform::ComError& e) {
      Check(false, name + L"raised " + Hex(e.Number()));
    }
    if (c.found) {
      Check(boxes.empty(), name + L"no message");
      continue;
    }
    Check(boxes.size() == 1 && boxes[0] == Wide(sendnote::kAppTitle) + L"|ヘルプが見つかりません。",
          name + L"the one message box");
    Check(look.buttons == L"1 " && look.icon == ::LoadIconW(nullptr, IDI_EXCLAMATION),
          name + L"OK only, exclamation icon");
  }
  // Leaves the help viewers the found cases opened.
  for (HWND viewer; (viewer = ::FindWindowW(L"HH Parent", nullptr)) != nullptr;) {
    ::DestroyWindow(viewer);
  }
}

// The font each dialog resource names: Wine builds dialog fonts with the default character
// set, so the Shift-JIS one is read from the template itself.
void FontChecks() {
  for (int id : {SENDNOTE_DLG_TEMPLATE, SENDNOTE_DLG_ABOUT, SENDNOTE_DLG_INPUT}) {
    const std::wstring name = L"dialog resource " + std::to_wstring(id) + L": ";
    const DialogResource dialog = ReadDialogResource(id);
    Check(dialog.found, name + L"an extended template, Japanese");
    if (!dialog.found) continue;
    Check((dialog.style & DS_SETFONT) != 0, name + L"DS_SETFONT");
    Check(dialog.points == 9 && dialog.weight == FW_NORMAL && dialog.italic == 0 &&
              dialog.charset == SHIFTJIS_CHARSET && dialog.face == L"MS UI Gothic",
          name + L"font " + std::to_wstring(dialog.points) + L" pt, weight " +
              std::to_wstring(dialog.weight) + L", charset " + std::to_wstring(dialog.charset) +
              L", '" + dialog.face + L"'");
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
  FontChecks();
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
    HelpChecks(argv[1]);
  }
  ::UnhookWindowsHookEx(hook);
  if (Failures() == 0) Print(stdout, L"dialog checks passed");
  return Failures() == 0 ? 0 : 1;
}
