#include "docx/DocxShapes.h"

#include "docx/DocxFields.h"
#include "platform/ComError.h"
#include "platform/Word.h"

namespace sendnote::docx {
namespace {

[[noreturn]] void RaiseNoText() {
  platform::Raise(platform::kErrWordNotAvailable,
                  u"This method or property is not available because this object does not "
                  u"contain text.");
}

}  // namespace

DocxShapes::DocxShapes(std::shared_ptr<DocumentModel> model, Story* story, ShapeState* group)
    : DocxObject(std::move(model)), story_(story), group_(group) {}

std::vector<ShapeState*> DocxShapes::Current() const {
  Model();
  if (group_) {
    if (!group_->alive) RaiseDeleted();
    return group_->items;
  }
  if (!story_) return {};
  if (!story_->Alive()) RaiseDeleted();
  return story_->Shapes();
}

std::shared_ptr<platform::Object> DocxShapes::Application() {
  Current();
  return Model().Application();
}

int32_t DocxShapes::Count() { return static_cast<int32_t>(Current().size()); }

std::shared_ptr<platform::Shape> DocxShapes::Item(int32_t index) {
  const std::vector<ShapeState*> shapes = Current();
  if (index < 1 || static_cast<size_t>(index) > shapes.size()) {
    platform::RaiseNoSuchMember();
  }
  return std::make_shared<DocxShape>(ModelRef(), story_, shapes[static_cast<size_t>(index) - 1]);
}

DocxShape::DocxShape(std::shared_ptr<DocumentModel> model, Story* story, ShapeState* shape)
    : DocxObject(std::move(model)), story_(story), shape_(shape) {}

std::shared_ptr<platform::Object> DocxShape::Application() {
  DocumentModel& model = Model();
  if (!shape_->alive) RaiseDeleted();
  return model.Application();
}

std::shared_ptr<platform::TextFrame> DocxShape::TextFrame() {
  Model();
  if (!shape_->alive) RaiseDeleted();
  return std::make_shared<DocxTextFrame>(ModelRef(), story_, shape_);
}

std::shared_ptr<platform::Shapes> DocxShape::GroupItems() {
  Model();
  if (!shape_->alive) RaiseDeleted();
  if (!shape_->isGroup) {
    platform::Raise(platform::kErrWordNotAvailable,
                    u"This member can only be accessed for a group.");
  }
  return std::make_shared<DocxShapes>(ModelRef(), story_, shape_);
}

DocxTextFrame::DocxTextFrame(std::shared_ptr<DocumentModel> model, Story* story, ShapeState* shape)
    : DocxObject(std::move(model)), story_(story), shape_(shape) {}

std::shared_ptr<platform::Object> DocxTextFrame::Application() {
  DocumentModel& model = Model();
  if (!shape_->alive) RaiseDeleted();
  return model.Application();
}

std::shared_ptr<platform::Range> DocxTextFrame::TextRange() {
  Model();
  if (!shape_->alive) RaiseDeleted();
  if (!shape_->text) RaiseNoText();
  return std::make_shared<DocxRange>(ModelRef(), &story_->TextOf(*shape_), nullptr,
                                     DocxRange::Kind::kStory);
}

}  // namespace sendnote::docx
