#include "inmemory/WordStories.h"

#include "inmemory/WordApp.h"

namespace sendnote::inmemory {

WordStoryRange::WordStoryRange(std::weak_ptr<WordSession> session,
                               std::weak_ptr<WordDocument> document, int32_t storyType,
                               std::shared_ptr<WordFields> fields,
                               std::shared_ptr<WordShapes> shapes)
    : WordRange(std::move(session), std::move(document), storyType),
      type_(storyType),
      fields_(std::move(fields)),
      shapes_(std::move(shapes)) {}

std::shared_ptr<WordStoryRange> WordStoryRange::Make(std::weak_ptr<WordSession> session,
                                                     std::weak_ptr<WordDocument> document,
                                                     const WordStoryContent& content) {
  auto fields = std::make_shared<WordFields>(session, document);
  for (const auto& field : content.fields) {
    fields->Append(WordField::Create(session, document, field, FieldPlace::kStory, content.type));
  }
  auto shapes = std::make_shared<WordShapes>(session, document);
  for (const auto& shape : content.shapes) {
    shapes->Append(std::make_shared<WordShape>(session, document, shape));
  }
  return std::make_shared<WordStoryRange>(session, document, content.type, std::move(fields),
                                          std::move(shapes));
}

WordStoryContent WordStoryRange::Content() const {
  WordStoryContent content;
  content.type = type_;
  for (const auto& field : fields_->Items()) content.fields.push_back(field->Content());
  for (const auto& shape : shapes_->Items()) content.shapes.push_back(shape->Content());
  return content;
}

std::u16string WordStoryRange::ReadText() const {
  std::u16string text = text_;
  for (const auto& field : fields_->Items()) text += field->Content().result;
  return text;
}

void WordStoryRange::WriteText(std::u16string_view text) {
  fields_->RemoveAll();
  text_ = text;
}

WordStoryRanges::WordStoryRanges(std::weak_ptr<WordSession> session,
                                 std::weak_ptr<WordDocument> document,
                                 std::vector<std::shared_ptr<platform::Range>> first)
    : WordNode(u"StoryRanges", std::move(session), std::move(document)), first_(std::move(first)) {}

std::shared_ptr<platform::Object> WordStoryRanges::Application() {
  Call(u"Application");
  return App();
}

int32_t WordStoryRanges::Count() {
  Call(u"Count");
  return static_cast<int32_t>(first_.size());
}

std::vector<std::shared_ptr<platform::Range>> WordStoryRanges::Items() {
  Call(u"_NewEnum");
  return first_;
}

}  // namespace sendnote::inmemory
