#include "portable/hostmodel/CommandBarCustomization.h"

#include <algorithm>

#include "platform/Utf.h"

namespace sendnote::hostmodel {

std::shared_ptr<CommandBarControlData> CommandBarCustomization::Append(
    std::u16string_view kind, std::u16string_view parentKey, int32_t type, int16_t id,
    std::u16string_view parameter) {
  auto control = std::make_shared<CommandBarControlData>();
  control->type = type;
  control->id = id;
  control->parameter = std::u16string(parameter);
  control->parentKey = std::u16string(parentKey);
  if (type == kControlPopup) {
    control->childKey = u"#" + platform::FromUtf8(std::to_string(nextSerial_));
  }
  ++nextSerial_;
  auto it = saved_.find(kind);
  if (it == saved_.end())
    it = saved_.emplace(std::u16string(kind), std::vector<std::shared_ptr<CommandBarControlData>>{})
             .first;
  it->second.push_back(control);
  return control;
}

void CommandBarCustomization::Remove(std::u16string_view kind,
                                     const CommandBarControlData& control) {
  auto it = saved_.find(kind);
  if (it == saved_.end()) return;
  auto& list = it->second;
  auto found = std::find_if(list.begin(), list.end(),
                            [&](const auto& saved) { return saved.get() == &control; });
  if (found == list.end()) return;
  std::shared_ptr<CommandBarControlData> removed = *found;
  list.erase(found);
  removed->deleted = true;
  if (removed->childKey.empty()) return;
  // A saved popup takes the controls saved under it along.
  for (const auto& child : Under(kind, removed->childKey)) Remove(kind, *child);
}

std::vector<std::shared_ptr<CommandBarControlData>> CommandBarCustomization::Under(
    std::u16string_view kind, std::u16string_view parentKey) const {
  std::vector<std::shared_ptr<CommandBarControlData>> result;
  auto it = saved_.find(kind);
  if (it == saved_.end()) return result;
  for (const auto& control : it->second) {
    if (control->parentKey == parentKey) result.push_back(control);
  }
  return result;
}

std::vector<std::shared_ptr<CommandBarControlData>> CommandBarCustomization::All(
    std::u16string_view kind) const {
  auto it = saved_.find(kind);
  if (it == saved_.end()) return {};
  return it->second;
}

int CommandBarCustomization::CountWithTag(std::u16string_view kind, std::u16string_view tag) const {
  auto all = All(kind);
  return static_cast<int>(std::count_if(all.begin(), all.end(),
                                        [&](const auto& control) { return control->tag == tag; }));
}

}  // namespace sendnote::hostmodel
