// Borrowing a contact inspector from the Contacts folder, with the placeholder contact an
// empty folder gets.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Utf.h"
#include "system/addin/Placeholder.h"
#include "tests/support/AddinHostFixture.h"

namespace sendnote {
namespace {

using platform::ContactField;
using testing::AddinHostTest;

class PlaceholderTest : public AddinHostTest {
 protected:
  // Borrows an inspector and returns the command bars the operation was given.
  std::shared_ptr<hostmodel::CommandBarSet> Borrow() {
    std::shared_ptr<hostmodel::CommandBarSet> seen;
    BorrowContactInspector(host->Contacts(), [&](const auto& bars) {
      seen = std::dynamic_pointer_cast<hostmodel::CommandBarSet>(bars);
    });
    return seen;
  }
};

TEST_F(PlaceholderTest, FirstContactLendsItsInspectorWhichClosesDiscardingChanges) {
  auto first = AddContact(u"最初");
  auto second = AddContact(u"二番目");
  auto bars = Borrow();
  ASSERT_NE(bars, nullptr);
  EXPECT_EQ(bars->Kind(), u"Inspector:40");
  EXPECT_TRUE(bars->Detached());  // its window is closed again
  EXPECT_EQ(first->Closes(), std::vector<int32_t>{platform::kOlDiscard});
  EXPECT_TRUE(second->Closes().empty());
  EXPECT_EQ(host->Contacts()->Contents().size(), 2u);
  EXPECT_TRUE(host->Contacts()->Created().empty());
  EXPECT_TRUE(app->InspectorList().empty());  // nothing was shown
}

TEST_F(PlaceholderTest, EmptyFolderGetsExactlyOneSavedPlaceholderWithItsData) {
  ASSERT_NE(Borrow(), nullptr);
  Borrow();  // the next occasion finds the placeholder

  ASSERT_EQ(host->Contacts()->Contents().size(), 1u);
  EXPECT_EQ(host->Contacts()->Created().size(), 1u);
  auto placeholder =
      std::dynamic_pointer_cast<hostmodel::OutlookContact>(host->Contacts()->Contents()[0]);
  ASSERT_NE(placeholder, nullptr);
  EXPECT_TRUE(placeholder->Saved());
  EXPECT_FALSE(placeholder->Dirty());
  EXPECT_EQ(placeholder->MailingAddress(), platform::MailingAddress::kBusiness);
  const std::vector<std::pair<ContactField, std::u16string>> expected = {
      {ContactField::kBody,
       u"この連絡先アイテムは、添書票COMアドインのボタン登録・解除のために一時的に作成された"
       u"ものです。連絡先の内容はあくまでも架空の人物・会社です。不要の場合は速やかに削除して"
       u"ください。"},
      {ContactField::kBusinessAddressPostalCode, u"999-9999"},
      {ContactField::kBusinessAddressState, u"架島県"},
      {ContactField::kBusinessAddressCity, u"架島市"},
      {ContactField::kBusinessAddressStreet, u"架島 9-9-9"},
      {ContactField::kBusinessTelephoneNumber, u"099-999-9999"},
      {ContactField::kBusinessFaxNumber, u"099-999-9990"},
      {ContactField::kCompanyName, u"トモエダ株式会社"},
      {ContactField::kOfficeLocation, u"架島事務所"},
      {ContactField::kDepartment, u"営業課"},
      {ContactField::kLastName, u"架島"},
      {ContactField::kTitle, u"主任"},
      {ContactField::kFirstName, u"花子"},
      {ContactField::kYomiCompanyName, u"ﾄﾓｴﾀﾞ"},
      {ContactField::kYomiLastName, u"ｶｼﾏ"},
      {ContactField::kYomiFirstName, u"ﾊﾅｺ"},
      {ContactField::kMobileTelephoneNumber, u"090-999-9999"},
  };
  for (const auto& [field, value] : expected) {
    EXPECT_EQ(placeholder->StoredField(field), value) << platform::ToUtf8(ContactFieldName(field));
  }
  const std::u16string email = placeholder->StoredField(ContactField::kEmail1Address);
  EXPECT_TRUE(email.ends_with(u"@example.com")) << platform::ToUtf8(email);
  // Nothing else is set.
  EXPECT_EQ(placeholder->StoredField(ContactField::kSubject), u"");
  EXPECT_EQ(placeholder->StoredField(ContactField::kJobTitle), u"");
  EXPECT_EQ(placeholder->StoredField(ContactField::kHomeAddressStreet), u"");
}

TEST_F(PlaceholderTest, ADistributionListFirstIsAMismatchAndNothingIsCreated) {
  host->Contacts()->AddDistList(u"営業部一同");
  AddContact(u"山田");
  try {
    Borrow();
    FAIL() << "a distribution list is no contact";
  } catch (const platform::ComError& e) {
    EXPECT_EQ(e.Number(), platform::kErrTypeMismatch);
  }
  EXPECT_TRUE(host->Contacts()->Created().empty());
}

TEST_F(PlaceholderTest, AFailingOperationStillClosesTheBorrowedInspector) {
  auto contact = AddContact(u"山田");
  std::shared_ptr<hostmodel::CommandBarSet> seen;
  EXPECT_THROW(
      BorrowContactInspector(host->Contacts(),
                             [&](const auto& bars) {
                               seen = std::dynamic_pointer_cast<hostmodel::CommandBarSet>(bars);
                               platform::Raise(platform::kErrObjectNotSet);
                             }),
      platform::ComError);
  ASSERT_NE(seen, nullptr);
  EXPECT_TRUE(seen->Detached());
  EXPECT_EQ(contact->Closes(), std::vector<int32_t>{platform::kOlDiscard});
}

}  // namespace
}  // namespace sendnote
