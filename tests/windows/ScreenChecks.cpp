// Screenshots of the output dialog and the version box on a real (virtual) display: the
// system's own forms are shown through the Win32 user interface, each window is copied
// from the screen into a PNG, and its window tree is read back: the caption of every
// control, exactly as the dialog resource holds it or the form fills it in, the dialog
// font, and captions that fit their controls. The version box is opened by the output
// dialog's own button, on top of it.
// Usage: sendnote_screens FOLDER (the PNGs go there). Exits 1 when a check failed.

// The copies are drawn with GDI, which windows/com/Win32.h leaves out (NOGDI): <windows.h>
// is read with GDI first, lean as that header reads it. wingdi.h's GetObject macro comes
// with it and would rename the runtime contract's GetObject in platform/Runtime.h below, so
// it goes here; the font is read by GetObjectW's own name.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#undef GetObject

#include "windows/com/Win32.h"

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ComError.h"
#include "platform/Runtime.h"
#include "system/common/ReportError.h"
#include "system/common/clsOccation.h"
#include "system/ui/dlgTemplate.h"
#include "system/ui/dlgWindow.h"
#include "system/ui/frmAbout.h"
#include "tests/support/VersionText.h"
#include "tests/windows/Checks.h"
#include "tests/windows/DialogResource.h"
#include "tests/windows/PngFile.h"
#include "windows/dll/DialogIds.h"
#include "windows/dll/Module.h"
#include "windows/dll/WindowsUserInterface.h"

namespace {

using namespace sendnote::windows::test;
namespace platform = sendnote::platform;

// The runtime of the forms: the Win32 user interface; nothing of Word is reached.
class ScreenRuntime final : public platform::Runtime {
 public:
  platform::UserInterface& Ui() override { return ui_; }
  std::shared_ptr<platform::Object> GetObject(std::u16string_view) override {
    platform::Raise(429, u"ActiveX component can't create object");
  }
  std::shared_ptr<platform::Object> CreateObject(std::u16string_view) override {
    platform::Raise(429, u"ActiveX component can't create object");
  }
  std::u16string LibraryFolder() override { return u"Z:\\nowhere"; }
  std::u16string Narrow(std::u16string_view text) override { return std::u16string(text); }
  void Note(std::u16string_view) noexcept override {}

 private:
  sendnote::windows::WindowsUserInterface ui_;
};

std::wstring g_folder;
HWND g_template = nullptr;

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

bool IsPicture(HWND control) {
  wchar_t className[64] = {};
  ::GetClassNameW(control, className, 64);
  return std::wstring(className) == L"Static" &&
         (::GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// A control's caption; a picture's (whose text is its resource number) reads "(icon)"
// when it holds one.
std::wstring TextOf(HWND window) {
  if (IsPicture(window)) {
    return ::SendMessageW(window, STM_GETICON, 0, 0) ? L"(icon)" : L"(no icon)";
  }
  wchar_t text[1024] = {};
  ::GetWindowTextW(window, text, 1024);
  return text;
}

// The window as the screen shows it, title bar and frame included, saved as a PNG. False
// while it is not painted yet (a loaded machine), for the next tick to try again.
bool Shoot(HWND window, const std::wstring& name) {
  static std::map<std::wstring, int> attempts;
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r{};
  ::GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  Check(width > 0 && height > 0, name + L": the window has a size");
  if (width <= 0 || height <= 0) return true;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  Check(::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != FALSE,
        name + L": BitBlt from the screen");
  ::GdiFlush();
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(width) * height * 3);
  std::set<uint32_t> colours;
  const auto* pixels = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) {
    const uint32_t p = pixels[i] & 0xFFFFFF;  // BGRX
    colours.insert(p);
    rgb.insert(rgb.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                           static_cast<uint8_t>(p)});
  }
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  // A frame, a face, text and its smoothing: an empty or unpainted capture has one or two.
  const bool painted = colours.size() >= 8;
  if (!painted && ++attempts[name] < 20) return false;
  Check(painted, name + L": the capture shows the window (" + std::to_wstring(colours.size()) +
                     L" colours)");
  const std::vector<uint8_t> png =
      PngFile::Encode(static_cast<uint32_t>(width), static_cast<uint32_t>(height), rgb);
  const std::wstring path = g_folder + L"\\" + name;
  FILE* file = _wfopen(path.c_str(), L"wb");
  Check(file != nullptr, L"write " + path);
  if (!file) return true;
  Check(std::fwrite(png.data(), 1, png.size(), file) == png.size(), L"write " + path);
  std::fclose(file);
  Print(stdout, path + L": " + std::to_wstring(width) + L"x" + std::to_wstring(height));
  return true;
}

struct Control {
  int id;
  std::wstring className;
  std::wstring text;
  bool operator==(const Control&) const = default;
};

BOOL CALLBACK Collect(HWND child, LPARAM lParam) {
  auto& found = *reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(lParam);
  if (::GetParent(child) == found.first) found.second.push_back(child);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND dialog) {
  std::pair<HWND, std::vector<HWND>> found{dialog, {}};
  ::EnumChildWindows(dialog, Collect, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

// How much of a control's width its caption may use, by the kind of control.
int RoomFor(HWND control, const std::wstring& className) {
  RECT client{};
  ::GetClientRect(control, &client);
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  if (className != L"Button") return client.right;
  switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX:
      return client.right - 16;  // the caption sits in the frame line, inset on both sides
    case BS_AUTORADIOBUTTON:
    case BS_RADIOBUTTON:
      return client.right - ::GetSystemMetrics(SM_CXMENUCHECK) - 4;
    default:
      return client.right - 6;  // the push button's edge
  }
}

// Every direct child, in tab (z) order, against the expected ids, classes and captions;
// the font the resource names; and every caption inside its control.
void CheckTree(HWND dialog, const std::wstring& name, const std::wstring& title,
               const std::vector<Control>& expected) {
  Check(TextOf(dialog) == title, name + L": title '" + TextOf(dialog) + L"'");
  std::vector<Control> shown;
  for (HWND child : ChildrenOf(dialog)) {
    wchar_t className[64] = {};
    ::GetClassNameW(child, className, 64);
    shown.push_back({::GetDlgCtrlID(child), className, TextOf(child)});
    Check(::IsWindowVisible(child) != FALSE,
          name + L": control " + std::to_wstring(::GetDlgCtrlID(child)) + L" is visible");
  }
  Check(shown == expected, name + L": the controls and their captions");
  for (size_t i = 0; i < shown.size() && shown != expected; ++i) {
    Print(stderr, L"  " + std::to_wstring(shown[i].id) + L" " + shown[i].className + L" '" +
                      shown[i].text + L"'");
  }

  auto font = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW face{};
  Check(font && ::GetObjectW(font, sizeof face, &face) == sizeof face, name + L": dialog font");
  // (Wine makes a dialog's font with the default character set: the resource's own is
  // checked under the null display.)
  Check(std::wstring(face.lfFaceName) == L"MS UI Gothic" && face.lfWeight == FW_NORMAL,
        name + L": font '" + face.lfFaceName + L"'");

  RECT frame{};
  ::GetClientRect(dialog, &frame);
  for (HWND child : ChildrenOf(dialog)) {
    wchar_t className[64] = {};
    ::GetClassNameW(child, className, 64);
    const std::wstring text = TextOf(child);
    const std::wstring what = name + L": control " + std::to_wstring(::GetDlgCtrlID(child));
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    Check(r.left >= 0 && r.top >= 0 && r.right <= frame.right && r.bottom <= frame.bottom,
          what + L" lies inside the window");
    if (IsPicture(child)) {
      RECT room{};
      ::GetClientRect(child, &room);
      Check(room.right >= ::GetSystemMetrics(SM_CXICON) &&
                room.bottom >= ::GetSystemMetrics(SM_CYICON),
            what + L": room for its icon");
      continue;
    }
    if (text.empty() || std::wstring(className) == L"ComboBox") continue;
    HDC dc = ::GetDC(child);
    HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)));
    RECT client{};
    ::GetClientRect(child, &client);
    RECT need{0, 0, client.right, 0};
    const bool wraps = std::wstring(className) == L"Static" &&
                       (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT &&
                       client.bottom > 2 * ::GetSystemMetrics(SM_CYMENU);
    ::DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, previous);
    ::ReleaseDC(child, dc);
    if (wraps) {
      Check(need.bottom <= client.bottom, what + L": its wrapped text is " +
                                              std::to_wstring(need.bottom) + L" high, room " +
                                              std::to_wstring(client.bottom));
    } else {
      const int room = RoomFor(child, className);
      Check(need.right <= room, what + L" '" + text + L"' is " + std::to_wstring(need.right) +
                                    L" wide, room " + std::to_wstring(room));
    }
  }
}

// A control as the dialog resource describes it, with the caption the resource gives it.
Control FromResource(const DialogResource& dialog, int id, const wchar_t* className) {
  return {id, className, dialog.Caption(id)};
}

void CALLBACK AboutShown(HWND about, UINT, UINT_PTR timer, DWORD) {
  if (!Shoot(about, L"frmAbout.png")) return;
  ::KillTimer(about, timer);
  sendnote::frmAbout fresh;
  const DialogResource resource = ReadDialogResource(SENDNOTE_DLG_ABOUT);
  // The texts the resource leaves empty are the form's: the disclaimer, the program's
  // title and the build's version.
  CheckTree(about, L"version box", resource.title,
            {FromResource(resource, IDOK, L"Button"),
             FromResource(resource, SENDNOTE_IDC_ABOUT_FRAME, L"Button"),
             {SENDNOTE_IDC_DISCLAIMER, L"Static", Wide(fresh.Controls().disclaimer)},
             {SENDNOTE_IDC_TITLE, L"Button", Wide(sendnote::kAppTitle)},
             {SENDNOTE_IDC_VERSION_TEXT, L"Static", Wide(sendnote::test_support::VersionBoxLine())},
             {SENDNOTE_IDC_ABOUT_ICON, L"Static", L"(icon)"}});
  // Modal over the output dialog: that one does not react until the box is closed.
  Check(::GetWindow(about, GW_OWNER) == g_template, L"the version box is owned by the dialog");
  Check(g_template && !::IsWindowEnabled(g_template), L"the output dialog is disabled beneath");
  ::PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// Closes the output dialog once the version box on top of it is gone.
void CALLBACK CancelTemplate(HWND dialog, UINT, UINT_PTR timer, DWORD) {
  if (!::IsWindowEnabled(dialog)) return;
  ::KillTimer(dialog, timer);
  Check(::GetDlgItem(dialog, SENDNOTE_IDC_OUTPUT0) &&
            TextOf(dialog) == ReadDialogResource(SENDNOTE_DLG_TEMPLATE).title,
        L"the output dialog is back after the version box");
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void CALLBACK TemplateShown(HWND dialog, UINT, UINT_PTR timer, DWORD) {
  if (!Shoot(dialog, L"dlgTemplate.png")) return;
  ::KillTimer(dialog, timer);
  const DialogResource resource = ReadDialogResource(SENDNOTE_DLG_TEMPLATE);
  // The address list shows the entry the form selected, the first.
  CheckTree(dialog, L"output dialog", resource.title,
            {FromResource(resource, SENDNOTE_IDC_FRAME, L"Button"),
             FromResource(resource, SENDNOTE_IDC_OUTPUT0, L"Button"),
             FromResource(resource, SENDNOTE_IDC_OUTPUT1, L"Button"),
             FromResource(resource, SENDNOTE_IDC_OUTPUT2, L"Button"),
             {SENDNOTE_IDC_ICON0, L"Static", L"(icon)"},
             {SENDNOTE_IDC_ICON1, L"Static", L"(icon)"},
             {SENDNOTE_IDC_ICON2, L"Static", L"(icon)"},
             FromResource(resource, SENDNOTE_IDC_ADDRESS_LABEL, L"Static"),
             {SENDNOTE_IDC_ADDRESS, L"ComboBox", L"郵送先住所"},
             FromResource(resource, IDOK, L"Button"),
             FromResource(resource, IDCANCEL, L"Button"),
             FromResource(resource, SENDNOTE_IDC_HELP, L"Button"),
             FromResource(resource, SENDNOTE_IDC_VERSION, L"Button")});
  Check(::IsDlgButtonChecked(dialog, SENDNOTE_IDC_OUTPUT0) == BST_CHECKED,
        L"the stored output option is selected");
  Check(::SendDlgItemMessageW(dialog, SENDNOTE_IDC_ADDRESS, CB_GETCOUNT, 0, 0) == 4,
        L"the address list holds its four entries");
  // The version button, as the user presses it.
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(SENDNOTE_IDC_VERSION, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, SENDNOTE_IDC_VERSION)));
  ::SetTimer(dialog, 2, 300, CancelTemplate);
}

// The list of open documents, as the open-documents output shows three of them.
void CALLBACK ListShown(HWND list, UINT, UINT_PTR timer, DWORD) {
  if (!Shoot(list, L"dlgWindow.png")) return;
  ::KillTimer(list, timer);
  const DialogResource resource = ReadDialogResource(SENDNOTE_DLG_DOCUMENTS);
  Check(resource.title == ReadDialogResource(SENDNOTE_DLG_TEMPLATE).title,
        L"the list is titled as the output dialog is");
  CheckTree(list, L"document list", resource.title,
            {FromResource(resource, SENDNOTE_IDC_DOCUMENTS_LABEL, L"Static"),
             {SENDNOTE_IDC_DOCUMENTS, L"ListBox", L""},
             FromResource(resource, IDOK, L"Button"),
             FromResource(resource, IDCANCEL, L"Button")});
  HWND entries = ::GetDlgItem(list, SENDNOTE_IDC_DOCUMENTS);
  Check(::SendMessageW(entries, LB_GETCOUNT, 0, 0) == 3, L"the list holds the three documents");
  Check(::SendMessageW(entries, LB_GETCURSEL, 0, 0) == 1, L"the active document is chosen");
  Check(::GetFocus() == entries, L"the list has the focus");
  ::PostMessageW(list, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// Each of our dialogs once, when it first becomes active: painted a moment later.
LRESULT CALLBACK OpenHook(int code, WPARAM wParam, LPARAM lParam) {
  auto window = reinterpret_cast<HWND>(wParam);
  wchar_t className[64] = {};
  if (code == HCBT_ACTIVATE && ::GetClassNameW(window, className, 64) &&
      std::wcscmp(className, L"#32770") == 0 && ::GetPropW(window, L"sendnote.seen") == nullptr) {
    ::SetPropW(window, L"sendnote.seen", window);
    if (::GetDlgItem(window, SENDNOTE_IDC_VERSION_TEXT)) {
      ::SetTimer(window, 1, 500, AboutShown);
    } else if (::GetDlgItem(window, SENDNOTE_IDC_DOCUMENTS)) {
      ::SetTimer(window, 1, 500, ListShown);
    } else if (::GetDlgItem(window, SENDNOTE_IDC_OUTPUT0)) {
      g_template = window;
      ::SetTimer(window, 1, 500, TemplateShown);
    } else {
      Check(false, L"an unexpected dialog '" + TextOf(window) + L"'");
      ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: sendnote_screens FOLDER\n");
    return 2;
  }
  g_folder = argv[1];
  sendnote::windows::Module::Attach(::GetModuleHandleW(nullptr));
  ScreenRuntime runtime;
  platform::ScopedRuntime installed(runtime);
  HHOOK hook = ::SetWindowsHookExW(WH_CBT, OpenHook, nullptr, ::GetCurrentThreadId());
  Check(hook != nullptr, L"dialog hook");
  try {
    auto occasion = std::make_shared<sendnote::clsOccation>();
    occasion->SetStaticData(std::make_shared<sendnote::clsStatic>());
    sendnote::dlgTemplate dialog;
    dialog.SetPropSet(occasion);
    runtime.Ui().ShowModal(dialog);
    Check(dialog.Unloaded() && occasion->Msg()->Cancel() == platform::kTrue,
          L"キャンセル ends the dialog with the command cancelled");
    sendnote::dlgWindow list({u"添書票 山田 太郎.docx", u"先週の添書票.docx", u"文書 3"}, 1);
    runtime.Ui().ShowModal(list);
    Check(list.Unloaded() && list.Chosen() == -1, L"キャンセル closes the list, nothing chosen");
  } catch (const platform::ComError& e) {
    Check(false, L"raised " + Hex(e.Number()) + L" " + Wide(e.Description()));
  }
  Check(g_template != nullptr, L"the output dialog was shown");
  if (hook) ::UnhookWindowsHookEx(hook);
  // A program under Wine's virtual desktop does not hand its exit code back: the result
  // goes into a file beside the pictures as well.
  const bool passed = Failures() == 0;
  if (FILE* file = _wfopen((g_folder + L"\\result.txt").c_str(), L"wb")) {
    std::fputs(passed ? "passed\n" : "failed\n", file);
    std::fclose(file);
  }
  Print(stdout, passed ? L"screen checks passed" : L"screen checks failed");
  return passed ? 0 : 1;
}
