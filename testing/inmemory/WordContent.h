// The neutral content model of an in-memory Word document or template: the fields of the
// main text (body, then one table), the shapes, the custom properties and the bookmarks
// that linked properties take their values from. Templates are registered in this form,
// and a document's current state can be read back in it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
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
// text (a picture) has holdsText false and nothing else.
struct WordShapeContent {
  bool holdsText = true;
  std::u16string text;
  std::vector<WordFieldContent> fields;

  bool operator==(const WordShapeContent&) const = default;
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
  std::vector<WordPropertyContent> properties;         // in enumeration order
  std::map<std::u16string, std::u16string> bookmarks;  // name -> text

  bool operator==(const WordContent&) const = default;
};

}  // namespace sendnote::inmemory
