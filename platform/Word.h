// The Word object-model operations the system relies on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Flag.h"
#include "platform/Object.h"
#include "platform/Variant.h"

namespace sendnote::platform {

inline constexpr int32_t kWdDialogFileNew = 79;
inline constexpr int32_t kWdFieldDocProperty = 85;
inline constexpr int32_t kWdDoNotSaveChanges = 0;
inline constexpr int32_t kWdNewDocument = 0;

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

// Raises Word's error for an index or name that is not in a collection.
[[noreturn]] inline void RaiseNoSuchMember() {
  Raise(kErrWordNoSuchMember, u"The requested member of the collection does not exist.");
}

// Office document property types.
inline constexpr int32_t kPropertyNumber = 1;
inline constexpr int32_t kPropertyBoolean = 2;
inline constexpr int32_t kPropertyDate = 3;
inline constexpr int32_t kPropertyString = 4;
inline constexpr int32_t kPropertyFloat = 5;

class Documents;
class Dialogs;
class Fields;
class DocumentProperties;
class Shapes;

class WordApplication : public Object {
 public:
  virtual Flag Visible() = 0;
  virtual void SetVisible(Flag visible) = 0;
  virtual void Activate() = 0;
  // Succeeds while Word answers.
  virtual std::u16string Caption() = 0;
  virtual void Quit(int32_t saveChanges) = 0;
  virtual std::shared_ptr<platform::Dialogs> Dialogs() = 0;
  virtual std::shared_ptr<platform::Documents> Documents() = 0;
};

// A built-in Word dialog; the system uses the File New dialog (79).
class Dialog : public Object {
 public:
  // Shows the dialog; -1 when the user confirmed it.
  virtual int32_t Display() = 0;
  // Settings read by name after Display.
  virtual std::u16string Template() = 0;
  virtual Variant NewTemplate() = 0;
};

class Dialogs : public Object {
 public:
  virtual std::shared_ptr<Dialog> Item(int32_t id) = 0;
};

class Document;

class Documents : public Object {
 public:
  // Add(Template, NewTemplate, DocumentType, Visible): the new document, or raises.
  virtual std::shared_ptr<Document> Add(std::u16string_view templateName, Flag newTemplate,
                                        int32_t documentType, Flag visible) = 0;
  virtual int32_t Count() = 0;
  virtual std::shared_ptr<Document> Item(int32_t index) = 0;  // 1-based
};

// A range of text: a field's code or result, or a text frame's text.
class Range : public Object {
 public:
  virtual std::u16string Text() = 0;
  virtual void SetText(std::u16string_view text) = 0;
  virtual std::shared_ptr<platform::Fields> Fields() = 0;
};

class Field : public Object {
 public:
  virtual int32_t Type() = 0;
  virtual std::shared_ptr<Range> Code() = 0;
  virtual std::shared_ptr<Range> Result() = 0;
  // Updates the result; Word's own return value is passed through.
  virtual Flag Update() = 0;
};

// The fields of a story or range, in document order.
class Fields : public Object {
 public:
  virtual int32_t Count() = 0;
  virtual std::shared_ptr<Field> Item(int32_t index) = 0;  // 1-based
};

class TextFrame : public Object {
 public:
  // Raises for a shape that holds no text.
  virtual std::shared_ptr<Range> TextRange() = 0;
};

class Shape : public Object {
 public:
  virtual std::shared_ptr<platform::TextFrame> TextFrame() = 0;
};

class Shapes : public Object {
 public:
  virtual int32_t Count() = 0;
  virtual std::shared_ptr<Shape> Item(int32_t index) = 0;  // 1-based
};

class DocumentProperty : public Object {
 public:
  virtual std::u16string Name() = 0;
  virtual int32_t Type() = 0;
  // Changing the type converts the value.
  virtual void SetType(int32_t type) = 0;
  virtual Variant Value() = 0;
  // The value is converted to the property's type; raises when it cannot be.
  virtual void SetValue(const Variant& value) = 0;
  virtual Flag LinkToContent() = 0;
  virtual void Delete() = 0;
};

class DocumentProperties : public Object {
 public:
  virtual int32_t Count() = 0;
  // 1-based; the enumeration order.
  virtual std::shared_ptr<DocumentProperty> Item(int32_t index) = 0;
  // Raises when no property has that name.
  virtual std::shared_ptr<DocumentProperty> Item(std::u16string_view name) = 0;
  virtual std::shared_ptr<DocumentProperty> Add(std::u16string_view name, Flag linkToContent,
                                                int32_t type, const Variant& value) = 0;
};

class Document : public Object {
 public:
  virtual std::shared_ptr<DocumentProperties> CustomDocumentProperties() = 0;
  virtual void Activate() = 0;
  virtual std::shared_ptr<platform::Fields> Fields() = 0;
  virtual std::shared_ptr<platform::Shapes> Shapes() = 0;
  virtual void Close(int32_t saveChanges) = 0;
};

}  // namespace sendnote::platform
