#include "windows/com/Word.h"

#include "windows/com/BusyRetry.h"
#include "windows/com/HResultError.h"
#include "windows/com/VariantConversion.h"
#include "windows/com/WideText.h"

namespace sendnote::com {
namespace {

// The absolute form of a path, for comparing two names of one file; empty when it has none.
std::wstring FullPath(std::u16string_view path) {
  const std::wstring wide = ToWide(path);
  const DWORD n = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return {};
  std::wstring full(n, L'\0');
  const DWORD written = ::GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (written == 0 || written >= n) return {};
  full.resize(written);
  return full;
}

bool SameFile(std::u16string_view a, std::u16string_view b) {
  const std::wstring fullA = FullPath(a);
  const std::wstring fullB = FullPath(b);
  return !fullA.empty() &&
         ::CompareStringOrdinal(fullA.c_str(), static_cast<int>(fullA.size()), fullB.c_str(),
                                static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL;
}

// Passes the foreground to Word's process before Word brings a window of its own up, so
// that it comes to the front instead of flashing in the taskbar ("CoAllowSetForegroundWindow
// function", COM reference). Any proxy of Word's process will do; an object in this
// process, or a caller without the foreground right, is refused, which changes nothing.
void LetWordToTheFront(IDispatch* object) { ::CoAllowSetForegroundWindow(object, nullptr); }

}  // namespace

std::shared_ptr<platform::Object> WrapWordApplication(ComPtr<IDispatch> object) {
  return Wrap<AutoWordApplication>(std::move(object));
}

platform::Flag AutoWordApplication::Visible() { return FlagOf(dispatch().Get(u"Visible")); }

void AutoWordApplication::SetVisible(platform::Flag visible) {
  dispatch().Put(u"Visible", ScopedVariant::Bool(visible != platform::kFalse));
}

void AutoWordApplication::Activate() {
  LetWordToTheFront(dispatch().Get());
  dispatch().Call(u"Activate");
}

std::u16string AutoWordApplication::Caption() { return TextOf(dispatch().Get(u"Caption")); }

// Only SaveChanges is passed: OriginalFormat and RouteDocument keep Word's defaults.
void AutoWordApplication::Quit(int32_t saveChanges) {
  dispatch().Call(u"Quit", {ScopedVariant::Int32(saveChanges)});
}

std::shared_ptr<platform::Dialogs> AutoWordApplication::Dialogs() {
  return Wrap<AutoDialogs>(ObjectOf(u"Dialogs"));
}

std::shared_ptr<platform::Documents> AutoWordApplication::Documents() {
  return Wrap<AutoDocuments>(ObjectOf(u"Documents"));
}

std::shared_ptr<platform::Document> AutoWordApplication::ActiveDocument() {
  return Wrap<AutoDocument>(ObjectOf(u"ActiveDocument"));
}

// Display's TimeOut is left out: the dialog waits for the user.
int32_t AutoDialog::Display() {
  LetWordToTheFront(dispatch().Get());
  return Int32Of(dispatch().Call(u"Display"));
}

std::u16string AutoDialog::Template() { return TextOf(dispatch().Get(u"Template")); }

platform::Variant AutoDialog::NewTemplate() {
  return FromComVariant(dispatch().Get(u"NewTemplate").Get());
}

std::u16string AutoDialog::Name() { return TextOf(dispatch().Get(u"Name")); }

std::shared_ptr<platform::Dialog> AutoDialogs::Item(int32_t id) {
  return Wrap<AutoDialog>(ObjectOf(u"Item", {ScopedVariant::Int32(id)}));
}

std::shared_ptr<platform::Document> AutoDocuments::Add(std::u16string_view templateName,
                                                       platform::Flag newTemplate,
                                                       int32_t documentType,
                                                       platform::Flag visible) {
  return Wrap<AutoDocument>(ObjectOf(
      u"Add",
      {ScopedVariant::String(templateName), ScopedVariant::Bool(newTemplate != platform::kFalse),
       ScopedVariant::Int32(documentType), ScopedVariant::Bool(visible != platform::kFalse)}));
}

std::shared_ptr<platform::Document> AutoDocuments::Open(std::u16string_view fileName) {
  return Wrap<AutoDocument>(ObjectOf(u"Open", {ScopedVariant::String(fileName)}));
}

std::u16string AutoRange::Text() { return TextOf(dispatch().Get(u"Text")); }

void AutoRange::SetText(std::u16string_view text) {
  dispatch().Put(u"Text", ScopedVariant::String(text));
}

std::shared_ptr<platform::Fields> AutoRange::Fields() {
  return Wrap<AutoFields>(ObjectOf(u"Fields"));
}

int32_t AutoRange::StoryType() { return Int32Of(dispatch().Get(u"StoryType")); }

std::shared_ptr<platform::Range> AutoRange::NextStoryRange() {
  return Wrap<AutoRange>(ObjectOf(u"NextStoryRange"));
}

// Word's ShapeRange collection serves Count and Item as Shapes does.
std::shared_ptr<platform::Shapes> AutoRange::ShapeRange() {
  return Wrap<AutoShapes>(ObjectOf(u"ShapeRange"));
}

int32_t AutoField::Type() { return Int32Of(dispatch().Get(u"Type")); }

std::shared_ptr<platform::Range> AutoField::Code() { return Wrap<AutoRange>(ObjectOf(u"Code")); }

std::shared_ptr<platform::Range> AutoField::Result() {
  return Wrap<AutoRange>(ObjectOf(u"Result"));
}

platform::Flag AutoField::Update() { return FlagOf(dispatch().Call(u"Update")); }

std::shared_ptr<platform::Range> AutoTextFrame::TextRange() {
  return Wrap<AutoRange>(ObjectOf(u"TextRange"));
}

std::shared_ptr<platform::TextFrame> AutoShape::TextFrame() {
  return Wrap<AutoTextFrame>(ObjectOf(u"TextFrame"));
}

std::shared_ptr<platform::Shapes> AutoShape::GroupItems() {
  return Wrap<AutoShapes>(ObjectOf(u"GroupItems"));
}

int32_t AutoStoryRanges::Count() { return Int32Of(dispatch().Get(u"Count")); }

std::vector<std::shared_ptr<platform::Range>> AutoStoryRanges::Items() {
  const ScopedVariant value = dispatch().Get(u"_NewEnum");
  const VARIANT& v = value.Get();
  IUnknown* unknown = V_VT(&v) == VT_UNKNOWN    ? V_UNKNOWN(&v)
                      : V_VT(&v) == VT_DISPATCH ? V_DISPATCH(&v)
                                                : nullptr;
  if (!unknown) throw ErrorOf(DISP_E_TYPEMISMATCH, nullptr, u"_NewEnum");
  ComPtr<IEnumVARIANT> stories;
  Check(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(stories.Receive())),
        u"_NewEnum");
  std::vector<std::shared_ptr<platform::Range>> items;
  for (;;) {
    // Fetched one at a time: each Next is a round trip, but a story count is small and a
    // server may refuse more than one.
    ScopedVariant item;
    ULONG fetched = 0;
    const HRESULT hr = RetryWhileBusy([&] { return stories->Next(1, item.Receive(), &fetched); });
    Check(hr, u"_NewEnum");
    if (hr != S_OK || fetched == 0) break;
    if (auto range = Wrap<AutoRange>(Dispatch::ObjectOf(item, u"_NewEnum"))) {
      items.push_back(std::move(range));
    }
  }
  return items;
}

std::u16string AutoDocumentProperty::Name() { return TextOf(dispatch().Get(u"Name")); }

int32_t AutoDocumentProperty::Type() { return Int32Of(dispatch().Get(u"Type")); }

void AutoDocumentProperty::SetType(int32_t type) {
  dispatch().Put(u"Type", ScopedVariant::Int32(type));
}

platform::Variant AutoDocumentProperty::Value() {
  return FromComVariant(dispatch().Get(u"Value").Get());
}

void AutoDocumentProperty::SetValue(const platform::Variant& value) {
  dispatch().Put(u"Value", ToComVariant(value));
}

platform::Flag AutoDocumentProperty::LinkToContent() {
  return FlagOf(dispatch().Get(u"LinkToContent"));
}

void AutoDocumentProperty::Delete() { dispatch().Call(u"Delete"); }

std::shared_ptr<platform::DocumentProperty> AutoDocumentProperties::Item(std::u16string_view name) {
  return Wrap<AutoDocumentProperty>(ObjectOf(u"Item", {ScopedVariant::String(name)}));
}

std::shared_ptr<platform::DocumentProperty> AutoDocumentProperties::Add(
    std::u16string_view name, platform::Flag linkToContent, int32_t type,
    const platform::Variant& value) {
  if (linkToContent != platform::kFalse) {
    platform::Raise(platform::kErrInvalidCall,
                    u"A property linked to content needs a link source (Add)");
  }
  return Wrap<AutoDocumentProperty>(
      ObjectOf(u"Add", {ScopedVariant::String(name), ScopedVariant::Bool(false),
                        ScopedVariant::Int32(type), ToComVariant(value)}));
}

std::shared_ptr<platform::DocumentProperties> AutoDocument::CustomDocumentProperties() {
  return Wrap<AutoDocumentProperties>(ObjectOf(u"CustomDocumentProperties"));
}

void AutoDocument::Activate() {
  LetWordToTheFront(dispatch().Get());
  dispatch().Call(u"Activate");
}

std::shared_ptr<platform::Fields> AutoDocument::Fields() {
  return Wrap<AutoFields>(ObjectOf(u"Fields"));
}

std::shared_ptr<platform::Shapes> AutoDocument::Shapes() {
  return Wrap<AutoShapes>(ObjectOf(u"Shapes"));
}

std::shared_ptr<platform::StoryRanges> AutoDocument::StoryRanges() {
  return Wrap<AutoStoryRanges>(ObjectOf(u"StoryRanges"));
}

// Only SaveChanges is passed: OriginalFormat and RouteDocument keep Word's defaults.
void AutoDocument::Close(int32_t saveChanges) {
  dispatch().Call(u"Close", {ScopedVariant::Int32(saveChanges)});
}

void AutoDocument::SaveAs(std::u16string_view fileName, bool replace) {
  if (fileName.empty()) platform::Raise(platform::kErrPathAccess);
  const Dispatch attached(ObjectOf(u"AttachedTemplate"));
  if (attached && SameFile(fileName, TextOf(attached.Get(u"FullName")))) {
    platform::Raise(platform::kErrPathAccess);
  }
  const std::wstring wide = ToWide(fileName);
  if (!replace && ::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) {
    platform::Raise(platform::kErrFileExists, u"File already exists");
  }
  dispatch().Call(u"SaveAs", {ScopedVariant::String(fileName)});
}

std::u16string AutoDocument::Name() { return TextOf(dispatch().Get(u"Name")); }

std::u16string AutoDocument::FullName() { return TextOf(dispatch().Get(u"FullName")); }

}  // namespace sendnote::com
