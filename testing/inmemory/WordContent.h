// The neutral content model of an in-memory Word document or template: the fields of the
// main text (body, then one table), the shapes, the other stories, the custom properties and the
// bookmarks that linked properties take their values from. Templates are registered in this form,
// and a document's current state can be read back in it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Variant.h"
#include "platform/Word.h"

namespace sendnote::inmemory {

struct WordFieldContent {
  std::u16string code;    // for example u" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT "
  std::u16string result;  // the text the field shows
  bool boldResult = false;

  bool operator==(const WordFieldContent&) const = default;
};

// A shape. A text box holds text: plain text followed by fields. A shape that holds no
// text (a picture) has holdsText false and nothing else; a group holds no text either, and
// has its shapes in groupItems.
struct WordShapeContent {
  bool holdsText = true;
  std::u16string text;
  std::vector<WordFieldContent> fields;
  std::vector<WordShapeContent> groupItems;

  bool IsGroup() const { return !groupItems.empty(); }
  bool operator==(const WordShapeContent&) const = default;
};

inline WordShapeContent TextBoxContent(std::vector<WordFieldContent> fields,
                                       std::u16string text = {}) {
  WordShapeContent box;
  box.text = std::move(text);
  box.fields = std::move(fields);
  return box;
}
inline WordShapeContent PictureContent() {
  WordShapeContent picture;
  picture.holdsText = false;
  return picture;
}
inline WordShapeContent GroupContent(std::vector<WordShapeContent> items) {
  WordShapeContent group;
  group.holdsText = false;
  group.groupItems = std::move(items);
  return group;
}

// A story besides the main text: a header or footer of a section (a type repeats for
// each section that has its own, in section order), the footnotes, endnotes or comments.
// Shapes are anchored only in headers and footers.
struct WordStoryContent {
  int32_t type = platform::kWdPrimaryHeaderStory;
  std::vector<WordFieldContent> fields;
  std::vector<WordShapeContent> shapes;

  bool operator==(const WordStoryContent&) const = default;
};

struct WordPropertyContent {
  std::u16string name;
  int32_t type = platform::kPropertyString;
  platform::Variant value;  // for a linked property: the value last taken from its source
  bool linkToContent = false;
  std::u16string linkSource;  // the bookmark a linked property reads

  bool operator==(const WordPropertyContent&) const = default;
};

struct WordContent {
  std::vector<WordFieldContent> bodyFields;
  std::vector<WordFieldContent> tableFields;
  std::vector<WordShapeContent> shapes;
  std::vector<WordStoryContent> stories;
  std::vector<WordPropertyContent> properties;         // in enumeration order
  std::map<std::u16string, std::u16string> bookmarks;  // name -> text

  bool operator==(const WordContent&) const = default;
};

}  // namespace sendnote::inmemory
