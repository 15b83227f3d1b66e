// A story of a document: the main text (w:body) or the text of a text box. It finds the
// fields in document order (complex fields split over any number of runs, nested fields,
// simple fields) and, in the main text, the drawing objects anchored there; and it edits
// field codes and results in place, leaving all other markup as it was.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "docx/XmlPart.h"

namespace sendnote::docx {

class Story;

// One copy of a field's markup: a simple field element, or the field characters and
// instruction elements of a complex field.
struct FieldMarks {
  pugi::xml_node simple;    // w:fldSimple
  pugi::xml_node begin;     // w:fldChar of type "begin"
  pugi::xml_node separate;  // empty for a field that shows no result
  pugi::xml_node end;
  std::vector<pugi::xml_node> instructions;  // w:instrText of the field's own code
};

struct FieldState {
  // [0] in the story; [1] in the second copy of a text box's text, when there is one.
  std::vector<FieldMarks> copies;
  FieldState* parent = nullptr;
  bool inParentResult = false;  // nested in the parent's result rather than its code
  std::vector<FieldState*> children;
  bool alive = true;  // false once its markup was replaced
};

struct ShapeState {
  pugi::xml_node anchor;        // the markup holding the shape (a group item: its element)
  pugi::xml_node text;          // w:txbxContent of its text, empty for a shape without text
  pugi::xml_node twinText;      // w:txbxContent of the text's second (VML) copy, or empty
  FieldState* owner = nullptr;  // the innermost field around the shape, if any
  bool inOwnerResult = false;
  bool alive = true;
  bool isGroup = false;
  ShapeState* group = nullptr;     // the group the shape is an item of
  std::vector<ShapeState*> items;  // a group's shapes, in order
  std::unique_ptr<Story> story;    // made on first use
};

// Where a new field result takes its formatting from.
enum class ResultFormat {
  kFirstResultRun,  // the first run of the old result (else the field's first run)
  kFirstCodeRun,    // the run of the code's first character
};

class Story {
 public:
  // `root`: w:body, or a text box's w:txbxContent with `twin` its second copy (which
  // every edit keeps identical), or empty. Shapes are looked for when `withShapes`.
  Story(XmlPart& part, pugi::xml_node root, pugi::xml_node twin, bool withShapes);
  ~Story();
  Story(const Story&) = delete;
  Story& operator=(const Story&) = delete;

  bool Alive() const { return alive_; }
  // The WdStoryType the story is of: the main text unless set; a text box's text is in the
  // text frame story.
  int32_t Type() const { return type_; }
  void SetType(int32_t type) { type_ = type; }

  // The fields of the story in document order (nested ones after their parent).
  const std::vector<FieldState*>& Fields() const { return live_; }
  // The fields nested, at any depth, in the code or in the result of `field`.
  std::vector<FieldState*> FieldsIn(const FieldState& field, bool inResult) const;
  // The drawing objects anchored in the story, in document order (a group's items are
  // reached through the group).
  std::vector<ShapeState*> Shapes() const;
  // The text boxes anchored in the story, groups' items included, in document order.
  std::vector<ShapeState*> TextBoxes() const;
  // The story of a shape's text; the shape must hold text.
  Story& TextOf(ShapeState& shape);

  std::u16string CodeText(const FieldState& field) const;
  // The new code goes into the first instruction; the other instructions are emptied.
  void SetCodeText(FieldState& field, std::u16string_view code);
  std::u16string ResultText(const FieldState& field) const;
  // Replaces the result by one run showing `text`; fields and shapes inside the old
  // result are gone afterwards. A field without a result gets one.
  void SetResult(FieldState& field, std::u16string_view text, ResultFormat format);

  // The story's text: each paragraph followed by a carriage return.
  std::u16string Text() const;
  // Replaces the whole text; every field of the story is gone afterwards.
  void SetText(std::u16string_view text);

  // Returns the text a bookmark encloses, or empty when the story has no such bookmark.
  std::optional<std::u16string> BookmarkText(std::u16string_view name) const;

 private:
  struct Scan;
  std::string W(std::string_view local) const;
  bool IsW(pugi::xml_node node, std::string_view local) const;
  void SplitRunAfter(pugi::xml_node node);
  void SplitRunBefore(pugi::xml_node node);
  pugi::xml_node InsertRunAfter(pugi::xml_node after, pugi::xml_node rPr, std::u16string_view text);
  std::vector<pugi::xml_node> RunsBetween(pugi::xml_node from, pugi::xml_node to) const;
  std::vector<pugi::xml_node> RunsInside(pugi::xml_node element) const;
  std::u16string RunText(pugi::xml_node run) const;
  pugi::xml_node FirstContentRun(const std::vector<pugi::xml_node>& runs) const;
  void ReplaceComplexResult(FieldMarks& marks, std::u16string_view text, ResultFormat format);
  void ReplaceSimpleResult(FieldMarks& marks, std::u16string_view text);
  void KillResultOf(FieldState& field);
  void KillAll();
  void Edited();

  XmlPart& part_;
  pugi::xml_node root_;
  pugi::xml_node twin_;
  std::string w_;            // the prefix of the WordprocessingML namespace
  bool resyncTwin_ = false;  // the copies did not match: the second is rewritten whole
  bool alive_ = true;
  int32_t type_ = 1;
  std::vector<std::unique_ptr<FieldState>> all_;
  std::vector<FieldState*> live_;
  std::vector<std::unique_ptr<ShapeState>> shapes_;
};

}  // namespace sendnote::docx
