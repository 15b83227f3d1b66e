#include "windows/com/AutoItemWindow.h"

#include "windows/com/AutoCommandBars.h"
#include "windows/com/AutoOutlookItem.h"

namespace sendnote::com {

void AutoInspector::Activate() { dispatch().Call(u"Activate"); }

std::shared_ptr<platform::CommandBars> AutoInspector::CommandBars() {
  return Wrap<AutoCommandBars>(ObjectOf(u"CommandBars"));
}

std::shared_ptr<platform::OutlookItem> AutoInspector::CurrentItem() {
  return WrapItem(ObjectOf(u"CurrentItem"));
}

void AutoInspector::Close(int32_t saveMode) {
  dispatch().Call(u"Close", {ScopedVariant::Int32(saveMode)});
}

}  // namespace sendnote::com
