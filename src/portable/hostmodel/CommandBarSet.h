// The command bars of one window: the window's own built-in bars and controls, with the
// host's saved controls for windows of its kind shown in them.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CommandBars.h"
#include "portable/hostmodel/CommandBarClicks.h"
#include "portable/hostmodel/CommandBarCustomization.h"
#include "portable/hostmodel/CommandBarLayout.h"

namespace sendnote::hostmodel {

class CommandBarObject;

class CommandBarSet : public platform::CommandBars,
                      public std::enable_shared_from_this<CommandBarSet> {
 public:
  // `kind` names the customization the window shares with the windows of its kind.
  static std::shared_ptr<CommandBarSet> Create(
      std::u16string kind, const CommandBarLayout& layout,
      std::shared_ptr<CommandBarCustomization> customization,
      std::weak_ptr<CommandBarClicks> clicks, std::weak_ptr<platform::Object> application);

  // --- platform::CommandBars ---
  std::u16string TypeName() const override { return u"CommandBars"; }
  std::shared_ptr<platform::Object> Application() override;
  std::shared_ptr<platform::CommandBarControl> FindControl(int16_t id) override;
  std::shared_ptr<platform::CommandBarControl> FindControl(std::u16string_view tag) override;

  // --- for tests and the host ---
  const std::u16string& Kind() const { return kind_; }
  // A top-level bar by name ("Menu Bar", "Standard"), or empty.
  std::shared_ptr<CommandBarObject> Bar(std::u16string_view name);
  // Every control bearing the tag, on every bar and in every sub-menu, in search order.
  std::vector<std::shared_ptr<platform::CommandBarControl>> ControlsWithTag(
      std::u16string_view tag);
  // Takes a built-in control out of this window only; false when the window has none.
  bool RemoveBuiltIn(int16_t id);
  // The window closed or the host went away: later calls on these bars raise.
  void Detach() { detached_ = true; }
  bool Detached() const { return detached_; }

  // --- used by the bar and control objects ---
  // Raises when the bars are detached or `control` is deleted.
  void CheckUsable(const CommandBarControlData* control) const;
  // The controls of a bar or popup: its built-in ones, then the saved ones added to it.
  std::vector<std::shared_ptr<CommandBarControlData>> ControlsOf(
      const CommandBarControlData& bar) const;
  // The one object of this window for a control (a button or a popup).
  std::shared_ptr<platform::CommandBarControl> Wrap(
      const std::shared_ptr<CommandBarControlData>& control);
  // The one bar object of this window for a top-level bar or a popup's own bar.
  std::shared_ptr<CommandBarObject> BarOf(const std::shared_ptr<CommandBarControlData>& bar);
  std::shared_ptr<CommandBarControlData> AddControl(const CommandBarControlData& bar, int32_t type,
                                                    int16_t id, std::u16string_view parameter);
  void DeleteControl(const std::shared_ptr<CommandBarControlData>& control);
  platform::EventConnection ConnectClick(std::shared_ptr<const CommandBarControlData> control,
                                         CommandBarClicks::Handler handler);
  int Click(const std::shared_ptr<platform::CommandBarButton>& clicked,
            const CommandBarControlData& control);

 private:
  using Match = std::function<bool(const std::shared_ptr<CommandBarControlData>&)>;

  CommandBarSet() = default;
  // Returns the first control in search order that `match` accepts, or empty. The order:
  // bar after bar, each bar's controls in order, a popup's sub-menu before what follows it.
  std::shared_ptr<CommandBarControlData> Search(const Match& match) const;
  std::shared_ptr<CommandBarControlData> SearchIn(const CommandBarControlData& bar,
                                                  const Match& match) const;

  std::u16string kind_;
  std::vector<std::shared_ptr<CommandBarControlData>> bars_;
  std::shared_ptr<CommandBarCustomization> customization_;
  std::weak_ptr<CommandBarClicks> clicks_;
  std::weak_ptr<platform::Object> application_;
  std::map<const CommandBarControlData*, std::shared_ptr<platform::CommandBarControl>> controls_;
  std::map<const CommandBarControlData*, std::shared_ptr<CommandBarObject>> barObjects_;
  bool detached_ = false;
};

}  // namespace sendnote::hostmodel
