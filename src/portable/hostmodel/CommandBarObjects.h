// The bar, control-collection, button and popup objects of one window's command bars.
// Each refers back to its window's CommandBarSet, which owns them.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/CommandBars.h"
#include "portable/hostmodel/CommandBarCustomization.h"

namespace sendnote::hostmodel {

class CommandBarSet;
class CommandBarControlsObject;

class CommandBarObject : public platform::CommandBar {
 public:
  CommandBarObject(std::weak_ptr<CommandBarSet> set, std::shared_ptr<CommandBarControlData> bar);

  std::u16string TypeName() const override { return u"CommandBar"; }
  std::shared_ptr<platform::Object> Application() override;
  // Looks at this bar's own controls only, not into sub-menus.
  std::shared_ptr<platform::CommandBarControl> FindControl(std::u16string_view tag) override;

  // Not part of the contract: the way tests add controls to any bar.
  std::shared_ptr<CommandBarControlsObject> Controls();
  // The same collection, without counting a call (for the popup that owns this bar).
  std::shared_ptr<CommandBarControlsObject> ControlsCollection();
  std::u16string Name() const { return bar_->caption; }

 private:
  std::weak_ptr<CommandBarSet> set_;
  std::shared_ptr<CommandBarControlData> bar_;
  std::shared_ptr<CommandBarControlsObject> controls_;
};

class CommandBarControlsObject : public platform::CommandBarControls {
 public:
  CommandBarControlsObject(std::weak_ptr<CommandBarSet> set,
                           std::shared_ptr<CommandBarControlData> bar);

  std::u16string TypeName() const override { return u"CommandBarControls"; }
  std::shared_ptr<platform::Object> Application() override;
  // Type 1 (button) or 10 (popup); appended, permanent.
  std::shared_ptr<platform::CommandBarControl> Add(int32_t type, int16_t id,
                                                   std::u16string_view parameter) override;
  int32_t Count();
  std::shared_ptr<platform::CommandBarControl> Item(int32_t index);  // 1-based

 private:
  std::weak_ptr<CommandBarSet> set_;
  std::shared_ptr<CommandBarControlData> bar_;
};

class CommandBarButtonObject : public platform::CommandBarButton,
                               public std::enable_shared_from_this<CommandBarButtonObject> {
 public:
  CommandBarButtonObject(std::weak_ptr<CommandBarSet> set,
                         std::shared_ptr<CommandBarControlData> control);

  std::u16string TypeName() const override { return u"CommandBarButton"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Id() override;
  std::u16string Tag() override;
  void Delete() override;
  std::u16string OnAction() override;
  void SetOnAction(std::u16string_view action) override;
  std::u16string Caption() override;
  void SetCaption(std::u16string_view caption) override;
  void SetTag(std::u16string_view tag) override;
  platform::EventConnection ConnectClick(ClickHandler handler) override;

  // The user clicks the button: raises Click on every subscription whose bound button
  // bears this button's tag. Returns how many ran; raises when the button is gone.
  int Click();
  const CommandBarControlData& Data() const { return *control_; }

 private:
  std::shared_ptr<CommandBarSet> Usable() const;

  std::weak_ptr<CommandBarSet> set_;
  std::shared_ptr<CommandBarControlData> control_;
};

class CommandBarPopupObject : public platform::CommandBarPopup {
 public:
  CommandBarPopupObject(std::weak_ptr<CommandBarSet> set,
                        std::shared_ptr<CommandBarControlData> control);

  std::u16string TypeName() const override { return u"CommandBarPopup"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Id() override;
  std::u16string Tag() override;
  void Delete() override;
  std::shared_ptr<platform::CommandBar> CommandBar() override;
  std::shared_ptr<platform::CommandBarControls> Controls() override;

  const CommandBarControlData& Data() const { return *control_; }

 private:
  std::shared_ptr<CommandBarSet> Usable() const;

  std::weak_ptr<CommandBarSet> set_;
  std::shared_ptr<CommandBarControlData> control_;
};

}  // namespace sendnote::hostmodel
