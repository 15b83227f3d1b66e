// An Outlook contact.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoContactItem : public AutomationObject<platform::ContactItem> {
 public:
  explicit AutoContactItem(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"ContactItem") {}

  int32_t Class() override;
  std::u16string Get(platform::ContactField field) override;
  void Set(platform::ContactField field, std::u16string_view value) override;
  platform::MailingAddress SelectedMailingAddress() override;
  void SetSelectedMailingAddress(platform::MailingAddress kind) override;
  std::shared_ptr<platform::Inspector> GetInspector() override;
  void Close(int32_t saveMode) override;
};

}  // namespace sendnote::com
