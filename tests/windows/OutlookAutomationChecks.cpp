// The Outlook automation objects against fake host objects: the add-in's button put into
// and taken out of command bars, the button's Click through its connection point, and the
// windows, selections, folders' items and contacts the click reads.
#include <memory>
#include <string>
#include <vector>

#include "system/addin/modAddin.h"
#include "tests/support/windows/FakeDispatch.h"
#include "tests/support/windows/FakeEventSource.h"
#include "tests/windows/Checks.h"
#include "windows/com/ClickSink.h"
#include "windows/com/CommandBars.h"
#include "windows/com/Outlook.h"
#include "windows/com/WideText.h"

namespace sendnote::windows::test {
namespace {

using com::ComPtr;
using Args = std::vector<VARIANT>;

std::wstring Wide(std::u16string_view text) { return com::ToWide(text); }

bool IsMissing(const VARIANT& v) {
  return V_VT(&v) == VT_ERROR && V_ERROR(&v) == DISP_E_PARAMNOTFOUND;
}

HRESULT ReturnObject(VARIANT* result, IDispatch* object) {
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = object;
  if (object) object->AddRef();
  return S_OK;
}

template <class Body>
void ExpectError(const std::wstring& what, int32_t number, Body&& body) {
  try {
    body();
    Check(false, what + L": no error");
  } catch (const platform::ComError& error) {
    Check(error.Number() == number,
          what + L": " + std::to_wstring(error.Number()) + L" " + Wide(error.Description()));
  }
}

// The objects of one window's command bars: bars -> the menu popup -> its bar and controls,
// and optionally a button already there.
struct Bars {
  std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
  FakeDispatch* bars = FakeDispatch::Create(L"CommandBars", log);
  FakeDispatch* popup = FakeDispatch::Create(L"Popup", log);
  FakeDispatch* bar = FakeDispatch::Create(L"Bar", log);
  FakeDispatch* controls = FakeDispatch::Create(L"Controls", log);
  FakeDispatch* button = FakeDispatch::Create(L"Button", log);

  Bars(bool hasMenu, bool hasButton) {
    bars->Add(L"FindControl", [this, hasMenu](const Args& a, VARIANT* r, EXCEPINFO*) {
      if (a.size() != 2 || !IsMissing(a[0]) || V_VT(&a[1]) != VT_I4) return DISP_E_TYPEMISMATCH;
      return ReturnObject(r, hasMenu && V_I4(&a[1]) == sendnote::ExplorerMenuId ? popup : nullptr);
    });
    popup->AddInt(L"Type", 10);
    popup->AddObject(L"CommandBar", bar);
    popup->AddObject(L"Controls", controls);
    bar->Add(L"FindControl", [this, hasButton](const Args& a, VARIANT* r, EXCEPINFO*) {
      if (a.size() != 3 || !IsMissing(a[0]) || !IsMissing(a[1]) || V_VT(&a[2]) != VT_BSTR) {
        return DISP_E_TYPEMISMATCH;
      }
      return ReturnObject(r, hasButton ? button : nullptr);
    });
    controls->Add(L"Add", [this](const Args& a, VARIANT* r, EXCEPINFO*) {
      if (a.size() != 3) return DISP_E_BADPARAMCOUNT;
      return ReturnObject(r, button);
    });
    button->AddInt(L"Type", 1);
    for (const wchar_t* member : {L"OnAction", L"Caption", L"Tag"}) {
      button->Add(member, [](const Args&, VARIANT*, EXCEPINFO*) { return S_OK; });
    }
  }
  ~Bars() {
    for (FakeDispatch* object : {bars, popup, bar, controls, button}) object->Release();
  }
  std::shared_ptr<platform::CommandBars> Wrapped() {
    return std::make_shared<com::AutoCommandBars>(ComPtr<IDispatch>(bars));
  }
};

void InstallsTheButton() {
  struct Case {
    const wchar_t* what;
    bool hasMenu, hasButton;
    CallLog calls;
  };
  const std::wstring action = L"OnAction let(!<Sendnote.Connect>)";
  const Case cases[] = {
      {L"no menu: nothing installed", false, false, {L"CommandBars.FindControl(?,30141)"}},
      {L"a new button is appended to the menu",
       true,
       false,
       {L"CommandBars.FindControl(?,30141)", L"Popup.Type", L"Popup.CommandBar",
        L"Bar.FindControl(?,?,sendnote)", L"Popup.Controls", L"Controls.Add(1,1,sendnote)",
        L"Button.Type", L"Button." + action, L"Button.Caption let(添書票の作成)",
        L"Button.Tag let(sendnote)"}},
      {L"a kept button is reused",
       true,
       true,
       {L"CommandBars.FindControl(?,30141)", L"Popup.Type", L"Popup.CommandBar",
        L"Bar.FindControl(?,?,sendnote)", L"Button.Type", L"Button." + action,
        L"Button.Caption let(添書票の作成)", L"Button.Tag let(sendnote)"}},
  };
  for (const Case& c : cases) {
    Bars bars(c.hasMenu, c.hasButton);
    const auto button =
        sendnote::InstallButton(bars.Wrapped(), u"Sendnote.Connect", sendnote::ButtonTag,
                                sendnote::ButtonCaption, sendnote::ExplorerMenuId);
    Check(static_cast<bool>(button) == c.hasMenu, std::wstring(c.what) + L": the button");
    // A left-out argument is VT_ERROR; its text form differs between systems.
    CallLog calls = *bars.log;
    for (std::wstring& call : calls) {
      for (size_t at; (at = call.find(L"-2147352572")) != std::wstring::npos;) {
        call.replace(at, 11, L"?");
      }
    }
    Check(calls == c.calls, std::wstring(c.what) + L": the calls made");
  }
  Check(FakeDispatch::Live() == 0, L"installing keeps no host object");
}

void RemovesEveryButton() {
  auto log = std::make_shared<CallLog>();
  FakeDispatch* bars = FakeDispatch::Create(L"CommandBars", log);
  FakeDispatch* button = FakeDispatch::Create(L"Button", log);
  int left = 2;
  button->AddInt(L"Type", 1);
  button->Add(L"Delete", [&left](const Args&, VARIANT*, EXCEPINFO*) {
    --left;
    return S_OK;
  });
  bars->Add(L"FindControl", [&left, button](const Args& a, VARIANT* r, EXCEPINFO*) {
    if (a.size() != 3 || !IsMissing(a[1])) return DISP_E_TYPEMISMATCH;
    return ReturnObject(r, left > 0 ? button : nullptr);
  });
  sendnote::RemoveButton(std::make_shared<com::AutoCommandBars>(ComPtr<IDispatch>(bars)),
                         sendnote::ButtonTag);
  Check(left == 0, L"every button bearing the tag is deleted");
  bars->Release();
  button->Release();
}

// A button whose events come from `source`.
FakeDispatch* EventButton(const std::shared_ptr<CallLog>& log, FakeEventSource* source) {
  FakeDispatch* button = FakeDispatch::Create(L"Button", log);
  button->AddInt(L"Type", 1);
  button->AddText(L"Tag", L"sendnote");
  if (source) button->SetEvents(static_cast<IConnectionPointContainer*>(source));
  return button;
}

void ClicksThroughTheConnectionPoint() {
  auto log = std::make_shared<CallLog>();
  FakeEventSource* source = FakeEventSource::Create(com::kIidCommandBarButtonEvents);
  FakeDispatch* button = EventButton(log, source);
  {
    auto wrapped = std::make_shared<com::AutoCommandBarButton>(ComPtr<IDispatch>(button));
    std::vector<std::u16string> clicked;
    // The handler holds the button, as the add-in does: unadvising must still free it all.
    platform::EventConnection connection =
        wrapped->ConnectClick([&clicked, wrapped](const auto& ctrl, platform::Flag& cancel) {
          clicked.push_back(platform::Must(ctrl).Tag());
          Check(cancel == platform::kFalse, L"CancelDefault arrives as it was");
          cancel = platform::kTrue;
        });
    Check(source->Advised() == 1 && source->Sinks() == 1, L"binding advises one sink");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    CheckHr(source->FireClick(button, cancel), S_OK, L"a click");
    Check(clicked == std::vector<std::u16string>{u"sendnote"}, L"the click reaches the handler");
    Check(cancel == VARIANT_TRUE, L"CancelDefault goes back by reference");
    connection.Reset();
    Check(source->Unadvised() == 1 && source->Sinks() == 0, L"disconnection unadvises");
    cancel = VARIANT_FALSE;
    source->FireClick(button, cancel);
    Check(clicked.size() == 1, L"no click after disconnection");

    // A failing handler must not throw into the host.
    platform::EventConnection failing =
        wrapped->ConnectClick([](const auto&, platform::Flag&) { platform::Raise(5); });
    CheckHr(source->FireClick(button, cancel), E_UNEXPECTED, L"a failing handler");
  }
  Check(source->Sinks() == 0, L"a connection ends with its owner");
  button->Release();
  Check(FakeDispatch::Live() == 0, L"no reference cycle keeps the button");
  Check(source->Release() == 0, L"no reference cycle keeps the connection point");

  // A sink answers only for the button events and Click.
  ComPtr<IDispatch> sink =
      ComPtr<IDispatch>::Adopt(com::ClickSink::Create([](const auto&, platform::Flag&) {}));
  Check(static_cast<bool>(sink.As<IDispatch>()), L"a sink is a dispatch object");
  IUnknown* other = nullptr;
  CheckHr(sink->QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(&other)),
          E_NOINTERFACE, L"a sink is nothing else");
  DISPPARAMS none{};
  CheckHr(sink->Invoke(com::kDispIdClick, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                       nullptr),
          DISP_E_BADPARAMCOUNT, L"a Click without its arguments");

  FakeDispatch* plain = EventButton(log, nullptr);
  ExpectError(L"a button without events", 13, [plain] {
    com::AutoCommandBarButton(ComPtr<IDispatch>(plain)).ConnectClick(nullptr);
  });
  plain->Release();
}

FakeDispatch* Item(const std::shared_ptr<CallLog>& log, const wchar_t* name, int32_t itemClass) {
  FakeDispatch* item = FakeDispatch::Create(name, log);
  item->AddInt(L"Class", itemClass);
  return item;
}

void WindowsAndItems() {
  auto log = std::make_shared<CallLog>();
  FakeDispatch* contact = Item(log, L"Contact", platform::kOlContactItemClass);
  contact->AddText(L"CompanyName", L"株式会社見本");
  contact->AddInt(L"SelectedMailingAddress", 2);
  for (const wchar_t* member : {L"LastName", L"Close"}) {
    contact->Add(member, [](const Args&, VARIANT*, EXCEPINFO*) { return S_OK; });
  }
  FakeDispatch* mail = Item(log, L"Mail", 43);
  FakeDispatch* selection = FakeDispatch::Create(L"Selection", log);
  selection->AddInt(L"Count", 2);
  selection->Add(L"Item", [contact, mail](const Args& a, VARIANT* r, EXCEPINFO*) {
    if (a.size() != 1 || V_VT(&a[0]) != VT_I4) return DISP_E_BADPARAMCOUNT;
    return ReturnObject(r, V_I4(&a[0]) == 1 ? contact : mail);
  });
  FakeDispatch* items = FakeDispatch::Create(L"Items", log);
  items->Add(L"GetFirst",
             [](const Args&, VARIANT* r, EXCEPINFO*) { return ReturnObject(r, nullptr); });
  items->AddObject(L"Add", contact);
  FakeDispatch* folder = FakeDispatch::Create(L"Folder", log);
  folder->AddObject(L"Items", items);
  FakeDispatch* bars = FakeDispatch::Create(L"CommandBars", log);
  FakeDispatch* explorer = FakeDispatch::Create(L"Explorer", log);
  explorer->AddObject(L"Selection", selection);
  explorer->AddObject(L"CommandBars", bars);
  FakeDispatch* inspector = FakeDispatch::Create(L"Inspector", log);
  inspector->AddObject(L"CurrentItem", contact);
  inspector->AddObject(L"CommandBars", bars);
  {
    com::AutoExplorer wrappedExplorer{ComPtr<IDispatch>(explorer)};
    Check(platform::Must(wrappedExplorer.CommandBars()).TypeName() == u"CommandBars",
          L"an explorer's command bars");
    auto chosen = wrappedExplorer.Selection();
    Check(platform::Must(chosen).Count() == 2, L"the selection's count");
    auto first = platform::As<platform::ContactItem>(chosen->Item(1));
    Check(first && first->Class() == platform::kOlContactItemClass, L"a selected contact");
    auto second = chosen->Item(2);
    Check(second && second->Class() == 43 &&
              !std::dynamic_pointer_cast<platform::ContactItem>(second),
          L"a selected mail is an item, not a contact");

    Check(platform::Must(first).Get(platform::ContactField::kCompanyName) == u"株式会社見本",
          L"a contact member as UTF-16 text");
    log->clear();
    first->Set(platform::ContactField::kLastName, u"山田");
    first->SetSelectedMailingAddress(platform::MailingAddress::kHome);
    first->Close(platform::kOlDiscard);
    Check(*log == CallLog{L"Contact.LastName let(山田)", L"Contact.SelectedMailingAddress let(1)",
                          L"Contact.Close(1)"},
          L"contact members written by name");
    Check(first->SelectedMailingAddress() == platform::MailingAddress::kBusiness,
          L"the mailing address read");
    log->clear();
    ExpectError(L"a mailing address outside Outlook's numbering", platform::kErrInvalidCall, [&] {
      first->SetSelectedMailingAddress(static_cast<platform::MailingAddress>(7));
    });
    Check(log->empty(), L"an invalid mailing address never reaches Outlook");
    ExpectError(L"an unknown contact member", platform::kErrNotSupported,
                [&] { first->Get(platform::ContactField::kFirstName); });

    com::AutoInspector wrappedInspector{ComPtr<IDispatch>(inspector)};
    Check(
        std::dynamic_pointer_cast<platform::ContactItem>(wrappedInspector.CurrentItem()) != nullptr,
        L"an inspector's contact");
    com::AutoMAPIFolder wrappedFolder{ComPtr<IDispatch>(folder)};
    auto folderItems = wrappedFolder.Items();
    Check(!platform::Must(folderItems).GetFirst(), L"an empty folder's first item is Nothing");
    Check(std::dynamic_pointer_cast<platform::ContactItem>(folderItems->Add()) != nullptr,
          L"a new contact of the folder");
  }

  // The active window, told apart by COM identity with the active explorer and inspector.
  struct WindowCase {
    const wchar_t* what;
    IDispatch* activeExplorer;
    IDispatch* activeInspector;
    IDispatch* window;
    const char16_t* type;  // null: neither (Type mismatch)
  };
  const WindowCase windows[] = {
      {L"an explorer", explorer, inspector, explorer, u"Explorer"},
      {L"an inspector", explorer, inspector, inspector, u"Inspector"},
      {L"no window", explorer, nullptr, nullptr, u"Nothing"},
      {L"a window of neither kind", explorer, nullptr, folder, nullptr},
  };
  for (const WindowCase& c : windows) {
    FakeDispatch* app = FakeDispatch::Create(L"Application", log);
    for (auto [member, object] :
         {std::pair{L"ActiveExplorer", c.activeExplorer},
          std::pair{L"ActiveInspector", c.activeInspector}, std::pair{L"ActiveWindow", c.window}}) {
      app->Add(member,
               [object](const Args&, VARIANT* r, EXCEPINFO*) { return ReturnObject(r, object); });
    }
    com::AutoOutlookApplication wrapped{ComPtr<IDispatch>(app)};
    if (c.type) {
      Check(platform::TypeNameOf(wrapped.ActiveWindow()) == c.type,
            std::wstring(L"the active window: ") + c.what);
    } else {
      ExpectError(std::wstring(L"the active window: ") + c.what, platform::kErrTypeMismatch,
                  [&] { wrapped.ActiveWindow(); });
    }
    app->Release();
  }
  for (FakeDispatch* object :
       {contact, mail, selection, items, folder, bars, explorer, inspector}) {
    object->Release();
  }
  Check(FakeDispatch::Live() == 0, L"the wrappers release what they were given");
}

}  // namespace

int OutlookAutomationChecks() {
  InstallsTheButton();
  RemovesEveryButton();
  ClicksThroughTheConnectionPoint();
  WindowsAndItems();
  return Failures() ? 1 : 0;
}

}  // namespace sendnote::windows::test
