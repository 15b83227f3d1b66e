// The add-in's ribbon: which Outlook windows have one, and the customUI markup each
// ribbon id gets. Outlook 2007 has a ribbon in its inspectors only; from Outlook 2010 on
// explorers have one too and command-bar controls land on the Add-ins tab.
#pragma once

#include <string>
#include <string_view>

namespace sendnote {

// The ribbon ids Outlook passes to GetCustomUI for the windows the button lives in
// ("Implementing the IRibbonExtensibility Interface", Outlook developer reference).
inline constexpr char16_t kExplorerRibbonId[] = u"Microsoft.Outlook.Explorer";
inline constexpr char16_t kContactRibbonId[] = u"Microsoft.Outlook.Contact";

// The callbacks the markup names; members of the add-in's dispatch interface, which
// Office finds by name.
inline constexpr char16_t kRibbonOnAction[] = u"Ribbon_OnAction";
inline constexpr char16_t kRibbonGetImage[] = u"Ribbon_GetImage";

// The customUI namespaces: Office 2007's, and Office 2010's, which adds context menus.
inline constexpr char16_t kCustomUi2006[] = u"http://schemas.microsoft.com/office/2006/01/customui";
inline constexpr char16_t kCustomUi2009[] = u"http://schemas.microsoft.com/office/2009/07/customui";

// Returns the major version of an application version text ("16.0.0.17328" gives 16), or
// 0 when the text does not start with a number.
int OutlookMajorVersion(std::u16string_view version);

// Whether windows of an Outlook of `major` show a ribbon. An unknown version (0) counts as
// a current one: a ribbon Outlook must never get the old start-up work.
bool ExplorerHasRibbon(int major);
bool InspectorHasRibbon(int major);

// Returns the customUI markup for `ribbonId` on an Outlook of `major`, or empty when the
// add-in adds nothing to that ribbon.
std::u16string RibbonMarkup(std::u16string_view ribbonId, int major);

}  // namespace sendnote
