#include "portable/hostmodel/OutlookWindows.h"

#include "platform/ComError.h"
#include "portable/hostmodel/CallObserver.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookItems.h"

namespace sendnote::hostmodel {

// --- OutlookSelection ---

std::shared_ptr<platform::Object> OutlookSelection::Application() {
  NoteCall(this, u"Application");
  return LiveApp(app_);
}

int32_t OutlookSelection::Count() {
  NoteCall(this, u"Count");
  LiveApp(app_);
  return static_cast<int32_t>(items_.size());
}

std::shared_ptr<platform::OutlookItem> OutlookSelection::Item(int32_t index) {
  NoteCall(this, u"Item");
  LiveApp(app_);
  if (index < 1 || static_cast<size_t>(index) > items_.size()) {
    platform::Raise(platform::kErrSubscript);
  }
  return items_[static_cast<size_t>(index) - 1];
}

// --- OutlookExplorer ---

OutlookExplorer::OutlookExplorer(std::weak_ptr<OutlookApp> app,
                                 std::shared_ptr<platform::MAPIFolder> folder,
                                 std::shared_ptr<CommandBarSet> bars, bool displayed)
    : app_(app),
      folder_(std::move(folder)),
      bars_(std::move(bars)),
      selection_(std::make_shared<OutlookSelection>(app)),
      displayed_(displayed) {}

std::shared_ptr<OutlookApp> OutlookExplorer::EnterWindow(std::u16string_view member) {
  NoteCall(this, member);
  auto app = LiveApp(app_);
  if (closed_) platform::Raise(kErrObjectGone, u"The explorer is closed.");
  return app;
}

std::shared_ptr<platform::Object> OutlookExplorer::Application() {
  return EnterWindow(u"Application");
}

void OutlookExplorer::Activate() { EnterWindow(u"Activate")->Activated(shared_from_this()); }

std::shared_ptr<platform::CommandBars> OutlookExplorer::CommandBars() {
  EnterWindow(u"CommandBars");
  return bars_;
}

std::vector<std::shared_ptr<platform::OutlookItem>>& OutlookExplorer::SelectionOf(
    const std::shared_ptr<platform::MAPIFolder>& folder) {
  for (auto& [f, items] : selections_) {
    if (f == folder) return items;
  }
  return selections_.emplace_back(folder, std::vector<std::shared_ptr<platform::OutlookItem>>{})
      .second;
}

std::shared_ptr<platform::Selection> OutlookExplorer::Selection() {
  EnterWindow(u"Selection");
  selection_->Reset(SelectionOf(folder_));
  return selection_;
}

std::shared_ptr<platform::MAPIFolder> OutlookExplorer::CurrentFolder() {
  EnterWindow(u"CurrentFolder");
  return folder_;
}

void OutlookExplorer::SetCurrentFolder(const std::shared_ptr<platform::MAPIFolder>& folder) {
  EnterWindow(u"CurrentFolder");
  if (!folder) platform::Raise(platform::kErrInvalidCall);
  folder_ = folder;
  folderHistory_.push_back(folder);
}

void OutlookExplorer::Close() {
  auto app = EnterWindow(u"Close");
  MarkClosed();
  app->Closed(this);
}

void OutlookExplorer::Select(std::vector<std::shared_ptr<platform::OutlookItem>> items) {
  SelectionOf(folder_) = std::move(items);
}

void OutlookExplorer::MarkClosed() {
  closed_ = true;
  bars_->Detach();
}

// --- OutlookInspector ---

OutlookInspector::OutlookInspector(std::weak_ptr<OutlookApp> app,
                                   std::shared_ptr<platform::OutlookItem> item,
                                   std::shared_ptr<CommandBarSet> bars, bool displayed)
    : app_(std::move(app)), item_(std::move(item)), bars_(std::move(bars)), displayed_(displayed) {}

std::shared_ptr<OutlookApp> OutlookInspector::EnterWindow(std::u16string_view member) {
  NoteCall(this, member);
  auto app = LiveApp(app_);
  if (closed_) platform::Raise(kErrObjectGone, u"The inspector is closed.");
  return app;
}

std::shared_ptr<platform::Object> OutlookInspector::Application() {
  return EnterWindow(u"Application");
}

void OutlookInspector::Activate() { EnterWindow(u"Activate")->Activated(shared_from_this()); }

std::shared_ptr<platform::CommandBars> OutlookInspector::CommandBars() {
  EnterWindow(u"CommandBars");
  return bars_;
}

std::shared_ptr<platform::OutlookItem> OutlookInspector::CurrentItem() {
  EnterWindow(u"CurrentItem");
  return item_;
}

void OutlookInspector::Close(int32_t saveMode) {
  auto app = EnterWindow(u"Close");
  if (saveMode < platform::kOlSave || saveMode > 2) platform::Raise(platform::kErrInvalidCall);
  if (auto stored = std::dynamic_pointer_cast<OutlookStoredItem>(item_)) {
    stored->ApplyClose(saveMode);
  }
  closeMode_ = saveMode;
  MarkClosed();
  app->Closed(this);
}

void OutlookInspector::MarkClosed() {
  closed_ = true;
  bars_->Detach();
}

}  // namespace sendnote::hostmodel
