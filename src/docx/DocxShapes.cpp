#include "docx/DocxShapes.h"
#include "platform/Word.h"

#include "docx/DocxFields.h"
#include "platform/ComError.h"

namespace sendnote::docx {

DocxShapes::DocxShapes(std::shared_ptr<DocumentModel> model) : DocxObject(std::move(model)) {}

std::shared_ptr<platform::Object> DocxShapes::Application() { return Model().Application(); }

int32_t DocxShapes::Count() { return static_cast<int32_t>(Model().Main().Shapes().size()); }

std::shared_ptr<platform::Shape> DocxShapes::Item(int32_t index) {
  const std::vector<ShapeState*> shapes = Model().Main().Shapes();
  if (index < 1 || static_cast<size_t>(index) > shapes.size()) {
    platform::RaiseNoSuchMember();
  }
  return std::make_shared<DocxShape>(ModelRef(), shapes[static_cast<size_t>(index) - 1]);
}

DocxShape::DocxShape(std::shared_ptr<DocumentModel> model, ShapeState* shape)
    : DocxObject(std::move(model)), shape_(shape) {}

std::shared_ptr<platform::Object> DocxShape::Application() {
  DocumentModel& model = Model();
  if (!shape_->alive) RaiseDeleted();
  return model.Application();
}

std::shared_ptr<platform::TextFrame> DocxShape::TextFrame() {
  Model();
  if (!shape_->alive) RaiseDeleted();
  return std::make_shared<DocxTextFrame>(ModelRef(), shape_);
}

DocxTextFrame::DocxTextFrame(std::shared_ptr<DocumentModel> model, ShapeState* shape)
    : DocxObject(std::move(model)), shape_(shape) {}

std::shared_ptr<platform::Object> DocxTextFrame::Application() {
  DocumentModel& model = Model();
  if (!shape_->alive) RaiseDeleted();
  return model.Application();
}

std::shared_ptr<platform::Range> DocxTextFrame::TextRange() {
  DocumentModel& model = Model();
  if (!shape_->alive) RaiseDeleted();
  if (!shape_->text) {
    platform::Raise(platform::kErrWordNotAvailable,
                    u"This method or property is not available because this object does not "
                    u"contain text.");
  }
  return std::make_shared<DocxRange>(ModelRef(), &model.Main().TextOf(*shape_), nullptr,
                                     DocxRange::Kind::kStory);
}

}  // namespace sendnote::docx
