#include "inmemory/WordDocument.h"

#include <algorithm>

#include "inmemory/WordApp.h"
#include "inmemory/WordFields.h"
#include "inmemory/WordProperties.h"
#include "inmemory/WordShapes.h"
#include "inmemory/WordStories.h"
#include "platform/ComError.h"
#include "platform/Utf.h"

namespace sendnote::inmemory {

WordDocument::WordDocument(std::weak_ptr<WordSession> session, AddArguments arguments)
    : WordNode(u"Document", std::move(session), {}), arguments_(std::move(arguments)) {}

std::shared_ptr<WordDocument> WordDocument::Create(std::weak_ptr<WordSession> session,
                                                   const WordContent& content,
                                                   AddArguments arguments) {
  std::shared_ptr<WordDocument> document(new WordDocument(session, std::move(arguments)));
  if (auto shared = session.lock()) {
    document->name_ = u"Document" + platform::FromUtf8(std::to_string(++shared->untitled));
    document->fullName_ = document->name_;
  }
  std::weak_ptr<WordDocument> self = document;
  document->bookmarks_ = content.bookmarks;
  document->properties_ = std::make_shared<WordProperties>(session, self);
  for (const auto& property : content.properties) document->properties_->Load(property);
  document->fields_ = std::make_shared<WordFields>(session, self);
  for (const auto& field : content.bodyFields) {
    document->fields_->Append(WordField::Create(session, self, field, FieldPlace::kBody));
  }
  for (const auto& field : content.tableFields) {
    document->fields_->Append(WordField::Create(session, self, field, FieldPlace::kTable));
  }
  document->shapes_ = std::make_shared<WordShapes>(session, self);
  for (const auto& shape : content.shapes) {
    document->shapes_->Append(std::make_shared<WordShape>(session, self, shape));
  }
  document->LinkStories(content);
  return document;
}

// The main text first; then, in story type order, the first story of each type, the
// others reached from it through NextStoryRange. The main text's text boxes, groups'
// items included, make the text frame story.
void WordDocument::LinkStories(const WordContent& content) {
  main_ = std::make_shared<WordStoryRange>(SessionRef(), weak_from_this(),
                                           platform::kWdMainTextStory, fields_, shapes_);
  std::vector<std::shared_ptr<platform::Range>> first{main_};
  const auto frames = shapes_->TextRanges();
  for (size_t i = 1; i < frames.size(); ++i) frames[i - 1]->SetNext(frames[i]);
  for (const auto& story : content.stories) {
    stories_.push_back(WordStoryRange::Make(SessionRef(), weak_from_this(), story));
  }
  for (int32_t type = platform::kWdFootnotesStory; type <= platform::kWdFirstPageFooterStory;
       ++type) {
    if (type == platform::kWdTextFrameStory && !frames.empty()) first.push_back(frames.front());
    std::shared_ptr<WordStoryRange> previous;
    for (const auto& story : stories_) {
      if (story->Type() != type) continue;
      if (!previous) {
        first.push_back(story);
      } else if (platform::IsSectionStory(type)) {
        previous->SetNext(story);
      }
      previous = story;
    }
  }
  storyRanges_ =
      std::make_shared<WordStoryRanges>(SessionRef(), weak_from_this(), std::move(first));
}

WordContent WordDocument::Snapshot() const {
  WordContent content;
  for (const auto& field : fields_->Items()) {
    auto& target = field->Place() == FieldPlace::kTable ? content.tableFields : content.bodyFields;
    target.push_back(field->Content());
  }
  for (const auto& shape : shapes_->Items()) content.shapes.push_back(shape->Content());
  for (const auto& story : stories_) content.stories.push_back(story->Content());
  for (const auto& property : properties_->Items()) {
    content.properties.push_back(property->Content());
  }
  content.bookmarks = bookmarks_;
  return content;
}

std::u16string WordDocument::BookmarkText(std::u16string_view name) const {
  auto it = bookmarks_.find(std::u16string(name));
  return it == bookmarks_.end() ? std::u16string() : it->second;
}

bool WordDocument::HasBookmark(std::u16string_view name) const {
  return bookmarks_.contains(std::u16string(name));
}

void WordDocument::SetFullName(std::u16string fullName) {
  const size_t slash = fullName.find_last_of(u"\\/");
  name_ = slash == std::u16string::npos ? fullName : fullName.substr(slash + 1);
  fullName_ = std::move(fullName);
}

void WordDocument::MarkClosed(int32_t saveChanges) {
  closed_ = true;
  closeSaveChanges_ = saveChanges;
}

std::shared_ptr<platform::Object> WordDocument::Application() {
  Call(u"Application");
  return App();
}

std::shared_ptr<platform::DocumentProperties> WordDocument::CustomDocumentProperties() {
  Call(u"CustomDocumentProperties");
  return properties_;
}

void WordDocument::Activate() {
  Call(u"Activate");
  ++activateCount_;
  Session()->active = weak_from_this();
}

std::shared_ptr<platform::Fields> WordDocument::Fields() {
  Call(u"Fields");
  return fields_;
}

std::shared_ptr<platform::Shapes> WordDocument::Shapes() {
  Call(u"Shapes");
  return shapes_;
}

std::shared_ptr<platform::StoryRanges> WordDocument::StoryRanges() {
  Call(u"StoryRanges");
  return storyRanges_;
}

void WordDocument::Close(int32_t saveChanges) {
  Call(u"Close");
  auto session = Session();
  MarkClosed(saveChanges);
  std::erase_if(session->open, [this](const auto& document) { return document.get() == this; });
}

void WordDocument::SaveAs(std::u16string_view fileName, bool replace) {
  Call(u"SaveAs");
  auto session = Session();
  if (fileName.empty() || fileName == arguments_.templateName) {
    platform::Raise(platform::kErrPathAccess);
  }
  const std::u16string name(fileName);
  if (!replace && session->files.contains(name)) platform::Raise(platform::kErrFileExists);
  session->files[name] = Snapshot();
  SetFullName(name);
}

std::u16string WordDocument::Name() {
  Call(u"Name");
  return name_;
}

std::u16string WordDocument::FullName() {
  Call(u"FullName");
  return fullName_;
}

}  // namespace sendnote::inmemory
