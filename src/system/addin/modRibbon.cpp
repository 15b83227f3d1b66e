#include "system/addin/modRibbon.h"

#include "system/addin/modAddin.h"

namespace sendnote {
namespace {

constexpr int kOutlook2007 = 12;
constexpr int kOutlook2010 = 14;

// Built-in ids (idMso) from Microsoft's "Office Fluent User Interface Control
// Identifiers" lists for Outlook (OfficeDev/office-fluent-ui-command-identifiers):
// TabContacts is the Home tab of the explorer's contacts module, TabContact the main tab
// of the contact inspector, ContextMenuContactItem the shortcut menu of a contact.
constexpr char16_t kContactsHomeTab[] = u"TabContacts";
constexpr char16_t kContactInspectorTab[] = u"TabContact";
constexpr char16_t kContactContextMenu[] = u"ContextMenuContactItem";

constexpr char16_t kGroupLabel[] = u"添書票";
constexpr char16_t kScreenTip[] =
    u"選択した連絡先の名前と住所を、テンプレートから作る新しい Word 文書に書き込みます。";

std::u16string Attribute(std::u16string_view name, std::u16string_view value) {
  std::u16string text = u" ";
  text += name;
  text += u"=\"";
  text += value;
  text += u"\"";
  return text;
}

// One button: the caption of the command-bar button, the application icon, the click.
std::u16string Button(std::u16string_view id, bool large) {
  std::u16string text = u"<button";
  text += Attribute(u"id", id);
  text += Attribute(u"label", ButtonCaption);
  if (large) text += Attribute(u"size", u"large");
  text += Attribute(u"screentip", ButtonCaption);
  text += Attribute(u"supertip", kScreenTip);
  text += Attribute(u"getImage", kRibbonGetImage);
  text += Attribute(u"onAction", kRibbonOnAction);
  text += u"/>";
  return text;
}

// A group of its own on a built-in tab, holding the large button.
std::u16string TabGroup(std::u16string_view tab, std::u16string_view group,
                        std::u16string_view button) {
  std::u16string text = u"<ribbon><tabs><tab";
  text += Attribute(u"idMso", tab);
  text += u"><group";
  text += Attribute(u"id", group);
  text += Attribute(u"label", kGroupLabel);
  text += u">";
  text += Button(button, true);
  text += u"</group></tab></tabs></ribbon>";
  return text;
}

std::u16string CustomUi(std::u16string_view ns, std::u16string_view body) {
  std::u16string text = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><customUI";
  text += Attribute(u"xmlns", ns);
  text += u">";
  text += body;
  text += u"</customUI>";
  return text;
}

}  // namespace

int OutlookMajorVersion(std::u16string_view version) {
  int major = 0;
  size_t digits = 0;
  for (char16_t c : version) {
    if (c < u'0' || c > u'9' || digits == 4) break;
    major = major * 10 + (c - u'0');
    ++digits;
  }
  return major;
}

bool ExplorerHasRibbon(int major) { return major == 0 || major >= kOutlook2010; }

bool InspectorHasRibbon(int major) { return major == 0 || major >= kOutlook2007; }

std::u16string RibbonMarkup(std::u16string_view ribbonId, int major) {
  if (ribbonId == kExplorerRibbonId) {
    if (!ExplorerHasRibbon(major)) return {};
    std::u16string body = TabGroup(kContactsHomeTab, u"SendnoteExplorerGroup", u"SendnoteExplorer");
    body += u"<contextMenus><contextMenu";
    body += Attribute(u"idMso", kContactContextMenu);
    body += u">";
    body += Button(u"SendnoteContextMenu", false);
    body += u"</contextMenu></contextMenus>";
    return CustomUi(kCustomUi2009, body);
  }
  if (ribbonId == kContactRibbonId) {
    if (!InspectorHasRibbon(major)) return {};
    // Outlook 2007 knows only its own namespace and refuses the later one.
    const bool outlook2007 = major == kOutlook2007;
    return CustomUi(outlook2007 ? kCustomUi2006 : kCustomUi2009,
                    TabGroup(kContactInspectorTab, u"SendnoteContactGroup", u"SendnoteContact"));
  }
  return {};
}

}  // namespace sendnote
