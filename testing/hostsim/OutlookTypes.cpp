#include "hostsim/OutlookTypes.h"

#include "hostsim/RibbonControl.h"

#include "platform/CommandBars.h"
#include "platform/ContactField.h"
#include "platform/Outlook.h"
#include "portable/hostmodel/CommandBarObjects.h"
#include "portable/hostmodel/OutlookFolder.h"

namespace sendnote::hostsim {
namespace {

using namespace platform;
using Member = DispatchType::Member;

constexpr char16_t kOutlook[] = u"Microsoft Outlook";
constexpr char16_t kOffice[] = u"Microsoft Office";

// Outlook's Class values of the non-item objects (OlObjectClass).
constexpr int32_t kOlApplication = 0;
constexpr int32_t kOlNamespace = 1;
constexpr int32_t kOlFolder = 2;
constexpr int32_t kOlItems = 16;
constexpr int32_t kOlExplorer = 34;
constexpr int32_t kOlInspector = 35;
constexpr int32_t kOlExplorers = 60;
constexpr int32_t kOlInspectors = 61;
constexpr int32_t kOlSelection = 74;
// MsoControlType.
constexpr int32_t kMsoControlButton = 1;
constexpr int32_t kMsoControlPopup = 10;

Member Constant(std::u16string name, int32_t value) {
  return {std::move(name), [value](Object&, Invocation& call) { call.ReturnInt(value); }, nullptr};
}

const DispatchType& ApplicationType() {
  static const DispatchType type = [] {
    DispatchType t(u"Application", kOutlook);
    t.Add(Constant(u"Class", kOlApplication));
    t.Add({u"Name", [](Object&, Invocation& call) { call.ReturnText(u"Outlook"); }});
    t.Add({u"Version", On<OutlookApplication>([](OutlookApplication& app, Invocation& call) {
             call.ReturnText(app.Version());
           })});
    t.Add({u"GetNamespace", On<OutlookApplication>([](OutlookApplication& app, Invocation& call) {
             call.ReturnObject(app.GetNamespace(call.Text(0)));
           })});
    t.Add({u"ActiveExplorer", On<OutlookApplication>([](OutlookApplication& app, Invocation& call) {
             call.ReturnObject(app.ActiveExplorer());
           })});
    t.Add(
        {u"ActiveInspector", On<OutlookApplication>([](OutlookApplication& app, Invocation& call) {
           call.ReturnObject(app.ActiveInspector());
         })});
    t.Add({u"ActiveWindow", On<OutlookApplication>([](OutlookApplication& app, Invocation& call) {
             call.ReturnObject(app.ActiveWindow());
           })});
    t.Add({u"Explorers", On<OutlookApplication>([](OutlookApplication& app, Invocation& call) {
             call.ReturnObject(app.Explorers());
           }),
           nullptr, true});
    t.Add({u"Inspectors", On<OutlookApplication>([](OutlookApplication& app, Invocation& call) {
             call.ReturnObject(app.Inspectors());
           }),
           nullptr, true});
    return t;
  }();
  return type;
}

const DispatchType& NameSpaceType() {
  static const DispatchType type = [] {
    DispatchType t(u"NameSpace", kOutlook);
    t.Add(Constant(u"Class", kOlNamespace));
    t.Add({u"GetDefaultFolder", On<NameSpace>([](NameSpace& ns, Invocation& call) {
             call.ReturnObject(ns.GetDefaultFolder(call.Int(0)));
           })});
    return t;
  }();
  return type;
}

const DispatchType& FolderType() {
  static const DispatchType type = [] {
    DispatchType t(u"MAPIFolder", kOutlook);
    t.Add(Constant(u"Class", kOlFolder));
    t.Add({u"Name",
           On<MAPIFolder>([](MAPIFolder& f, Invocation& call) { call.ReturnText(f.Name()); })});
    t.Add({u"GetExplorer", On<MAPIFolder>([](MAPIFolder& f, Invocation& call) {
             call.ReturnObject(f.GetExplorer(call.IntOr(0, 0)));
           })});
    t.Add({u"Items",
           On<MAPIFolder>([](MAPIFolder& f, Invocation& call) { call.ReturnObject(f.Items()); })});
    return t;
  }();
  return type;
}

const DispatchType& ItemsType() {
  static const DispatchType type = [] {
    DispatchType t(u"Items", kOutlook);
    t.Add(Constant(u"Class", kOlItems));
    t.Add({u"GetFirst",
           On<Items>([](Items& items, Invocation& call) { call.ReturnObject(items.GetFirst()); })});
    // Add(Type): the folder's default kind whatever Type says; the add-in passes none.
    t.Add({u"Add",
           On<Items>([](Items& items, Invocation& call) { call.ReturnObject(items.Add()); })});
    t.Add({u"Count", On<Items>([](Items& items, Invocation& call) {
             auto* model = dynamic_cast<hostmodel::OutlookFolderItems*>(&items);
             if (!model) Raise(kErrNotSupported);
             call.ReturnInt(model->Count());
           })});
    return t;
  }();
  return type;
}

template <class Collection>
const DispatchType& WindowsType(const char16_t* name, int32_t objectClass) {
  static const DispatchType type = [&] {
    DispatchType t(name, kOutlook);
    t.Add(Constant(u"Class", objectClass));
    t.Add({u"Count",
           On<Collection>([](Collection& c, Invocation& call) { call.ReturnInt(c.Count()); })});
    t.Add({u"Item", On<Collection>([](Collection& c, Invocation& call) {
             call.ReturnObject(c.Item(call.Int(0)));
           })});
    t.Default(u"Item");
    return t;
  }();
  return type;
}

// Members every window has: Activate and CommandBars.
void AddWindowMembers(DispatchType& t) {
  t.Add({u"Activate", On<OutlookWindow>([](OutlookWindow& w, Invocation&) { w.Activate(); })});
  t.Add({u"CommandBars", On<OutlookWindow>([](OutlookWindow& w, Invocation& call) {
           call.ReturnObject(w.CommandBars());
         })});
}

const DispatchType& ExplorerType() {
  static const DispatchType type = [] {
    DispatchType t(u"Explorer", kOutlook);
    t.Add(Constant(u"Class", kOlExplorer));
    AddWindowMembers(t);
    t.Add({u"Selection",
           On<Explorer>([](Explorer& e, Invocation& call) { call.ReturnObject(e.Selection()); })});
    const auto setFolder = On<Explorer>([](Explorer& e, Invocation& call) {
      e.SetCurrentFolder(As<MAPIFolder>(Invocation::ObjectOf(call.Written())));
    });
    t.Add({u"CurrentFolder", On<Explorer>([](Explorer& e, Invocation& call) {
             call.ReturnObject(e.CurrentFolder());
           }),
           setFolder});
    t.Add({u"Close", On<Explorer>([](Explorer& e, Invocation&) { e.Close(); })});
    return t;
  }();
  return type;
}

const DispatchType& InspectorType() {
  static const DispatchType type = [] {
    DispatchType t(u"Inspector", kOutlook);
    t.Add(Constant(u"Class", kOlInspector));
    AddWindowMembers(t);
    t.Add({u"CurrentItem", On<Inspector>([](Inspector& i, Invocation& call) {
             call.ReturnObject(i.CurrentItem());
           })});
    t.Add({u"Close", On<Inspector>([](Inspector& i, Invocation& call) { i.Close(call.Int(0)); })});
    return t;
  }();
  return type;
}

const DispatchType& SelectionType() {
  static const DispatchType type = [] {
    DispatchType t(u"Selection", kOutlook);
    t.Add(Constant(u"Class", kOlSelection));
    t.Add({u"Count",
           On<Selection>([](Selection& s, Invocation& call) { call.ReturnInt(s.Count()); })});
    t.Add({u"Item", On<Selection>([](Selection& s, Invocation& call) {
             call.ReturnObject(s.Item(call.Int(0)));
           })});
    t.Default(u"Item");
    return t;
  }();
  return type;
}

const DispatchType& ContactType() {
  static const DispatchType type = [] {
    DispatchType t(u"ContactItem", kOutlook);
    t.Add({u"Class",
           On<ContactItem>([](ContactItem& c, Invocation& call) { call.ReturnInt(c.Class()); })});
    for (int i = 0; i < kContactFieldCount; ++i) {
      const auto field = static_cast<ContactField>(i);
      t.Add({std::u16string(ContactFieldName(field)),
             On<ContactItem>(
                 [field](ContactItem& c, Invocation& call) { call.ReturnText(c.Get(field)); }),
             On<ContactItem>([field](ContactItem& c, Invocation& call) {
               c.Set(field, Invocation::TextOf(call.Written()));
             })});
    }
    t.Add({u"SelectedMailingAddress", On<ContactItem>([](ContactItem& c, Invocation& call) {
             call.ReturnInt(static_cast<int32_t>(c.SelectedMailingAddress()));
           }),
           On<ContactItem>([](ContactItem& c, Invocation& call) {
             c.SetSelectedMailingAddress(
                 static_cast<MailingAddress>(Invocation::IntOf(call.Written())));
           })});
    t.Add({u"GetInspector", On<ContactItem>([](ContactItem& c, Invocation& call) {
             call.ReturnObject(c.GetInspector());
           })});
    t.Add({u"Close",
           On<ContactItem>([](ContactItem& c, Invocation& call) { c.Close(call.Int(0)); })});
    return t;
  }();
  return type;
}

const DispatchType& OtherItemType() {
  static const DispatchType type = [] {
    DispatchType t(u"Item", kOutlook);
    t.Add({u"Class",
           On<OutlookItem>([](OutlookItem& i, Invocation& call) { call.ReturnInt(i.Class()); })});
    return t;
  }();
  return type;
}

const DispatchType& AddInInstanceType() {
  static const DispatchType type = [] {
    DispatchType t(u"COMAddIn", kOffice);
    t.Add({u"ProgId", On<AddInInstance>([](AddInInstance& a, Invocation& call) {
             call.ReturnText(a.ProgId());
           })});
    return t;
  }();
  return type;
}

// FindControl(Type, Id, Tag, Visible, Recursive): by Id or by Tag, as the add-in calls it.
void FindControl(CommandBars& bars, Invocation& call) {
  if (call.Has(1)) return call.ReturnObject(bars.FindControl(static_cast<int16_t>(call.Int(1))));
  if (call.Has(2)) return call.ReturnObject(bars.FindControl(call.Text(2)));
  Raise(kErrInvalidCall);
}

const DispatchType& CommandBarsType() {
  static const DispatchType type = [] {
    DispatchType t(u"CommandBars", kOffice);
    t.Add({u"FindControl", On<CommandBars>(FindControl)});
    return t;
  }();
  return type;
}

const DispatchType& CommandBarType() {
  static const DispatchType type = [] {
    DispatchType t(u"CommandBar", kOffice);
    t.Add({u"FindControl", On<CommandBar>([](CommandBar& bar, Invocation& call) {
             // A bar of its own is searched by Tag only.
             call.ReturnObject(bar.FindControl(call.Text(2)));
           })});
    t.Add({u"Controls", On<CommandBar>([](CommandBar& bar, Invocation& call) {
             auto* model = dynamic_cast<hostmodel::CommandBarObject*>(&bar);
             if (!model) Raise(kErrNotSupported);
             call.ReturnObject(model->Controls());
           }),
           nullptr, true});
    t.Add({u"Name", On<CommandBar>([](CommandBar& bar, Invocation& call) {
             auto* model = dynamic_cast<hostmodel::CommandBarObject*>(&bar);
             call.ReturnText(model ? model->Name() : std::u16string());
           })});
    return t;
  }();
  return type;
}

const DispatchType& ControlsType() {
  static const DispatchType type = [] {
    DispatchType t(u"CommandBarControls", kOffice);
    // Add(Type, Id, Parameter, Before, Temporary): appended, permanent.
    t.Add({u"Add", On<CommandBarControls>([](CommandBarControls& c, Invocation& call) {
             call.ReturnObject(c.Add(call.IntOr(0, kMsoControlButton),
                                     static_cast<int16_t>(call.IntOr(1, 1)), call.TextOr(2, u"")));
           })});
    t.Add({u"Count", On<CommandBarControls>([](CommandBarControls& c, Invocation& call) {
             auto* model = dynamic_cast<hostmodel::CommandBarControlsObject*>(&c);
             if (!model) Raise(kErrNotSupported);
             call.ReturnInt(model->Count());
           })});
    t.Add({u"Item", On<CommandBarControls>([](CommandBarControls& c, Invocation& call) {
             auto* model = dynamic_cast<hostmodel::CommandBarControlsObject*>(&c);
             if (!model) Raise(kErrNotSupported);
             call.ReturnObject(model->Item(call.Int(0)));
           })});
    t.Default(u"Item");
    return t;
  }();
  return type;
}

void AddControlMembers(DispatchType& t, int32_t controlType) {
  t.Add(Constant(u"Type", controlType));
  t.Add({u"Id", On<CommandBarControl>(
                    [](CommandBarControl& c, Invocation& call) { call.ReturnInt(c.Id()); })});
  t.Add({u"Delete", On<CommandBarControl>([](CommandBarControl& c, Invocation&) { c.Delete(); })});
}

const DispatchType& ButtonType() {
  static const DispatchType type = [] {
    DispatchType t(u"CommandBarButton", kOffice);
    AddControlMembers(t, kMsoControlButton);
    t.Add({u"Tag", On<CommandBarButton>([](CommandBarButton& b, Invocation& call) {
             call.ReturnText(b.Tag());
           }),
           On<CommandBarButton>([](CommandBarButton& b, Invocation& call) {
             b.SetTag(Invocation::TextOf(call.Written()));
           })});
    t.Add({u"OnAction", On<CommandBarButton>([](CommandBarButton& b, Invocation& call) {
             call.ReturnText(b.OnAction());
           }),
           On<CommandBarButton>([](CommandBarButton& b, Invocation& call) {
             b.SetOnAction(Invocation::TextOf(call.Written()));
           })});
    t.Add({u"Caption", On<CommandBarButton>([](CommandBarButton& b, Invocation& call) {
             call.ReturnText(b.Caption());
           }),
           On<CommandBarButton>([](CommandBarButton& b, Invocation& call) {
             b.SetCaption(Invocation::TextOf(call.Written()));
           })});
    return t;
  }();
  return type;
}

const DispatchType& PopupType() {
  static const DispatchType type = [] {
    DispatchType t(u"CommandBarPopup", kOffice);
    AddControlMembers(t, kMsoControlPopup);
    t.Add({u"Tag", On<CommandBarPopup>(
                       [](CommandBarPopup& p, Invocation& call) { call.ReturnText(p.Tag()); })});
    t.Add({u"CommandBar", On<CommandBarPopup>([](CommandBarPopup& p, Invocation& call) {
             call.ReturnObject(p.CommandBar());
           })});
    t.Add({u"Controls", On<CommandBarPopup>([](CommandBarPopup& p, Invocation& call) {
             call.ReturnObject(p.Controls());
           }),
           nullptr, true});
    return t;
  }();
  return type;
}

const DispatchType& ControlType() {
  static const DispatchType type = [] {
    DispatchType t(u"CommandBarControl", kOffice);
    AddControlMembers(t, 0);
    t.Add({u"Tag", On<CommandBarControl>(
                       [](CommandBarControl& c, Invocation& call) { call.ReturnText(c.Tag()); })});
    return t;
  }();
  return type;
}

// IRibbonControl: Id, Tag and Context, read-only.
const DispatchType& RibbonControlType() {
  static const DispatchType type = [] {
    DispatchType t(u"IRibbonControl", kOffice);
    t.Add({u"Id",
           On<RibbonControl>([](RibbonControl& c, Invocation& call) { call.ReturnText(c.Id()); })});
    t.Add({u"Tag", On<RibbonControl>(
                       [](RibbonControl& c, Invocation& call) { call.ReturnText(c.Tag()); })});
    t.Add({u"Context", On<RibbonControl>([](RibbonControl& c, Invocation& call) {
             call.ReturnObject(c.Context());
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

const DispatchType* OutlookTypeOf(Object& model) {
  if (Is<RibbonControl>(model)) return &RibbonControlType();
  if (Is<CommandBarButton>(model)) return &ButtonType();
  if (Is<CommandBarPopup>(model)) return &PopupType();
  if (Is<CommandBarControl>(model)) return &ControlType();
  if (Is<CommandBars>(model)) return &CommandBarsType();
  if (Is<CommandBar>(model)) return &CommandBarType();
  if (Is<CommandBarControls>(model)) return &ControlsType();
  if (Is<ContactItem>(model)) return &ContactType();
  if (Is<OutlookItem>(model)) return &OtherItemType();
  if (Is<Explorer>(model)) return &ExplorerType();
  if (Is<Inspector>(model)) return &InspectorType();
  if (Is<Selection>(model)) return &SelectionType();
  if (Is<Explorers>(model)) return &WindowsType<Explorers>(u"Explorers", kOlExplorers);
  if (Is<Inspectors>(model)) return &WindowsType<Inspectors>(u"Inspectors", kOlInspectors);
  if (Is<Items>(model)) return &ItemsType();
  if (Is<MAPIFolder>(model)) return &FolderType();
  if (Is<NameSpace>(model)) return &NameSpaceType();
  if (Is<OutlookApplication>(model)) return &ApplicationType();
  if (Is<AddInInstance>(model)) return &AddInInstanceType();
  return nullptr;
}

}  // namespace sendnote::hostsim
