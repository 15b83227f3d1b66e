#include "system/addin/Placeholder.h"

#include "platform/ComError.h"
#include "platform/Object.h"

namespace sendnote {

using platform::As;
using platform::ContactField;
using platform::Must;

namespace {

// Fills a new contact with plainly fictitious data and a notice asking for its deletion.
void FillDummyContact(platform::ContactItem& contact) {
  contact.Set(ContactField::kBody,
              u"この連絡先アイテムは、添書票COMアドインのボタン登録・解除のために一時的に作成された"
              u"ものです。連絡先の内容はあくまでも架空の人物・会社です。不要の場合は速やかに削除し"
              u"てください。");
  contact.SetSelectedMailingAddress(platform::MailingAddress::kBusiness);
  contact.Set(ContactField::kBusinessAddressPostalCode, u"999-9999");
  contact.Set(ContactField::kBusinessAddressState, u"架島県");
  contact.Set(ContactField::kBusinessAddressCity, u"架島市");
  contact.Set(ContactField::kBusinessAddressStreet, u"架島 9-9-9");
  contact.Set(ContactField::kBusinessTelephoneNumber, u"099-999-9999");
  contact.Set(ContactField::kBusinessFaxNumber, u"099-999-9990");
  contact.Set(ContactField::kCompanyName, u"トモエダ株式会社");
  contact.Set(ContactField::kOfficeLocation, u"架島事務所");
  contact.Set(ContactField::kDepartment, u"営業課");
  contact.Set(ContactField::kLastName, u"架島");
  contact.Set(ContactField::kTitle, u"主任");
  contact.Set(ContactField::kFirstName, u"花子");
  contact.Set(ContactField::kYomiCompanyName, u"ﾄﾓｴﾀﾞ");
  contact.Set(ContactField::kYomiLastName, u"ｶｼﾏ");
  contact.Set(ContactField::kYomiFirstName, u"ﾊﾅｺ");
  contact.Set(ContactField::kMobileTelephoneNumber, u"090-999-9999");
  contact.Set(ContactField::kEmail1Address, kPlaceholderEmail);
}

}  // namespace

void BorrowContactInspector(const std::shared_ptr<platform::MAPIFolder>& contactsFolder,
                            const ButtonOperation& operation) {
  auto items = Must(contactsFolder).Items();
  auto contact = As<platform::ContactItem>(Must(items).GetFirst());
  if (!contact) {
    contact = As<platform::ContactItem>(items->Add());
    FillDummyContact(Must(contact));
    // Saved before its inspector is borrowed: closing that inspector discards unsaved
    // changes, which for a new item would be all of its data.
    contact->Close(platform::kOlSave);
  }
  auto inspector = Must(contact).GetInspector();
  auto& borrowed = Must(inspector);
  try {
    operation(borrowed.CommandBars());
  } catch (const platform::ComError&) {
    // The hidden inspector must not outlive the failed step.
    try {
      borrowed.Close(platform::kOlDiscard);
    } catch (const platform::ComError&) {
    }
    throw;
  }
  borrowed.Close(platform::kOlDiscard);
}

}  // namespace sendnote
