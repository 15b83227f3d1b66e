#include "tests/testing/inmemory/InMemoryWordFixture.h"

#include <string>
#include <vector>

#include "platform/Utf.h"
#include "wordrules/WordValue.h"

namespace sendnote::testing {
namespace {

using inmemory::WordContent;
using inmemory::WordFieldContent;

WordFieldContent ToContent(const FieldOutline& field) {
  WordFieldContent content;
  content.code = field.code;
  content.result = field.result;
  content.boldResult = field.boldResult;
  return content;
}

std::vector<WordFieldContent> ToContent(const std::vector<FieldOutline>& fields) {
  std::vector<WordFieldContent> contents;
  for (const auto& field : fields) contents.push_back(ToContent(field));
  return contents;
}

}  // namespace

InMemoryWordFixture::InMemoryWordFixture() : word_(inmemory::WordApp::Create()) {
  word_->AddUnreadableTemplate(kBroken);
  word_->AddUnreadableFile(kBrokenDocument);
}

std::u16string InMemoryWordFixture::MakeTemplate(const TemplateOutline& outline) {
  const std::u16string name =
      u"C:\\Templates\\contract" + platform::FromUtf8(std::to_string(++made_)) + u".dot";
  word_->AddTemplate(name, ToWordContent(outline));
  return name;
}

std::u16string InMemoryWordFixture::MakeDocumentFile(const TemplateOutline& outline) {
  const std::u16string name =
      u"C:\\Letters\\letter" + platform::FromUtf8(std::to_string(++made_)) + u".docx";
  word_->AddFile(name, ToWordContent(outline));
  return name;
}

WordContent InMemoryWordFixture::ToWordContent(const TemplateOutline& outline) {
  WordContent content;
  content.bodyFields = ToContent(outline.bodyFields);
  content.tableFields = ToContent(outline.tableFields);
  for (const auto& box : outline.textBoxes) {
    inmemory::WordShapeContent shape;
    shape.fields = ToContent(box);
    content.shapes.push_back(std::move(shape));
  }
  for (int i = 0; i < outline.picturesWithoutText; ++i) {
    content.shapes.push_back(inmemory::PictureContent());
  }
  for (const auto& group : outline.groups) {
    std::vector<inmemory::WordShapeContent> items;
    for (const auto& box : group) items.push_back(inmemory::TextBoxContent(ToContent(box)));
    content.shapes.push_back(inmemory::GroupContent(std::move(items)));
  }
  const StoriesOutline& stories = outline.stories;
  if (!stories.headerFields.empty() || !stories.headerTextBoxes.empty()) {
    inmemory::WordStoryContent header{
        platform::kWdPrimaryHeaderStory, ToContent(stories.headerFields), {}};
    for (const auto& box : stories.headerTextBoxes) {
      header.shapes.push_back(inmemory::TextBoxContent(ToContent(box)));
    }
    content.stories.push_back(std::move(header));
  }
  if (!stories.secondHeaderFields.empty()) {
    content.stories.push_back(
        {platform::kWdPrimaryHeaderStory, ToContent(stories.secondHeaderFields), {}});
  }
  if (!stories.footerFields.empty()) {
    content.stories.push_back(
        {platform::kWdPrimaryFooterStory, ToContent(stories.footerFields), {}});
  }
  if (!stories.footnotes.empty()) {
    content.stories.push_back({platform::kWdFootnotesStory, ToContent(stories.footnotes), {}});
  }
  for (const auto& property : outline.properties) {
    inmemory::WordPropertyContent stored;
    stored.name = property.name;
    stored.type = property.type;
    stored.value = wordrules::ConvertToPropertyType(property.value, property.type);
    if (property.linkedToContent) {
      // A linked property reads a bookmark that holds its value as text.
      stored.linkToContent = true;
      stored.linkSource = u"Link" + std::u16string(1, static_cast<char16_t>(u'A' + linked_++));
      content.bookmarks[stored.linkSource] = property.value.ToString();
    }
    content.properties.push_back(std::move(stored));
  }
  return content;
}

}  // namespace sendnote::testing
