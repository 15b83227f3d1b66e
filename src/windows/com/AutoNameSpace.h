// Outlook's MAPI namespace.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoNameSpace : public AutomationObject<platform::NameSpace> {
 public:
  explicit AutoNameSpace(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"NameSpace") {}

  std::shared_ptr<platform::MAPIFolder> GetDefaultFolder(int32_t folderKind) override;
};

}  // namespace sendnote::com
