#include "windows/com/AutoCommandBarPopup.h"

#include "windows/com/AutoCommandBar.h"
#include "windows/com/AutoCommandBarControls.h"

namespace sendnote::com {

std::shared_ptr<platform::CommandBar> AutoCommandBarPopup::CommandBar() {
  return Wrap<AutoCommandBar>(ObjectOf(u"CommandBar"));
}

std::shared_ptr<platform::CommandBarControls> AutoCommandBarPopup::Controls() {
  return Wrap<AutoCommandBarControls>(ObjectOf(u"Controls"));
}

}  // namespace sendnote::com
