#include "inmemory/WordFields.h"

#include <algorithm>
#include <array>
#include <utility>

#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "inmemory/WordProperties.h"
#include "inmemory/WordShapes.h"
#include "platform/ComError.h"
#include "wordrules/FieldFormat.h"
#include "wordrules/WordFieldCode.h"
#include "wordrules/WordValue.h"

namespace sendnote::inmemory {

// --- WordRange ---

WordRange::WordRange(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                     int32_t storyType)
    : WordNode(u"Range", std::move(session), std::move(document)), storyType_(storyType) {}

std::shared_ptr<platform::Object> WordRange::Application() {
  Call(u"Application");
  return App();
}

std::u16string WordRange::Text() {
  Call(u"Text");
  return ReadText();
}

void WordRange::SetText(std::u16string_view text) {
  Call(u"Text");
  WriteText(text);
}

std::shared_ptr<platform::Fields> WordRange::Fields() {
  Call(u"Fields");
  return FieldsOfRange();
}

int32_t WordRange::StoryType() {
  Call(u"StoryType");
  return storyType_;
}

std::shared_ptr<platform::Range> WordRange::NextStoryRange() {
  Call(u"NextStoryRange");
  return NextOfRange();
}

std::shared_ptr<platform::Shapes> WordRange::ShapeRange() {
  Call(u"ShapeRange");
  return ShapesOfRange();
}

std::shared_ptr<platform::Shapes> WordRange::ShapesOfRange() {
  return std::make_shared<WordShapes>(SessionRef(), DocumentRef());
}

// A field's code or result. Nested fields are not modelled: its Fields are empty.
class WordFieldPartRange : public WordRange {
 public:
  WordFieldPartRange(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                     std::weak_ptr<WordField> field, bool code, int32_t storyType)
      : WordRange(session, document, storyType),
        field_(std::move(field)),
        code_(code),
        none_(std::make_shared<WordFields>(std::move(session), std::move(document))) {}

 protected:
  bool Deleted() const override {
    auto field = field_.lock();
    return !field || field->IsDeleted();
  }
  std::u16string ReadText() const override {
    auto field = field_.lock();
    return code_ ? field->Content().code : field->Content().result;
  }
  void WriteText(std::u16string_view text) override;
  std::shared_ptr<WordFields> FieldsOfRange() override { return none_; }

 private:
  std::weak_ptr<WordField> field_;
  bool code_;
  std::shared_ptr<WordFields> none_;
};

void WordFieldPartRange::WriteText(std::u16string_view text) {
  auto field = field_.lock();
  if (code_) {
    field->WriteCode(text);
  } else {
    field->WriteResult(text);
  }
}

// --- WordField ---

WordField::WordField(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                     WordFieldContent content, FieldPlace place)
    : WordNode(u"Field", std::move(session), std::move(document)),
      content_(std::move(content)),
      place_(place) {}

std::shared_ptr<WordField> WordField::Create(std::weak_ptr<WordSession> session,
                                             std::weak_ptr<WordDocument> document,
                                             WordFieldContent content, FieldPlace place,
                                             int32_t storyType) {
  std::shared_ptr<WordField> field(new WordField(session, document, std::move(content), place));
  const int32_t story = field->StoryOfField(storyType);
  field->code_ = std::make_shared<WordFieldPartRange>(session, document, field, true, story);
  field->result_ = std::make_shared<WordFieldPartRange>(session, document, field, false, story);
  return field;
}

int32_t WordField::StoryOfField(int32_t storyType) const {
  switch (place_) {
    case FieldPlace::kBody:
    case FieldPlace::kTable:
      return platform::kWdMainTextStory;
    case FieldPlace::kShape:
      return platform::kWdTextFrameStory;
    case FieldPlace::kStory:
      break;
  }
  return storyType;
}

std::shared_ptr<platform::Object> WordField::Application() {
  Call(u"Application");
  return App();
}

int32_t WordField::Type() {
  Call(u"Type");
  return wordrules::FieldTypeOfCode(content_.code);
}

std::shared_ptr<platform::Range> WordField::Code() {
  Call(u"Code");
  return code_;
}

std::shared_ptr<platform::Range> WordField::Result() {
  Call(u"Result");
  return result_;
}

platform::Flag WordField::Update() {
  Call(u"Update");
  if (wordrules::FieldTypeOfCode(content_.code) != platform::kWdFieldDocProperty)
    return platform::kTrue;
  const std::u16string name = wordrules::DocPropertyNameOfCode(content_.code);
  auto property = name.empty() ? nullptr : Document()->PropertiesObject()->Find(name);
  if (!property) {
    content_.result = wordrules::kUnknownPropertyText;
    return platform::kTrue;
  }
  const WordPropertyContent current = property->Content();
  content_.result = wordrules::ApplyCase(wordrules::FieldDisplayText(current.value, current.type),
                                         wordrules::ReadFormatSwitches(content_.code).letterCase);
  return platform::kTrue;
}

// --- WordFields ---

WordFields::WordFields(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document)
    : WordNode(u"Fields", std::move(session), std::move(document)) {}

void WordFields::RemoveAll() {
  for (const auto& field : items_) field->MarkDeleted();
  items_.clear();
}

std::shared_ptr<platform::Object> WordFields::Application() {
  Call(u"Application");
  return App();
}

int32_t WordFields::Count() {
  Call(u"Count");
  return static_cast<int32_t>(items_.size());
}

std::shared_ptr<platform::Field> WordFields::Item(int32_t index) {
  Call(u"Item");
  if (index < 1 || static_cast<size_t>(index) > items_.size()) {
    platform::RaiseNoSuchMember();
  }
  return items_[static_cast<size_t>(index) - 1];
}

}  // namespace sendnote::inmemory
