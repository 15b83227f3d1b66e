#include "inmemory/WordShapes.h"

#include "inmemory/WordApp.h"
#include "platform/ComError.h"

namespace sendnote::inmemory {

// --- WordShapeRange ---

WordShapeRange::WordShapeRange(std::weak_ptr<WordSession> session,
                               std::weak_ptr<WordDocument> document,
                               const WordShapeContent& content)
    : WordRange(session, document, platform::kWdTextFrameStory),
      text_(content.text),
      fields_(std::make_shared<WordFields>(session, document)) {
  for (const auto& field : content.fields) {
    fields_->Append(WordField::Create(session, document, field, FieldPlace::kShape));
  }
}

WordShapeContent WordShapeRange::Content() const {
  WordShapeContent content;
  content.text = text_;
  for (const auto& field : fields_->Items()) content.fields.push_back(field->Content());
  return content;
}

std::u16string WordShapeRange::ReadText() const {
  std::u16string text = text_;
  for (const auto& field : fields_->Items()) text += field->Content().result;
  return text;
}

void WordShapeRange::WriteText(std::u16string_view text) {
  fields_->RemoveAll();
  text_ = text;
}

// --- WordTextFrame ---

WordTextFrame::WordTextFrame(std::weak_ptr<WordSession> session,
                             std::weak_ptr<WordDocument> document, const WordShapeContent& content)
    : WordNode(u"TextFrame", session, document) {
  if (content.holdsText && !content.IsGroup())
    range_ = std::make_shared<WordShapeRange>(session, document, content);
}

WordShapeContent WordTextFrame::Content() const {
  if (range_) return range_->Content();
  WordShapeContent picture;
  picture.holdsText = false;
  return picture;
}

std::shared_ptr<platform::Object> WordTextFrame::Application() {
  Call(u"Application");
  return App();
}

std::shared_ptr<platform::Range> WordTextFrame::TextRange() {
  Call(u"TextRange");
  if (!range_) {
    platform::Raise(platform::kErrWordNotAvailable,
                    u"This method or property is not available because this object does not "
                    u"contain text.");
  }
  return range_;
}

// --- WordShape ---

WordShape::WordShape(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                     const WordShapeContent& content)
    : WordNode(u"Shape", session, document),
      frame_(std::make_shared<WordTextFrame>(session, document, content)) {
  if (!content.IsGroup()) return;
  items_ = std::make_shared<WordShapes>(session, document);
  for (const auto& item : content.groupItems) {
    items_->Append(std::make_shared<WordShape>(session, document, item));
  }
}

WordShapeContent WordShape::Content() const {
  if (!items_) return frame_->Content();
  WordShapeContent group;
  group.holdsText = false;
  for (const auto& item : items_->Items()) group.groupItems.push_back(item->Content());
  return group;
}

std::shared_ptr<platform::Object> WordShape::Application() {
  Call(u"Application");
  return App();
}

std::shared_ptr<platform::TextFrame> WordShape::TextFrame() {
  Call(u"TextFrame");
  return frame_;
}

std::shared_ptr<platform::Shapes> WordShape::GroupItems() {
  Call(u"GroupItems");
  if (!items_) {
    platform::Raise(platform::kErrWordNotAvailable,
                    u"This member can only be accessed for a group.");
  }
  return items_;
}

// --- WordShapes ---

WordShapes::WordShapes(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document)
    : WordNode(u"Shapes", std::move(session), std::move(document)) {}

std::shared_ptr<platform::Object> WordShapes::Application() {
  Call(u"Application");
  return App();
}

std::vector<std::shared_ptr<WordShapeRange>> WordShapes::TextRanges() const {
  std::vector<std::shared_ptr<WordShapeRange>> ranges;
  for (const auto& shape : items_) {
    if (const auto& group = shape->GroupObject()) {
      for (auto& range : group->TextRanges()) ranges.push_back(std::move(range));
    } else if (const auto& range = shape->TextFrameObject()->RangeObject()) {
      ranges.push_back(range);
    }
  }
  return ranges;
}

int32_t WordShapes::Count() {
  Call(u"Count");
  return static_cast<int32_t>(items_.size());
}

std::shared_ptr<platform::Shape> WordShapes::Item(int32_t index) {
  Call(u"Item");
  if (index < 1 || static_cast<size_t>(index) > items_.size()) {
    platform::RaiseNoSuchMember();
  }
  return items_[static_cast<size_t>(index) - 1];
}

}  // namespace sendnote::inmemory
