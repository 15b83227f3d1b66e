// The shapes of an in-memory document: text boxes, whose text frame's range holds text
// and fields, and shapes that hold no text (pictures), whose text frame raises when its
// text range is reached (4605, as Word does for an object without text).
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

class WordTextFrame : public platform::TextFrame, public WordNode {
 public:
  WordTextFrame(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                const WordShapeContent& content);

  // The shape's current content.
  WordShapeContent Content() const;

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

  WordShapeContent Content() const { return frame_->Content(); }
  const std::shared_ptr<WordTextFrame>& TextFrameObject() const { return frame_; }

  // --- platform::Shape ---
  std::u16string TypeName() const override { return u"Shape"; }
  std::shared_ptr<platform::Object> Application() override;
  std::shared_ptr<platform::TextFrame> TextFrame() override;

 private:
  std::shared_ptr<WordTextFrame> frame_;
};

class WordShapes : public platform::Shapes, public WordNode {
 public:
  WordShapes(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document);

  void Append(std::shared_ptr<WordShape> shape) { items_.push_back(std::move(shape)); }
  const std::vector<std::shared_ptr<WordShape>>& Items() const { return items_; }

  // --- platform::Shapes ---
  std::u16string TypeName() const override { return u"Shapes"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::shared_ptr<platform::Shape> Item(int32_t index) override;

 private:
  std::vector<std::shared_ptr<WordShape>> items_;
};

}  // namespace sendnote::inmemory
