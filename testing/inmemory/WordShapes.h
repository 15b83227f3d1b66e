// The shapes of an in-memory document: text boxes, whose text frame's range holds text
// and fields, shapes that hold no text (pictures), whose text frame raises when its text
// range is reached (4605, as Word does for an object without text), and groups of shapes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "inmemory/WordContent.h"
#include "inmemory/WordFields.h"
#include "inmemory/WordNode.h"
#include "platform/Word.h"

namespace sendnote::inmemory {

class WordShapeRange;
class WordShapes;

class WordTextFrame : public platform::TextFrame, public WordNode {
 public:
  WordTextFrame(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                const WordShapeContent& content);

  // The shape's current content.
  WordShapeContent Content() const;
  // The text's range, or empty for a shape without text.
  const std::shared_ptr<WordShapeRange>& RangeObject() const { return range_; }

  // --- platform::TextFrame ---
  std::u16string TypeName() const override { return u"TextFrame"; }
  std::shared_ptr<platform::Object> Application() override;
  std::shared_ptr<platform::Range> TextRange() override;

 private:
  std::shared_ptr<WordShapeRange> range_;  // empty for a shape without text
};

class WordShape : public platform::Shape, public WordNode {
 public:
  WordShape(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
            const WordShapeContent& content);

  WordShapeContent Content() const;
  const std::shared_ptr<WordTextFrame>& TextFrameObject() const { return frame_; }
  // A group's shapes, or empty for a single shape.
  const std::shared_ptr<WordShapes>& GroupObject() const { return items_; }

  // --- platform::Shape ---
  std::u16string TypeName() const override { return u"Shape"; }
  std::shared_ptr<platform::Object> Application() override;
  std::shared_ptr<platform::TextFrame> TextFrame() override;
  std::shared_ptr<platform::Shapes> GroupItems() override;

 private:
  std::shared_ptr<WordTextFrame> frame_;
  std::shared_ptr<WordShapes> items_;
};

class WordShapes : public platform::Shapes, public WordNode {
 public:
  WordShapes(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document);

  void Append(std::shared_ptr<WordShape> shape) { items_.push_back(std::move(shape)); }
  const std::vector<std::shared_ptr<WordShape>>& Items() const { return items_; }
  // The text ranges of the shapes' text boxes, groups' items included, in order.
  std::vector<std::shared_ptr<WordShapeRange>> TextRanges() const;

  // --- platform::Shapes ---
  std::u16string TypeName() const override { return u"Shapes"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::shared_ptr<platform::Shape> Item(int32_t index) override;

 private:
  std::vector<std::shared_ptr<WordShape>> items_;
};

// A text box's text: plain text followed by its fields. Its Text reads the plain text and
// the fields' results; writing it replaces everything with plain text, removing the fields.
// It is in the text frame story, whose next story is the next text box of the main text.
class WordShapeRange : public WordRange {
 public:
  WordShapeRange(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                 const WordShapeContent& content);

  WordShapeContent Content() const;
  void SetNext(std::weak_ptr<WordShapeRange> next) { next_ = std::move(next); }

 protected:
  std::u16string ReadText() const override;
  void WriteText(std::u16string_view text) override;
  std::shared_ptr<WordFields> FieldsOfRange() override { return fields_; }
  std::shared_ptr<platform::Range> NextOfRange() override { return next_.lock(); }

 private:
  std::u16string text_;
  std::shared_ptr<WordFields> fields_;
  std::weak_ptr<WordShapeRange> next_;
};

}  // namespace sendnote::inmemory
