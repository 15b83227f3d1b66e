#include "windows/com/AutoMAPIFolder.h"

#include "windows/com/AutoExplorer.h"
#include "windows/com/AutoItems.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

std::u16string AutoMAPIFolder::Name() { return TextOf(dispatch().Get(u"Name")); }

std::shared_ptr<platform::Explorer> AutoMAPIFolder::GetExplorer(int32_t displayMode) {
  return Wrap<AutoExplorer>(ObjectOf(u"GetExplorer", {ScopedVariant::Int32(displayMode)}));
}

std::shared_ptr<platform::Items> AutoMAPIFolder::Items() {
  return Wrap<AutoItems>(ObjectOf(u"Items"));
}

}  // namespace sendnote::com
