// Outlook's Application object.
#pragma once

#include "platform/Outlook.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoOutlookApplication : public AutomationObject<platform::OutlookApplication> {
 public:
  explicit AutoOutlookApplication(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Application") {}

  std::shared_ptr<platform::NameSpace> GetNamespace(std::u16string_view type) override;
  std::shared_ptr<platform::Explorer> ActiveExplorer() override;
  std::shared_ptr<platform::Inspector> ActiveInspector() override;
  // The window as an explorer or inspector: by COM identity with the active ones, else by
  // its type information's name.
  std::shared_ptr<platform::OutlookWindow> ActiveWindow() override;
  std::shared_ptr<platform::Explorers> Explorers() override;
  std::shared_ptr<platform::Inspectors> Inspectors() override;
};

}  // namespace sendnote::com
