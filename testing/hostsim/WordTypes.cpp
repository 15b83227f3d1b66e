#include "hostsim/WordTypes.h"

#include <memory>
#include <vector>

#include "hostsim/Expose.h"
#include "hostsim/VariantEnum.h"
#include "platform/Word.h"

namespace sendnote::hostsim {
namespace {

using namespace platform;
using Member = DispatchType::Member;

constexpr char16_t kWord[] = u"Microsoft Word";
// Word's WdSaveOptions value for an argument left out.
constexpr int32_t kWdPromptToSaveChanges = -2;

// An enumerator over a snapshot of `items`, as _NewEnum returns it.
template <class Item>
void ReturnEnum(Invocation& call, const std::vector<std::shared_ptr<Item>>& items) {
  std::vector<com::ScopedVariant> variants;
  for (const auto& item : items) {
    com::ComPtr<IDispatch> exposed = Expose(item);
    variants.push_back(com::ScopedVariant::Dispatch(exposed.Get()));
  }
  com::ScopedVariant result;
  V_VT(result.Ptr()) = VT_UNKNOWN;
  V_UNKNOWN(result.Ptr()) = VariantEnum::Create(std::move(variants));
  call.Return(result);
}

// _NewEnum of a 1-based collection: a snapshot of its items.
template <class Collection>
Member NewEnum() {
  return {u"_NewEnum", On<Collection>([](Collection& c, Invocation& call) {
            std::vector<decltype(c.Item(1))> items;
            const int32_t count = c.Count();
            for (int32_t i = 1; i <= count; ++i) items.push_back(c.Item(i));
            ReturnEnum(call, items);
          })};
}

template <class Collection>
void AddIndexed(DispatchType& t) {
  t.Add({u"Count",
         On<Collection>([](Collection& c, Invocation& call) { call.ReturnInt(c.Count()); })});
  t.Add({u"Item", On<Collection>([](Collection& c, Invocation& call) {
           call.ReturnObject(c.Item(call.Int(0)));
         })});
  t.Add(NewEnum<Collection>());
  t.Default(u"Item");
}

const DispatchType& ApplicationType() {
  static const DispatchType type = [] {
    DispatchType t(u"Application", kWord);
    t.Add({u"Name", [](Object&, Invocation& call) { call.ReturnText(kWord); }});
    t.Add({u"Visible", On<WordApplication>([](WordApplication& w, Invocation& call) {
             call.ReturnFlag(w.Visible());
           }),
           On<WordApplication>([](WordApplication& w, Invocation& call) {
             w.SetVisible(Invocation::FlagOf(call.Written()));
           })});
    t.Add(
        {u"Activate", On<WordApplication>([](WordApplication& w, Invocation&) { w.Activate(); })});
    t.Add({u"Caption", On<WordApplication>([](WordApplication& w, Invocation& call) {
             call.ReturnText(w.Caption());
           })});
    // Quit(SaveChanges, OriginalFormat, RouteDocument).
    t.Add({u"Quit", On<WordApplication>([](WordApplication& w, Invocation& call) {
             w.Quit(call.IntOr(0, kWdPromptToSaveChanges));
           })});
    t.Add({u"Dialogs", On<WordApplication>([](WordApplication& w, Invocation& call) {
             call.ReturnObject(w.Dialogs());
           }),
           nullptr, true});
    t.Add({u"Documents", On<WordApplication>([](WordApplication& w, Invocation& call) {
             call.ReturnObject(w.Documents());
           }),
           nullptr, true});
    t.Add({u"ActiveDocument", On<WordApplication>([](WordApplication& w, Invocation& call) {
             call.ReturnObject(w.ActiveDocument());
           }),
           nullptr, true});
    return t;
  }();
  return type;
}

const DispatchType& DialogsType() {
  static const DispatchType type = [] {
    DispatchType t(u"Dialogs", kWord);
    t.Add({u"Item", On<Dialogs>([](Dialogs& d, Invocation& call) {
             call.ReturnObject(d.Item(call.Int(0)));
           })});
    t.Default(u"Item");
    return t;
  }();
  return type;
}

const DispatchType& DialogType() {
  static const DispatchType type = [] {
    DispatchType t(u"Dialog", kWord);
    // Display(TimeOut).
    t.Add(
        {u"Display", On<Dialog>([](Dialog& d, Invocation& call) { call.ReturnInt(d.Display()); })});
    t.Add({u"Template",
           On<Dialog>([](Dialog& d, Invocation& call) { call.ReturnText(d.Template()); })});
    t.Add({u"NewTemplate",
           On<Dialog>([](Dialog& d, Invocation& call) { call.ReturnValue(d.NewTemplate()); })});
    t.Add({u"Name", On<Dialog>([](Dialog& d, Invocation& call) { call.ReturnText(d.Name()); })});
    return t;
  }();
  return type;
}

const DispatchType& DocumentsType() {
  static const DispatchType type = [] {
    DispatchType t(u"Documents", kWord);
    AddIndexed<Documents>(t);
    // Add(Template, NewTemplate, DocumentType, Visible): a blank document without a template.
    t.Add({u"Add", On<Documents>([](Documents& d, Invocation& call) {
             call.ReturnObject(d.Add(call.TextOr(0, u""), call.FlagOr(1, kFalse),
                                     call.IntOr(2, kWdNewDocument), call.FlagOr(3, kTrue)));
           })});
    // Open(FileName, ConfirmConversions, ReadOnly, ...): only the file name is read.
    t.Add({u"Open", On<Documents>([](Documents& d, Invocation& call) {
             call.ReturnObject(d.Open(call.Text(0)));
           })});
    return t;
  }();
  return type;
}

const DispatchType& DocumentType() {
  static const DispatchType type = [] {
    DispatchType t(u"Document", kWord);
    t.Add({u"CustomDocumentProperties", On<Document>([](Document& d, Invocation& call) {
             call.ReturnObject(d.CustomDocumentProperties());
           }),
           nullptr, true});
    t.Add({u"Activate", On<Document>([](Document& d, Invocation&) { d.Activate(); })});
    t.Add(
        {u"Name", On<Document>([](Document& d, Invocation& call) { call.ReturnText(d.Name()); })});
    t.Add({u"FullName",
           On<Document>([](Document& d, Invocation& call) { call.ReturnText(d.FullName()); })});
    t.Add({u"Fields",
           On<Document>([](Document& d, Invocation& call) { call.ReturnObject(d.Fields()); }),
           nullptr, true});
    t.Add({u"Shapes",
           On<Document>([](Document& d, Invocation& call) { call.ReturnObject(d.Shapes()); }),
           nullptr, true});
    t.Add({u"StoryRanges",
           On<Document>([](Document& d, Invocation& call) { call.ReturnObject(d.StoryRanges()); }),
           nullptr, true});
    // Close(SaveChanges, OriginalFormat, RouteDocument).
    t.Add({u"Close", On<Document>([](Document& d, Invocation& call) {
             d.Close(call.IntOr(0, kWdPromptToSaveChanges));
           })});
    return t;
  }();
  return type;
}

const DispatchType& PropertiesType() {
  static const DispatchType type = [] {
    DispatchType t(u"DocumentProperties", kWord);
    t.Add({u"Count", On<DocumentProperties>([](DocumentProperties& p, Invocation& call) {
             call.ReturnInt(p.Count());
           })});
    // Item(Index): a name or a number.
    t.Add({u"Item", On<DocumentProperties>([](DocumentProperties& p, Invocation& call) {
             const VARIANT& index = call.Arg(0);
             if (V_VT(&index) == VT_BSTR) return call.ReturnObject(p.Item(call.Text(0)));
             call.ReturnObject(p.Item(call.Int(0)));
           })});
    t.Add(NewEnum<DocumentProperties>());
    t.Default(u"Item");
    // Add(Name, LinkToContent, Type, Value, LinkSource).
    t.Add({u"Add", On<DocumentProperties>([](DocumentProperties& p, Invocation& call) {
             // A link source is not part of the contract: the contract's Add refuses links.
             const Variant value = call.Has(3) ? Invocation::ValueOf(call.Arg(3)) : Variant();
             call.ReturnObject(
                 p.Add(call.Text(0), call.Flag(1), call.IntOr(2, kPropertyString), value));
           })});
    return t;
  }();
  return type;
}

const DispatchType& PropertyType() {
  static const DispatchType type = [] {
    DispatchType t(u"DocumentProperty", kWord);
    t.Add({u"Name", On<DocumentProperty>(
                        [](DocumentProperty& p, Invocation& call) { call.ReturnText(p.Name()); })});
    t.Add({u"Type", On<DocumentProperty>([](DocumentProperty& p, Invocation& call) {
             call.ReturnInt(p.Type());
           }),
           On<DocumentProperty>([](DocumentProperty& p, Invocation& call) {
             p.SetType(Invocation::IntOf(call.Written()));
           })});
    t.Add({u"Value", On<DocumentProperty>([](DocumentProperty& p, Invocation& call) {
             call.ReturnValue(p.Value());
           }),
           On<DocumentProperty>([](DocumentProperty& p, Invocation& call) {
             p.SetValue(Invocation::ValueOf(call.Written()));
           })});
    t.Add({u"LinkToContent", On<DocumentProperty>([](DocumentProperty& p, Invocation& call) {
             call.ReturnFlag(p.LinkToContent());
           })});
    t.Add({u"Delete", On<DocumentProperty>([](DocumentProperty& p, Invocation&) { p.Delete(); })});
    t.Default(u"Value");
    return t;
  }();
  return type;
}

const DispatchType& FieldsType() {
  static const DispatchType type = [] {
    DispatchType t(u"Fields", kWord);
    AddIndexed<Fields>(t);
    return t;
  }();
  return type;
}

const DispatchType& FieldType() {
  static const DispatchType type = [] {
    DispatchType t(u"Field", kWord);
    t.Add({u"Type", On<Field>([](Field& f, Invocation& call) { call.ReturnInt(f.Type()); })});
    t.Add({u"Code", On<Field>([](Field& f, Invocation& call) { call.ReturnObject(f.Code()); })});
    t.Add(
        {u"Result", On<Field>([](Field& f, Invocation& call) { call.ReturnObject(f.Result()); })});
    t.Add({u"Update", On<Field>([](Field& f, Invocation& call) { call.ReturnFlag(f.Update()); })});
    return t;
  }();
  return type;
}

const DispatchType& RangeType() {
  static const DispatchType type = [] {
    DispatchType t(u"Range", kWord);
    t.Add({u"Text", On<Range>([](Range& r, Invocation& call) { call.ReturnText(r.Text()); }),
           On<Range>(
               [](Range& r, Invocation& call) { r.SetText(Invocation::TextOf(call.Written())); })});
    t.Add({u"Fields", On<Range>([](Range& r, Invocation& call) { call.ReturnObject(r.Fields()); }),
           nullptr, true});
    t.Add({u"StoryType",
           On<Range>([](Range& r, Invocation& call) { call.ReturnInt(r.StoryType()); })});
    t.Add({u"NextStoryRange",
           On<Range>([](Range& r, Invocation& call) { call.ReturnObject(r.NextStoryRange()); })});
    t.Add({u"ShapeRange",
           On<Range>([](Range& r, Invocation& call) { call.ReturnObject(r.ShapeRange()); }),
           nullptr, true});
    t.Default(u"Text");
    return t;
  }();
  return type;
}

const DispatchType& ShapesType() {
  static const DispatchType type = [] {
    DispatchType t(u"Shapes", kWord);
    AddIndexed<Shapes>(t);
    return t;
  }();
  return type;
}

const DispatchType& ShapeType() {
  static const DispatchType type = [] {
    DispatchType t(u"Shape", kWord);
    t.Add({u"TextFrame",
           On<Shape>([](Shape& s, Invocation& call) { call.ReturnObject(s.TextFrame()); })});
    t.Add({u"GroupItems",
           On<Shape>([](Shape& s, Invocation& call) { call.ReturnObject(s.GroupItems()); })});
    return t;
  }();
  return type;
}

// Word's StoryRanges: For Each gives the first story of each type, main text first.
const DispatchType& StoryRangesType() {
  static const DispatchType type = [] {
    DispatchType t(u"StoryRanges", kWord);
    t.Add({u"Count",
           On<StoryRanges>([](StoryRanges& s, Invocation& call) { call.ReturnInt(s.Count()); })});
    t.Add({u"_NewEnum",
           On<StoryRanges>([](StoryRanges& s, Invocation& call) { ReturnEnum(call, s.Items()); })});
    return t;
  }();
  return type;
}

const DispatchType& TextFrameType() {
  static const DispatchType type = [] {
    DispatchType t(u"TextFrame", kWord);
    t.Add({u"TextRange", On<TextFrame>([](TextFrame& f, Invocation& call) {
             call.ReturnObject(f.TextRange());
           })});
    return t;
  }();
  return type;
}

template <class T>
bool Is(Object& model) {
  return dynamic_cast<T*>(&model) != nullptr;
}

}  // namespace

const DispatchType* WordTypeOf(Object& model) {
  if (Is<WordApplication>(model)) return &ApplicationType();
  if (Is<Dialogs>(model)) return &DialogsType();
  if (Is<Dialog>(model)) return &DialogType();
  if (Is<Documents>(model)) return &DocumentsType();
  if (Is<Document>(model)) return &DocumentType();
  if (Is<DocumentProperties>(model)) return &PropertiesType();
  if (Is<DocumentProperty>(model)) return &PropertyType();
  if (Is<Fields>(model)) return &FieldsType();
  if (Is<Field>(model)) return &FieldType();
  if (Is<Range>(model)) return &RangeType();
  if (Is<Shapes>(model)) return &ShapesType();
  if (Is<Shape>(model)) return &ShapeType();
  if (Is<TextFrame>(model)) return &TextFrameType();
  if (Is<StoryRanges>(model)) return &StoryRangesType();
  return nullptr;
}

}  // namespace sendnote::hostsim
