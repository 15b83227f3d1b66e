// Fields of an in-memory document and the ranges of text the system reaches: a field's
// code and result, and a text box's text. A field's type follows the first word of its
// code; updating a DOCPROPERTY field shows the named custom property's current value.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inmemory/WordContent.h"
#include "inmemory/WordNode.h"
#include "platform/Word.h"
#include "wordrules/WordFieldCode.h"
#include "wordrules/WordValue.h"

namespace sendnote::inmemory {

class WordFields;
class WordField;

class WordRange : public platform::Range, public WordNode {
 public:
  WordRange(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
            int32_t storyType);

  // --- platform::Range ---
  std::u16string TypeName() const override { return u"Range"; }
  std::shared_ptr<platform::Object> Application() override;
  std::u16string Text() override;
  void SetText(std::u16string_view text) override;
  std::shared_ptr<platform::Fields> Fields() override;
  int32_t StoryType() override;
  std::shared_ptr<platform::Range> NextStoryRange() override;
  std::shared_ptr<platform::Shapes> ShapeRange() override;

 protected:
  virtual std::u16string ReadText() const = 0;
  virtual void WriteText(std::u16string_view text) = 0;
  virtual std::shared_ptr<WordFields> FieldsOfRange() = 0;
  // Nothing and no shapes, unless the range is a story's.
  virtual std::shared_ptr<platform::Range> NextOfRange() { return nullptr; }
  virtual std::shared_ptr<platform::Shapes> ShapesOfRange();

 private:
  int32_t storyType_;
};

// Where a field sits, for reading the content back.
enum class FieldPlace { kBody, kTable, kShape, kStory };

class WordField : public platform::Field, public WordNode {
 public:
  // `storyType`: the story of a field of kStory.
  static std::shared_ptr<WordField> Create(std::weak_ptr<WordSession> session,
                                           std::weak_ptr<WordDocument> document,
                                           WordFieldContent content, FieldPlace place,
                                           int32_t storyType = platform::kWdMainTextStory);

  const WordFieldContent& Content() const { return content_; }
  FieldPlace Place() const { return place_; }
  bool IsDeleted() const { return deleted_; }
  // Removes the field from the document's text (its text range was overwritten).
  void MarkDeleted() { deleted_ = true; }
  // Change the code or the result without a call (what the field's ranges write).
  void WriteCode(std::u16string_view code) { content_.code = code; }
  void WriteResult(std::u16string_view result) { content_.result = result; }

  // --- platform::Field ---
  std::u16string TypeName() const override { return u"Field"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Type() override;
  std::shared_ptr<platform::Range> Code() override;
  std::shared_ptr<platform::Range> Result() override;
  platform::Flag Update() override;

 protected:
  bool Deleted() const override { return deleted_; }

 private:
  WordField(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
            WordFieldContent content, FieldPlace place);
  int32_t StoryOfField(int32_t storyType) const;

  WordFieldContent content_;
  FieldPlace place_;
  bool deleted_ = false;
  std::shared_ptr<WordRange> code_;
  std::shared_ptr<WordRange> result_;
};

class WordFields : public platform::Fields, public WordNode {
 public:
  WordFields(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document);

  void Append(std::shared_ptr<WordField> field) { items_.push_back(std::move(field)); }
  // Removes every field (their text was overwritten); the removed fields raise on use.
  void RemoveAll();
  const std::vector<std::shared_ptr<WordField>>& Items() const { return items_; }

  // --- platform::Fields ---
  std::u16string TypeName() const override { return u"Fields"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::shared_ptr<platform::Field> Item(int32_t index) override;

 private:
  std::vector<std::shared_ptr<WordField>> items_;
};

}  // namespace sendnote::inmemory
