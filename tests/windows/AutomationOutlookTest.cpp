// The members of Outlook the add-in uses, read once directly from the host model and once
// through com's automation objects over the simulator's exposure of the same kind of
// host: both runs must tell the same story, Japanese text and error numbers included.
#include "windows/com/Win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contactrecord/ContactRecord.h"
#include "hostsim/Expose.h"
#include "hostsim/LiveObjects.h"
#include "platform/ComError.h"
#include "platform/CommandBars.h"
#include "platform/Outlook.h"
#include "platform/Utf.h"
#include "portable/hostmodel/CommandBarCustomization.h"
#include "portable/hostmodel/CommandBarLayout.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"
#include "portable/hostmodel/OutlookWindows.h"
#include "windows/com/Outlook.h"

namespace sendnote::testing {
namespace {

using platform::As;
using platform::ContactField;

// One host with a contact whose every field is set, a mail in the Inbox and an explorer
// on the Contacts folder with the contact selected.
struct OutlookWorld {
  std::shared_ptr<hostmodel::OutlookHost> host = hostmodel::OutlookHost::Create();
  std::shared_ptr<hostmodel::OutlookApp> app = host->Start();

  OutlookWorld() {
    ContactRecord record;
    for (int i = 0; i < platform::kContactFieldCount; ++i) {
      record[static_cast<ContactField>(i)] =
          u"項目" + platform::FromUtf8(std::to_string(i)) + u"・ｶﾅ〒";
    }
    auto contact = host->Contacts()->AddContact(record);
    contact->SetSelectedMailingAddress(platform::MailingAddress::kBusiness);
    host->Inbox()->AddMail(u"件名");
    app->OpenExplorer(host->Contacts())->Select({contact});
  }
};

// What the add-in asks of Outlook, each answer or error number as one line.
std::vector<std::u16string> Story(platform::OutlookApplication& app) {
  std::vector<std::u16string> story;
  auto say = [&story](std::u16string line) { story.push_back(std::move(line)); };
  auto number = [](int32_t n) { return platform::FromUtf8(std::to_string(n)); };
  auto error = [&](const std::u16string& what, const std::function<void()>& call) {
    try {
      call();
      say(what + u": no error");
    } catch (const platform::ComError& e) {
      say(what + u": error " + number(e.Number()));
    }
  };

  error(u"GetNamespace(MAPIX)", [&] { app.GetNamespace(u"MAPIX"); });
  auto ns = app.GetNamespace(u"MAPI");
  error(u"GetDefaultFolder(9)", [&] { ns->GetDefaultFolder(9); });
  auto contacts = ns->GetDefaultFolder(platform::kOlFolderContacts);
  say(u"folder " + contacts->Name());

  auto contact = As<platform::ContactItem>(contacts->Items()->GetFirst());
  say(u"class " + number(contact->Class()));
  for (int i = 0; i < platform::kContactFieldCount; ++i) {
    say(contact->Get(static_cast<ContactField>(i)));
  }
  say(u"mailing " + number(static_cast<int32_t>(contact->SelectedMailingAddress())));
  auto mail = ns->GetDefaultFolder(hostmodel::kOlFolderInbox)->Items()->GetFirst();
  error(u"mail as contact", [&] { As<platform::ContactItem>(mail); });

  auto explorer = app.ActiveExplorer();
  say(u"explorer on " + explorer->CurrentFolder()->Name());
  auto selection = explorer->Selection();
  say(u"selected " + number(selection->Count()) + u" of class " +
      number(selection->Item(1)->Class()));
  error(u"Selection.Item(0)", [&] { selection->Item(0); });
  say(u"inspectors " + number(app.Inspectors()->Count()));

  // The button's life: installed in the Actions menu, found by its tag, deleted.
  auto bars = explorer->CommandBars();
  auto popup = As<platform::CommandBarPopup>(bars->FindControl(hostmodel::kExplorerActionsMenuId));
  auto button = As<platform::CommandBarButton>(
      popup->Controls()->Add(hostmodel::kControlButton, 1, u"sendnote"));
  button->SetCaption(u"添書票の作成(&L)");
  button->SetTag(u"添書票.tag");
  button->SetOnAction(u"!<sendnote>");
  say(button->Caption() + u"|" + button->Tag() + u"|" + button->OnAction());
  auto found = bars->FindControl(u"添書票.tag");
  say(found ? u"found " + found->Tag() : u"not found");
  button->Delete();
  say(bars->FindControl(u"添書票.tag") ? u"still there" : u"deleted");
  error(u"Delete twice", [&] { button->Delete(); });
  return story;
}

TEST(AutomationOutlook, TellsTheSameStoryAsTheHostModel) {
  const long liveBefore = hostsim::LiveObjects::Count();
  OutlookWorld direct;
  const std::vector<std::u16string> expected = Story(*direct.app);
  // The story is not trivially empty: the Japanese folder name and one field are in it.
  ASSERT_GT(expected.size(), static_cast<size_t>(platform::kContactFieldCount));
  EXPECT_EQ(expected[2], u"folder 連絡先");
  EXPECT_EQ(expected[4], u"項目0・ｶﾅ〒");

  OutlookWorld served;
  {
    com::AutoOutlookApplication automation(hostsim::Expose(served.app));
    const std::vector<std::u16string> told = Story(automation);
    ASSERT_EQ(told.size(), expected.size());
    for (size_t i = 0; i < told.size(); ++i) {
      EXPECT_EQ(platform::ToUtf8(told[i]), platform::ToUtf8(expected[i])) << "line " << i;
    }
  }
  EXPECT_EQ(hostsim::LiveObjects::Count(), liveBefore) << "simulator objects left alive";
}

}  // namespace
}  // namespace sendnote::testing
