// The stories of an in-memory document: the main text, the headers and footers of each
// section, footnotes, endnotes and comments, and the text frame story of the main text's
// text boxes. A story's range reads as its fields' results.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inmemory/WordContent.h"
#include "inmemory/WordFields.h"
#include "inmemory/WordNode.h"
#include "inmemory/WordShapes.h"
#include "platform/Word.h"

namespace sendnote::inmemory {

class WordStoryRange : public WordRange {
 public:
  WordStoryRange(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                 int32_t storyType, std::shared_ptr<WordFields> fields,
                 std::shared_ptr<WordShapes> shapes);
  // A story of `content`, its fields and shapes made anew.
  static std::shared_ptr<WordStoryRange> Make(std::weak_ptr<WordSession> session,
                                              std::weak_ptr<WordDocument> document,
                                              const WordStoryContent& content);

  int32_t Type() const { return type_; }
  WordStoryContent Content() const;
  void SetNext(std::weak_ptr<platform::Range> next) { next_ = std::move(next); }

 protected:
  std::u16string ReadText() const override;
  void WriteText(std::u16string_view text) override;
  std::shared_ptr<WordFields> FieldsOfRange() override { return fields_; }
  std::shared_ptr<platform::Range> NextOfRange() override { return next_.lock(); }
  std::shared_ptr<platform::Shapes> ShapesOfRange() override { return shapes_; }

 private:
  int32_t type_;
  std::u16string text_;  // plain text written over the story
  std::shared_ptr<WordFields> fields_;
  std::shared_ptr<WordShapes> shapes_;
  std::weak_ptr<platform::Range> next_;
};

class WordStoryRanges : public platform::StoryRanges, public WordNode {
 public:
  WordStoryRanges(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                  std::vector<std::shared_ptr<platform::Range>> first);

  // --- platform::StoryRanges ---
  std::u16string TypeName() const override { return u"StoryRanges"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::vector<std::shared_ptr<platform::Range>> Items() override;

 private:
  std::vector<std::shared_ptr<platform::Range>> first_;
};

}  // namespace sendnote::inmemory
