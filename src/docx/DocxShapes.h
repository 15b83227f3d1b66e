// The engine's shapes: the drawing objects anchored in a story (the main text, a header or
// footer) or making up a group, and the text frame through which a text box's text is
// reached.
#pragma once

#include <memory>
#include <vector>

#include "docx/DocxObject.h"
#include "docx/Story.h"
#include "platform/Word.h"

namespace sendnote::docx {

class DocxShapes : public platform::Shapes, private DocxObject {
 public:
  // The shapes of `story`, or of `group`; none when both are empty.
  DocxShapes(std::shared_ptr<DocumentModel> model, Story* story, ShapeState* group = nullptr);

  std::u16string TypeName() const override { return u"Shapes"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::shared_ptr<platform::Shape> Item(int32_t index) override;

 private:
  std::vector<ShapeState*> Current() const;

  Story* story_;
  ShapeState* group_;
};

class DocxShape : public platform::Shape, private DocxObject {
 public:
  DocxShape(std::shared_ptr<DocumentModel> model, Story* story, ShapeState* shape);

  std::u16string TypeName() const override { return u"Shape"; }
  std::shared_ptr<platform::Object> Application() override;
  std::shared_ptr<platform::TextFrame> TextFrame() override;
  // Raises 4605 for a shape that is not a group.
  std::shared_ptr<platform::Shapes> GroupItems() override;

 private:
  Story* story_;
  ShapeState* shape_;
};

class DocxTextFrame : public platform::TextFrame, private DocxObject {
 public:
  DocxTextFrame(std::shared_ptr<DocumentModel> model, Story* story, ShapeState* shape);

  std::u16string TypeName() const override { return u"TextFrame"; }
  std::shared_ptr<platform::Object> Application() override;
  // Raises 4605 for a shape that holds no text (a picture), as Word does.
  std::shared_ptr<platform::Range> TextRange() override;

 private:
  Story* story_;  // the story the shape is anchored in
  ShapeState* shape_;
};

}  // namespace sendnote::docx
