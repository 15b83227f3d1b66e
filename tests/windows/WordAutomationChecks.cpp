// The Word automation objects against fake Word objects: each member called by Word's name
// with Word's arguments and its result converted, failures as the one error, Japanese text
// through BSTRs, member names resolved once, and GetObject / CreateObject of a class.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ComError.h"
#include "platform/Outlook.h"
#include "tests/support/windows/FakeDispatch.h"
#include "tests/support/windows/FakeTypeInfo.h"
#include "tests/windows/Checks.h"
#include "windows/com/AutomationClass.h"
#include "windows/com/ComObject.h"
#include "windows/com/Dispatch.h"
#include "windows/com/VariantConversion.h"
#include "windows/com/WideText.h"
#include "windows/com/Word.h"

namespace sendnote::windows::test {
namespace {

using com::ComPtr;
using platform::Must;
using platform::Variant;
using Args = std::vector<VARIANT>;

std::wstring Wide(std::u16string_view text) { return com::ToWide(text); }

HRESULT ReturnObject(VARIANT* result, IDispatch* object) {
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = object;
  if (object) object->AddRef();
  return S_OK;
}

HRESULT ReturnBool(VARIANT* result, bool value) {
  V_VT(result) = VT_BOOL;
  V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT ReturnText(VARIANT* result, const std::wstring& text) {
  V_VT(result) = VT_BSTR;
  V_BSTR(result) = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return S_OK;
}

std::wstring TextArg(const VARIANT& v) {
  return V_VT(&v) == VT_BSTR ? std::wstring(V_BSTR(&v), ::SysStringLen(V_BSTR(&v))) : L"";
}

template <class Body>
void ExpectError(const std::wstring& what, int32_t number, const std::wstring& description,
                 Body&& body) {
  try {
    body();
    Check(false, what + L": no error");
  } catch (const platform::ComError& error) {
    Check(error.Number() == number && Contains(Wide(error.Description()), description),
          what + L": " + std::to_wstring(error.Number()) + L" " + Wide(error.Description()));
  }
}

void CheckCalls(const CallLog& got, const CallLog& want, const std::wstring& what) {
  if (got == want) return;
  std::wstring text = what + L": the calls made differ";
  for (const std::wstring& call : got) text += L"\n  made:     " + call;
  for (const std::wstring& call : want) text += L"\n  expected: " + call;
  Check(false, text);
}

// A Word with one document: a field in the main text, a text box with the same field, one
// custom property, and Word's File New dialog.
struct FakeWord {
  std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
  std::wstring templatePath;
  FakeDispatch* app = FakeDispatch::Create(L"Application", log);
  FakeDispatch* dialogs = FakeDispatch::Create(L"Dialogs", log);
  FakeDispatch* dialog = FakeDispatch::Create(L"Dialog", log);
  FakeDispatch* documents = FakeDispatch::Create(L"Documents", log);
  FakeDispatch* document = FakeDispatch::Create(L"Document", log);
  FakeDispatch* attached = FakeDispatch::Create(L"Template", log);
  FakeDispatch* fields = FakeDispatch::Create(L"Fields", log);
  FakeDispatch* field = FakeDispatch::Create(L"Field", log);
  FakeDispatch* code = FakeDispatch::Create(L"Code", log);
  FakeDispatch* result = FakeDispatch::Create(L"Result", log);
  FakeDispatch* shapes = FakeDispatch::Create(L"Shapes", log);
  FakeDispatch* shape = FakeDispatch::Create(L"Shape", log);
  FakeDispatch* frame = FakeDispatch::Create(L"TextFrame", log);
  FakeDispatch* box = FakeDispatch::Create(L"TextRange", log);
  FakeDispatch* properties = FakeDispatch::Create(L"Properties", log);
  FakeDispatch* property = FakeDispatch::Create(L"Property", log);

  explicit FakeWord(std::wstring templateFile) : templatePath(std::move(templateFile)) {
    const auto ok = [](const Args&, VARIANT*, EXCEPINFO*) { return S_OK; };
    for (FakeDispatch* object : {app, dialogs, dialog, documents, document, fields, field, code,
                                 result, shapes, shape, frame, box, properties, property}) {
      // Not owned: the application holds its objects, and they would hold it.
      object->Add(L"Application",
                  [this](const Args&, VARIANT* r, EXCEPINFO*) { return ReturnObject(r, app); });
    }
    app->Add(L"Visible", [](const Args& a, VARIANT* r, EXCEPINFO*) {
      if (a.empty()) return ReturnBool(r, true);
      return V_VT(&a[0]) == VT_BOOL ? S_OK : DISP_E_TYPEMISMATCH;
    });
    app->Add(L"Activate", ok);
    app->AddText(L"Caption", L"文書1 - Microsoft Word");
    app->Add(L"Quit", ok);
    app->AddObject(L"Dialogs", dialogs);
    app->AddObject(L"Documents", documents);
    dialogs->Add(L"Item", [this](const Args& a, VARIANT* r, EXCEPINFO*) {
      if (a.size() != 1 || V_VT(&a[0]) != VT_I4 || V_I4(&a[0]) != 79) return DISP_E_BADINDEX;
      return ReturnObject(r, dialog);
    });
    dialog->AddInt(L"Display", -1);
    dialog->AddText(L"Template", L"C:\\テンプレート\\添書票.dot");
    dialog->Add(L"NewTemplate",
                [](const Args&, VARIANT* r, EXCEPINFO*) { return ReturnBool(r, false); });
    documents->Add(L"Add", [this](const Args& a, VARIANT* r, EXCEPINFO*) {
      if (a.size() != 4 || V_VT(&a[0]) != VT_BSTR || V_VT(&a[1]) != VT_BOOL ||
          V_VT(&a[2]) != VT_I4 || V_VT(&a[3]) != VT_BOOL) {
        return DISP_E_TYPEMISMATCH;
      }
      return ReturnObject(r, document);
    });
    documents->AddInt(L"Count", 1);
    documents->AddObject(L"Item", document);
    document->AddObject(L"CustomDocumentProperties", properties);
    document->Add(L"Activate", ok);
    document->AddObject(L"Fields", fields);
    document->AddObject(L"Shapes", shapes);
    document->Add(L"Close", ok);
    document->Add(L"SaveAs", ok);
    document->AddObject(L"AttachedTemplate", attached);
    attached->AddText(L"FullName", templatePath);
    fields->AddInt(L"Count", 1);
    fields->AddObject(L"Item", field);
    field->AddInt(L"Type", platform::kWdFieldDocProperty);
    field->AddObject(L"Code", code);
    field->AddObject(L"Result", result);
    field->Add(L"Update", [](const Args&, VARIANT* r, EXCEPINFO*) { return ReturnBool(r, true); });
    code->Add(L"Text", [](const Args& a, VARIANT* r, EXCEPINFO*) {
      return a.empty() ? ReturnText(r, L" DOCPROPERTY \"OUTLOOK$宛先\" ") : S_OK;
    });
    result->AddText(L"Text", L"山田 太郎");
    shapes->AddInt(L"Count", 1);
    shapes->AddObject(L"Item", shape);
    shape->AddObject(L"TextFrame", frame);
    frame->AddObject(L"TextRange", box);
    box->AddObject(L"Fields", fields);
    properties->AddInt(L"Count", 1);
    properties->AddObject(L"Item", property);
    properties->Add(L"Add", [this](const Args& a, VARIANT* r, EXCEPINFO*) {
      if (a.size() != 4 || V_VT(&a[0]) != VT_BSTR || V_VT(&a[1]) != VT_BOOL ||
          V_VT(&a[2]) != VT_I4) {
        return DISP_E_TYPEMISMATCH;
      }
      return ReturnObject(r, property);
    });
    property->AddText(L"Name", L"OUTLOOK$宛先");
    property->Add(L"Type", [](const Args& a, VARIANT* r, EXCEPINFO*) {
      if (!a.empty()) return S_OK;
      V_VT(r) = VT_I4;
      V_I4(r) = platform::kPropertyString;
      return S_OK;
    });
    property->Add(L"Value", [](const Args& a, VARIANT* r, EXCEPINFO*) {
      if (a.empty()) return ReturnText(r, L"山田 太郎");
      return V_VT(&a[0]) == VT_BOOL ? S_OK : DISP_E_TYPEMISMATCH;
    });
    property->Add(L"LinkToContent",
                  [](const Args&, VARIANT* r, EXCEPINFO*) { return ReturnBool(r, false); });
    property->Add(L"Delete", ok);
  }
  ~FakeWord() {
    for (FakeDispatch* object : {app, dialogs, dialog, documents, document, attached, fields, field,
                                 code, result, shapes, shape, frame, box, properties, property}) {
      object->Release();
    }
  }
  FakeWord(const FakeWord&) = delete;
  FakeWord& operator=(const FakeWord&) = delete;
};

std::wstring TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

void WordMembers() {
  const std::wstring templatePath = TempFile(L"sendnote-テンプレート.dot");
  FakeWord word(templatePath);
  {
    auto app = std::make_shared<com::AutoWordApplication>(ComPtr<IDispatch>(word.app));
    auto document = std::make_shared<com::AutoDocument>(ComPtr<IDispatch>(word.document));
    std::shared_ptr<platform::DocumentProperties> properties;
    struct Case {
      const wchar_t* what;
      std::function<bool()> run;  // true when the results read are right
      CallLog calls;
    };
    const Case cases[] = {
        {L"Application.Visible",
         [&] {
           app->SetVisible(platform::kTrue);
           return app->Visible() == platform::kTrue;
         },
         {L"Application.Visible let(-1)", L"Application.Visible"}},
        {L"Application.Activate, Caption and Quit",
         [&] {
           app->Activate();
           const bool caption = app->Caption() == u"文書1 - Microsoft Word";
           app->Quit(platform::kWdDoNotSaveChanges);
           return caption;
         },
         {L"Application.Activate", L"Application.Caption", L"Application.Quit(0)"}},
        {L"the File New dialog and its settings",
         [&] {
           auto dialog = Must(app->Dialogs()).Item(platform::kWdDialogFileNew);
           return Must(dialog).Display() == -1 &&
                  dialog->Template() == u"C:\\テンプレート\\添書票.dot" &&
                  dialog->NewTemplate() == Variant::Bool(platform::kFalse);
         },
         {L"Application.Dialogs", L"Dialogs.Item(79)", L"Dialog.Display", L"Dialog.Template",
          L"Dialog.NewTemplate"}},
        {L"Documents.Add(Template, NewTemplate, DocumentType, Visible), Count and Item",
         [&] {
           auto documents = app->Documents();
           auto added = Must(documents).Add(u"C:\\添書票.dot", platform::kFalse,
                                            platform::kWdNewDocument, platform::kTrue);
           return platform::TypeNameOf(added) == u"Document" && documents->Count() == 1 &&
                  documents->Item(1) != nullptr;
         },
         {L"Application.Documents", L"Documents.Add(C:\\添書票.dot,0,0,-1)", L"Documents.Count",
          L"Documents.Item(1)"}},
        {L"Document.Activate and Close",
         [&] {
           document->Activate();
           document->Close(platform::kWdDoNotSaveChanges);
           return true;
         },
         {L"Document.Activate", L"Document.Close(0)"}},
        {L"the main text's fields: Type, Code text read and written, Result, Update",
         [&] {
           auto fields = document->Fields();
           auto field = Must(fields).Item(1);
           const bool read = fields->Count() == 1 &&
                             Must(field).Type() == platform::kWdFieldDocProperty &&
                             Must(field->Code()).Text() == u" DOCPROPERTY \"OUTLOOK$宛先\" ";
           field->Code()->SetText(u" DOCPROPERTY \"様$宛先\" ");
           return read && Must(field->Result()).Text() == u"山田 太郎" &&
                  field->Update() == platform::kTrue;
         },
         {L"Document.Fields", L"Fields.Item(1)", L"Fields.Count", L"Field.Type", L"Field.Code",
          L"Code.Text", L"Field.Code", L"Code.Text let( DOCPROPERTY \"様$宛先\" )", L"Field.Result",
          L"Result.Text", L"Field.Update"}},
        {L"a text box's fields through Shapes, TextFrame and TextRange",
         [&] {
           auto shapes = document->Shapes();
           auto range = Must(Must(Must(shapes).Item(1)).TextFrame()).TextRange();
           return shapes->Count() == 1 && Must(Must(range).Fields()).Count() == 1;
         },
         {L"Document.Shapes", L"Shapes.Item(1)", L"Shape.TextFrame", L"TextFrame.TextRange",
          L"Shapes.Count", L"TextRange.Fields", L"Fields.Count"}},
        {L"the custom properties: Count, Item by number and by name, Add",
         [&] {
           properties = document->CustomDocumentProperties();
           auto added = Must(properties)
                            .Add(u"OUTLOOK$宛先", platform::kFalse, platform::kPropertyString,
                                 Variant::String(u"山田 太郎"));
           return properties->Count() == 1 && properties->Item(1) != nullptr &&
                  properties->Item(u"OUTLOOK$宛先") != nullptr && added != nullptr;
         },
         {L"Document.CustomDocumentProperties", L"Properties.Add(OUTLOOK$宛先,0,4,山田 太郎)",
          L"Properties.Count", L"Properties.Item(1)", L"Properties.Item(OUTLOOK$宛先)"}},
        {L"a custom property's members",
         [&] {
           auto property = Must(properties).Item(1);
           const bool read = Must(property).Name() == u"OUTLOOK$宛先" &&
                             property->Type() == platform::kPropertyString &&
                             property->Value() == Variant::String(u"山田 太郎") &&
                             property->LinkToContent() == platform::kFalse;
           property->SetType(platform::kPropertyBoolean);
           property->SetValue(Variant::Bool(platform::kTrue));
           property->Delete();
           return read;
         },
         {L"Properties.Item(1)", L"Property.Name", L"Property.Type", L"Property.Value",
          L"Property.LinkToContent", L"Property.Type let(2)", L"Property.Value let(-1)",
          L"Property.Delete"}},
        {L"Application of a Word object is Word's application",
         [&] {
           auto fromDocument = platform::As<platform::WordApplication>(document->Application());
           auto fromField =
               platform::As<platform::WordApplication>(Must(document->Fields()).Application());
           return fromDocument && fromField && fromField->Caption() == u"文書1 - Microsoft Word";
         },
         {L"Document.Application", L"Document.Fields", L"Fields.Application",
          L"Application.Caption"}},
    };
    for (const Case& c : cases) {
      word.log->clear();
      bool right = false;
      try {
        right = c.run();
      } catch (const platform::ComError& error) {
        Check(false, std::wstring(c.what) + L": " + std::to_wstring(error.Number()) + L" " +
                         Wide(error.Description()));
      }
      Check(right, std::wstring(c.what) + L": the results read");
      CheckCalls(*word.log, c.calls, c.what);
    }

    // SaveAs: the refusals are made before Word is asked; Word replaces without asking.
    const std::wstring existing = TempFile(L"sendnote-既存.doc");
    const std::wstring fresh = TempFile(L"sendnote-新規.doc");
    ::DeleteFileW(fresh.c_str());
    HANDLE file = ::CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    Check(file != INVALID_HANDLE_VALUE, L"a file to save over");
    ::CloseHandle(file);
    std::wstring upperTemplate = templatePath;
    ::CharUpperBuffW(upperTemplate.data(), static_cast<DWORD>(upperTemplate.size()));
    const std::u16string saveAs = u"SaveAs";
    struct SaveCase {
      const wchar_t* what;
      std::wstring name;
      bool replace;
      int32_t error;  // 0: saved
    };
    const SaveCase saves[] = {
        {L"no name", L"", true, platform::kErrPathAccess},
        {L"the document's template", templatePath, true, platform::kErrPathAccess},
        {L"the template in another letter case", upperTemplate, true, platform::kErrPathAccess},
        {L"an existing file not to be replaced", existing, false, platform::kErrFileExists},
        {L"an existing file replaced", existing, true, 0},
        {L"a new file", fresh, false, 0},
    };
    for (const SaveCase& c : saves) {
      word.log->clear();
      const std::u16string name(c.name.begin(), c.name.end());
      const std::wstring what = std::wstring(L"SaveAs: ") + c.what;
      if (c.error != 0) {
        ExpectError(what, c.error, L"", [&] { document->SaveAs(name, c.replace); });
        Check(word.log->empty() || word.log->back() != L"Document.SaveAs(" + c.name + L")",
              what + L": Word is not asked to save");
      } else {
        document->SaveAs(name, c.replace);
        Check(!word.log->empty() && word.log->back() == L"Document.SaveAs(" + c.name + L")",
              what + L": Word saves under the name");
      }
    }
    ::DeleteFileW(existing.c_str());
  }
}

// Members that fail: Word's errors with their EXCEPINFO text, unknown members, type
// mismatches and empty objects, each as the one error with its number.
void FailingMembers() {
  auto log = std::make_shared<CallLog>();
  FakeDispatch* bare = FakeDispatch::Create(L"Bare", log);
  FakeDispatch* odd = FakeDispatch::Create(L"Odd", log);
  odd->AddText(L"Documents", L"not an object");
  odd->AddText(L"Count", L"abc");
  odd->Add(L"Type", [](const Args&, VARIANT*, EXCEPINFO*) { return DISP_E_TYPEMISMATCH; });
  odd->Add(L"TextFrame",
           [](const Args&, VARIANT* r, EXCEPINFO*) { return ReturnObject(r, nullptr); });
  odd->Add(L"Add", [](const Args&, VARIANT*, EXCEPINFO* info) {
    info->scode = static_cast<SCODE>(0x800A0000 | platform::kErrWordFileNotFound);
    info->bstrDescription = ::SysAllocString(L"ファイルが見つかりません。");
    return DISP_E_EXCEPTION;
  });
  odd->Add(L"Item", [](const Args&, VARIANT*, EXCEPINFO* info) {
    info->wCode = static_cast<WORD>(platform::kErrWordNoSuchMember);
    info->bstrDescription = ::SysAllocString(L"要求されたメンバーは存在しません。");
    return DISP_E_EXCEPTION;
  });
  {
    const ComPtr<IDispatch> b(bare);
    const ComPtr<IDispatch> o(odd);
    struct Case {
      const wchar_t* what;
      int32_t number;
      const wchar_t* description;
      std::function<void()> run;
    };
    const Case cases[] = {
        {L"an unknown member", platform::kErrNotSupported, L"(Caption)",
         [&] { com::AutoWordApplication(b).Caption(); }},
        {L"an unknown method", platform::kErrNotSupported, L"(Update)",
         [&] { com::AutoField(b).Update(); }},
        {L"a type mismatch raised by Word", platform::kErrTypeMismatch, L"(Type)",
         [&] { com::AutoField(o).Type(); }},
        {L"a text where an object is expected", platform::kErrTypeMismatch, L"(Documents)",
         [&] { com::AutoWordApplication(o).Documents(); }},
        {L"a text where a number is expected", platform::kErrTypeMismatch, L"",
         [&] { com::AutoFields(o).Count(); }},
        {L"Nothing where a text frame is", platform::kErrObjectNotSet, L"",
         [&] { Must(com::AutoShape(o).TextFrame()).TextRange(); }},
        {L"a call on an empty reference", platform::kErrObjectNotSet, L"",
         [&] { com::AutoDocument(ComPtr<IDispatch>()).Fields(); }},
        {L"Word's error number and text from EXCEPINFO", platform::kErrWordFileNotFound,
         L"ファイルが見つかりません。",
         [&] { com::AutoDocuments(o).Add(u"C:\\無い.dot", platform::kFalse, 0, platform::kTrue); }},
        {L"Word's wCode from EXCEPINFO", platform::kErrWordNoSuchMember,
         L"要求されたメンバーは存在しません。", [&] { com::AutoFields(o).Item(9); }},
        {L"a property linked to content", platform::kErrInvalidCall, L"link source",
         [&] {
           com::AutoDocumentProperties(o).Add(u"OUTLOOK$宛先", platform::kTrue,
                                              platform::kPropertyString, Variant());
         }},
    };
    for (const Case& c : cases) ExpectError(c.what, c.number, c.description, c.run);
    Check(
        std::none_of(log->begin(), log->end(),
                     [](const std::wstring& call) { return call.starts_with(L"Odd.Add(OUTLOOK"); }),
        L"a property linked to content never reaches Word");
  }
  bare->Release();
  odd->Release();
}

// Property names and values through BSTRs and back: a collection that keeps what it is
// given and hands it out again.
void JapaneseRoundTrip() {
  auto log = std::make_shared<CallLog>();
  std::map<std::wstring, std::wstring> kept;
  std::vector<FakeDispatch*> made;
  FakeDispatch* properties = FakeDispatch::Create(L"Properties", log);
  const auto property = [&](const std::wstring& name) {
    FakeDispatch* p = FakeDispatch::Create(L"Property", log);
    p->AddText(L"Name", name);
    p->AddText(L"Value", kept[name]);
    made.push_back(p);
    return p;
  };
  properties->Add(L"Add", [&](const Args& a, VARIANT* r, EXCEPINFO*) {
    if (a.size() != 4 || V_VT(&a[0]) != VT_BSTR || V_VT(&a[3]) != VT_BSTR) {
      return DISP_E_TYPEMISMATCH;
    }
    kept[TextArg(a[0])] = TextArg(a[3]);
    return ReturnObject(r, property(TextArg(a[0])));
  });
  properties->Add(L"Item", [&](const Args& a, VARIANT* r, EXCEPINFO*) {
    if (a.size() != 1 || !kept.count(TextArg(a[0]))) return E_INVALIDARG;
    return ReturnObject(r, property(TextArg(a[0])));
  });
  struct Case {
    std::u16string name, value;
  };
  const Case cases[] = {
      {u"OUTLOOK$宛先", u"山田 太郎 様"},
      {u"OUTLOOK$会社名", u"株式会社　見本（ﾐﾎﾝ）"},
      {u"OUTLOOK$郵便番号", u"〒100-0001"},
      {u"OUTLOOK$住所", u"東京都千代田区\r千代田1-1"},
      {u"SENDNOTE$PREFIX", u"宛先$"},
      {u"OUTLOOK$𠮷野", u"𠮷野家の𩸽"},  // characters outside the BMP: surrogate pairs
  };
  {
    com::AutoDocumentProperties wrapped{ComPtr<IDispatch>(properties)};
    for (const Case& c : cases) {
      Must(wrapped.Add(c.name, platform::kFalse, platform::kPropertyString,
                       Variant::String(c.value)));
      Check(kept.count(Wide(c.name)) && kept[Wide(c.name)] == Wide(c.value),
            L"Word receives the name and value: " + Wide(c.name));
      auto read = wrapped.Item(c.name);
      Check(Must(read).Name() == c.name && read->Value() == Variant::String(c.value),
            L"the name and value read back: " + Wide(c.name));
    }
    ExpectError(L"a name Word does not have", platform::kErrInvalidCall, L"",
                [&] { wrapped.Item(u"OUTLOOK$無い"); });
  }
  for (FakeDispatch* p : made) p->Release();
  properties->Release();
}

// An object of interface `iid` (if any) with the members `names`, in that order (so the
// DISPIDs differ with the order); `declared` are the members its type information knows.
FakeDispatch* Typed(const std::shared_ptr<CallLog>& log, const IID* iid,
                    const std::vector<std::pair<std::wstring, int32_t>>& members,
                    std::vector<std::wstring> declared) {
  FakeDispatch* object = FakeDispatch::Create(L"Typed", log);
  for (const auto& [name, value] : members) object->AddInt(name, value);
  if (iid) object->SetTypeInfo(*iid, std::move(declared));
  return object;
}

// What a proxy answers for IClientSecurity; never called here.
class FakeClientSecurity final : public com::Object<IClientSecurity> {
 public:
  FakeClientSecurity() = default;

  HRESULT STDMETHODCALLTYPE QueryBlanket(IUnknown*, DWORD*, DWORD*, OLECHAR**, DWORD*, DWORD*,
                                         void**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetBlanket(IUnknown*, DWORD, DWORD, OLECHAR*, DWORD, DWORD, void*,
                                       DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CopyProxy(IUnknown*, IUnknown**) override { return E_NOTIMPL; }

 private:
  ~FakeClientSecurity() override = default;
};

IID NewIid() {
  IID iid{};
  ::CoCreateGuid(&iid);
  return iid;
}

void ResolvesNamesOnce() {
  auto log = std::make_shared<CallLog>();
  struct Counts {
    long object, type;
  };
  const auto counts = [] {
    return Counts{FakeDispatch::NameLookups(), FakeTypeInfo::NameLookups()};
  };
  const auto since = [&](Counts before) {
    const Counts now = counts();
    return Counts{now.object - before.object, now.type - before.type};
  };

  // Without type information: once per name and object.
  FakeDispatch* plain = Typed(log, nullptr, {{L"Count", 3}, {L"Type", 5}}, {});
  Counts before = counts();
  {
    com::AutoFields fields{ComPtr<IDispatch>(plain)};
    for (int i = 0; i < 3; ++i) Check(fields.Count() == 3, L"a repeated read");
    com::AutoField other{ComPtr<IDispatch>(plain)};
    Check(other.Type() == 5 && other.Type() == 5, L"another member");
  }
  Counts made = since(before);
  Check(made.object == 2 && made.type == 0,
        L"without type information each name is looked up once per object: " +
            std::to_wstring(made.object));

  // Objects of one interface share what its type information declares.
  const IID field = NewIid();
  FakeDispatch* first = Typed(log, &field, {{L"Type", 85}, {L"Count", 1}}, {L"Type", L"Count"});
  FakeDispatch* second = Typed(log, &field, {{L"Type", 85}, {L"Count", 2}}, {L"Type", L"Count"});
  // Another interface with the same names at other DISPIDs.
  const IID range = NewIid();
  FakeDispatch* third = Typed(log, &range, {{L"Count", 7}, {L"Type", 4}}, {L"Type", L"Count"});
  before = counts();
  for (FakeDispatch* object : {first, second, first, second}) {
    com::AutoField wrapped{ComPtr<IDispatch>(object)};
    Check(wrapped.Type() == 85, L"a member of a shared type");
    Check(com::AutoFields(ComPtr<IDispatch>(object)).Count() == (object == first ? 1 : 2),
          L"each object answers for itself");
  }
  made = since(before);
  Check(made.object == 0 && made.type == 2,
        L"names of one interface are resolved once for all its objects: " +
            std::to_wstring(made.object) + L" object and " + std::to_wstring(made.type) +
            L" type lookups");
  Check(com::AutoField(ComPtr<IDispatch>(third)).Type() == 4 &&
            com::AutoFields(ComPtr<IDispatch>(third)).Count() == 7,
        L"another interface's DISPIDs are its own");

  // Members the type does not declare (a dialog's settings) stay with each object; the
  // type is not asked again.
  const IID dialog = NewIid();
  FakeDispatch* fileNew = Typed(log, &dialog, {{L"Display", -1}, {L"Template", 1}}, {L"Display"});
  FakeDispatch* other =
      Typed(log, &dialog, {{L"Display", 0}, {L"Other", 0}, {L"Template", 2}}, {L"Display"});
  before = counts();
  for (FakeDispatch* object : {fileNew, other}) {
    const com::Dispatch wrapped{ComPtr<IDispatch>(object)};
    const int32_t expected = object == fileNew ? 1 : 2;
    Check(com::Int32Of(wrapped.Get(u"Template")) == expected &&
              com::Int32Of(wrapped.Get(u"Template")) == expected,
          L"a late-bound setting of each dialog");
    Check(com::Int32Of(wrapped.Call(u"Display")) == (object == fileNew ? -1 : 0),
          L"a declared member of the dialog");
  }
  made = since(before);
  Check(made.object == 2 && made.type == 2, L"undeclared names are resolved per object: " +
                                                std::to_wstring(made.object) + L" object and " +
                                                std::to_wstring(made.type) + L" type lookups");

  // Proxies to another process: their type information is not read, names stay per object.
  FakeClientSecurity* security = new FakeClientSecurity();
  const IID remote = NewIid();
  FakeDispatch* proxyOne = Typed(log, &remote, {{L"Count", 1}}, {L"Count"});
  FakeDispatch* proxyTwo = Typed(log, &remote, {{L"Count", 2}}, {L"Count"});
  for (FakeDispatch* object : {proxyOne, proxyTwo})
    object->SetInterface(IID_IClientSecurity, security);
  security->Release();
  before = counts();
  for (FakeDispatch* object : {proxyOne, proxyTwo}) {
    com::AutoFields wrapped{ComPtr<IDispatch>(object)};
    Check(wrapped.Count() == (object == proxyOne ? 1 : 2) && wrapped.Count() == wrapped.Count(),
          L"a proxy's member");
  }
  made = since(before);
  Check(made.object == 2 && made.type == 0, L"a proxy's names are resolved per object: " +
                                                std::to_wstring(made.object) + L" object and " +
                                                std::to_wstring(made.type) + L" type lookups");
  for (FakeDispatch* object : {plain, first, second, third, fileNew, other, proxyOne, proxyTwo}) {
    object->Release();
  }
}

// What a class object for CoRegisterClassObject makes: each instance by `make`; a
// failure of `make` is the HRESULT CreateInstance returns.
class FakeClass {
 public:
  using Make = std::function<HRESULT(IUnknown** object)>;
  explicit FakeClass(Make make) : make_(std::move(make)) {}

  ComPtr<IUnknown> Create() {
    ++created_;
    IUnknown* made = nullptr;
    const HRESULT hr = make_(&made);
    if (FAILED(hr)) throw platform::ComError(static_cast<int32_t>(hr), u"CreateInstance");
    return ComPtr<IUnknown>::Adopt(made);
  }
  void Lock(bool) {}
  int Created() const { return created_; }

 private:
  Make make_;
  int created_ = 0;
};
using FakeFactory = com::ClassFactory<FakeClass>;

// A ProgID mapped to a class id in the machine's classes, where this Wine reads them.
class TestProgId {
 public:
  TestProgId(const wchar_t* progId, const CLSID& id)
      : key_(std::wstring(L"Software\\Classes\\") + progId) {
    wchar_t text[40] = {};
    ::StringFromGUID2(id, text, 40);
    const std::wstring clsid = key_ + L"\\CLSID";
    const LSTATUS status =
        ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, clsid.c_str(), nullptr, REG_SZ, text,
                          static_cast<DWORD>((::lstrlenW(text) + 1) * sizeof(wchar_t)));
    Check(status == ERROR_SUCCESS, L"register the ProgID " + std::wstring(progId));
  }
  ~TestProgId() { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key_.c_str()); }
  TestProgId(const TestProgId&) = delete;
  TestProgId& operator=(const TestProgId&) = delete;

 private:
  std::wstring key_;
};

// The contract an object of a class is wrapped as, by its class name.
void WrapsByClassName() {
  auto log = std::make_shared<CallLog>();
  FakeDispatch* object = FakeDispatch::Create(L"Object", log);
  enum Kind { kWord, kOutlook, kPlain };
  struct Case {
    const char16_t* className;
    Kind kind;
  };
  const Case cases[] = {
      {u"Word.Application", kWord},   {u"WORD.APPLICATION.9", kWord},
      {u"Word.Application.", kPlain}, {u"Word.ApplicationX", kPlain},
      {u"Word.Document", kPlain},     {u"Outlook.Application", kOutlook},
      {u"Ｗord.Application", kPlain},  // a full-width letter is another name
  };
  for (const Case& c : cases) {
    const auto wrapped = com::WrapClassObject(c.className, ComPtr<IDispatch>(object));
    const Kind kind = std::dynamic_pointer_cast<platform::WordApplication>(wrapped)      ? kWord
                      : std::dynamic_pointer_cast<platform::OutlookApplication>(wrapped) ? kOutlook
                                                                                         : kPlain;
    Check(kind == c.kind, L"the contract of class " + Wide(c.className));
  }
  object->Release();
}

void ClassObjects() {
  const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Check(SUCCEEDED(init), L"CoInitializeEx: " + Hex(init));
  const CLSID wordId = NewIid();
  const CLSID otherId = NewIid();
  auto log = std::make_shared<CallLog>();
  {
    // A version of Word's class of its own: the prefix may hold a Word.Application of the
    // host simulator, which this test must neither start nor unregister.
    const TestProgId word(L"Word.Application.99", wordId);
    const TestProgId other(L"Sendnote.TestObject", otherId);
    for (const char16_t* name : {u"Sendnote.NoSuchClass", u"Word.Application.99"}) {
      ExpectError(L"GetObject with nothing running: " + Wide(name), platform::kErrCannotCreate, L"",
                  [&] { com::GetActiveObjectOf(name); });
      ExpectError(L"CreateObject of a class without a server: " + Wide(name),
                  platform::kErrCannotCreate, L"", [&] { com::CreateLocalObjectOf(name); });
    }

    // A Word in the running object table.
    FakeDispatch* running = FakeDispatch::Create(L"Application", log);
    running->AddText(L"Caption", L"Microsoft Word - 実行中");
    DWORD cookie = 0;
    CheckHr(::RegisterActiveObject(running, wordId, ACTIVEOBJECT_STRONG, &cookie), S_OK,
            L"RegisterActiveObject");
    try {
      auto found =
          platform::As<platform::WordApplication>(com::GetActiveObjectOf(u"word.application.99"));
      Check(found && found->TypeName() == u"Application" &&
                found->Caption() == u"Microsoft Word - 実行中",
            L"GetObject gives the running Word as Word's application");
    } catch (const platform::ComError& error) {
      Check(false, L"GetObject of the running Word: " + std::to_wstring(error.Number()) + L" " +
                       Wide(error.Description()));
    }
    CheckHr(::RevokeActiveObject(cookie, nullptr), S_OK, L"RevokeActiveObject");
    ExpectError(L"GetObject after the Word left the table", platform::kErrCannotCreate, L"",
                [] { com::GetActiveObjectOf(u"Word.Application.99"); });
    // Another class is a plain automation object.
    CheckHr(::RegisterActiveObject(running, otherId, ACTIVEOBJECT_STRONG, &cookie), S_OK,
            L"RegisterActiveObject of another class");
    try {
      auto found = com::GetActiveObjectOf(u"Sendnote.TestObject");
      Check(found && !std::dynamic_pointer_cast<platform::WordApplication>(found) &&
                found->TypeName() == u"Object",
            L"GetObject of another class");
    } catch (const platform::ComError& error) {
      Check(false, L"GetObject of another class: " + Wide(error.Description()));
    }
    ::RevokeActiveObject(cookie, nullptr);
    running->Release();

    // A Word created through its class object.
    FakeFactory* factory = FakeFactory::New([&log](IUnknown** object) {
      FakeDispatch* made = FakeDispatch::Create(L"Application", log);
      made->AddText(L"Caption", L"Microsoft Word - 新規");
      *object = static_cast<IDispatch*>(made);
      return S_OK;
    });
    CheckHr(
        ::CoRegisterClassObject(wordId, factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie),
        S_OK, L"CoRegisterClassObject");
    try {
      auto created =
          platform::As<platform::WordApplication>(com::CreateLocalObjectOf(u"Word.Application.99"));
      Check(created && created->Caption() == u"Microsoft Word - 新規" &&
                factory->Classes().Created() == 1,
            L"CreateObject gives a new Word as Word's application");
    } catch (const platform::ComError& error) {
      Check(false, L"CreateObject of Word: " + std::to_wstring(error.Number()) + L" " +
                       Wide(error.Description()));
    }
    ::CoRevokeClassObject(cookie);
    factory->Release();

    // A server that fails to make its object.
    FakeFactory* failing = FakeFactory::New([](IUnknown**) { return CO_E_SERVER_EXEC_FAILURE; });
    CheckHr(
        ::CoRegisterClassObject(wordId, failing, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie),
        S_OK, L"CoRegisterClassObject of a failing server");
    ExpectError(L"CreateObject of a server that fails", platform::kErrCannotCreate, L"",
                [] { com::CreateLocalObjectOf(u"Word.Application.99"); });
    ::CoRevokeClassObject(cookie);
    failing->Release();
  }
  if (SUCCEEDED(init)) ::CoUninitialize();
}

}  // namespace

int WordAutomationChecks() {
  WordMembers();
  FailingMembers();
  JapaneseRoundTrip();
  ResolvesNamesOnce();
  WrapsByClassName();
  ClassObjects();
  Check(FakeDispatch::Live() == 0, L"the Word objects release what they were given");
  return Failures() ? 1 : 0;
}

}  // namespace sendnote::windows::test
