#include "inmemory/WordShapes.h"

#include "inmemory/WordApp.h"
#include "platform/ComError.h"

namespace sendnote::inmemory {

// A text box's text: plain text followed by its fields. Its Text reads the plain text and
// the fields' results; writing it replaces everything with plain text, removing the fields.
class WordShapeRange : public WordRange {
 public:
  WordShapeRange(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                 const WordShapeContent& content)
      : WordRange(session, document),
        text_(content.text),
        fields_(std::make_shared<WordFields>(session, document)) {
    for (const auto& field : content.fields) {
      fields_->Append(WordField::Create(session, document, field, FieldPlace::kShape));
    }
  }

  WordShapeContent Content() const {
    WordShapeContent content;
    content.text = text_;
    for (const auto& field : fields_->Items()) content.fields.push_back(field->Content());
    return content;
  }

 protected:
  std::u16string ReadText() const override {
    std::u16string text = text_;
    for (const auto& field : fields_->Items()) text += field->Content().result;
    return text;
  }
  void WriteText(std::u16string_view text) override {
    fields_->RemoveAll();
    text_ = text;
  }
  std::shared_ptr<WordFields> FieldsOfRange() override { return fields_; }

 private:
  std::u16string text_;
  std::shared_ptr<WordFields> fields_;
};

// --- WordTextFrame ---

WordTextFrame::WordTextFrame(std::weak_ptr<WordSession> session,
                             std::weak_ptr<WordDocument> document, const WordShapeContent& content)
    : WordNode(u"TextFrame", session, document) {
  if (content.holdsText) range_ = std::make_shared<WordShapeRange>(session, document, content);
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
      frame_(std::make_shared<WordTextFrame>(session, document, content)) {}

std::shared_ptr<platform::Object> WordShape::Application() {
  Call(u"Application");
  return App();
}

std::shared_ptr<platform::TextFrame> WordShape::TextFrame() {
  Call(u"TextFrame");
  return frame_;
}

// --- WordShapes ---

WordShapes::WordShapes(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document)
    : WordNode(u"Shapes", std::move(session), std::move(document)) {}

std::shared_ptr<platform::Object> WordShapes::Application() {
  Call(u"Application");
  return App();
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
