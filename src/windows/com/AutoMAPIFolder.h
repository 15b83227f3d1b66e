// An Outlook folder.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoMAPIFolder : public AutomationObject<platform::MAPIFolder> {
 public:
  explicit AutoMAPIFolder(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"MAPIFolder") {}

  std::u16string Name() override;
  std::shared_ptr<platform::Explorer> GetExplorer(int32_t displayMode) override;
  std::shared_ptr<platform::Items> Items() override;
};

}  // namespace sendnote::com
