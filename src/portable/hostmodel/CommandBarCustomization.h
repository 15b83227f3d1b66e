// The host's saved command-bar customization: the permanent controls added to the bars
// of each kind of window, kept by the host between its runs and shown in every window of
// that kind.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sendnote::hostmodel {

inline constexpr int32_t kControlButton = 1;  // msoControlButton
inline constexpr int32_t kControlPopup = 10;  // msoControlPopup
// What a call on a deleted control or on the bars of a closed window raises.
inline constexpr int32_t kErrObjectGone = -2147467259;

// One control: a built-in one of a single window, or a saved one shared by the windows
// of a kind. A top-level bar is a node of its own (kind kBar) holding its controls.
struct CommandBarControlData {
  static constexpr int32_t kBar = 0;

  int32_t type = kControlButton;
  int16_t id = 1;
  std::u16string caption;
  std::u16string tag;
  std::u16string onAction;
  std::u16string parameter;
  bool builtIn = false;
  bool deleted = false;
  // Saved controls: the key of the bar they were added to.
  std::u16string parentKey;
  // Bars and popups: the key under which saved controls added to them are kept.
  std::u16string childKey;
  // Built-in controls of a bar or popup, in order.
  std::vector<std::shared_ptr<CommandBarControlData>> children;
};

class CommandBarCustomization {
 public:
  // Appends a saved control to the bar `parentKey` of windows of `kind`.
  std::shared_ptr<CommandBarControlData> Append(std::u16string_view kind,
                                                std::u16string_view parentKey, int32_t type,
                                                int16_t id, std::u16string_view parameter);
  // Deletes a saved control, and the controls saved under it when it is a popup.
  void Remove(std::u16string_view kind, const CommandBarControlData& control);
  // The saved controls of the bar `parentKey`, in the order they were added.
  std::vector<std::shared_ptr<CommandBarControlData>> Under(std::u16string_view kind,
                                                            std::u16string_view parentKey) const;
  // Every saved control of a kind, in the order added.
  std::vector<std::shared_ptr<CommandBarControlData>> All(std::u16string_view kind) const;
  int CountWithTag(std::u16string_view kind, std::u16string_view tag) const;

 private:
  std::map<std::u16string, std::vector<std::shared_ptr<CommandBarControlData>>, std::less<>> saved_;
  uint64_t nextSerial_ = 1;
};

}  // namespace sendnote::hostmodel
