#include "portable/hostmodel/CommandBarObjects.h"

#include "platform/ComError.h"
#include "portable/hostmodel/CallObserver.h"
#include "portable/hostmodel/CommandBarSet.h"

namespace sendnote::hostmodel {
namespace {

// Returns the window's bars when they and `control` are still there; raises otherwise.
std::shared_ptr<CommandBarSet> UsableSet(const std::weak_ptr<CommandBarSet>& weak,
                                         const CommandBarControlData& control) {
  auto set = weak.lock();
  if (!set) platform::Raise(kErrObjectGone, u"The window of this control is closed.");
  set->CheckUsable(&control);
  return set;
}

}  // namespace

// --- CommandBarObject ---

CommandBarObject::CommandBarObject(std::weak_ptr<CommandBarSet> set,
                                   std::shared_ptr<CommandBarControlData> bar)
    : set_(std::move(set)), bar_(std::move(bar)) {}

std::shared_ptr<platform::Object> CommandBarObject::Application() {
  NoteCall(this, u"Application");
  return UsableSet(set_, *bar_)->Application();
}

std::shared_ptr<platform::CommandBarControl> CommandBarObject::FindControl(
    std::u16string_view tag) {
  NoteCall(this, u"FindControl");
  auto set = UsableSet(set_, *bar_);
  if (tag.empty()) return nullptr;
  for (const auto& control : set->ControlsOf(*bar_)) {
    if (control->tag == tag) return set->Wrap(control);
  }
  return nullptr;
}

std::shared_ptr<CommandBarControlsObject> CommandBarObject::Controls() {
  NoteCall(this, u"Controls");
  return ControlsCollection();
}

std::shared_ptr<CommandBarControlsObject> CommandBarObject::ControlsCollection() {
  UsableSet(set_, *bar_);
  if (!controls_) controls_ = std::make_shared<CommandBarControlsObject>(set_, bar_);
  return controls_;
}

// --- CommandBarControlsObject ---

CommandBarControlsObject::CommandBarControlsObject(std::weak_ptr<CommandBarSet> set,
                                                   std::shared_ptr<CommandBarControlData> bar)
    : set_(std::move(set)), bar_(std::move(bar)) {}

std::shared_ptr<platform::Object> CommandBarControlsObject::Application() {
  NoteCall(this, u"Application");
  return UsableSet(set_, *bar_)->Application();
}

std::shared_ptr<platform::CommandBarControl> CommandBarControlsObject::Add(
    int32_t type, int16_t id, std::u16string_view parameter) {
  NoteCall(this, u"Add");
  auto set = UsableSet(set_, *bar_);
  return set->Wrap(set->AddControl(*bar_, type, id, parameter));
}

int32_t CommandBarControlsObject::Count() {
  NoteCall(this, u"Count");
  return static_cast<int32_t>(UsableSet(set_, *bar_)->ControlsOf(*bar_).size());
}

std::shared_ptr<platform::CommandBarControl> CommandBarControlsObject::Item(int32_t index) {
  NoteCall(this, u"Item");
  auto set = UsableSet(set_, *bar_);
  auto controls = set->ControlsOf(*bar_);
  if (index < 1 || static_cast<size_t>(index) > controls.size()) {
    platform::Raise(platform::kErrSubscript);
  }
  return set->Wrap(controls[static_cast<size_t>(index) - 1]);
}

// --- CommandBarButtonObject ---

CommandBarButtonObject::CommandBarButtonObject(std::weak_ptr<CommandBarSet> set,
                                               std::shared_ptr<CommandBarControlData> control)
    : set_(std::move(set)), control_(std::move(control)) {}

std::shared_ptr<CommandBarSet> CommandBarButtonObject::Usable() const {
  return UsableSet(set_, *control_);
}

std::shared_ptr<platform::Object> CommandBarButtonObject::Application() {
  NoteCall(this, u"Application");
  return Usable()->Application();
}

int32_t CommandBarButtonObject::Id() {
  NoteCall(this, u"Id");
  Usable();
  return control_->id;
}

std::u16string CommandBarButtonObject::Tag() {
  NoteCall(this, u"Tag");
  Usable();
  return control_->tag;
}

void CommandBarButtonObject::Delete() {
  NoteCall(this, u"Delete");
  Usable()->DeleteControl(control_);
}

std::u16string CommandBarButtonObject::OnAction() {
  NoteCall(this, u"OnAction");
  Usable();
  return control_->onAction;
}

void CommandBarButtonObject::SetOnAction(std::u16string_view action) {
  NoteCall(this, u"OnAction");
  Usable();
  control_->onAction = std::u16string(action);
}

std::u16string CommandBarButtonObject::Caption() {
  NoteCall(this, u"Caption");
  Usable();
  return control_->caption;
}

void CommandBarButtonObject::SetCaption(std::u16string_view caption) {
  NoteCall(this, u"Caption");
  Usable();
  control_->caption = std::u16string(caption);
}

void CommandBarButtonObject::SetTag(std::u16string_view tag) {
  NoteCall(this, u"Tag");
  Usable();
  control_->tag = std::u16string(tag);
}

platform::EventConnection CommandBarButtonObject::ConnectClick(ClickHandler handler) {
  NoteCall(this, u"Click");
  return Usable()->ConnectClick(control_, std::move(handler));
}

int CommandBarButtonObject::Click() {
  auto set = Usable();
  return set->Click(shared_from_this(), *control_);
}

// --- CommandBarPopupObject ---

CommandBarPopupObject::CommandBarPopupObject(std::weak_ptr<CommandBarSet> set,
                                             std::shared_ptr<CommandBarControlData> control)
    : set_(std::move(set)), control_(std::move(control)) {}

std::shared_ptr<CommandBarSet> CommandBarPopupObject::Usable() const {
  return UsableSet(set_, *control_);
}

std::shared_ptr<platform::Object> CommandBarPopupObject::Application() {
  NoteCall(this, u"Application");
  return Usable()->Application();
}

int32_t CommandBarPopupObject::Id() {
  NoteCall(this, u"Id");
  Usable();
  return control_->id;
}

std::u16string CommandBarPopupObject::Tag() {
  NoteCall(this, u"Tag");
  Usable();
  return control_->tag;
}

void CommandBarPopupObject::Delete() {
  NoteCall(this, u"Delete");
  Usable()->DeleteControl(control_);
}

std::shared_ptr<platform::CommandBar> CommandBarPopupObject::CommandBar() {
  NoteCall(this, u"CommandBar");
  return Usable()->BarOf(control_);
}

std::shared_ptr<platform::CommandBarControls> CommandBarPopupObject::Controls() {
  NoteCall(this, u"Controls");
  return Usable()->BarOf(control_)->ControlsCollection();
}

}  // namespace sendnote::hostmodel
