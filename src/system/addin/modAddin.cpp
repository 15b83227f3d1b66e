#include "system/addin/modAddin.h"

#include <string>

#include "platform/ComError.h"
#include "platform/Object.h"

namespace sendnote {

using platform::As;
using platform::Must;

namespace {

constexpr int32_t kMsoControlButton = 1;
constexpr int16_t kBlankCustomControl = 1;

}  // namespace

std::shared_ptr<platform::CommandBarButton> InstallButton(
    const std::shared_ptr<platform::CommandBars>& commandBars, std::u16string_view progId,
    std::u16string_view tag, std::u16string_view caption, int16_t menuId) {
  auto menu = Must(commandBars).FindControl(menuId);
  if (!menu) return nullptr;
  auto popup = As<platform::CommandBarPopup>(menu);
  // A button kept by the host from an earlier run is reused, never doubled.
  auto button = As<platform::CommandBarButton>(Must(Must(popup).CommandBar()).FindControl(tag));
  if (!button) {
    button = As<platform::CommandBarButton>(
        Must(popup->Controls()).Add(kMsoControlButton, kBlankCustomControl, tag));
  }
  std::u16string action = u"!<";
  action += progId;
  action += u">";
  Must(button).SetOnAction(action);
  button->SetCaption(caption);
  button->SetTag(tag);
  return button;
}

void RemoveButton(const std::shared_ptr<platform::CommandBars>& commandBars,
                  std::u16string_view tag) {
  auto& bars = Must(commandBars);
  while (auto button = As<platform::CommandBarButton>(bars.FindControl(tag))) button->Delete();
}

}  // namespace sendnote
