// The add-in's menu button: its fixed identity and the two helpers that put it into one
// window's command bars and take it out again.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/CommandBars.h"

namespace sendnote {

inline constexpr char16_t ButtonCaption[] = u"添書票の作成";
// Every button of the add-in bears this tag; it is the only key buttons are found by.
inline constexpr char16_t ButtonTag[] = u"sendnote";
// The built-in popup menus that receive the button.
inline constexpr int16_t ExplorerMenuId = 30141;
inline constexpr int16_t InspectorMenuId = 30130;

// Returns the window's button for the add-in, found by its tag in the menu `menuId` or
// appended there, with its action, caption and tag rewritten; or empty if the window has
// no control `menuId`. Failures pass to the caller.
std::shared_ptr<platform::CommandBarButton> InstallButton(
    const std::shared_ptr<platform::CommandBars>& commandBars, std::u16string_view progId,
    std::u16string_view tag, std::u16string_view caption, int16_t menuId);

// Deletes every control bearing `tag` from the window's command bars, wherever the user
// moved it. Failures pass to the caller.
void RemoveButton(const std::shared_ptr<platform::CommandBars>& commandBars,
                  std::u16string_view tag);

}  // namespace sendnote
