// What the Word contract tests need of a Word implementation: an application and a way
// to make a template from a neutral description. Every implementation of the Word
// contract (in memory, over .docx files, automation) provides one and instantiates the
// suite in WordContractTests.h.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Variant.h"
#include "platform/Word.h"

namespace sendnote::testing {

// One field: its code (for example ` DOCPROPERTY "OUTLOOK$会社名" \* MERGEFORMAT `) and
// the result it shows before any update.
struct FieldOutline {
  std::u16string code;
  std::u16string result;
  bool boldResult = false;
};

struct PropertyOutline {
  std::u16string name;
  int32_t type = platform::kPropertyString;
  platform::Variant value;
  bool linkedToContent = false;  // linked properties keep their link target
};

// A text box: its fields, one paragraph each.
using TextBoxOutline = std::vector<FieldOutline>;

// The stories besides the main text that every Word can hold: the primary header and
// footer, a second section's own primary header, footnotes (one field each).
struct StoriesOutline {
  std::vector<FieldOutline> headerFields;
  std::vector<TextBoxOutline> headerTextBoxes;
  std::vector<FieldOutline> footerFields;
  std::vector<FieldOutline> secondHeaderFields;  // none: one section
  std::vector<FieldOutline> footnotes;
  bool Empty() const {
    return headerFields.empty() && headerTextBoxes.empty() && footerFields.empty() &&
           secondHeaderFields.empty() && footnotes.empty();
  }
};

// A template's content. Fields appear in document order: the body's paragraphs first,
// then the cells of one table. Shapes: the text boxes in order, then the shapes that
// hold no text (pictures), then the groups of text boxes.
struct TemplateOutline {
  std::vector<FieldOutline> bodyFields;
  std::vector<FieldOutline> tableFields;
  std::vector<TextBoxOutline> textBoxes;
  int picturesWithoutText = 0;
  std::vector<std::vector<TextBoxOutline>> groups;
  StoriesOutline stories;
  std::vector<PropertyOutline> properties;
};

class WordContractFixture {
 public:
  virtual ~WordContractFixture() = default;
  // A Word application with no documents open.
  virtual std::shared_ptr<platform::WordApplication> Application() = 0;
  // Makes a template holding the outline; returns the name to pass to Documents.Add.
  virtual std::u16string MakeTemplate(const TemplateOutline& outline) = 0;
  // A template name that Documents.Add must refuse (missing or unreadable).
  virtual std::u16string BrokenTemplateName() = 0;
  // Makes a document file holding the outline; returns the name to pass to Documents.Open.
  virtual std::u16string MakeDocumentFile(const TemplateOutline& outline) = 0;
  // A document file that exists but that Documents.Open must refuse.
  virtual std::u16string BrokenDocumentName() = 0;
  // The user's next answer to the File Open dialog: the file chosen, or empty for Cancel.
  virtual void AnswerFileOpen(std::u16string_view fileName) = 0;
  // Checks after each test, once the suite has dropped its own references (objects an
  // implementation must have released by then, for example).
  virtual void TearDown() {}
};

using WordFixtureFactory = std::function<std::unique_ptr<WordContractFixture>()>;

}  // namespace sendnote::testing
