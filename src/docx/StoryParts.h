// The stories of a document that have parts of their own: the header and footer parts of
// every section, the footnotes, the endnotes and the comments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sendnote::docx {

class Package;

struct StoryPart {
  int32_t type;      // WdStoryType
  std::string part;  // the part's name
};

class StoryParts {
 public:
  // The parts the main part `mainPart` refers to as stories (header, footer, footnotes,
  // endnotes, comments), each once, in the order of its relationships.
  static std::vector<StoryPart> PartNames(Package& package, const std::string& mainPart);
  // The stories of those parts in WdStoryType order: a header or footer type once for
  // each section that refers to a part of its own, in section order (a section without
  // one shows the previous section's); footnotes and endnotes when there is a note beyond
  // the separators, comments when there is a comment. A part is one story only.
  static std::vector<StoryPart> Stories(Package& package, const std::string& mainPart);
};

}  // namespace sendnote::docx
