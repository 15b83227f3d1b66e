#include "docx/DocxFields.h"
#include "docx/DocxShapes.h"

#include <algorithm>
#include <iterator>
#include "platform/Word.h"

#include "platform/ComError.h"
#include "wordrules/WordFieldCode.h"

namespace sendnote::docx {

void RaiseDeleted() {
  platform::Raise(platform::kErrWordObjectDeleted, u"Object has been deleted.");
}

// --- DocxFields ---

DocxFields::DocxFields(std::shared_ptr<DocumentModel> model, Story* story, FieldState* within,
                       bool inResult)
    : DocxObject(std::move(model)), story_(story), within_(within), inResult_(inResult) {}

const std::vector<FieldState*>& DocxFields::Current() const {
  Model();
  if (!story_->Alive() || (within_ && !within_->alive)) RaiseDeleted();
  if (!within_) return story_->Fields();  // the story's own list: no copy per call
  nested_ = story_->FieldsIn(*within_, inResult_);
  return nested_;
}

std::shared_ptr<platform::Object> DocxFields::Application() { return Model().Application(); }

int32_t DocxFields::Count() { return static_cast<int32_t>(Current().size()); }

std::shared_ptr<platform::Field> DocxFields::Item(int32_t index) {
  const std::vector<FieldState*>& fields = Current();
  if (index < 1 || static_cast<size_t>(index) > fields.size()) {
    platform::RaiseNoSuchMember();
  }
  return std::make_shared<DocxField>(ModelRef(), story_, fields[static_cast<size_t>(index) - 1]);
}

// --- DocxField ---

DocxField::DocxField(std::shared_ptr<DocumentModel> model, Story* story, FieldState* field)
    : DocxObject(std::move(model)), story_(story), field_(field) {}

FieldState& DocxField::Live() const {
  Model();
  if (!field_->alive) RaiseDeleted();
  return *field_;
}

std::shared_ptr<platform::Object> DocxField::Application() {
  Live();
  return Model().Application();
}

int32_t DocxField::Type() { return wordrules::FieldTypeOfCode(story_->CodeText(Live())); }

std::shared_ptr<platform::Range> DocxField::Code() {
  return std::make_shared<DocxRange>(ModelRef(), story_, &Live(), DocxRange::Kind::kCode);
}

std::shared_ptr<platform::Range> DocxField::Result() {
  return std::make_shared<DocxRange>(ModelRef(), story_, &Live(), DocxRange::Kind::kResult);
}

platform::Flag DocxField::Update() {
  FieldState& field = Live();
  Model().UpdateField(*story_, field);
  return platform::kTrue;
}

// --- DocxRange ---

DocxRange::DocxRange(std::shared_ptr<DocumentModel> model, Story* story, FieldState* field,
                     Kind kind)
    : DocxObject(std::move(model)), story_(story), field_(field), kind_(kind) {}

void DocxRange::Check() const {
  Model();
  if (!story_->Alive() || (field_ && !field_->alive)) RaiseDeleted();
}

std::shared_ptr<platform::Object> DocxRange::Application() {
  Check();
  return Model().Application();
}

std::u16string DocxRange::Text() {
  Check();
  switch (kind_) {
    case Kind::kCode:
      return story_->CodeText(*field_);
    case Kind::kResult:
      return story_->ResultText(*field_);
    case Kind::kStory:
      return story_->Text();
  }
  return {};
}

void DocxRange::SetText(std::u16string_view text) {
  Check();
  switch (kind_) {
    case Kind::kCode:
      story_->SetCodeText(*field_, text);
      break;
    case Kind::kResult:
      story_->SetResult(*field_, text, ResultFormat::kFirstResultRun);
      break;
    case Kind::kStory:
      story_->SetText(text);
      break;
  }
}

std::shared_ptr<platform::Fields> DocxRange::Fields() {
  Check();
  if (kind_ == Kind::kStory) return std::make_shared<DocxFields>(ModelRef(), story_);
  return std::make_shared<DocxFields>(ModelRef(), story_, field_, kind_ == Kind::kResult);
}

int32_t DocxRange::StoryType() {
  Check();
  return story_->Type();
}

std::shared_ptr<platform::Range> DocxRange::NextStoryRange() {
  Check();
  if (kind_ != Kind::kStory) return nullptr;
  DocumentModel& model = Model();
  const int32_t type = story_->Type();
  if (type == platform::kWdTextFrameStory) {
    const std::vector<ShapeState*> boxes = model.Main().TextBoxes();
    auto at = std::find_if(boxes.begin(), boxes.end(),
                           [&](ShapeState* box) { return box->story.get() == story_; });
    if (at == boxes.end() || ++at == boxes.end()) return nullptr;
    return std::make_shared<DocxRange>(ModelRef(), &model.Main().TextOf(**at), nullptr,
                                       Kind::kStory);
  }
  if (!platform::IsSectionStory(type)) return nullptr;
  const auto& stories = model.PartStories();
  auto at = std::find_if(stories.begin(), stories.end(),
                         [&](const std::unique_ptr<Story>& s) { return s.get() == story_; });
  if (at == stories.end()) return nullptr;
  at = std::find_if(std::next(at), stories.end(),
                    [&](const std::unique_ptr<Story>& s) { return s->Type() == type; });
  if (at == stories.end()) return nullptr;
  return std::make_shared<DocxRange>(ModelRef(), at->get(), nullptr, Kind::kStory);
}

std::shared_ptr<platform::Shapes> DocxRange::ShapeRange() {
  Check();
  return std::make_shared<DocxShapes>(ModelRef(), kind_ == Kind::kStory ? story_ : nullptr);
}

DocxStoryRanges::DocxStoryRanges(std::shared_ptr<DocumentModel> model)
    : DocxObject(std::move(model)) {}

std::shared_ptr<platform::Object> DocxStoryRanges::Application() { return Model().Application(); }

int32_t DocxStoryRanges::Count() { return static_cast<int32_t>(Items().size()); }

std::vector<std::shared_ptr<platform::Range>> DocxStoryRanges::Items() {
  DocumentModel& model = Model();
  const auto range = [&](Story& story) {
    return std::make_shared<DocxRange>(ModelRef(), &story, nullptr, DocxRange::Kind::kStory);
  };
  std::vector<std::shared_ptr<platform::Range>> items{range(model.Main())};
  const auto boxes = model.Main().TextBoxes();
  bool frames = !boxes.empty();
  int32_t last = 0;
  for (const auto& story : model.PartStories()) {
    if (frames && story->Type() > platform::kWdTextFrameStory) {
      items.push_back(range(model.Main().TextOf(*boxes.front())));
      frames = false;
    }
    if (story->Type() == last) continue;  // the next sections' are reached from the first
    last = story->Type();
    items.push_back(range(*story));
  }
  if (frames) items.push_back(range(model.Main().TextOf(*boxes.front())));
  return items;
}

}  // namespace sendnote::docx
