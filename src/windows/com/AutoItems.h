// The items of a folder.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoItems : public AutomationObject<platform::Items> {
 public:
  explicit AutoItems(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Items") {}

  std::shared_ptr<platform::OutlookItem> GetFirst() override;
  std::shared_ptr<platform::OutlookItem> Add() override;
};

}  // namespace sendnote::com
