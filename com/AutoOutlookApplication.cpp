#include "com/AutoOutlookApplication.h"

#include "com/AutoExplorer.h"
#include "com/AutoExplorers.h"
#include "com/AutoInspector.h"
#include "com/AutoInspectors.h"
#include "com/AutoNameSpace.h"

namespace sendnote::com {

std::shared_ptr<platform::Object> WrapOutlookApplication(ComPtr<IDispatch> object) {
  return Wrap<AutoOutlookApplication>(std::move(object));
}

std::shared_ptr<platform::NameSpace> AutoOutlookApplication::GetNamespace(
    std::u16string_view type) {
  return Wrap<AutoNameSpace>(ObjectOf(u"GetNamespace", {ScopedVariant::String(type)}));
}

std::shared_ptr<platform::Explorer> AutoOutlookApplication::ActiveExplorer() {
  return Wrap<AutoExplorer>(ObjectOf(u"ActiveExplorer"));
}

std::shared_ptr<platform::Inspector> AutoOutlookApplication::ActiveInspector() {
  return Wrap<AutoInspector>(ObjectOf(u"ActiveInspector"));
}

std::shared_ptr<platform::OutlookWindow> AutoOutlookApplication::ActiveWindow() {
  RaiseNotYetAutomated(u"Application.ActiveWindow");
}

std::shared_ptr<platform::Explorers> AutoOutlookApplication::Explorers() {
  return Wrap<AutoExplorers>(ObjectOf(u"Explorers"));
}

std::shared_ptr<platform::Inspectors> AutoOutlookApplication::Inspectors() {
  return Wrap<AutoInspectors>(ObjectOf(u"Inspectors"));
}

}  // namespace sendnote::com
