// An Outlook explorer window.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoExplorer : public AutomationObject<platform::Explorer> {
 public:
  explicit AutoExplorer(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Explorer") {}

  void Activate() override;
  std::shared_ptr<platform::CommandBars> CommandBars() override;
  std::shared_ptr<platform::Selection> Selection() override;
  std::shared_ptr<platform::MAPIFolder> CurrentFolder() override;
  void SetCurrentFolder(const std::shared_ptr<platform::MAPIFolder>& folder) override;
  void Close() override;
};

}  // namespace sendnote::com
