// The built-in command bars of each kind of window, as the host sets them up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sendnote::hostmodel {

inline constexpr int16_t kExplorerActionsMenuId = 30141;
inline constexpr int16_t kContactActionsMenuId = 30130;

struct CommandBarControlDescription {
  int32_t type;  // kControlButton or kControlPopup
  int16_t id;
  std::u16string caption;
  std::vector<CommandBarControlDescription> children;  // popups only
};

struct CommandBarDescription {
  std::u16string name;
  std::vector<CommandBarControlDescription> controls;
};

using CommandBarLayout = std::vector<CommandBarDescription>;

// The menu bar (with the actions menu 30141) and the standard toolbar of an explorer.
CommandBarLayout ExplorerCommandBarLayout();
// The menu bar (with the actions menu 30130) and the standard toolbar of a contact window.
CommandBarLayout ContactInspectorCommandBarLayout();
// The bars of a window showing another kind of item (mail, distribution list, ...).
CommandBarLayout ItemInspectorCommandBarLayout();

}  // namespace sendnote::hostmodel
