// The stories of a document besides its main text: the header and footer parts of every
// section, footnotes and endnotes, with the text boxes inside them. Word refreshes their
// fields when it lays the document out; a letter written here is never laid out, so its
// prefixed DOCPROPERTY fields are refreshed when it is saved.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sendnote::docx {

class DocumentModel;
class Package;

class StoryParts {
 public:
  // The prefix the document keeps in its "SENDNOTE$PREFIX" property; empty when it has
  // none, and then nothing is refreshed.
  static std::u16string DocumentPrefix(DocumentModel& model);

  // The header, footer, footnotes and endnotes parts the main part refers to, each once,
  // in the order of its relationships.
  static std::vector<std::string> PartNames(DocumentModel& model);
  // The same of the main part `mainPart` of a package.
  static std::vector<std::string> PartNames(Package& package, const std::string& mainPart);

  // Updates, in every such part and its text boxes, the DOCPROPERTY fields whose quoted
  // property name begins with `prefix` (the rule of the main text's refresh). Returns
  // how many were updated.
  static int Refresh(DocumentModel& model, std::u16string_view prefix);
};

}  // namespace sendnote::docx
