// The ribbon: the markup each ribbon id gets on each generation of Outlook, the quiet
// connection of an Outlook with a ribbon, and the ribbon button's click.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <set>
#include <string>
#include <vector>

#include "platform/Utf.h"
#include "system/addin/modRibbon.h"
#include "tests/support/AddinHostFixture.h"

namespace sendnote {
namespace {

using namespace testing;

constexpr char16_t kOutlook2003[] = u"11.0.0.8312";
constexpr char16_t kOutlook2007[] = u"12.0.0.6691";
constexpr char16_t kOutlook2016[] = u"16.0.0.17328";

std::string Utf8(std::u16string_view text) { return platform::ToUtf8(text); }

// The markup parsed, or a failed assertion naming the parser's complaint.
struct Markup {
  pugi::xml_document document;
  pugi::xml_node root;
};
::testing::AssertionResult Parse(std::u16string_view text, Markup& markup) {
  const std::string bytes = Utf8(text);
  const auto result = markup.document.load_buffer(bytes.data(), bytes.size());
  if (!result) return ::testing::AssertionFailure() << "not well-formed: " << result.description();
  markup.root = markup.document.document_element();
  return ::testing::AssertionSuccess();
}

std::vector<pugi::xml_node> Buttons(const pugi::xml_node& root) {
  std::vector<pugi::xml_node> buttons;
  for (const auto& found : root.select_nodes("//button")) buttons.push_back(found.node());
  return buttons;
}

TEST(RibbonMarkupTest, VersionTextsGiveTheirMajorNumber) {
  EXPECT_EQ(OutlookMajorVersion(u"16.0.0.17328"), 16);
  EXPECT_EQ(OutlookMajorVersion(u"9.0.0.3821"), 9);
  EXPECT_EQ(OutlookMajorVersion(u"12"), 12);
  EXPECT_EQ(OutlookMajorVersion(u""), 0);
  EXPECT_EQ(OutlookMajorVersion(u"Outlook"), 0);
  // A number too long to be a version is cut, never overflowed.
  EXPECT_EQ(OutlookMajorVersion(u"99999999999999999999"), 9999);
}

TEST(RibbonMarkupTest, EachGenerationGetsTheRibbonsItHas) {
  struct Case {
    int major;
    bool explorer;
    const char16_t* contactNamespace;  // empty: no inspector ribbon
  };
  const Case cases[] = {
      {9, false, u""},           {11, false, u""},          {12, false, kCustomUi2006},
      {14, true, kCustomUi2009}, {16, true, kCustomUi2009}, {0, true, kCustomUi2009}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.major);
    EXPECT_EQ(ExplorerHasRibbon(c.major), c.explorer);
    EXPECT_EQ(RibbonMarkup(kExplorerRibbonId, c.major).empty(), !c.explorer);
    const std::u16string contact = RibbonMarkup(kContactRibbonId, c.major);
    if (std::u16string_view(c.contactNamespace).empty()) {
      EXPECT_TRUE(contact.empty());
      EXPECT_FALSE(InspectorHasRibbon(c.major));
      continue;
    }
    Markup markup;
    ASSERT_TRUE(Parse(contact, markup));
    EXPECT_STREQ(markup.root.name(), "customUI");
    EXPECT_EQ(markup.root.attribute("xmlns").value(), Utf8(c.contactNamespace));
  }
  // Ribbons of other items and windows get nothing.
  for (const char16_t* other : {u"Microsoft.Outlook.Mail.Read", u"Microsoft.Outlook.Appointment",
                                u"microsoft.outlook.explorer", u""}) {
    EXPECT_TRUE(RibbonMarkup(other, 16).empty()) << Utf8(other);
  }
}

TEST(RibbonMarkupTest, TheExplorerGetsAGroupOnTheContactsHomeTabAndAShortcutMenuEntry) {
  Markup markup;
  ASSERT_TRUE(Parse(RibbonMarkup(kExplorerRibbonId, 16), markup));
  EXPECT_EQ(markup.root.attribute("xmlns").value(), Utf8(kCustomUi2009));
  const auto tab = markup.root.select_node("ribbon/tabs/tab").node();
  EXPECT_STREQ(tab.attribute("idMso").value(), "TabContacts");
  const auto group = tab.child("group");
  EXPECT_STREQ(group.attribute("label").value(), "添書票");
  EXPECT_STREQ(group.child("button").attribute("size").value(), "large");
  EXPECT_STREQ(
      markup.root.select_node("contextMenus/contextMenu").node().attribute("idMso").value(),
      "ContextMenuContactItem");
  EXPECT_EQ(Buttons(markup.root).size(), 2u);
}

TEST(RibbonMarkupTest, EveryButtonNamesTheCallbacksOnTheAddinAndHasItsOwnId) {
  for (int major : {12, 16}) {
    std::set<std::string> ids;
    for (const char16_t* ribbon : {kExplorerRibbonId, kContactRibbonId}) {
      const std::u16string text = RibbonMarkup(ribbon, major);
      if (text.empty()) continue;
      Markup markup;
      ASSERT_TRUE(Parse(text, markup));
      for (const auto& node : markup.root.select_nodes("//*[@id]")) {
        EXPECT_TRUE(ids.insert(node.node().attribute("id").value()).second)
            << "id used twice: " << node.node().attribute("id").value();
      }
      for (const auto& button : Buttons(markup.root)) {
        EXPECT_EQ(button.attribute("label").value(), Utf8(ButtonCaption));
        EXPECT_EQ(button.attribute("onAction").value(), Utf8(kRibbonOnAction));
        EXPECT_EQ(button.attribute("getImage").value(), Utf8(kRibbonGetImage));
      }
    }
  }
}

// Every call the host model sees, in order, by member name.
class CallLog : public hostmodel::CallObserver {
 public:
  void OnCall(const void*, std::u16string_view member) override { members.emplace_back(member); }
  std::vector<std::u16string> members;
};

class RibbonConnectionTest : public AddinHostTest {
 protected:
  void StartAs(const char16_t* version) {
    host->SetVersion(version);
    Restart();
  }
};

TEST_F(RibbonConnectionTest, AnOutlookWithARibbonIsAskedForItsVersionAndNothingElse) {
  StartAs(kOutlook2016);
  auto inbox = app->OpenExplorer(host->Inbox());
  EXPECT_EQ(CallsDuring([&] { Connect(kStartup); }).members,
            std::vector<std::u16string>{u"Version"});
  EXPECT_TRUE(inbox->FolderHistory().empty());
  EXPECT_EQ(Tagged(inbox->Bars()), 0u);
  EXPECT_TRUE(host->Contacts()->Contents().empty());  // no placeholder in empty Contacts
  EXPECT_TRUE(Prompts().empty());
  EXPECT_EQ(addin->OutlookMajor(), 16);
  EXPECT_FALSE(addin->GetCustomUI(kExplorerRibbonId).empty());
  // Later windows and removing the add-in touch nothing of Outlook's either.
  EXPECT_FALSE(CallsDuring([&] { app->OpenExplorer(host->Contacts()); }).Saw(u"FindControl"));
  EXPECT_TRUE(
      CallsDuring([&] { addin->IDTExtensibility2_OnDisconnection(kUserClosed); }).members.empty());
  EXPECT_TRUE(Prompts().empty());
}

TEST_F(RibbonConnectionTest, Outlook2007KeepsTheExplorersMenuButtonAndBorrowsNoInspector) {
  StartAs(kOutlook2007);
  auto inbox = app->OpenExplorer(host->Inbox());
  Connect(kStartup);
  EXPECT_EQ(Tagged(inbox->Bars()), 1u);
  EXPECT_EQ(Kept(kContactWindowKind), 0u);
  EXPECT_TRUE(host->Contacts()->Contents().empty());
  EXPECT_TRUE(Prompts().empty());
  EXPECT_TRUE(addin->GetCustomUI(kExplorerRibbonId).empty());
  EXPECT_FALSE(addin->GetCustomUI(kContactRibbonId).empty());
}

TEST_F(RibbonConnectionTest, Outlook2003StillGetsEveryMenuButton) {
  StartAs(kOutlook2003);
  auto inbox = app->OpenExplorer(host->Inbox());
  Connect(kStartup);
  EXPECT_EQ(Tagged(inbox->Bars()), 1u);
  EXPECT_EQ(Kept(kContactWindowKind), 1u);
  EXPECT_EQ(host->Contacts()->Contents().size(), 1u);  // the placeholder
  EXPECT_TRUE(addin->GetCustomUI(kContactRibbonId).empty());
}

TEST_F(RibbonConnectionTest, AVersionThatCannotBeReadIsReportedAtTheFirstClickOnly) {
  StartAs(kOutlook2016);
  auto contacts = app->OpenExplorer(host->Contacts());
  faults.Of(app).FailOn(u"Version", -2147417848, u"切断されました");
  Connect(kStartup);
  EXPECT_TRUE(Prompts().empty());
  EXPECT_EQ(Tagged(contacts->Bars()), 0u);

  addin->Ribbon_OnAction(contacts);
  const auto prompts = Prompts();
  ASSERT_EQ(prompts.size(), 2u);
  EXPECT_NE(prompts[0].find(u"内部(IDTExtensibility2_OnConnection)"), std::u16string::npos);
  EXPECT_NE(prompts[0].find(u"切断されました"), std::u16string::npos);
  EXPECT_EQ(prompts[1], u"連絡先アイテムが選択されていません。");
  addin->Ribbon_OnAction(contacts);
  EXPECT_EQ(Prompts().size(), 3u);
}

TEST_F(RibbonConnectionTest, TheRibbonClickWorksInTheWindowItWasMadeIn) {
  StartAs(kOutlook2016);
  auto contacts = app->OpenExplorer(host->Contacts());
  auto inbox = app->OpenExplorer(host->Inbox());
  inbox->Select({host->Inbox()->AddMail(u"ご案内")});
  Connect(kStartup);
  std::vector<ClickOutcome> outcomes;
  addin->SetClickListener([&](const ClickOutcome& outcome) { outcomes.push_back(outcome); });

  // Clicked in the Contacts explorer behind the inbox: its (empty) selection counts.
  addin->Ribbon_OnAction(contacts);
  EXPECT_EQ(app->ActiveWindow(), contacts);
  // From a shortcut menu the context is no window: the active one counts.
  app->SetActiveWindow(inbox);
  addin->Ribbon_OnAction(nullptr);
  EXPECT_EQ(Prompts(), (std::vector<std::u16string>{u"連絡先アイテムが選択されていません。",
                                                    u"連絡先アイテムのみ利用可能です。"}));
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_EQ(outcomes[0].kind, ClickOutcome::Kind::kStopped);
  EXPECT_EQ(outcomes[1].message, u"連絡先アイテムのみ利用可能です。");
}

}  // namespace
}  // namespace sendnote
