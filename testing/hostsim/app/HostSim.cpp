// sendnote_hostsim: an Outlook and a Word of its own, served over IDispatch, that load
// sendnote.dll by ProgID as Outlook does and click its button through the connection
// point. One scenario per run (the argument); prints each failed check and exits 1 when
// there was one.
#include "windows/com/Win32.h"

#include <tlhelp32.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "hostsim/ButtonObject.h"
#include "hostsim/EventSourceObject.h"
#include "hostsim/Expose.h"
#include "hostsim/LiveObjects.h"
#include "hostsim/SimObject.h"
#include "hostsim/app/SimLetters.h"
#include "hostsim/app/SimOffice.h"
#include "hostsim/app/SimUi.h"
#include "hostsim/app/WordServer.h"
#include "inmemory/OutlookFaults.h"
#include "inmemory/WordDocument.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "portable/hostmodel/CommandBarSet.h"
#include "system/common/modFunc.h"
#include "tests/windows/Checks.h"
#include "windows/com/AutomationClass.h"
#include "windows/com/Dispatch.h"
#include "windows/com/ScopedVariant.h"
#include "windows/com/VariantConversion.h"
#include "windows/com/WideText.h"
#include "windows/com/WindowEventSink.h"
#include "windows/dll/Identities.h"

namespace {

using namespace sendnote::windows::test;
using sendnote::ContactRecord;
using sendnote::com::Dispatch;
using sendnote::com::ScopedVariant;
using sendnote::hostsim::ButtonObject;
using sendnote::hostsim::EventSourceObject;
using sendnote::hostsim::LiveObjects;
namespace platform = sendnote::platform;
namespace hostmodel = sendnote::hostmodel;
namespace inmemory = sendnote::inmemory;
namespace com = sendnote::com;
using platform::ContactField;

constexpr wchar_t kProgId[] = L"" SENDNOTE_PROGID;
constexpr char16_t kTag[] = u"sendnote";
constexpr wchar_t kTitle[] = L"添書票COMアドイン";

std::wstring W(std::u16string_view text) { return com::ToWide(text); }

ContactRecord Yamada(platform::MailingAddress mailing = platform::MailingAddress::kBusiness) {
  return ContactRecord({{ContactField::kSubject, u"山田 太郎"},
                        {ContactField::kFirstName, u"太郎"},
                        {ContactField::kLastName, u"山田"},
                        {ContactField::kCompanyName, u"株式会社山田商事"},
                        {ContactField::kDepartment, u"営業部"},
                        {ContactField::kJobTitle, u"部長"},
                        {ContactField::kBusinessAddress, u"東京都千代田区丸の内1-1-1"},
                        {ContactField::kBusinessAddressPostalCode, u"100-0005"},
                        {ContactField::kBusinessAddressState, u"東京都"},
                        {ContactField::kBusinessAddressCity, u"千代田区"},
                        {ContactField::kBusinessAddressStreet, u"丸の内1-1-1"},
                        {ContactField::kBusinessTelephoneNumber, u"03-1234-5678"},
                        {ContactField::kEmail1Address, u"yamada@example.jp"}},
                       mailing);
}

// The add-in's buttons in one window's bars.
size_t ButtonsIn(const std::shared_ptr<hostmodel::CommandBarSet>& bars) {
  return bars->ControlsWithTag(kTag).size();
}

std::shared_ptr<platform::CommandBarControl> ButtonIn(
    const std::shared_ptr<hostmodel::CommandBarSet>& bars) {
  auto buttons = bars->ControlsWithTag(kTag);
  Check(buttons.size() == 1,
        L"one button of ours in the window, not " + std::to_wstring(buttons.size()));
  return buttons.empty() ? nullptr : buttons[0];
}

// Loads and connects the add-in as Outlook does at start-up.
bool StartAddIn(SimOffice& office) {
  const auto addIns = office.AddInsToLoad();
  bool listed = false;
  for (const auto& name : addIns) listed = listed || name == kProgId;
  Check(listed, L"the Addins key lists the add-in for loading");
  if (!listed || !office.LoadAddIn(kProgId)) return false;
  CheckHr(office.Connect(sendnote::windows::ext_cm_Startup), S_OK, L"OnConnection");
  CheckHr(office.StartupComplete(), S_OK, L"OnStartupComplete");
  return true;
}

// Shuts Outlook's side down as Outlook does and proves nothing was leaked.
void StopAddIn(SimOffice& office) {
  CheckHr(office.BeginShutdown(), S_OK, L"OnBeginShutdown");
  Check(ButtonObject::Connections() == 0, L"the shutdown unadvises the Click");
  CheckHr(office.Disconnect(sendnote::windows::ext_dm_HostShutdown), S_OK, L"OnDisconnection");
  CheckHr(office.ReleaseAddIn(), S_OK, L"DllCanUnloadNow after the add-in's release");
  office.ReleaseAll();
  ::CoFreeUnusedLibraries();
  Check(LiveObjects::Count() == 0,
        L"live simulator objects after the run: " + std::to_wstring(LiveObjects::Count()));
}

void ExpectOneBox(const SimUi& ui, const std::wstring& text, int style, const std::wstring& what) {
  for (const auto& box : ui.Boxes()) Print(stdout, L"box: " + box.title + L"|" + box.text);
  Check(ui.Boxes().size() == 1, what + L": one box, not " + std::to_wstring(ui.Boxes().size()));
  if (ui.Boxes().empty()) return;
  const SeenBox& box = ui.Boxes()[0];
  Check(box.title == kTitle, what + L": title " + box.title);
  Check(box.text == text, what + L": text " + box.text);
  Check(box.style == style, what + L": style " + std::to_wstring(box.style));
}

// Connection, buttons in every window, the click's arrival, shutdown and removal.
int OutlookScenario() {
  SimUi ui;
  SimOffice office;
  auto& app = office.App();
  auto contact = office.Host()->Contacts()->AddContact(Yamada());
  auto mail = office.Host()->Inbox()->AddMail(u"会議のお知らせ");
  auto contacts = app->OpenExplorer(office.Host()->Contacts());
  auto inbox = app->OpenExplorer(office.Host()->Inbox());
  auto contactWindow = app->OpenInspector(contact);
  auto mailWindow = app->OpenInspector(mail);
  if (!StartAddIn(office)) return 1;

  Check(ButtonsIn(contacts->Bars()) == 1 && ButtonsIn(inbox->Bars()) == 1,
        L"the button is in every explorer");
  Check(ButtonsIn(contactWindow->Bars()) == 1, L"the button is in the contact inspector");
  Check(ButtonsIn(mailWindow->Bars()) == 0, L"no button in the mail inspector");
  if (auto button = platform::As<platform::CommandBarButton>(ButtonIn(contacts->Bars()))) {
    Check(W(button->Caption()) == L"添書票の作成", L"caption " + W(button->Caption()));
    Check(W(button->OnAction()) == std::wstring(L"!<") + kProgId + L">",
          L"action " + W(button->OnAction()));
  }
  Check(ButtonObject::Connections() == 1, L"the bound button's Click is advised once");
  Check(ui.Boxes().empty(), L"the connection shows nothing");
  Check(EventSourceObject::Connections(com::kIidExplorersEvents) == 1 &&
            EventSourceObject::Connections(com::kIidInspectorsEvents) == 1,
        L"NewExplorer and NewInspector are advised once each");
  // A window opened after the connection gets its button as it opens.
  auto later = app->OpenExplorer(office.Host()->Inbox());
  Check(ButtonsIn(later->Bars()) == 1, L"the button is in an explorer opened later");
  later->Close();

  // Clicks in the contact inspector and in the inbox explorer both reach the handler.
  ui.QueueDialog(DialogAnswer::kCancel);
  Check(office.Click(contactWindow, ButtonIn(contactWindow->Bars())) == 1,
        L"the inspector's click raises the bound button's Click");
  Check(ui.Dialogs().size() == 1, L"the click from the contact inspector shows the dialog");
  Check(ui.Boxes().empty(), L"a cancelled dialog adds no box");
  Check(office.Click(inbox, ButtonIn(inbox->Bars())) == 1, L"the explorer's click");
  ExpectOneBox(ui, L"連絡先アイテムが選択されていません。", 48, L"an empty inbox selection");
  Check(ButtonObject::FailedClicks() == 0, L"every Click call succeeded");

  // Shutdown: the Click is unadvised, the buttons stay in the saved menus.
  CheckHr(office.BeginShutdown(), S_OK, L"OnBeginShutdown");
  Check(ButtonObject::Connections() == 0, L"the shutdown unadvises the Click");
  Check(EventSourceObject::Connections(com::kIidExplorersEvents) +
                EventSourceObject::Connections(com::kIidInspectorsEvents) ==
            0,
        L"the shutdown unadvises NewExplorer and NewInspector");
  CheckHr(office.Disconnect(sendnote::windows::ext_dm_HostShutdown), S_OK, L"OnDisconnection");
  Check(ButtonsIn(contacts->Bars()) == 1, L"the buttons stay after a shutdown");

  // The user's removal deletes every button with the tag.
  CheckHr(office.Connect(sendnote::windows::ext_cm_AfterStartup), S_OK, L"OnConnection again");
  Check(ButtonObject::Connections() == 1, L"the new connection binds the button again");
  Check(ButtonsIn(contacts->Bars()) == 1, L"a new connection adds no second button");
  CheckHr(office.Disconnect(sendnote::windows::ext_dm_UserClosed), S_OK,
          L"OnDisconnection by the user");
  Check(ButtonObject::Connections() == 0, L"the removal unadvises the Click");
  Check(ButtonsIn(contacts->Bars()) + ButtonsIn(inbox->Bars()) + ButtonsIn(contactWindow->Bars()) ==
            0,
        L"the removal deletes every button with the tag");
  CheckHr(office.ReleaseAddIn(), S_OK, L"DllCanUnloadNow after the add-in's release");
  office.ReleaseAll();
  ::CoFreeUnusedLibraries();
  Check(LiveObjects::Count() == 0,
        L"live simulator objects after the run: " + std::to_wstring(LiveObjects::Count()));
  return Failures() ? 1 : 0;
}

// Refusals of the click, each one box with its exact text and style.
int RefusalScenario() {
  struct Case {
    const wchar_t* what;
    std::function<void(SimOffice&, std::shared_ptr<hostmodel::OutlookExplorer>&)> arrange;
    std::wstring text;
  };
  const Case cases[] = {
      {L"nothing selected", [](SimOffice&, auto&) {}, L"連絡先アイテムが選択されていません。"},
      {L"a mail selected",
       [](SimOffice& office, auto& explorer) {
         explorer->Select({office.Host()->Contacts()->AddMail(u"件名")});
       },
       L"連絡先アイテムのみ利用可能です。"},
      {L"no mailing address",
       [](SimOffice& office, auto& explorer) {
         explorer->Select(
             {office.Host()->Contacts()->AddContact(Yamada(platform::MailingAddress::kNone))});
       },
       L"山田 太郎 の連絡先アイテムに郵送先の住所がチェックされていません。"},
      {L"no mailing address, no subject",
       [](SimOffice& office, auto& explorer) {
         explorer->Select({office.Host()->Contacts()->AddContact(
             ContactRecord({{ContactField::kLastName, u"鈴木"}}))});
       },
       L"無題 の連絡先アイテムに郵送先の住所がチェックされていません。"},
  };
  for (const Case& c : cases) {
    SimUi ui;
    SimOffice office;
    office.RegisterWord(false);
    auto explorer = office.App()->OpenExplorer(office.Host()->Contacts());
    if (!StartAddIn(office)) return 1;
    c.arrange(office, explorer);
    Check(office.Click(explorer, ButtonIn(explorer->Bars())) == 1,
          std::wstring(c.what) + L": click");
    ExpectOneBox(ui, c.text, 48, c.what);
    Check(ui.Dialogs().empty(), std::wstring(c.what) + L": no dialog");
    Check(office.CreatedWords().empty(), std::wstring(c.what) + L": no Word started");
    StopAddIn(office);
  }
  return Failures() ? 1 : 0;
}

// The output dialog as a real dialog of the DLL: Cancel and the close box stop the click.
int DialogScenario() {
  for (DialogAnswer answer : {DialogAnswer::kCancel, DialogAnswer::kCloseBox}) {
    const std::wstring what = answer == DialogAnswer::kCancel ? L"Cancel" : L"the close box";
    SimUi ui;
    SimOffice office;
    office.RegisterWord(false);
    auto explorer = office.App()->OpenExplorer(office.Host()->Contacts());
    explorer->Select({office.Host()->Contacts()->AddContact(Yamada())});
    if (!StartAddIn(office)) return 1;
    ui.QueueDialog(answer);
    Check(office.Click(explorer, ButtonIn(explorer->Bars())) == 1, what + L": click");
    Check(ui.Dialogs().size() == 1 && ui.Dialogs()[0] == kTitle,
          what + L": the output dialog titled " + kTitle);
    for (const auto& box : ui.Boxes()) Print(stdout, L"box: " + box.text);
    Check(ui.Boxes().empty(), what + L": no box after the dialog");
    Check(office.CreatedWords().empty(), what + L": no Word started");
    StopAddIn(office);
  }
  return Failures() ? 1 : 0;
}

// A failure that every later step meets again (Outlook's ActiveWindow) is reported once.
int OneReportScenario() {
  SimUi ui;
  SimOffice office;
  auto explorer = office.App()->OpenExplorer(office.Host()->Contacts());
  explorer->Select({office.Host()->Contacts()->AddContact(Yamada())});
  if (!StartAddIn(office)) return 1;
  {
    inmemory::OutlookFaults faults;
    faults.Of(office.App()).FailOn(u"ActiveWindow", -2147467259, u"ウィンドウがありません");
    Check(office.Click(explorer, ButtonIn(explorer->Bars())) == 1, L"click");
  }
  for (const auto& box : ui.Boxes()) Print(stdout, L"box: " + box.text);
  Check(ui.Boxes().size() == 1, L"one report, not " + std::to_wstring(ui.Boxes().size()));
  if (!ui.Boxes().empty()) {
    const SeenBox& box = ui.Boxes()[0];
    Check(box.style == 16, L"the report's style " + std::to_wstring(box.style));
    Check(box.text == std::wstring(kTitle) +
                          L"内部(SelectItmCheck)で予期しないエラーが発生しました。\r"
                          L"エラー番号 : -2147467259\rエラー内容 : ウィンドウがありません "
                          L"(ActiveWindow)",
          L"the report names the first failing procedure: " + box.text);
  }
  StopAddIn(office);
  return Failures() ? 1 : 0;
}

// --- The Word server, called through the automation client's own Dispatch ---

int32_t ErrorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const platform::ComError& error) {
    return error.Number();
  }
  return 0;
}

// Invokes the default member (DISPID_VALUE) with one argument.
ScopedVariant DefaultMember(const Dispatch& object, ScopedVariant arg) {
  VARIANT args[1] = {arg.Get()};
  DISPPARAMS params{args, nullptr, 1, 0};
  ScopedVariant result;
  const HRESULT hr =
      object.Get()->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                           &params, result.Receive(), nullptr, nullptr);
  CheckHr(hr, S_OK, L"the default member");
  return result;
}

com::ComPtr<IDispatch> ObjectOf(const ScopedVariant& value) {
  return Dispatch::ObjectOf(value, u"");
}

// Counts what For Each sees: _NewEnum (DISPID_NEWENUM) and IEnumVARIANT.
int EnumeratedCount(const Dispatch& collection) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  ScopedVariant result;
  CheckHr(
      collection.Get()->Invoke(DISPID_NEWENUM, IID_NULL, 0, DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                               &none, result.Receive(), nullptr, nullptr),
      S_OK, L"_NewEnum");
  if (result.Type() != VT_UNKNOWN || !V_UNKNOWN(&result.Get())) return -1;
  com::ComPtr<IEnumVARIANT> items;
  V_UNKNOWN(&result.Get())
      ->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(items.Receive()));
  if (!items) return -1;
  int count = 0;
  for (;;) {
    ScopedVariant item;
    ULONG fetched = 0;
    if (items->Next(1, item.Receive(), &fetched) != S_OK || fetched != 1) break;
    ++count;
  }
  return count;
}

// The 21 property names of a letter under the default prefix, with Japanese values.
const std::u16string_view kPropertyNames[] = {
    u"宛先",         u"名",           u"姓",       u"会社名", u"事業所",         u"部署",
    u"肩書き",       u"役職",         u"携帯電話", u"敬称",   u"メールアドレス", u"住所",
    u"FAX番号",      u"電話番号",     u"番地",     u"市町村", u"都道府県",       u"郵便番号",
    u"郵便番号上位", u"郵便番号下位", u"私書箱"};

int WordScenario() {
  {
    SimOffice office;
    office.SetWordSetup([](inmemory::WordApp& word) {
      word.AddTemplate(kTemplate, LetterTemplate());
      word.QueueFileNew(kTemplate);
    });
    office.RegisterWord(true);

    CLSID clsid{};
    CheckHr(::CLSIDFromProgID(L"Word.Application", &clsid), S_OK, L"CLSIDFromProgID");
    Check(clsid == kWordClsid, L"Word.Application names Word's class");
    com::ComPtr<IUnknown> active;
    CheckHr(::GetActiveObject(kWordClsid, nullptr, active.Receive()), S_OK, L"GetActiveObject");
    Check(active && sendnote::hostsim::ModelOf(active.Get()) == office.RunningWord(),
          L"the ROT holds the running Word");
    active.Reset();
    com::ComPtr<IDispatch> created;
    CheckHr(::CoCreateInstance(kWordClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(created.Receive())),
            S_OK, L"CoCreateInstance(LOCAL_SERVER)");
    Check(office.CreatedWords().size() == 1, L"the class object made one Word");
    created.Reset();

    const Dispatch word(sendnote::hostsim::Expose(office.RunningWord()));
    Check(ErrorNumberOf([&] { word.Get(u"NoSuchMember"); }) == platform::kErrNotSupported,
          L"an unknown name is 438");

    // Documents.Add(Template, NewTemplate, DocumentType, Visible); Documents(1) is Item(1).
    const Dispatch documents(ObjectOf(word.Get(u"Documents")));
    const Dispatch document(ObjectOf(
        documents.Call(u"Add", {ScopedVariant::String(kTemplate), ScopedVariant::Bool(false),
                                ScopedVariant::Int32(0), ScopedVariant::Bool(true)})));
    Check(office.RunningWord()->OpenDocuments().size() == 1 &&
              office.RunningWord()->OpenDocuments()[0]->Arguments().templateName == kTemplate,
          L"Documents.Add made a document from the template");
    const Dispatch first(ObjectOf(word.Get(u"Documents", {ScopedVariant::Int32(1)})));
    Check(first.Get() == document.Get(), L"Documents(1) is the same object");
    const Dispatch blank(ObjectOf(documents.Call(u"Add", {ScopedVariant::Missing()})));
    Check(office.RunningWord()->OpenDocuments().size() == 2,
          L"Documents.Add with its arguments left out makes a blank document");

    // Every property name and value crosses as a BSTR both ways, Japanese included.
    const Dispatch properties(ObjectOf(document.Get(u"CustomDocumentProperties")));
    for (auto name : kPropertyNames) {
      std::u16string full = u"OUTLOOK$";
      full += name;
      std::u16string value = u"値：";
      value += name;
      properties.Call(
          u"Add", {ScopedVariant::String(full), ScopedVariant::Bool(false), ScopedVariant::Int32(4),
                   ScopedVariant::String(value), ScopedVariant::Missing()});
      const Dispatch property(ObjectOf(DefaultMember(properties, ScopedVariant::String(full))));
      Check(com::TextOf(property.Get(u"Name")) == full &&
                com::TextOf(property.Get(u"Value")) == value &&
                com::Int32Of(property.Get(u"Type")) == 4,
            L"property " + W(full) + L" reads back");
    }
    const auto snapshot = office.RunningWord()->OpenDocuments()[0]->Snapshot();
    Check(snapshot.properties.size() == 21 && snapshot.properties[3].name == u"OUTLOOK$会社名" &&
              snapshot.properties[3].value.ToString() == u"値：会社名",
          L"the document holds the 21 properties");
    Check(com::Int32Of(properties.Get(u"Count")) == 21 && EnumeratedCount(properties) == 21,
          L"Count and For Each see 21 properties");
    Check(ErrorNumberOf([&] { properties.Get(u"Item", {ScopedVariant::String(u"ない")}); }) ==
              platform::kErrInvalidCall,
          L"a missing property raises 5 through EXCEPINFO");

    // Fields: the type, the update from the property, the code's text.
    const Dispatch fields(ObjectOf(document.Get(u"Fields")));
    Check(com::Int32Of(fields.Get(u"Count")) == 2 && EnumeratedCount(fields) == 2, L"two fields");
    const Dispatch field(ObjectOf(fields.Get(u"Item", {ScopedVariant::Int32(1)})));
    Check(com::Int32Of(field.Get(u"Type")) == platform::kWdFieldDocProperty, L"DOCPROPERTY field");
    field.Call(u"Update");
    const Dispatch result(ObjectOf(field.Get(u"Result")));
    Check(com::TextOf(result.Get(u"Text")) == u"値：会社名",
          L"the updated field shows " + W(com::TextOf(result.Get(u"Text"))));
    const Dispatch code(ObjectOf(field.Get(u"Code")));
    Check(com::TextOf(code.Get(u"Text")).find(u"OUTLOOK$会社名") != std::u16string::npos,
          L"the field's code");

    // Shapes: a text box's fields, a picture without text (Word's 4605) and a group.
    const Dispatch shapes(ObjectOf(document.Get(u"Shapes")));
    Check(com::Int32Of(shapes.Get(u"Count")) == 3, L"three shapes");
    const Dispatch frame(ObjectOf(
        Dispatch(ObjectOf(shapes.Get(u"Item", {ScopedVariant::Int32(1)}))).Get(u"TextFrame")));
    const Dispatch range(ObjectOf(frame.Get(u"TextRange")));
    Check(com::Int32Of(Dispatch(ObjectOf(range.Get(u"Fields"))).Get(u"Count")) == 1,
          L"the text box holds one field");
    const Dispatch picture(ObjectOf(shapes.Get(u"Item", {ScopedVariant::Int32(2)})));
    Check(ErrorNumberOf([&] { Dispatch(ObjectOf(picture.Get(u"TextFrame"))).Get(u"TextRange"); }) ==
              platform::kErrWordNotAvailable,
          L"a picture's text raises 4605");

    // The File New dialog through Dialogs(79).
    const Dispatch dialog(ObjectOf(word.Get(u"Dialogs", {ScopedVariant::Int32(79)})));
    Check(com::Int32Of(dialog.Call(u"Display")) == -1, L"File New confirmed");
    Check(com::TextOf(dialog.Get(u"Template")) == kTemplate, L"the chosen template");
    Check(ErrorNumberOf([&] { word.Get(u"Dialogs", {ScopedVariant::Int32(81)}); }) ==
              platform::kErrWordNoSuchMember,
          L"another dialog raises 5941");

    // Visible, Quit(0): afterwards the server has gone away.
    word.Put(u"Visible", ScopedVariant::Bool(true));
    Check(office.RunningWord()->IsVisible(), L"Visible set through the server");
    word.Call(u"Quit",
              {ScopedVariant::Int32(0), ScopedVariant::Missing(), ScopedVariant::Missing()});
    Check(office.RunningWord()->HasQuit() && office.RunningWord()->QuitSaveChanges() == 0,
          L"Quit(0)");
    Check(ErrorNumberOf([&] { word.Get(u"Caption"); }) == platform::kErrServerGone,
          L"a call after Quit raises the disconnected error");
    (void)blank;
  }
  Check(LiveObjects::Count() == 0,
        L"live simulator objects after the run: " + std::to_wstring(LiveObjects::Count()));
  return Failures() ? 1 : 0;
}

// --- A click end to end: the DLL's Word client against the simulator's Word ---

// What a letter shows, read through Word's object model: the OUTLOOK$ properties of the
// last open document and the results of its fields in every story, in the order of the
// walk the refresh takes (main text, shapes and group items, then the other stories).
struct LetterView {
  int32_t documents = 0;
  bool visible = false;
  std::map<std::u16string, std::u16string> values;  // by name without the prefix
  std::vector<std::u16string> notText;              // properties of another type
  std::vector<std::u16string> fieldResults;
};

LetterView ViewOf(platform::WordApplication& word) {
  LetterView view;
  view.visible = platform::IsTrue(word.Visible());
  const auto documents = word.Documents();
  view.documents = platform::Must(documents).Count();
  if (view.documents == 0) return view;
  const auto document = documents->Item(view.documents);
  const auto properties = platform::Must(document).CustomDocumentProperties();
  for (int32_t i = 1, count = platform::Must(properties).Count(); i <= count; ++i) {
    const auto property = properties->Item(i);
    const std::u16string name = platform::Must(property).Name();
    if (name.rfind(u"OUTLOOK$", 0) != 0) continue;
    view.values[name.substr(8)] = property->Value().ToString();
    if (property->Type() != platform::kPropertyString) view.notText.push_back(name);
  }
  sendnote::ForEachTextFields(*document, [&](const std::shared_ptr<platform::Fields>& fields) {
    for (int32_t i = 1, count = platform::Must(fields).Count(); i <= count; ++i) {
      const auto field = fields->Item(i);
      view.fieldResults.push_back(platform::Must(platform::Must(field).Result()).Text());
    }
  });
  return view;
}

// The letter for Yamada's business address in the last of `documents` documents.
void CheckLetter(const LetterView& view, const std::wstring& what, int32_t documents) {
  Check(view.documents == documents, what + L": " + std::to_wstring(documents) +
                                         L" document(s) in Word, not " +
                                         std::to_wstring(view.documents));
  Check(view.visible, what + L": Word shown");
  for (const auto& name : view.notText) Check(false, what + L": not a text property: " + W(name));
  Check(view.values.size() == 21,
        what + L": 21 properties, not " + std::to_wstring(view.values.size()));
  for (auto name : kPropertyNames) {
    Check(view.values.count(std::u16string(name)) == 1, what + L": property " + W(name));
  }
  const std::pair<const char16_t*, const char16_t*> expected[] = {
      {u"宛先", u"株式会社山田商事 営業部 山田"},
      {u"名", u"太郎"},
      {u"姓", u"山田"},
      {u"会社名", u"株式会社山田商事"},
      {u"部署", u"営業部"},
      {u"役職", u"部長"},
      {u"メールアドレス", u"yamada@example.jp"},
      {u"住所", u"東京都千代田区丸の内1-1-1"},
      {u"電話番号", u"03-1234-5678"},
      {u"都道府県", u"東京都"},
      {u"市町村", u"千代田区"},
      {u"番地", u"丸の内1-1-1"},
      {u"郵便番号", u"100-0005"},
      {u"郵便番号上位", u"100"},
      {u"郵便番号下位", u"0005"},
  };
  for (const auto& [name, value] : expected) {
    const auto found = view.values.find(name);
    const std::u16string shown = found == view.values.end() ? u"(none)" : found->second;
    Check(shown == value, what + L": " + W(name) + L" is " + W(shown));
  }
  // The main text (company, addressee), the text box (postal code), then the group's text
  // box, the header and its text box, the footer and the footnote (company each), as the
  // portable command's letter shows them.
  const std::u16string company = u"株式会社山田商事";
  const std::vector<std::u16string> results = {
      company, u"株式会社山田商事 営業部 山田", u"100-0005", company, company, company, company,
      company};
  std::wstring shown;
  for (const auto& result : view.fieldResults) shown += L" [" + W(result) + L"]";
  Check(view.fieldResults == results, what + L": every story's fields refreshed:" + shown);
}

// The same for a Word of this process, which is also still running and holds `documents`
// documents made from the template.
void CheckLetter(const std::shared_ptr<inmemory::WordApp>& word, const std::wstring& what,
                 size_t documents = 1) {
  Check(word && !word->HasQuit() && word->OpenDocuments().size() == documents,
        what + L": Word running with " + std::to_wstring(documents) + L" document(s)");
  if (!word || word->HasQuit() || word->OpenDocuments().size() != documents) return;
  Check(word->OpenDocuments().back()->Arguments().templateName == kTemplate,
        what + L": made from the template");
  CheckLetter(ViewOf(*word), what, static_cast<int32_t>(documents));
}

// Outlook with Yamada selected in the Contacts explorer and open in an inspector.
struct YamadaWorld {
  SimUi ui;
  SimOffice office;
  std::shared_ptr<hostmodel::OutlookContact> contact;
  std::shared_ptr<hostmodel::OutlookExplorer> explorer;
  std::shared_ptr<hostmodel::OutlookInspector> inspector;

  YamadaWorld() {
    contact = office.Host()->Contacts()->AddContact(Yamada());
    explorer = office.App()->OpenExplorer(office.Host()->Contacts());
    explorer->Select({contact});
    inspector = office.App()->OpenInspector(contact);
  }
};

// The same with the simulator's own Word: running or not, its letter template marked or
// not, File New confirmed with it or not.
struct ClickWorld : YamadaWorld {
  ClickWorld(bool wordRunning, bool marked, bool confirmFileNew) {
    office.SetWordSetup([marked, confirmFileNew](inmemory::WordApp& word) {
      word.AddTemplate(kTemplate, MarkedTemplate(marked));
      if (confirmFileNew) word.QueueFileNew(kTemplate);
    });
    office.RegisterWord(wordRunning);
  }
  // The Word the click worked with: the running one, or the one it started.
  std::shared_ptr<inmemory::WordApp> Word() const {
    if (office.RunningWord()) return office.RunningWord();
    return office.CreatedWords().empty() ? nullptr : office.CreatedWords().back();
  }
};

// From the explorer, Word not running: the click starts it, asks for the prefix once (the
// user says Yes) and writes the letter.
int ClickFromExplorerScenario() {
  {
    ClickWorld w(false, false, true);
    if (!StartAddIn(w.office)) return 1;
    w.ui.QueueDialog(DialogAnswer::kOk);
    w.ui.QueueBoxAnswer(IDYES);
    Check(w.office.Click(w.explorer, ButtonIn(w.explorer->Bars())) == 1, L"click");
    Check(w.ui.Dialogs().size() == 1, L"the output dialog was shown and confirmed");
    Check(w.office.CreatedWords().size() == 1, L"the click started Word");
    ExpectOneBox(w.ui,
                 L"この文書に添書票COMアドイン用のプロパティを設定します。\r"
                 L"プロパティを識別するための接頭句として、OUTLOOK$ を使用します。よろしいですか？",
                 67, L"the prefix question");
    CheckLetter(w.Word(), L"explorer");
    Check(ButtonObject::FailedClicks() == 0, L"the Click call succeeded");
    StopAddIn(w.office);
  }
  Check(LiveObjects::Count() == 0, L"live objects after the run");
  return Failures() ? 1 : 0;
}

// From the contact inspector, Word running (found in the ROT), a marked template: no box.
int ClickFromInspectorScenario() {
  {
    ClickWorld w(true, true, true);
    if (!StartAddIn(w.office)) return 1;
    w.ui.QueueDialog(DialogAnswer::kOk);
    Check(w.office.Click(w.inspector, ButtonIn(w.inspector->Bars())) == 1, L"click");
    Check(w.office.CreatedWords().empty(), L"the running Word was used");
    for (const auto& box : w.ui.Boxes()) Print(stdout, L"box: " + box.text);
    Check(w.ui.Boxes().empty(), L"no box for a marked template");
    CheckLetter(w.Word(), L"inspector");
    StopAddIn(w.office);
  }
  Check(LiveObjects::Count() == 0, L"live objects after the run");
  return Failures() ? 1 : 0;
}

// A failed click quits the Word it started, and only that one.
int WordQuitScenario() {
  struct Case {
    const wchar_t* what;
    bool running;
    bool confirmFileNew;
    const char16_t* templateName;
    std::wstring message;  // empty: no box
  };
  const Case cases[] = {
      {L"File New cancelled, Word started", false, false, kTemplate, L""},
      {L"File New cancelled, Word running", true, false, kTemplate, L""},
      {L"template not opened, Word started", false, true, u"C:\\Templates\\ない.dot",
       L"指定されたテンプレートが開けません。"},
  };
  for (const Case& c : cases) {
    {
      ClickWorld w(c.running, true, false);
      if (c.confirmFileNew) {
        const std::u16string name = c.templateName;
        w.office.SetWordSetup([name](inmemory::WordApp& word) { word.QueueFileNew(name); });
      }
      if (!StartAddIn(w.office)) return 1;
      w.ui.QueueDialog(DialogAnswer::kOk);
      Check(w.office.Click(w.explorer, ButtonIn(w.explorer->Bars())) == 1,
            std::wstring(c.what) + L": click");
      const auto word = w.Word();
      Check(word != nullptr && word->FileNewDisplays() == 1,
            std::wstring(c.what) + L": Word's File New was shown");
      if (c.running) {
        Check(word && !word->HasQuit(), std::wstring(c.what) + L": the running Word stays");
      } else {
        Check(word && word->HasQuit() && word->QuitSaveChanges() == 0,
              std::wstring(c.what) + L": the Word started for the click is quit unsaved");
      }
      if (c.message.empty()) {
        Check(w.ui.Boxes().empty(), std::wstring(c.what) + L": no box");
      } else {
        ExpectOneBox(w.ui, c.message, 48, c.what);
      }
      StopAddIn(w.office);
    }
    Check(LiveObjects::Count() == 0, std::wstring(c.what) + L": live objects after the run");
  }
  return Failures() ? 1 : 0;
}

// --- Today's Outlook ---

constexpr wchar_t kAddinsEntry[] =
    L"Software\\Microsoft\\Office\\Outlook\\Addins\\" SENDNOTE_PROGID;

void SetLoadBehavior(DWORD behavior) {
  Check(::RegSetKeyValueW(HKEY_CURRENT_USER, kAddinsEntry, L"LoadBehavior", REG_DWORD, &behavior,
                          sizeof(behavior)) == ERROR_SUCCESS,
        L"LoadBehavior set to " + std::to_wstring(behavior));
}

DWORD LoadBehavior() {
  DWORD behavior = 0;
  DWORD size = sizeof(behavior);
  ::RegGetValueW(HKEY_CURRENT_USER, kAddinsEntry, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr,
                 &behavior, &size);
  return behavior;
}

void PrintCost(const SimOffice& office, const std::wstring& what) {
  const ConnectionCost& cost = office.LastConnection();
  wchar_t line[160];
  std::swprintf(line, 160,
                L"%ls: OnConnection %.2f ms, %llu calls into Outlook (%llu name lookups)",
                what.c_str(), cost.milliseconds, static_cast<unsigned long long>(cost.invocations),
                static_cast<unsigned long long>(cost.nameLookups));
  Print(stdout, line);
}

// The ribbon's buttons of one kind of window.
bool HasRibbonButton(const SimOffice& office, bool explorer, const wchar_t* id) {
  for (const auto& button : office.RibbonButtons(explorer)) {
    if (button.id == id && button.label == L"添書票の作成") return true;
  }
  return false;
}

// Outlook 2016, started twice: each time the add-in loads, its start-up touches nothing,
// and the ribbon buttons of the explorer and of a contact inspector opened later each
// write a letter.
int Ribbon2016Scenario() {
  {
    SimUi ui;
    SimOffice office(Generation::k2016);
    office.SetWordSetup(
        [](inmemory::WordApp& word) { word.AddTemplate(kTemplate, MarkedTemplate(true)); });
    office.RegisterWord(true);
    const auto word = office.RunningWord();
    auto contact = office.Host()->Contacts()->AddContact(Yamada());
    size_t documents = 0;
    for (int run = 1; run <= 2; ++run) {
      const std::wstring what = L"start " + std::to_wstring(run);
      if (run > 1) office.NewRun();
      auto explorer = office.App()->OpenExplorer(office.Host()->Contacts());
      const size_t dialogs = ui.Dialogs().size();
      Check(office.StartOutlook(), what + L": the add-in is loaded");
      PrintCost(office, what);
      Check(office.Host()->Contacts()->Created().empty(), what + L": the connection made no item");
      Check(explorer->FolderHistory().empty(), what + L": the connection switched no folder");
      Check(ui.Boxes().empty() && ui.Dialogs().size() == dialogs,
            what + L": the connection showed nothing");
      Check(ButtonsIn(explorer->Bars()) == 0, what + L": no command-bar button");
      Check(HasRibbonButton(office, true, L"SendnoteExplorer"),
            what + L": the explorer's ribbon has the button");

      explorer->Select({contact});
      ui.QueueDialog(DialogAnswer::kOk);
      word->QueueFileNew(kTemplate);
      CheckHr(office.ClickRibbon(explorer, L"SendnoteExplorer"), S_OK, what + L": explorer click");
      CheckLetter(word, what + L", from the explorer", ++documents);

      auto inspector = office.OpenContactInspector(contact);
      Check(HasRibbonButton(office, false, L"SendnoteContact"),
            what + L": the contact inspector's ribbon has the button");
      ui.QueueDialog(DialogAnswer::kOk);
      word->QueueFileNew(kTemplate);
      CheckHr(office.ClickRibbon(inspector, L"SendnoteContact"), S_OK, what + L": inspector click");
      CheckLetter(word, what + L", from the inspector", ++documents);
      for (const auto& box : ui.Boxes()) Print(stdout, L"box: " + box.text);
      Check(ui.Boxes().empty(), what + L": no box for a marked template");
      office.QuitOutlook();
    }
    Check(LoadBehavior() == 3, L"LoadBehavior stays 3");
  }
  Check(LiveObjects::Count() == 0, L"live objects after the run");
  return Failures() ? 1 : 0;
}

// Why 3 is registered: with 16, Outlook 2016 connects the add-in once, writes 9 back, and
// from the second start nothing loads it.
int OldRegistration2016Scenario() {
  SetLoadBehavior(16);
  {
    SimUi ui;
    SimOffice office(Generation::k2016);
    office.App()->OpenExplorer(office.Host()->Contacts());
    Check(office.StartOutlook(), L"16 connects at the first start");
    Check(LoadBehavior() == 9, L"Outlook wrote 9 back, not " + std::to_wstring(LoadBehavior()));
    office.QuitOutlook();
    office.NewRun();
    auto explorer = office.App()->OpenExplorer(office.Host()->Contacts());
    Check(!office.StartOutlook(), L"the second start loads no add-in");
    Check(office.RibbonButtons(true).empty() && ButtonsIn(explorer->Bars()) == 0,
          L"the second start shows no button of the add-in");
    office.QuitOutlook();
  }
  SetLoadBehavior(3);
  Check(LiveObjects::Count() == 0, L"live objects after the run");
  return Failures() ? 1 : 0;
}

// Outlook 2003 started twice: the saved menu button comes back, is bound again and writes a
// letter each time.
int Restart2003Scenario() {
  {
    SimUi ui;
    SimOffice office(Generation::k2003);
    office.SetWordSetup(
        [](inmemory::WordApp& word) { word.AddTemplate(kTemplate, MarkedTemplate(true)); });
    office.RegisterWord(true);
    const auto word = office.RunningWord();
    auto contact = office.Host()->Contacts()->AddContact(Yamada());
    for (size_t run = 1; run <= 2; ++run) {
      const std::wstring what = L"start " + std::to_wstring(run);
      if (run > 1) office.NewRun();
      auto explorer = office.App()->OpenExplorer(office.Host()->Contacts());
      Check(office.StartOutlook(), what + L": the add-in is loaded");
      Check(office.RibbonButtons(true).empty(), what + L": no ribbon in Outlook 2003");
      explorer->Select({contact});
      ui.QueueDialog(DialogAnswer::kOk);
      word->QueueFileNew(kTemplate);
      Check(office.Click(explorer, ButtonIn(explorer->Bars())) == 1, what + L": click");
      CheckLetter(word, what, run);
      office.QuitOutlook();
    }
    Check(ButtonObject::Connections() == 0, L"every Click is unadvised");
  }
  Check(LiveObjects::Count() == 0, L"live objects after the run");
  return Failures() ? 1 : 0;
}

// The connection's cost in each generation, in a store with contacts and an explorer open
// on the inbox: printed for the README, and held to "nothing but the version" in 2016.
int ConnectionCostScenario() {
  for (Generation generation : {Generation::k2003, Generation::k2016}) {
    const std::wstring what =
        generation == Generation::k2003 ? L"Outlook 2003 profile" : L"Outlook 2016 profile";
    {
      SimUi ui;
      SimOffice office(generation);
      office.Host()->Contacts()->AddContact(Yamada());
      office.App()->OpenExplorer(office.Host()->Inbox());
      Check(office.StartOutlook(), what + L": the add-in is loaded");
      PrintCost(office, what);
      if (generation == Generation::k2016) {
        Check(office.LastConnection().invocations == 1,
              what + L": one call (Outlook's version), not " +
                  std::to_wstring(office.LastConnection().invocations));
      }
      office.QuitOutlook();
    }
    Check(LiveObjects::Count() == 0, what + L": live objects after the run");
  }
  return Failures() ? 1 : 0;
}

// The add-in's log: %LOCALAPPDATA%\sendnote\sendnote.log.
std::wstring LogPath() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
  Check(n > 0 && n < MAX_PATH, L"LOCALAPPDATA is set");
  return std::wstring(folder) + L"\\sendnote\\sendnote.log";
}

// The log's lines, UTF-8 read back as UTF-16.
std::vector<std::wstring> LogLines() {
  std::vector<std::wstring> lines;
  FILE* file = ::_wfopen(LogPath().c_str(), L"rb");
  if (!file) return lines;
  std::string bytes;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), file)) > 0;) bytes.append(buffer, n);
  std::fclose(file);
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(W(platform::FromUtf8(bytes.substr(start, end - start))));
  }
  return lines;
}

// Outlook 2003 whose explorers lack the menu the button goes into: no button there, no
// box, and one line in the add-in's log however many windows lack it.
int MissingMenu2003Scenario() {
  ::DeleteFileW(LogPath().c_str());
  {
    SimUi ui;
    SimOffice office(Generation::k2003);
    auto first = office.App()->OpenExplorer(office.Host()->Inbox());
    auto second = office.App()->OpenExplorer(office.Host()->Contacts());
    Check(first->Bars()->RemoveBuiltIn(30141) && second->Bars()->RemoveBuiltIn(30141),
          L"the explorers' menu is taken out");
    Check(office.StartOutlook(), L"the add-in is loaded");
    Check(ButtonsIn(first->Bars()) + ButtonsIn(second->Bars()) == 0, L"no button without the menu");
    Check(ui.Boxes().empty(), L"no box at the start");
    const auto lines = LogLines();
    for (const auto& line : lines) Print(stdout, L"log: " + line);
    Check(lines.size() == 1 && lines[0].find(L"メニュー(ID 30141)がないため") != std::wstring::npos,
          L"one line in the log, not " + std::to_wstring(lines.size()));
    office.QuitOutlook();
  }
  Check(LiveObjects::Count() == 0, L"live objects after the run");
  return Failures() ? 1 : 0;
}

// A busy Word: one that refuses its first 20 calls is waited for and the letter written;
// one that refuses every call ends the click after about 30 seconds in one report.
int BusyWordScenario() {
  {
    ClickWorld w(true, true, true);
    if (!StartAddIn(w.office)) return 1;
    sendnote::hostsim::SimObject::RejectCalls(u"Microsoft Word", 20);
    w.ui.QueueDialog(DialogAnswer::kOk);
    Check(w.office.Click(w.explorer, ButtonIn(w.explorer->Bars())) == 1, L"click, Word busy");
    for (const auto& box : w.ui.Boxes()) Print(stdout, L"box: " + box.text);
    Check(w.ui.Boxes().empty(), L"a Word busy for a while shows no box");
    CheckLetter(w.Word(), L"Word busy for 20 calls");

    // OK meets the busy Word; after the report the dialog stays open, and the user cancels.
    sendnote::hostsim::SimObject::RejectCalls(u"Microsoft Word", -1);
    w.ui.QueueDialog(DialogAnswer::kOk);
    w.ui.QueueDialog(DialogAnswer::kCancel);
    const ULONGLONG start = ::GetTickCount64();
    Check(w.office.Click(w.explorer, ButtonIn(w.explorer->Bars())) == 1, L"click, Word never free");
    const ULONGLONG waited = ::GetTickCount64() - start;
    sendnote::hostsim::SimObject::RejectCalls(u"Microsoft Word", 0);
    Print(stdout, L"waited " + std::to_wstring(waited) + L" ms for a Word that never answers");
    Check(waited >= 29000 && waited < 60000, L"the click waited about 30 seconds");
    Check(w.ui.Boxes().size() == 1 && w.ui.Boxes()[0].style == 16 &&
              w.ui.Boxes()[0].text.find(L"-2147418111") != std::wstring::npos,
          L"one report with the rejected call's number");
    Check(w.Word()->OpenDocuments().size() == 1, L"no second document");
    StopAddIn(w.office);
  }
  Check(LiveObjects::Count() == 0, L"live objects after the run");
  return Failures() ? 1 : 0;
}

// --- Word in a process of its own ---

// The file name of a path.
std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The simulator's other processes: the Word servers that COM started.
std::vector<DWORD> WordServerProcesses() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring self = FileNameOf(path);
  std::vector<DWORD> found;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
       more = ::Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID != ::GetCurrentProcessId() &&
        _wcsicmp(FileNameOf(entry.szExeFile).c_str(), self.c_str()) == 0) {
      found.push_back(entry.th32ProcessID);
    }
  }
  ::CloseHandle(snapshot);
  return found;
}

// The exit code of process `id` once it has ended within `milliseconds`, or -1.
long ExitCodeOf(DWORD id, DWORD milliseconds) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) return -1;
  DWORD code = STILL_ACTIVE;
  if (::WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(process, &code)) {
    code = static_cast<DWORD>(-1);
  }
  ::CloseHandle(process);
  return static_cast<long>(code);
}

// Starts a Word server as a user starts Word (no -Embedding) and waits until its Word is in
// the ROT. Returns its process id, or 0 when it did not come.
DWORD StartWordByHand() {
  wchar_t exe[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(exe) + L"\" " + kWordServerMode;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return 0;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  for (int i = 0; i < 200; ++i) {
    com::ComPtr<IUnknown> active;
    if (::GetActiveObject(kWordClsid, nullptr, active.Receive()) == S_OK) {
      return process.dwProcessId;
    }
    ::Sleep(50);
  }
  return 0;
}

// The Word the ROT holds, through the add-in's own automation client; checks that it is a
// proxy to another process (only a proxy manager implements IClientSecurity).
std::shared_ptr<platform::WordApplication> RunningWordProxy(const std::wstring& what) {
  com::ComPtr<IUnknown> active;
  CheckHr(::GetActiveObject(kWordClsid, nullptr, active.Receive()), S_OK,
          what + L": Word is in the ROT");
  if (!active) return nullptr;
  com::ComPtr<IClientSecurity> security;
  active->QueryInterface(IID_IClientSecurity, reinterpret_cast<void**>(security.Receive()));
  Check(security && !sendnote::hostsim::ModelOf(active.Get()),
        what + L": Word is a proxy to its own process");
  return platform::As<platform::WordApplication>(com::GetActiveObjectOf(u"Word.Application"));
}

// The same with Word.Application served by a process of its own (busy for its first
// `rejectedCalls` calls), so that every call of the add-in to Word is marshalled.
struct ProcessWorld : YamadaWorld {
  explicit ProcessWorld(int rejectedCalls = 0) { office.RegisterWordServer(rejectedCalls); }

  // A click from the explorer or the inspector; the template has no markers, so the prefix
  // question comes and is answered Yes. Prints how long the click took.
  void Click(bool fromExplorer, const std::wstring& what) {
    ui.Clear();
    ui.QueueDialog(DialogAnswer::kOk);
    ui.QueueBoxAnswer(IDYES);
    const auto& bars = fromExplorer ? explorer->Bars() : inspector->Bars();
    std::shared_ptr<platform::OutlookWindow> window = explorer;
    if (!fromExplorer) window = inspector;
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    Check(office.Click(window, ButtonIn(bars)) == 1, what + L": click");
    ::QueryPerformanceCounter(&end);
    Print(stdout, what + L": the click took " +
                      std::to_wstring((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart) +
                      L" ms");
    for (const auto& box : ui.Boxes()) Print(stdout, L"box: " + box.text);
    Check(ui.Dialogs().size() == 1 && ui.Boxes().size() == 1 && ui.Boxes()[0].style == 67,
          what + L": the output dialog and the prefix question, nothing else");
  }
};

// The first click starts Word's process by CreateObject, the second finds the Word by
// GetObject, and once the user has quit it the next click starts a new one; a Word the
// user started is found and used too.
int WordProcessScenario() {
  {
    ProcessWorld w;
    if (!StartAddIn(w.office)) return 1;
    Check(WordServerProcesses().empty(), L"no Word runs before the first click");

    w.Click(true, L"Word not running");
    const auto first = WordServerProcesses();
    Check(first.size() == 1, L"CreateObject started Word in a process of its own");
    auto word = RunningWordProxy(L"Word started by CreateObject");
    if (!word) return 1;
    CheckLetter(ViewOf(*word), L"Word started by CreateObject", 1);

    w.Click(false, L"Word running");
    Check(WordServerProcesses() == first, L"GetObject found the running Word: no other process");
    CheckLetter(ViewOf(*word), L"Word found by GetObject", 2);

    // The user quits Word: its process ends, and the proxies in hand report it gone.
    word->Quit(0);
    Check(first.empty() || ExitCodeOf(first[0], 10000) == 0,
          L"Word's process ended, its checks passed, after Quit");
    const int32_t gone = ErrorNumberOf([&] { word->Caption(); });
    Print(stdout, L"a call to the quit Word: " + std::to_wstring(gone));
    Check(gone != 0, L"a call to a Word that has quit raises an error");
    word.reset();

    w.Click(true, L"Word quit by the user");
    const auto second = WordServerProcesses();
    Check(second.size() == 1 && second != first, L"the next click started a new Word");
    word = RunningWordProxy(L"the new Word");
    if (word) {
      CheckLetter(ViewOf(*word), L"the new Word", 1);
      word->Quit(0);
      word.reset();
    }
    Check(second.empty() || ExitCodeOf(second[0], 10000) == 0, L"the new Word's process ended");

    // A Word the user started, not COM: the click finds it in the ROT and starts none.
    const DWORD byHand = StartWordByHand();
    Check(byHand != 0, L"a Word started by hand is in the ROT");
    w.Click(false, L"Word started by the user");
    Check(WordServerProcesses() == std::vector<DWORD>{byHand},
          L"the click used the Word the user started");
    word = RunningWordProxy(L"the Word started by hand");
    if (word) {
      CheckLetter(ViewOf(*word), L"the Word started by hand", 1);
      word->Quit(0);
      word.reset();
    }
    Check(byHand == 0 || ExitCodeOf(byHand, 10000) == 0, L"the hand-started Word's process ended");
    Check(ButtonObject::FailedClicks() == 0, L"every Click call succeeded");
    StopAddIn(w.office);
  }
  Check(LiveObjects::Count() == 0, L"live objects after the run");
  return Failures() ? 1 : 0;
}

// Word's process refuses its first 20 automation calls through its message filter, as a
// Word that is starting does: COM itself answers them RPC_E_CALL_REJECTED, the click waits
// and writes the letter. The server checks on its exit that it refused all 20.
int WordProcessBusyScenario() {
  {
    ProcessWorld w(20);
    if (!StartAddIn(w.office)) return 1;
    w.Click(true, L"Word busy for 20 calls");
    const auto servers = WordServerProcesses();
    Check(servers.size() == 1, L"CreateObject started Word in a process of its own");
    if (auto word = RunningWordProxy(L"the busy Word")) {
      CheckLetter(ViewOf(*word), L"Word busy for 20 calls", 1);
      word->Quit(0);
    }
    Check(servers.empty() || ExitCodeOf(servers[0], 10000) == 0,
          L"Word's process ended and refused all 20 calls");
    StopAddIn(w.office);
  }
  Check(LiveObjects::Count() == 0, L"live objects after the run");
  return Failures() ? 1 : 0;
}

// The round trips of one click from the contact inspector (Word running, a marked letter
// template with eight fields in the main text, text boxes, a group, the header, the footer
// and a footnote, 21 properties): every call into Word and Outlook crosses
// a process boundary on a real desktop. Printed by object model and member.
int ClickCostScenario() {
  {
    ClickWorld w(true, true, true);
    if (!StartAddIn(w.office)) return 1;
    w.ui.QueueDialog(DialogAnswer::kOk);
    const auto before = sendnote::hostsim::SimObject::InvocationsByMember();
    Check(w.office.Click(w.inspector, ButtonIn(w.inspector->Bars())) == 1, L"click");
    CheckLetter(w.Word(), L"the click measured");
    std::map<std::u16string, uint64_t> perApplication;
    uint64_t total = 0;
    for (const auto& [member, count] : sendnote::hostsim::SimObject::InvocationsByMember()) {
      const auto it = before.find(member);
      const uint64_t made = count - (it == before.end() ? 0 : it->second);
      if (made == 0) continue;
      Print(stdout, L"  " + std::to_wstring(made) + L"  " + W(member));
      perApplication[member.substr(0, member.find(u':'))] += made;
      total += made;
    }
    for (const auto& [application, count] : perApplication) {
      Print(stdout, W(application) + L": " + std::to_wstring(count) + L" calls");
    }
    Print(stdout, L"one click: " + std::to_wstring(total) + L" calls into Word and Outlook");
    // 125 before each property was added without a look-up first and each contact field
    // read once: 97 for a template of two fields in the main text and one in a text box.
    // 161 since the template also has a grouped text box, a header with a text box, a
    // footer and a footnote: each further text costs its Fields and Count, each further
    // field Item, Type, Code, Text and Update, and the walk StoryRanges, _NewEnum and a
    // StoryType per story (the enumerator's Next calls are not counted here). A change
    // that brings repeats back shows here.
    Check(total <= 165, L"at most 165 calls, not " + std::to_wstring(total));
    StopAddIn(w.office);
  }
  Check(LiveObjects::Count() == 0, L"live objects after the run");
  return Failures() ? 1 : 0;
}

// --- The dialog's other outputs: a document file opened in Word, a document open in Word ---

constexpr char16_t kLastWeek[] = u"C:\\Letters\\先週の添書票.docx";

// Last week's letter for another contact: marked, with a property of the user's own.
inmemory::WordContent LastWeeksLetter() {
  inmemory::WordContent content = MarkedTemplate(true);
  inmemory::WordPropertyContent company;
  company.name = u"OUTLOOK$会社名";
  company.value = platform::Variant::String(u"佐藤物産");
  inmemory::WordPropertyContent own;
  own.name = u"担当";
  own.value = platform::Variant::String(u"総務 鈴木");
  content.properties.push_back(company);
  content.properties.push_back(own);
  content.bodyFields[0].result = u"佐藤物産";
  return content;
}

std::u16string PropertyOf(const std::shared_ptr<inmemory::WordDocument>& document,
                          std::u16string_view name) {
  for (const auto& property : document->Snapshot().properties)
    if (property.name == name) return property.value.ToString();
  return u"(none)";
}

// Yamada written into `document`, the user's own property kept.
void CheckWrittenInto(const std::shared_ptr<inmemory::WordDocument>& document,
                      const std::wstring& what) {
  Check(!document->IsClosed(), what + L": the document stays open");
  Check(PropertyOf(document, u"OUTLOOK$会社名") == u"株式会社山田商事",
        what + L": 会社名 is " + W(PropertyOf(document, u"OUTLOOK$会社名")));
  Check(PropertyOf(document, u"担当") == u"総務 鈴木", what + L": the user's property is kept");
  const auto content = document->Snapshot();
  Check(content.bodyFields.at(0).result == u"株式会社山田商事", what + L": the field is refreshed");
}

// A Contacts explorer with Yamada selected, Word prepared by `setup`, the add-in started.
struct OutputWorld {
  SimUi ui;
  SimOffice office;
  std::shared_ptr<hostmodel::OutlookExplorer> explorer;

  OutputWorld(bool wordRunning, std::function<void(inmemory::WordApp&)> setup) {
    office.SetWordSetup(std::move(setup));
    office.RegisterWord(wordRunning);
    explorer = office.App()->OpenExplorer(office.Host()->Contacts());
    explorer->Select({office.Host()->Contacts()->AddContact(Yamada())});
  }
  bool Click(int output, const std::wstring& what) {
    if (!StartAddIn(office)) return false;
    ui.QueueDialog(DialogAnswer::kOk, output);
    Check(office.Click(explorer, ButtonIn(explorer->Bars())) == 1, what + L": click");
    return true;
  }
  std::shared_ptr<inmemory::WordApp> Word() const {
    if (office.RunningWord()) return office.RunningWord();
    return office.CreatedWords().empty() ? nullptr : office.CreatedWords().back();
  }
};

// Output 1: Word's File Open dialog answered through Word, the letter written into the
// document opened, which stays open; Cancel, and a file Word cannot open.
int OutputOpenScenario() {
  {
    const std::wstring what = L"last week's letter";
    OutputWorld w(true, [](inmemory::WordApp& word) {
      word.AddFile(kLastWeek, LastWeeksLetter());
      word.QueueFileOpen(kLastWeek);
    });
    if (!w.Click(1, what)) return 1;
    for (const auto& box : w.ui.Boxes()) Print(stdout, L"box: " + box.text);
    Check(w.ui.Boxes().empty(), what + L": no box for a marked document");
    Check(w.Word()->FileOpenDisplays() == 1 && w.Word()->FileNewDisplays() == 0,
          what + L": File Open was shown, File New was not");
    Check(w.Word()->OpenDocuments().size() == 1, what + L": one document open");
    if (w.Word()->OpenDocuments().size() == 1) {
      CheckWrittenInto(w.Word()->OpenDocuments()[0], what);
      Check(w.Word()->OpenDocuments()[0]->Name() == u"先週の添書票.docx", what + L": its name");
    }
    StopAddIn(w.office);
  }
  {
    const std::wstring what = L"File Open cancelled";
    OutputWorld w(false, [](inmemory::WordApp& word) { word.QueueFileOpen(u""); });
    if (!w.Click(1, what)) return 1;
    Check(w.ui.Boxes().empty(), what + L": no box");
    Check(w.office.CreatedWords().size() == 1 && w.office.CreatedWords()[0]->HasQuit(),
          what + L": the Word started for the click has quit");
    StopAddIn(w.office);
  }
  {
    const std::wstring what = L"a damaged file";
    OutputWorld w(true, [](inmemory::WordApp& word) {
      word.AddUnreadableFile(kLastWeek);
      word.QueueFileOpen(kLastWeek);
    });
    if (!w.Click(1, what)) return 1;
    ExpectOneBox(w.ui,
                 L"指定された文書が開けません。\r"
                 L"Word was unable to read this document. It may be corrupt. (Open)",
                 48, what);  // Word's reason, as the automation layer names the call
    Check(w.Word()->OpenDocuments().empty(), what + L": nothing open");
    StopAddIn(w.office);
  }
  return Failures() ? 1 : 0;
}

// Output 2: no document (Word not running, or running without one), one, three with the
// list driven through its window, and Esc in the list.
int OutputWindowScenario() {
  for (const bool running : {false, true}) {
    const std::wstring what = running ? L"Word without documents" : L"Word not running";
    OutputWorld w(running, nullptr);
    if (!w.Click(2, what)) return 1;
    ExpectOneBox(w.ui, L"開いている文書がありません。", 48, what);
    Check(w.office.CreatedWords().empty(), what + L": no Word started");
    Check(w.ui.Lists().empty(), what + L": no list");
    StopAddIn(w.office);
  }
  auto openThree = [](inmemory::WordApp& word) {
    for (const auto* name :
         {u"C:\\Letters\\一.docx", u"C:\\Letters\\二.docx", u"C:\\Letters\\三.docx"}) {
      word.AddFile(name, LastWeeksLetter());
      word.Documents()->Open(name);
    }
    word.Documents()->Item(2)->Activate();
  };
  {
    const std::wstring what = L"one document";
    OutputWorld w(true, [](inmemory::WordApp& word) {
      word.AddFile(kLastWeek, LastWeeksLetter());
      word.Documents()->Open(kLastWeek);
    });
    if (!w.Click(2, what)) return 1;
    Check(w.ui.Boxes().empty() && w.ui.Lists().empty(), what + L": no box, no list");
    CheckWrittenInto(w.Word()->OpenDocuments().at(0), what);
    StopAddIn(w.office);
  }
  {
    const std::wstring what = L"three documents, the third chosen";
    OutputWorld w(true, openThree);
    w.ui.QueueList({2, true});
    if (!w.Click(2, what)) return 1;
    Check(w.ui.Boxes().empty(), what + L": no box");
    Check(w.ui.Lists().size() == 1, what + L": the list was shown");
    if (w.ui.Lists().size() == 1) {
      const SeenList& list = w.ui.Lists()[0];
      Check(list.title == kTitle, what + L": titled " + list.title);
      Check(list.label == L"出力する文書(&D) :", what + L": label " + list.label);
      Check(list.entries == std::vector<std::wstring>{L"一.docx", L"二.docx", L"三.docx"},
            what + L": the documents by name");
      Check(list.selected == 1,
            what + L": the active document chosen, not entry " + std::to_wstring(list.selected));
    }
    const auto& open = w.Word()->OpenDocuments();
    Check(open.size() == 3, what + L": three documents open");
    if (open.size() == 3) {
      CheckWrittenInto(open[2], what);
      Check(PropertyOf(open[0], u"OUTLOOK$会社名") == u"佐藤物産" &&
                PropertyOf(open[1], u"OUTLOOK$会社名") == u"佐藤物産",
            what + L": the others are untouched");
    }
    StopAddIn(w.office);
  }
  {
    const std::wstring what = L"Esc in the list";
    OutputWorld w(true, openThree);
    w.ui.QueueList({0, false});
    if (!w.Click(2, what)) return 1;
    Check(w.ui.Boxes().empty(), what + L": no box");
    Check(w.ui.Lists().size() == 1, what + L": the list was shown");
    for (const auto& document : w.Word()->OpenDocuments()) {
      Check(PropertyOf(document, u"OUTLOOK$会社名") == u"佐藤物産" && !document->IsClosed(),
            what + L": nothing written, nothing closed");
    }
    StopAddIn(w.office);
  }
  return Failures() ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == kWordServerMode) {
    bool embedding = false;
    int rejectedCalls = 0;
    for (int i = 2; i < argc; ++i) {
      if (_wcsicmp(argv[i], L"-Embedding") == 0 || _wcsicmp(argv[i], L"/Embedding") == 0) {
        embedding = true;
      } else {
        rejectedCalls = _wtoi(argv[i]);
      }
    }
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    const int result = RunWordServer(embedding, rejectedCalls);
    ::CoUninitialize();
    return result;
  }
  const std::map<std::wstring, std::function<int()>> scenarios = {
      {L"outlook", OutlookScenario},
      {L"refusals", RefusalScenario},
      {L"dialog", DialogScenario},
      {L"one-report", OneReportScenario},
      {L"word", WordScenario},
      {L"click-explorer", ClickFromExplorerScenario},
      {L"click-inspector", ClickFromInspectorScenario},
      {L"word-quit", WordQuitScenario},
      {L"ribbon-2016", Ribbon2016Scenario},
      {L"old-registration-2016", OldRegistration2016Scenario},
      {L"restart-2003", Restart2003Scenario},
      {L"connection-cost", ConnectionCostScenario},
      {L"missing-menu-2003", MissingMenu2003Scenario},
      {L"busy-word", BusyWordScenario},
      {L"click-cost", ClickCostScenario},
      {L"output-open", OutputOpenScenario},
      {L"output-window", OutputWindowScenario},
      {L"word-process", WordProcessScenario},
      {L"word-process-busy", WordProcessBusyScenario},
  };
  auto it = scenarios.find(mode);
  if (it == scenarios.end()) {
    std::fwprintf(
        stderr,
        L"usage: sendnote_hostsim "
        L"outlook|refusals|dialog|one-report|word|click-explorer|click-inspector|word-quit|"
        L"ribbon-2016|old-registration-2016|restart-2003|connection-cost|missing-menu-2003|busy-"
        L"word|click-cost|output-open|output-window|word-process|word-process-busy\n");
    return 2;
  }
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const int result = it->second();
  ::CoUninitialize();
  return result;
}
