#include "windows/com/AutoWordApplication.h"

#include "windows/com/AutoDialogs.h"
#include "windows/com/AutoDocuments.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

std::shared_ptr<platform::Object> WrapWordApplication(ComPtr<IDispatch> object) {
  return Wrap<AutoWordApplication>(std::move(object));
}

platform::Flag AutoWordApplication::Visible() { return FlagOf(dispatch().Get(u"Visible")); }

void AutoWordApplication::SetVisible(platform::Flag visible) {
  dispatch().Put(u"Visible", ScopedVariant::Bool(visible != platform::kFalse));
}

void AutoWordApplication::Activate() { dispatch().Call(u"Activate"); }

std::u16string AutoWordApplication::Caption() { return TextOf(dispatch().Get(u"Caption")); }

// Only SaveChanges is passed: OriginalFormat and RouteDocument keep Word's defaults.
void AutoWordApplication::Quit(int32_t saveChanges) {
  dispatch().Call(u"Quit", {ScopedVariant::Int32(saveChanges)});
}

std::shared_ptr<platform::Dialogs> AutoWordApplication::Dialogs() {
  return Wrap<AutoDialogs>(ObjectOf(u"Dialogs"));
}

std::shared_ptr<platform::Documents> AutoWordApplication::Documents() {
  return Wrap<AutoDocuments>(ObjectOf(u"Documents"));
}

}  // namespace sendnote::com
