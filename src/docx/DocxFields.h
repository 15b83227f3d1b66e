// The engine's fields and ranges: the fields of a story (a document's main text, a header,
// footer, notes or comments part, or a text box's text), a field's code and result, and a
// story's whole text.
#pragma once

#include <memory>

#include "docx/DocxObject.h"
#include "docx/Story.h"
#include "platform/Word.h"

namespace sendnote::docx {

class DocxFields : public platform::Fields, private DocxObject {
 public:
  // The fields of `story`, or only those nested in `within`'s code or result.
  DocxFields(std::shared_ptr<DocumentModel> model, Story* story, FieldState* within = nullptr,
             bool inResult = false);

  std::u16string TypeName() const override { return u"Fields"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::shared_ptr<platform::Field> Item(int32_t index) override;

 private:
  // The fields now; valid until the next call.
  const std::vector<FieldState*>& Current() const;

  Story* story_;
  FieldState* within_;
  bool inResult_;
  mutable std::vector<FieldState*> nested_;  // the nested fields of the last call
};

class DocxField : public platform::Field, private DocxObject {
 public:
  DocxField(std::shared_ptr<DocumentModel> model, Story* story, FieldState* field);

  std::u16string TypeName() const override { return u"Field"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Type() override;
  std::shared_ptr<platform::Range> Code() override;
  std::shared_ptr<platform::Range> Result() override;
  platform::Flag Update() override;

 private:
  FieldState& Live() const;

  Story* story_;
  FieldState* field_;
};

class DocxRange : public platform::Range, private DocxObject {
 public:
  enum class Kind { kCode, kResult, kStory };
  DocxRange(std::shared_ptr<DocumentModel> model, Story* story, FieldState* field, Kind kind);

  std::u16string TypeName() const override { return u"Range"; }
  std::shared_ptr<platform::Object> Application() override;
  std::u16string Text() override;
  // A code keeps its runs (the new text goes into the first instruction); a result
  // becomes one run in the format of its first run; a text box's text becomes one
  // paragraph per carriage return. Fields inside replaced text are gone afterwards.
  void SetText(std::u16string_view text) override;
  std::shared_ptr<platform::Fields> Fields() override;
  int32_t StoryType() override;
  std::shared_ptr<platform::Range> NextStoryRange() override;
  std::shared_ptr<platform::Shapes> ShapeRange() override;

 private:
  void Check() const;

  Story* story_;
  FieldState* field_;
  Kind kind_;
};

// The document's stories: the main text, its first text box (the text frame story), and
// the first story of each type in parts of their own.
class DocxStoryRanges : public platform::StoryRanges, private DocxObject {
 public:
  explicit DocxStoryRanges(std::shared_ptr<DocumentModel> model);

  std::u16string TypeName() const override { return u"StoryRanges"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::vector<std::shared_ptr<platform::Range>> Items() override;
};

}  // namespace sendnote::docx
