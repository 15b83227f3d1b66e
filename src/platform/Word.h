// The Word object-model operations the system relies on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Flag.h"
#include "platform/Object.h"
#include "platform/Variant.h"

namespace sendnote::platform {

// The automation class name of Word's application object.
inline constexpr char16_t kWordClass[] = u"Word.Application";

inline constexpr int32_t kWdDialogFileNew = 79;
// Word's File Open dialog; after Display its Name setting holds the file chosen
// (https://learn.microsoft.com/en-us/office/vba/api/word.application.dialogs).
inline constexpr int32_t kWdDialogFileOpen = 80;
inline constexpr int32_t kWdFieldDocProperty = 85;
inline constexpr int32_t kWdDoNotSaveChanges = 0;
inline constexpr int32_t kWdNewDocument = 0;

// WdStoryType (https://learn.microsoft.com/office/vba/api/word.wdstorytype).
inline constexpr int32_t kWdMainTextStory = 1;
inline constexpr int32_t kWdFootnotesStory = 2;
inline constexpr int32_t kWdEndnotesStory = 3;
inline constexpr int32_t kWdCommentsStory = 4;
inline constexpr int32_t kWdTextFrameStory = 5;
inline constexpr int32_t kWdEvenPagesHeaderStory = 6;
inline constexpr int32_t kWdPrimaryHeaderStory = 7;
inline constexpr int32_t kWdEvenPagesFooterStory = 8;
inline constexpr int32_t kWdPrimaryFooterStory = 9;
inline constexpr int32_t kWdFirstPageHeaderStory = 10;
inline constexpr int32_t kWdFirstPageFooterStory = 11;

// The header and footer stories, which every section may have of its own: NextStoryRange
// goes from one section's to the next's (Range.NextStoryRange, Word VBA reference).
constexpr bool IsSectionStory(int32_t storyType) {
  return storyType >= kWdEvenPagesHeaderStory && storyType <= kWdFirstPageFooterStory;
}

// Word's error numbers, raised alike by every Word implementation.
// Word's error for a call on an object that has been deleted (a closed document, a
// deleted property, a field whose text was replaced).
inline constexpr int32_t kErrWordObjectDeleted = 5825;
// Word's error for an index or name that is not in a collection.
inline constexpr int32_t kErrWordNoSuchMember = 5941;
// Word's error for a file that cannot be found.
inline constexpr int32_t kErrWordFileNotFound = 5174;
// Word's error for a member that does not apply to the object (a shape without text).
inline constexpr int32_t kErrWordNotAvailable = 4605;
// Word's error for ActiveDocument while no document is open.
inline constexpr int32_t kErrWordNoDocument = 4248;

// Raises Word's error for an index or name that is not in a collection.
[[noreturn]] inline void RaiseNoSuchMember() {
  Raise(kErrWordNoSuchMember, u"The requested member of the collection does not exist.");
}

// Office document property types.
inline constexpr int32_t kPropertyNumber = 1;
inline constexpr int32_t kPropertyBoolean = 2;
inline constexpr int32_t kPropertyDate = 3;
inline constexpr int32_t kPropertyString = 4;
// "Properties of type msoPropertyTypeString cannot exceed 255 characters in length"
// (Document.CustomDocumentProperties, Word VBA reference).
inline constexpr size_t kMaxPropertyTextLength = 255;
inline constexpr int32_t kPropertyFloat = 5;

class Document;
class Documents;
class Dialogs;
class Fields;
class DocumentProperties;
class Shapes;
class StoryRanges;

class WordApplication : public Object {
 public:
  virtual Flag Visible() = 0;
  virtual void SetVisible(Flag visible) = 0;
  virtual void Activate() = 0;
  // Succeeds while Word answers.
  virtual std::u16string Caption() = 0;
  // 0 discards every open document. Any other value first saves the documents that were
  // saved before; a document never saved raises Invalid procedure call (5) and nothing
  // is closed.
  virtual void Quit(int32_t saveChanges) = 0;
  virtual std::shared_ptr<platform::Dialogs> Dialogs() = 0;
  virtual std::shared_ptr<platform::Documents> Documents() = 0;
  // The document with the focus: the one last made, opened or activated. Raises 4248
  // while no document is open.
  virtual std::shared_ptr<Document> ActiveDocument() = 0;
};

// A built-in Word dialog; the system uses the File New (79) and File Open (80) dialogs.
// Display only asks: it neither makes nor opens a document.
class Dialog : public Object {
 public:
  // Shows the dialog; -1 when the user confirmed it.
  virtual int32_t Display() = 0;
  // Settings read by name after Display; a dialog without the setting raises 438.
  // File New: the template chosen and whether a template is to be made.
  virtual std::u16string Template() = 0;
  virtual Variant NewTemplate() = 0;
  // File Open: the file chosen.
  virtual std::u16string Name() = 0;
};

class Dialogs : public Object {
 public:
  virtual std::shared_ptr<Dialog> Item(int32_t id) = 0;
};

class Document;

class Documents : public Object {
 public:
  // Add(Template, NewTemplate, DocumentType, Visible): the new document. An empty template
  // name gives a blank document, as Word bases it on Normal. Raises 5174 for a template
  // that cannot be found, 5981 for an unreadable one and 5 for a document type outside
  // 0..4; nothing is created then.
  virtual std::shared_ptr<Document> Add(std::u16string_view templateName, Flag newTemplate,
                                        int32_t documentType, Flag visible) = 0;
  virtual int32_t Count() = 0;
  // 1-based, in the order the documents were made or opened; raises 5941 out of range.
  virtual std::shared_ptr<Document> Item(int32_t index) = 0;
  // Open(FileName): opens a document file and makes it the active document; a file that
  // is open already gives that document again, as Revert left False does
  // (https://learn.microsoft.com/office/vba/api/word.documents.open). Raises 5174 for a
  // file that cannot be found and 5981 for one Word cannot read; nothing is opened then.
  virtual std::shared_ptr<Document> Open(std::u16string_view fileName) = 0;
};

// A range of text: a story, a field's code or result, or a text frame's text.
class Range : public Object {
 public:
  virtual std::u16string Text() = 0;
  virtual void SetText(std::u16string_view text) = 0;
  virtual std::shared_ptr<platform::Fields> Fields() = 0;
  // The WdStoryType of the story the range is in; a text box's text is in the text frame
  // story.
  virtual int32_t StoryType() = 0;
  // Of a story: the next section's story of the same header or footer type, the next text
  // box of the text frame story, or nullptr (Nothing) when there is none and for the main
  // text, footnotes, endnotes and comments. Nothing also for a field's code or result.
  virtual std::shared_ptr<Range> NextStoryRange() = 0;
  // The shapes anchored in the range, in document order; none in a field's code or result.
  virtual std::shared_ptr<platform::Shapes> ShapeRange() = 0;
};

class Field : public Object {
 public:
  virtual int32_t Type() = 0;
  virtual std::shared_ptr<Range> Code() = 0;
  virtual std::shared_ptr<Range> Result() = 0;
  // Updates the result: a DOCPROPERTY field shows its property's value as Word shows it,
  // or Word's unknown-property text; other fields keep their result. Returns True, as
  // Word does for a field it could update.
  virtual Flag Update() = 0;
};

// The fields of a story or range, in document order.
class Fields : public Object {
 public:
  virtual int32_t Count() = 0;
  // 1-based; raises 5941 out of range.
  virtual std::shared_ptr<Field> Item(int32_t index) = 0;
};

class TextFrame : public Object {
 public:
  // Raises for a shape that holds no text.
  virtual std::shared_ptr<Range> TextRange() = 0;
};

class Shape : public Object {
 public:
  // A group's frame holds no text: its TextRange raises 4605.
  virtual std::shared_ptr<platform::TextFrame> TextFrame() = 0;
  // The shapes of a group, in order; raises 4605 for a shape that is not a group.
  virtual std::shared_ptr<Shapes> GroupItems() = 0;
};

class Shapes : public Object {
 public:
  virtual int32_t Count() = 0;
  // 1-based, in document order; raises 5941 out of range.
  virtual std::shared_ptr<Shape> Item(int32_t index) = 0;
};

// The stories of a document: for each story type it has, the first story of that type
// (the first section's header, say), main text first.
class StoryRanges : public Object {
 public:
  virtual int32_t Count() = 0;
  // What For Each gives (_NewEnum): the stories in WdStoryType order.
  virtual std::vector<std::shared_ptr<Range>> Items() = 0;
};

class DocumentProperty : public Object {
 public:
  virtual std::u16string Name() = 0;
  virtual int32_t Type() = 0;
  // Converts the current value to the new type; raises Type mismatch (13), changing
  // nothing, when it cannot be converted, Invalid procedure call (5) for an unknown type.
  virtual void SetType(int32_t type) = 0;
  // A linked property's value follows its link source.
  virtual Variant Value() = 0;
  // The value is converted to the property's type: raises 13 when it cannot be, 5 for a
  // linked property (its value comes from the document's content) and for a text longer
  // than 255 characters.
  virtual void SetValue(const Variant& value) = 0;
  virtual Flag LinkToContent() = 0;
  virtual void Delete() = 0;
};

class DocumentProperties : public Object {
 public:
  virtual int32_t Count() = 0;
  // 1-based, in the enumeration order; raises Invalid procedure call (5) out of range.
  virtual std::shared_ptr<DocumentProperty> Item(int32_t index) = 0;
  // Names compare without regard to ASCII letter case; raises 5 when no property has
  // that name.
  virtual std::shared_ptr<DocumentProperty> Item(std::u16string_view name) = 0;
  // Raises 5 for an empty, over-long or taken name, a name with control characters, an
  // unknown type, a link to content (this contract cannot name the link source) or a text
  // value longer than 255 characters (Word's limit); 13 when the value does not convert.
  virtual std::shared_ptr<DocumentProperty> Add(std::u16string_view name, Flag linkToContent,
                                                int32_t type, const Variant& value) = 0;
};

class Document : public Object {
 public:
  virtual std::shared_ptr<DocumentProperties> CustomDocumentProperties() = 0;
  virtual void Activate() = 0;
  virtual std::shared_ptr<platform::Fields> Fields() = 0;
  // The shapes anchored in the main text (not those of headers and footers).
  virtual std::shared_ptr<platform::Shapes> Shapes() = 0;
  virtual std::shared_ptr<platform::StoryRanges> StoryRanges() = 0;
  // 0 closes without saving. Any other value saves first; a document never saved raises
  // Invalid procedure call (5) and stays open.
  virtual void Close(int32_t saveChanges) = 0;
  // Saves the document as the file `fileName`, which it is then saved under. Called by the
  // host that keeps the letter, never by the system. Raises file exists (58) for an existing
  // file unless `replace`, and path/file access (75) for no name or the document's template.
  virtual void SaveAs(std::u16string_view fileName, bool replace) = 0;
  // The file name without its folder, or Word's own name ("Document1") for a document
  // never saved; FullName is the file's whole path, or that name.
  virtual std::u16string Name() = 0;
  virtual std::u16string FullName() = 0;
};

}  // namespace sendnote::platform
