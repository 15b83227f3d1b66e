#include "portable/hostmodel/OutlookApp.h"

#include <algorithm>

#include "platform/AsciiCase.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "portable/hostmodel/CallObserver.h"
#include "portable/hostmodel/CommandBarLayout.h"
#include "portable/hostmodel/CommandBarObjects.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"
#include "portable/hostmodel/OutlookItems.h"

namespace sendnote::hostmodel {
namespace {

// The class of an item, as the host knows it without a call through the object model.
int32_t ClassOf(const std::shared_ptr<platform::OutlookItem>& item) {
  if (std::dynamic_pointer_cast<OutlookContact>(item)) return platform::kOlContactItemClass;
  if (auto other = std::dynamic_pointer_cast<OutlookOtherItem>(item)) return other->ItemClass();
  return 0;
}

}  // namespace

std::shared_ptr<OutlookApp> LiveApp(const std::weak_ptr<OutlookApp>& app) {
  auto locked = app.lock();
  if (!locked) platform::Raise(platform::kErrServerGone);
  locked->CheckRunning();
  return locked;
}

// --- collections, namespace, add-in instance ---

std::shared_ptr<platform::Object> OutlookNameSpace::Application() {
  NoteCall(this, u"Application");
  return LiveApp(app_);
}

std::shared_ptr<platform::MAPIFolder> OutlookNameSpace::GetDefaultFolder(int32_t folderKind) {
  NoteCall(this, u"GetDefaultFolder");
  auto host = LiveApp(app_)->Host();
  if (!host) platform::Raise(platform::kErrServerGone);
  auto folder = host->DefaultFolder(folderKind);
  if (!folder) platform::Raise(platform::kErrInvalidCall);
  return folder;
}

std::shared_ptr<platform::Object> OutlookExplorers::Application() {
  NoteCall(this, u"Application");
  return LiveApp(app_);
}

int32_t OutlookExplorers::Count() {
  NoteCall(this, u"Count");
  return static_cast<int32_t>(LiveApp(app_)->ExplorerList().size());
}

std::shared_ptr<platform::Explorer> OutlookExplorers::Item(int32_t index) {
  NoteCall(this, u"Item");
  const auto& list = LiveApp(app_)->ExplorerList();
  if (index < 1 || static_cast<size_t>(index) > list.size()) {
    platform::Raise(platform::kErrSubscript);
  }
  return list[static_cast<size_t>(index) - 1];
}

platform::EventConnection OutlookExplorers::ConnectNewExplorer(NewExplorerHandler handler) {
  NoteCall(this, u"NewExplorer");
  auto app = LiveApp(app_);
  const uint64_t key = app->AddNewExplorerHandler(std::move(handler));
  return platform::EventConnection([weak = app_, key] {
    if (auto live = weak.lock()) live->RemoveWindowHandler(key);
  });
}

std::shared_ptr<platform::Object> OutlookInspectors::Application() {
  NoteCall(this, u"Application");
  return LiveApp(app_);
}

int32_t OutlookInspectors::Count() {
  NoteCall(this, u"Count");
  return static_cast<int32_t>(LiveApp(app_)->InspectorList().size());
}

std::shared_ptr<platform::Inspector> OutlookInspectors::Item(int32_t index) {
  NoteCall(this, u"Item");
  const auto& list = LiveApp(app_)->InspectorList();
  if (index < 1 || static_cast<size_t>(index) > list.size()) {
    platform::Raise(platform::kErrSubscript);
  }
  return list[static_cast<size_t>(index) - 1];
}

platform::EventConnection OutlookInspectors::ConnectNewInspector(NewInspectorHandler handler) {
  NoteCall(this, u"NewInspector");
  auto app = LiveApp(app_);
  const uint64_t key = app->AddNewInspectorHandler(std::move(handler));
  return platform::EventConnection([weak = app_, key] {
    if (auto live = weak.lock()) live->RemoveWindowHandler(key);
  });
}

std::shared_ptr<platform::Object> OutlookAddInInstance::Application() {
  NoteCall(this, u"Application");
  return LiveApp(app_);
}

std::u16string OutlookAddInInstance::ProgId() {
  NoteCall(this, u"ProgId");
  LiveApp(app_);
  return progId_;
}

// --- OutlookApp ---

std::shared_ptr<OutlookApp> OutlookApp::Create(std::weak_ptr<OutlookHost> host,
                                               std::shared_ptr<CommandBarCustomization> custom) {
  std::shared_ptr<OutlookApp> app(new OutlookApp());
  app->host_ = std::move(host);
  app->customization_ = std::move(custom);
  app->clicks_ = CommandBarClicks::Create();
  app->namespace_ = std::make_shared<OutlookNameSpace>(app);
  app->explorersObject_ = std::make_shared<OutlookExplorers>(app);
  app->inspectorsObject_ = std::make_shared<OutlookInspectors>(app);
  return app;
}

void OutlookApp::CheckRunning() const {
  if (!running_) platform::Raise(platform::kErrServerGone);
}

std::shared_ptr<platform::Object> OutlookApp::Application() {
  NoteCall(this, u"Application");
  CheckRunning();
  return shared_from_this();
}

std::u16string OutlookApp::Version() {
  NoteCall(this, u"Version");
  CheckRunning();
  auto host = host_.lock();
  if (!host) platform::Raise(platform::kErrServerGone);
  return host->Version();
}

std::shared_ptr<platform::NameSpace> OutlookApp::GetNamespace(std::u16string_view type) {
  NoteCall(this, u"GetNamespace");
  CheckRunning();
  if (!platform::EqualsIgnoringAsciiCase(type, u"MAPI")) platform::Raise(platform::kErrInvalidCall);
  return namespace_;
}

std::shared_ptr<platform::Explorer> OutlookApp::ActiveExplorer() {
  NoteCall(this, u"ActiveExplorer");
  CheckRunning();
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    if (auto explorer = std::dynamic_pointer_cast<OutlookExplorer>(it->lock())) return explorer;
  }
  return nullptr;
}

std::shared_ptr<platform::Inspector> OutlookApp::ActiveInspector() {
  NoteCall(this, u"ActiveInspector");
  CheckRunning();
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    if (auto inspector = std::dynamic_pointer_cast<OutlookInspector>(it->lock())) {
      return inspector;
    }
  }
  return nullptr;
}

std::shared_ptr<platform::OutlookWindow> OutlookApp::ActiveWindow() {
  NoteCall(this, u"ActiveWindow");
  CheckRunning();
  if (noActiveWindow_ || zOrder_.empty()) return nullptr;
  return zOrder_.back().lock();
}

std::shared_ptr<platform::Explorers> OutlookApp::Explorers() {
  NoteCall(this, u"Explorers");
  CheckRunning();
  return explorersObject_;
}

std::shared_ptr<platform::Inspectors> OutlookApp::Inspectors() {
  NoteCall(this, u"Inspectors");
  CheckRunning();
  return inspectorsObject_;
}

std::shared_ptr<OutlookExplorer> OutlookApp::OpenExplorer(
    const std::shared_ptr<OutlookFolder>& folder) {
  return NewExplorer(folder, true);
}

std::shared_ptr<OutlookInspector> OutlookApp::OpenInspector(
    const std::shared_ptr<platform::OutlookItem>& item) {
  auto inspector = InspectorFor(item);
  Activated(inspector);
  return inspector;
}

void OutlookApp::SetActiveWindow(const std::shared_ptr<platform::OutlookWindow>& window) {
  if (!window) {
    noActiveWindow_ = true;
    return;
  }
  Activated(window);
}

int OutlookApp::ClickButton(const std::shared_ptr<platform::CommandBarControl>& button) {
  auto clickable = std::dynamic_pointer_cast<CommandBarButtonObject>(button);
  if (!clickable) platform::Raise(platform::kErrTypeMismatch);
  return clickable->Click();
}

std::shared_ptr<OutlookAddInInstance> OutlookApp::NewAddInInstance(std::u16string progId) {
  return std::make_shared<OutlookAddInInstance>(weak_from_this(), std::move(progId));
}

std::shared_ptr<OutlookExplorer> OutlookApp::NewExplorer(
    std::shared_ptr<platform::MAPIFolder> folder, bool displayed) {
  CheckRunning();
  auto bars = NewBars(u"Explorer", ExplorerCommandBarLayout());
  auto explorer =
      std::make_shared<OutlookExplorer>(weak_from_this(), std::move(folder), bars, displayed);
  explorers_.push_back(explorer);
  // Copied first: a handler may subscribe or end its subscription.
  const auto handlers = newExplorerHandlers_;
  for (const auto& [key, handler] : handlers) handler(explorer);
  if (displayed) Activated(explorer);
  return explorer;
}

std::shared_ptr<OutlookInspector> OutlookApp::InspectorFor(
    const std::shared_ptr<platform::OutlookItem>& item) {
  CheckRunning();
  for (const auto& inspector : inspectors_) {
    if (inspector->Item() == item) return inspector;
  }
  int32_t itemClass = ClassOf(item);
  bool contact = itemClass == platform::kOlContactItemClass;
  // Windows of each kind of item share their customization.
  std::u16string kind = u"Inspector:" + platform::FromUtf8(std::to_string(itemClass));
  auto bars = NewBars(std::move(kind), contact ? ContactInspectorCommandBarLayout()
                                               : ItemInspectorCommandBarLayout());
  auto inspector = std::make_shared<OutlookInspector>(weak_from_this(), item, bars, false);
  const auto handlers = newInspectorHandlers_;
  for (const auto& [key, handler] : handlers) handler(inspector);
  return inspector;
}

std::shared_ptr<CommandBarSet> OutlookApp::NewBars(std::u16string kind,
                                                   const CommandBarLayout& layout) {
  auto bars =
      CommandBarSet::Create(std::move(kind), layout, customization_, clicks_, weak_from_this());
  std::erase_if(barSets_, [](const auto& set) { return set.expired(); });
  barSets_.push_back(bars);
  return bars;
}

void OutlookApp::Activated(const std::shared_ptr<platform::OutlookWindow>& window) {
  CheckRunning();
  if (auto inspector = std::dynamic_pointer_cast<OutlookInspector>(window)) {
    if (inspector->Closed()) platform::Raise(kErrObjectGone);
    if (!inspector->Displayed()) {
      inspector->MarkDisplayed();
      inspectors_.push_back(inspector);
    }
  } else if (auto explorer = std::dynamic_pointer_cast<OutlookExplorer>(window)) {
    if (explorer->Closed()) platform::Raise(kErrObjectGone);
    explorer->MarkDisplayed();
  }
  std::erase_if(zOrder_, [&](const auto& w) {
    auto locked = w.lock();
    return !locked || locked == window;
  });
  zOrder_.push_back(window);
  noActiveWindow_ = false;
}

void OutlookApp::Closed(const platform::OutlookWindow* window) {
  std::erase_if(explorers_, [&](const auto& e) { return e.get() == window; });
  std::erase_if(inspectors_, [&](const auto& i) { return i.get() == window; });
  std::erase_if(zOrder_, [&](const auto& w) {
    auto locked = w.lock();
    return !locked || locked.get() == window;
  });
}

void OutlookApp::CloseInspectorsOf(const platform::OutlookItem* item) {
  std::vector<std::shared_ptr<OutlookInspector>> closing;
  for (const auto& inspector : inspectors_) {
    if (inspector->Item().get() == item) closing.push_back(inspector);
  }
  for (const auto& inspector : closing) {
    inspector->MarkClosed();
    Closed(inspector.get());
  }
}

void OutlookApp::Shutdown() {
  running_ = false;
  for (const auto& explorer : explorers_) explorer->MarkClosed();
  for (const auto& inspector : inspectors_) inspector->MarkClosed();
  explorers_.clear();
  inspectors_.clear();
  zOrder_.clear();
  for (const auto& weak : barSets_) {
    if (auto bars = weak.lock()) bars->Detach();
  }
  barSets_.clear();
  clicks_->DisconnectAll();
  newExplorerHandlers_.clear();
  newInspectorHandlers_.clear();
}

uint64_t OutlookApp::AddNewExplorerHandler(platform::Explorers::NewExplorerHandler handler) {
  CheckRunning();
  newExplorerHandlers_.emplace(nextHandlerKey_, std::move(handler));
  return nextHandlerKey_++;
}

uint64_t OutlookApp::AddNewInspectorHandler(platform::Inspectors::NewInspectorHandler handler) {
  CheckRunning();
  newInspectorHandlers_.emplace(nextHandlerKey_, std::move(handler));
  return nextHandlerKey_++;
}

void OutlookApp::RemoveWindowHandler(uint64_t key) {
  newExplorerHandlers_.erase(key);
  newInspectorHandlers_.erase(key);
}

}  // namespace sendnote::hostmodel
