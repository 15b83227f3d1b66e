// Word's object model as automation objects: the application, its dialogs, documents,
// custom document properties, fields, ranges, shapes and text frames. The classes follow
// the contracts of platform/Word.h one for one.
#pragma once

#include <vector>

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

// Word's Application object.
class AutoWordApplication : public AutomationObject<platform::WordApplication, Host::kWord> {
 public:
  explicit AutoWordApplication(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Application") {}

  platform::Flag Visible() override;
  void SetVisible(platform::Flag visible) override;
  void Activate() override;
  std::u16string Caption() override;
  void Quit(int32_t saveChanges) override;
  std::shared_ptr<platform::Dialogs> Dialogs() override;
  std::shared_ptr<platform::Documents> Documents() override;
  std::shared_ptr<platform::Document> ActiveDocument() override;
};

// One of Word's built-in dialogs. Its settings (Template, NewTemplate, Name) are not members of
// Word's Dialog interface: each dialog answers them by name, late bound.
class AutoDialog : public AutomationObject<platform::Dialog, Host::kWord> {
 public:
  explicit AutoDialog(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Dialog") {}

  int32_t Display() override;
  std::u16string Template() override;
  platform::Variant NewTemplate() override;
  std::u16string Name() override;
};

// Word's built-in dialogs.
class AutoDialogs : public AutomationObject<platform::Dialogs, Host::kWord> {
 public:
  explicit AutoDialogs(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Dialogs") {}

  std::shared_ptr<platform::Dialog> Item(int32_t id) override;
};

// A Word document.
class AutoDocument : public AutomationObject<platform::Document, Host::kWord> {
 public:
  explicit AutoDocument(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Document") {}

  std::shared_ptr<platform::DocumentProperties> CustomDocumentProperties() override;
  void Activate() override;
  std::shared_ptr<platform::Fields> Fields() override;
  std::shared_ptr<platform::Shapes> Shapes() override;
  std::shared_ptr<platform::StoryRanges> StoryRanges() override;
  void Close(int32_t saveChanges) override;
  // Word itself replaces an existing file without asking: the refusals of an existing
  // file, of no name and of the document's own template are made here, before Word saves.
  void SaveAs(std::u16string_view fileName, bool replace) override;
  std::u16string Name() override;
  std::u16string FullName() override;
};

// Word's open documents.
class AutoDocuments : public AutoCollection<platform::Documents, Wrap<AutoDocument>, Host::kWord> {
 public:
  explicit AutoDocuments(ComPtr<IDispatch> object)
      : AutoCollection(std::move(object), u"Documents") {}

  std::shared_ptr<platform::Document> Add(std::u16string_view templateName,
                                          platform::Flag newTemplate, int32_t documentType,
                                          platform::Flag visible) override;
  // Open(FileName) with Word's defaults for the other arguments.
  std::shared_ptr<platform::Document> Open(std::u16string_view fileName) override;
};

// A range of Word text: a field's code or result, or a text frame's text.
class AutoRange : public AutomationObject<platform::Range, Host::kWord> {
 public:
  explicit AutoRange(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Range") {}

  std::u16string Text() override;
  void SetText(std::u16string_view text) override;
  std::shared_ptr<platform::Fields> Fields() override;
  int32_t StoryType() override;
  std::shared_ptr<platform::Range> NextStoryRange() override;
  std::shared_ptr<platform::Shapes> ShapeRange() override;
};

// A Word field.
class AutoField : public AutomationObject<platform::Field, Host::kWord> {
 public:
  explicit AutoField(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Field") {}

  int32_t Type() override;
  std::shared_ptr<platform::Range> Code() override;
  std::shared_ptr<platform::Range> Result() override;
  platform::Flag Update() override;
};

// The fields of a Word story or range.
class AutoFields : public AutoCollection<platform::Fields, Wrap<AutoField>, Host::kWord> {
 public:
  explicit AutoFields(ComPtr<IDispatch> object) : AutoCollection(std::move(object), u"Fields") {}
};

// The text frame of a Word shape.
class AutoTextFrame : public AutomationObject<platform::TextFrame, Host::kWord> {
 public:
  explicit AutoTextFrame(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"TextFrame") {}

  std::shared_ptr<platform::Range> TextRange() override;
};

// A Word shape.
class AutoShape : public AutomationObject<platform::Shape, Host::kWord> {
 public:
  explicit AutoShape(ComPtr<IDispatch> object) : AutomationObject(std::move(object), u"Shape") {}

  std::shared_ptr<platform::TextFrame> TextFrame() override;
  std::shared_ptr<platform::Shapes> GroupItems() override;
};

// The shapes of a Word document, text boxes among them.
class AutoShapes : public AutoCollection<platform::Shapes, Wrap<AutoShape>, Host::kWord> {
 public:
  explicit AutoShapes(ComPtr<IDispatch> object) : AutoCollection(std::move(object), u"Shapes") {}
};

// A document's stories; For Each over them is the enumerator of _NewEnum.
class AutoStoryRanges : public AutomationObject<platform::StoryRanges, Host::kWord> {
 public:
  explicit AutoStoryRanges(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"StoryRanges") {}

  int32_t Count() override;
  std::vector<std::shared_ptr<platform::Range>> Items() override;
};

// One custom document property: Office's DocumentProperty.
class AutoDocumentProperty : public AutomationObject<platform::DocumentProperty, Host::kWord> {
 public:
  explicit AutoDocumentProperty(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"DocumentProperty") {}

  std::u16string Name() override;
  int32_t Type() override;
  void SetType(int32_t type) override;
  platform::Variant Value() override;
  void SetValue(const platform::Variant& value) override;
  platform::Flag LinkToContent() override;
  void Delete() override;
};

// A document's custom properties: Office's DocumentProperties collection.
class AutoDocumentProperties
    : public AutoCollection<platform::DocumentProperties, Wrap<AutoDocumentProperty>, Host::kWord> {
 public:
  explicit AutoDocumentProperties(ComPtr<IDispatch> object)
      : AutoCollection(std::move(object), u"DocumentProperties") {}

  using AutoCollection::Item;
  std::shared_ptr<platform::DocumentProperty> Item(std::u16string_view name) override;
  // Add(Name, LinkToContent, Type, Value) with LinkSource left out; a link to content is
  // refused here (Invalid procedure call), as it would need that source.
  std::shared_ptr<platform::DocumentProperty> Add(std::u16string_view name,
                                                  platform::Flag linkToContent, int32_t type,
                                                  const platform::Variant& value) override;
};

}  // namespace sendnote::com
