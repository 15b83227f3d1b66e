// An Outlook item of a kind the system does not handle (mail, appointment, ...), and the
// wrapper that picks the class from the item's Class.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoOutlookItem : public AutomationObject<platform::OutlookItem> {
 public:
  explicit AutoOutlookItem(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"OutlookItem") {}

  int32_t Class() override;
};

// Reads the Class of an item; contacts (40) become ContactItem. Nothing stays empty.
std::shared_ptr<platform::OutlookItem> WrapItem(ComPtr<IDispatch> object);

}  // namespace sendnote::com
