// An Outlook item of a kind the system does not handle itself (mail, appointment, ...).
#pragma once

#include "com/AutomationObject.h"
#include "platform/Outlook.h"

namespace sendnote::com {

class AutoOutlookItem : public AutomationObject<platform::OutlookItem> {
 public:
  explicit AutoOutlookItem(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"OutlookItem") {}

  int32_t Class() override;
};

// Wraps an item by its Class: a contact item as one, anything else as a plain item;
// Nothing stays an empty reference.
std::shared_ptr<platform::OutlookItem> WrapItem(ComPtr<IDispatch> object);

}  // namespace sendnote::com
