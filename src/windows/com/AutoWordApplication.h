// Word's Application object.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoWordApplication : public AutomationObject<platform::WordApplication, Host::kWord> {
 public:
  explicit AutoWordApplication(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Application") {}

  platform::Flag Visible() override;
  void SetVisible(platform::Flag visible) override;
  void Activate() override;
  std::u16string Caption() override;
  void Quit(int32_t saveChanges) override;
  std::shared_ptr<platform::Dialogs> Dialogs() override;
  std::shared_ptr<platform::Documents> Documents() override;
};

}  // namespace sendnote::com
