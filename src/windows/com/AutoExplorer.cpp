#include "windows/com/AutoExplorer.h"

#include "windows/com/AutoCommandBars.h"
#include "windows/com/AutoMAPIFolder.h"
#include "windows/com/AutoSelection.h"

namespace sendnote::com {

void AutoExplorer::Activate() { dispatch().Call(u"Activate"); }

std::shared_ptr<platform::CommandBars> AutoExplorer::CommandBars() {
  return Wrap<AutoCommandBars>(ObjectOf(u"CommandBars"));
}

std::shared_ptr<platform::Selection> AutoExplorer::Selection() {
  return Wrap<AutoSelection>(ObjectOf(u"Selection"));
}

std::shared_ptr<platform::MAPIFolder> AutoExplorer::CurrentFolder() {
  return Wrap<AutoMAPIFolder>(ObjectOf(u"CurrentFolder"));
}

void AutoExplorer::SetCurrentFolder(const std::shared_ptr<platform::MAPIFolder>& folder) {
  auto* automated = dynamic_cast<AutoMAPIFolder*>(folder.get());
  if (folder && !automated) platform::Raise(platform::kErrTypeMismatch);
  dispatch().Put(u"CurrentFolder",
                 ScopedVariant::Dispatch(automated ? automated->dispatch().Get() : nullptr));
}

void AutoExplorer::Close() { dispatch().Call(u"Close"); }

}  // namespace sendnote::com
