#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "inmemory/OutlookFaults.h"
#include "platform/ComError.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"
#include "tests/support/ErrorOf.h"

namespace sendnote::hostmodel {
namespace {

using platform::As;
using platform::ContactField;
using platform::ContactItem;

using test_support::ErrorNumberOf;

class OutlookTest : public ::testing::Test {
 protected:
  inmemory::OutlookFaults faults;
  std::shared_ptr<OutlookHost> host = OutlookHost::Create();
  std::shared_ptr<OutlookApp> app = host->Start();
};

TEST_F(OutlookTest, NamespaceAndDefaultFolders) {
  auto ns = app->GetNamespace(u"MAPI");
  EXPECT_EQ(app->GetNamespace(u"mapi"), ns);
  EXPECT_EQ(ErrorNumberOf([&] { app->GetNamespace(u"MAPIX"); }), platform::kErrInvalidCall);
  auto contacts = ns->GetDefaultFolder(platform::kOlFolderContacts);
  EXPECT_EQ(contacts, host->Contacts());
  EXPECT_EQ(contacts->Name(), u"連絡先");
  EXPECT_EQ(ns->GetDefaultFolder(kOlFolderInbox), host->Inbox());
  EXPECT_EQ(ErrorNumberOf([&] { ns->GetDefaultFolder(9); }), platform::kErrInvalidCall);
  EXPECT_EQ(contacts->Application(), app);
  EXPECT_EQ(ns->Application(), app);
}

TEST_F(OutlookTest, ContactsAnswerEveryFieldAndOtherItemsAreNotContacts) {
  auto contact = host->Contacts()->AddContact(
      {{{ContactField::kLastName, u"山田"}, {ContactField::kBusinessAddressCity, u"港区"}},
       platform::MailingAddress::kBusiness});
  EXPECT_EQ(contact->Class(), platform::kOlContactItemClass);
  EXPECT_EQ(contact->TypeName(), u"ContactItem");
  EXPECT_EQ(contact->Get(ContactField::kLastName), u"山田");
  EXPECT_EQ(contact->Get(ContactField::kBusinessAddressCity), u"港区");
  EXPECT_EQ(contact->Get(ContactField::kOtherAddressCountry), u"");
  EXPECT_EQ(contact->SelectedMailingAddress(), platform::MailingAddress::kBusiness);
  EXPECT_EQ(ErrorNumberOf([&] {
              contact->SetSelectedMailingAddress(static_cast<platform::MailingAddress>(4));
            }),
            platform::kErrInvalidCall);
  // Reads are counted by member name, so a test can fail one field.
  faults.Of(contact).FailOn(u"CompanyName", 7);
  EXPECT_EQ(ErrorNumberOf([&] { contact->Get(ContactField::kCompanyName); }), 7);
  EXPECT_EQ(faults.Of(contact).Calls(u"LastName"), 1);

  std::shared_ptr<platform::OutlookItem> mail = host->Inbox()->AddMail(u"件名");
  std::shared_ptr<platform::OutlookItem> list = host->Contacts()->AddDistList(u"営業");
  EXPECT_EQ(mail->Class(), kOlMailItemClass);
  EXPECT_EQ(mail->TypeName(), u"MailItem");
  EXPECT_EQ(list->Class(), kOlDistListClass);
  EXPECT_EQ(ErrorNumberOf([&] { As<ContactItem>(mail); }), platform::kErrTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([&] { As<ContactItem>(list); }), platform::kErrTypeMismatch);
}

TEST_F(OutlookTest, ItemsAddMakesAnUnsavedContactThatCloseSavesOrDiscards) {
  auto items = host->Contacts()->Items();
  EXPECT_EQ(items->GetFirst(), nullptr);

  auto kept = As<ContactItem>(items->Add());
  ASSERT_NE(kept, nullptr);
  kept->Set(ContactField::kCompanyName, u"会社");
  kept->SetSelectedMailingAddress(platform::MailingAddress::kBusiness);
  EXPECT_EQ(items->GetFirst(), nullptr);  // not stored before it is saved
  kept->Close(platform::kOlSave);
  EXPECT_EQ(items->GetFirst(), kept);
  EXPECT_EQ(As<ContactItem>(items->GetFirst())->Get(ContactField::kCompanyName), u"会社");

  auto dropped = As<ContactItem>(items->Add());
  dropped->Set(ContactField::kLastName, u"x");
  dropped->Close(platform::kOlDiscard);
  EXPECT_EQ(host->Contacts()->Contents().size(), 1u);
  ASSERT_EQ(host->Contacts()->Created().size(), 2u);
  auto keptObject = std::static_pointer_cast<OutlookContact>(kept);
  auto droppedObject = std::static_pointer_cast<OutlookContact>(dropped);
  EXPECT_TRUE(keptObject->Saved());
  EXPECT_FALSE(droppedObject->Saved());
  EXPECT_EQ(droppedObject->Closes(), (std::vector<int32_t>{platform::kOlDiscard}));
  EXPECT_EQ(ErrorNumberOf([&] { kept->Close(3); }), platform::kErrInvalidCall);

  // Items.Add in a mail folder makes a mail.
  EXPECT_EQ(host->Inbox()->Items()->Add()->Class(), kOlMailItemClass);
}

TEST_F(OutlookTest, DiscardingRevertsChangesOfAStoredContact) {
  auto contact = host->Contacts()->AddContact(
      {{{ContactField::kFirstName, u"花子"}}, platform::MailingAddress::kHome});
  contact->Set(ContactField::kFirstName, u"太郎");
  EXPECT_TRUE(contact->Dirty());
  contact->Close(platform::kOlDiscard);
  EXPECT_EQ(contact->Field(ContactField::kFirstName), u"花子");

  auto inspector = contact->GetInspector();
  contact->SetSelectedMailingAddress(platform::MailingAddress::kOther);
  inspector->Close(platform::kOlDiscard);
  EXPECT_EQ(contact->MailingAddress(), platform::MailingAddress::kHome);
  EXPECT_FALSE(contact->Dirty());
  EXPECT_EQ(ErrorNumberOf([&] { inspector->CurrentItem(); }), kErrObjectGone);
}

TEST_F(OutlookTest, GetInspectorIsUndisplayedAndReusesAnOpenWindow) {
  auto contact = host->Contacts()->AddContact({});
  auto borrowed = std::static_pointer_cast<OutlookInspector>(contact->GetInspector());
  EXPECT_FALSE(borrowed->Displayed());
  EXPECT_EQ(app->Inspectors()->Count(), 0);
  EXPECT_EQ(app->ActiveWindow(), nullptr);
  EXPECT_EQ(borrowed->CurrentItem(), contact);
  EXPECT_EQ(borrowed->TypeName(), u"Inspector");
  borrowed->Close(platform::kOlDiscard);
  EXPECT_EQ(borrowed->CloseMode(), platform::kOlDiscard);

  auto open = app->OpenInspector(contact);
  EXPECT_EQ(contact->GetInspector(), open);
  EXPECT_EQ(app->Inspectors()->Count(), 1);
  // Closing the item closes its window as well.
  contact->Close(platform::kOlSave);
  EXPECT_TRUE(open->Closed());
  EXPECT_EQ(app->Inspectors()->Count(), 0);
}

TEST_F(OutlookTest, GetExplorerCountsAmongExplorersUntilClosed) {
  auto hidden = host->Contacts()->GetExplorer(0);
  EXPECT_EQ(app->Explorers()->Count(), 1);
  EXPECT_EQ(app->Explorers()->Item(1), hidden);
  EXPECT_EQ(app->ActiveExplorer(), nullptr);  // never displayed
  EXPECT_EQ(hidden->CurrentFolder(), host->Contacts());
  EXPECT_FALSE(std::static_pointer_cast<OutlookExplorer>(hidden)->Displayed());
  EXPECT_EQ(ErrorNumberOf([&] { app->Explorers()->Item(2); }), platform::kErrSubscript);
  hidden->Close();
  EXPECT_EQ(app->Explorers()->Count(), 0);
  EXPECT_EQ(ErrorNumberOf([&] { hidden->CommandBars(); }), kErrObjectGone);
}

TEST_F(OutlookTest, ActiveWindowFollowsOpeningActivationAndClosing) {
  EXPECT_EQ(app->ActiveWindow(), nullptr);
  EXPECT_EQ(app->ActiveInspector(), nullptr);
  auto explorer = app->OpenExplorer(host->Inbox());
  EXPECT_EQ(app->ActiveWindow(), explorer);
  EXPECT_EQ(platform::TypeNameOf(app->ActiveWindow()), u"Explorer");

  auto inspector = app->OpenInspector(host->Contacts()->AddContact({}));
  EXPECT_EQ(app->ActiveWindow(), inspector);
  EXPECT_EQ(app->ActiveExplorer(), explorer);  // the folder window behind it
  EXPECT_EQ(app->ActiveInspector(), inspector);

  explorer->Activate();
  EXPECT_EQ(app->ActiveWindow(), explorer);
  EXPECT_EQ(faults.Of(explorer).Calls(u"Activate"), 1);

  app->SetActiveWindow(nullptr);
  EXPECT_EQ(app->ActiveWindow(), nullptr);
  EXPECT_EQ(app->ActiveExplorer(), explorer);

  app->SetActiveWindow(inspector);
  inspector->Close(platform::kOlDiscard);
  EXPECT_EQ(app->ActiveWindow(), explorer);
  EXPECT_EQ(app->ActiveInspector(), nullptr);
}

TEST_F(OutlookTest, SelectionIsKeptPerFolderAndItsReadingCanFail) {
  auto first = host->Contacts()->AddContact({});
  auto second = host->Contacts()->AddContact({});
  auto explorer = app->OpenExplorer(host->Inbox());
  auto mail = host->Inbox()->AddMail(u"m");
  explorer->Select({mail});

  explorer->SetCurrentFolder(host->Contacts());
  EXPECT_EQ(explorer->Selection()->Count(), 0);
  explorer->Select({second, first});
  auto selection = explorer->Selection();
  ASSERT_EQ(selection->Count(), 2);
  EXPECT_EQ(selection->Item(1), second);
  EXPECT_EQ(selection->Item(2), first);
  EXPECT_EQ(ErrorNumberOf([&] { selection->Item(0); }), platform::kErrSubscript);

  explorer->SetCurrentFolder(host->Inbox());
  EXPECT_EQ(explorer->Selection()->Item(1), mail);
  EXPECT_EQ(explorer->FolderHistory(),
            (std::vector<std::shared_ptr<platform::MAPIFolder>>{host->Contacts(), host->Inbox()}));

  faults.Of(explorer).FailOn(u"Selection", platform::kErrDispException);
  EXPECT_EQ(ErrorNumberOf([&] { explorer->Selection(); }), platform::kErrDispException);
  EXPECT_EQ(ErrorNumberOf([&] { explorer->SetCurrentFolder(nullptr); }), platform::kErrInvalidCall);
}

TEST_F(OutlookTest, RestartKeepsTheStoreAndEndsTheOldRun) {
  auto placeholder = As<ContactItem>(host->Contacts()->Items()->Add());
  placeholder->Set(ContactField::kLastName, u"架島");
  placeholder->Close(platform::kOlSave);
  auto oldExplorer = app->OpenExplorer(host->Contacts());
  auto hiddenBars = host->Contacts()->AddContact({})->GetInspector()->CommandBars();
  auto instance = app->NewAddInInstance();
  EXPECT_EQ(instance->ProgId(), u"COMAddInSendnote.dsrOutlookToWord");

  auto restarted = host->Start();
  EXPECT_EQ(host->Starts(), 2);
  EXPECT_FALSE(app->IsRunning());
  EXPECT_EQ(ErrorNumberOf([&] { app->ActiveExplorer(); }), platform::kErrServerGone);
  EXPECT_EQ(ErrorNumberOf([&] { oldExplorer->Selection(); }), platform::kErrServerGone);
  EXPECT_EQ(ErrorNumberOf([&] { instance->ProgId(); }), platform::kErrServerGone);
  EXPECT_EQ(ErrorNumberOf([&] { hiddenBars->FindControl(kContactActionsMenuId); }), kErrObjectGone);
  EXPECT_EQ(restarted->Explorers()->Count(), 0);

  auto first = As<ContactItem>(host->Contacts()->Items()->GetFirst());
  EXPECT_EQ(first, placeholder);  // stored before the contact added above
  EXPECT_EQ(first->Get(ContactField::kLastName), u"架島");
  EXPECT_EQ(first->Application(), restarted);

  host->Shutdown();
  EXPECT_EQ(ErrorNumberOf([&] { first->Class(); }), platform::kErrServerGone);
  EXPECT_EQ(ErrorNumberOf([&] { host->Contacts()->Items()->GetFirst(); }),
            platform::kErrServerGone);
}

// Observers nest: the innermost sees the calls, the outer one again once it has gone, and
// without one the calls just run.
TEST(CallObserverTest, TheInnermostObserverSeesTheCalls) {
  auto host = OutlookHost::Create();
  auto app = host->Start();
  auto contact = host->Contacts()->AddContact({{{ContactField::kLastName, u"山田"}}});
  EXPECT_EQ(contact->Get(ContactField::kLastName), u"山田");  // no observer
  inmemory::OutlookFaults outer;
  {
    inmemory::OutlookFaults inner;
    inner.Of(contact).FailOn(u"LastName", 7);
    EXPECT_EQ(ErrorNumberOf([&] { contact->Get(ContactField::kLastName); }), 7);
    EXPECT_EQ(outer.Of(contact).Calls(u"LastName"), 0);
  }
  EXPECT_EQ(contact->Get(ContactField::kLastName), u"山田");
  EXPECT_EQ(outer.Of(contact).Calls(u"LastName"), 1);
  // Every base of one object counts as that object.
  std::shared_ptr<platform::OutlookItem> item = contact;
  EXPECT_EQ(&outer.Of(item), &outer.Of(contact));
}

}  // namespace
}  // namespace sendnote::hostmodel
