#include "portable/hostmodel/CommandBarSet.h"

#include <algorithm>

#include "platform/ComError.h"
#include "platform/Utf.h"
#include "portable/hostmodel/CallObserver.h"
#include "portable/hostmodel/CommandBarObjects.h"

namespace sendnote::hostmodel {
namespace {

std::shared_ptr<CommandBarControlData> Build(const CommandBarControlDescription& described,
                                             const std::u16string& parentKey) {
  auto control = std::make_shared<CommandBarControlData>();
  control->type = described.type;
  control->id = described.id;
  control->caption = described.caption;
  control->builtIn = true;
  control->parentKey = parentKey;
  if (described.type == kControlPopup) {
    control->childKey = parentKey + u">" + platform::FromUtf8(std::to_string(described.id));
    for (const auto& child : described.children) {
      control->children.push_back(Build(child, control->childKey));
    }
  }
  return control;
}

// Marks a built-in control and everything it holds as gone.
void MarkDeleted(CommandBarControlData& control) {
  control.deleted = true;
  for (const auto& child : control.children) MarkDeleted(*child);
}

}  // namespace

std::shared_ptr<CommandBarSet> CommandBarSet::Create(
    std::u16string kind, const CommandBarLayout& layout,
    std::shared_ptr<CommandBarCustomization> customization, std::weak_ptr<CommandBarClicks> clicks,
    std::weak_ptr<platform::Object> application) {
  std::shared_ptr<CommandBarSet> set(new CommandBarSet());
  set->kind_ = std::move(kind);
  set->customization_ = std::move(customization);
  set->clicks_ = std::move(clicks);
  set->application_ = std::move(application);
  for (const CommandBarDescription& described : layout) {
    auto bar = std::make_shared<CommandBarControlData>();
    bar->type = CommandBarControlData::kBar;
    bar->id = 0;
    bar->caption = described.name;
    bar->builtIn = true;
    bar->childKey = described.name;
    for (const auto& control : described.controls)
      bar->children.push_back(Build(control, described.name));
    set->bars_.push_back(std::move(bar));
  }
  return set;
}

std::shared_ptr<platform::Object> CommandBarSet::Application() {
  NoteCall(this, u"Application");
  CheckUsable(nullptr);
  auto application = application_.lock();
  if (!application) platform::Raise(platform::kErrServerGone);
  return application;
}

void CommandBarSet::CheckUsable(const CommandBarControlData* control) const {
  if (detached_) platform::Raise(kErrObjectGone, u"The window of these command bars is closed.");
  if (control && control->deleted) platform::Raise(kErrObjectGone, u"The control was deleted.");
}

std::vector<std::shared_ptr<CommandBarControlData>> CommandBarSet::ControlsOf(
    const CommandBarControlData& bar) const {
  std::vector<std::shared_ptr<CommandBarControlData>> result;
  for (const auto& child : bar.children) {
    if (!child->deleted) result.push_back(child);
  }
  for (auto& saved : customization_->Under(kind_, bar.childKey)) result.push_back(saved);
  return result;
}

std::shared_ptr<CommandBarControlData> CommandBarSet::SearchIn(const CommandBarControlData& bar,
                                                               const Match& match) const {
  for (const auto& control : ControlsOf(bar)) {
    if (match(control)) return control;
    if (control->type != kControlPopup) continue;
    if (auto found = SearchIn(*control, match)) return found;
  }
  return nullptr;
}

std::shared_ptr<CommandBarControlData> CommandBarSet::Search(const Match& match) const {
  for (const auto& bar : bars_) {
    if (auto found = SearchIn(*bar, match)) return found;
  }
  return nullptr;
}

std::shared_ptr<platform::CommandBarControl> CommandBarSet::FindControl(int16_t id) {
  NoteCall(this, u"FindControl");
  CheckUsable(nullptr);
  auto found = Search([id](const auto& c) { return c->id == id; });
  return found ? Wrap(found) : nullptr;
}

std::shared_ptr<platform::CommandBarControl> CommandBarSet::FindControl(std::u16string_view tag) {
  NoteCall(this, u"FindControl");
  CheckUsable(nullptr);
  // Office treats an empty tag as "not given"; the contract never passes one.
  if (tag.empty()) return nullptr;
  auto found = Search([tag](const auto& c) { return c->tag == tag; });
  return found ? Wrap(found) : nullptr;
}

std::shared_ptr<CommandBarObject> CommandBarSet::Bar(std::u16string_view name) {
  for (const auto& bar : bars_) {
    if (bar->caption == name) return BarOf(bar);
  }
  return nullptr;
}

std::vector<std::shared_ptr<platform::CommandBarControl>> CommandBarSet::ControlsWithTag(
    std::u16string_view tag) {
  std::vector<std::shared_ptr<platform::CommandBarControl>> result;
  Search([&](const auto& c) {
    if (c->tag == tag) result.push_back(Wrap(c));
    return false;
  });
  return result;
}

bool CommandBarSet::RemoveBuiltIn(int16_t id) {
  auto found = Search([id](const auto& c) { return c->builtIn && c->id == id; });
  if (!found) return false;
  MarkDeleted(*found);
  return true;
}

std::shared_ptr<platform::CommandBarControl> CommandBarSet::Wrap(
    const std::shared_ptr<CommandBarControlData>& control) {
  if (auto it = controls_.find(control.get()); it != controls_.end()) return it->second;
  std::shared_ptr<platform::CommandBarControl> object;
  if (control->type == kControlPopup) {
    object = std::make_shared<CommandBarPopupObject>(weak_from_this(), control);
  } else {
    object = std::make_shared<CommandBarButtonObject>(weak_from_this(), control);
  }
  controls_.emplace(control.get(), object);
  return object;
}

std::shared_ptr<CommandBarObject> CommandBarSet::BarOf(
    const std::shared_ptr<CommandBarControlData>& bar) {
  if (auto it = barObjects_.find(bar.get()); it != barObjects_.end()) return it->second;
  auto object = std::make_shared<CommandBarObject>(weak_from_this(), bar);
  barObjects_.emplace(bar.get(), object);
  return object;
}

std::shared_ptr<CommandBarControlData> CommandBarSet::AddControl(const CommandBarControlData& bar,
                                                                 int32_t type, int16_t id,
                                                                 std::u16string_view parameter) {
  if (type != kControlButton && type != kControlPopup) platform::Raise(platform::kErrInvalidCall);
  return customization_->Append(kind_, bar.childKey, type, id, parameter);
}

void CommandBarSet::DeleteControl(const std::shared_ptr<CommandBarControlData>& control) {
  if (!control->builtIn) {
    customization_->Remove(kind_, *control);
    return;
  }
  // Built-in controls are taken out of this window only.
  MarkDeleted(*control);
}

platform::EventConnection CommandBarSet::ConnectClick(
    std::shared_ptr<const CommandBarControlData> control, CommandBarClicks::Handler handler) {
  auto clicks = clicks_.lock();
  if (!clicks) platform::Raise(platform::kErrServerGone);
  return clicks->Connect(std::move(control), std::move(handler));
}

int CommandBarSet::Click(const std::shared_ptr<platform::CommandBarButton>& clicked,
                         const CommandBarControlData& control) {
  auto clicks = clicks_.lock();
  if (!clicks) platform::Raise(platform::kErrServerGone);
  return clicks->Click(clicked, control);
}

}  // namespace sendnote::hostmodel
