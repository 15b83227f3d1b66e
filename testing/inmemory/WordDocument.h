// An in-memory Word document made from a template: its custom properties, the fields of
// its main text, its shapes and its other stories. After Close the document and everything reached
// from it raise "Object has been deleted." (5825).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inmemory/WordContent.h"
#include "inmemory/WordNode.h"
#include "platform/Word.h"

namespace sendnote::inmemory {

class WordFields;
class WordProperties;
class WordShapes;
class WordStoryRange;
class WordStoryRanges;

class WordDocument : public platform::Document,
                     public WordNode,
                     public std::enable_shared_from_this<WordDocument> {
 public:
  // What Documents.Add was given.
  struct AddArguments {
    std::u16string templateName;
    platform::Flag newTemplate = platform::kFalse;
    int32_t documentType = platform::kWdNewDocument;
    platform::Flag visible = platform::kTrue;
  };

  static std::shared_ptr<WordDocument> Create(std::weak_ptr<WordSession> session,
                                              const WordContent& content, AddArguments arguments);

  // --- Test-facing: never counted, never fail ---
  const AddArguments& Arguments() const { return arguments_; }
  bool IsClosed() const { return closed_; }
  // The argument of Close (meaningful once IsClosed).
  int32_t CloseSaveChanges() const { return closeSaveChanges_; }
  int ActivateCount() const { return activateCount_; }
  // The document's current content, also after Close.
  WordContent Snapshot() const;
  // The typed collections, for fault injection on their members.
  const std::shared_ptr<WordProperties>& PropertiesObject() const { return properties_; }
  const std::shared_ptr<WordFields>& FieldsObject() const { return fields_; }
  const std::shared_ptr<WordShapes>& ShapesObject() const { return shapes_; }
  // The stories besides the main text, in the order of the content they were made from.
  const std::vector<std::shared_ptr<WordStoryRange>>& StoryObjects() const { return stories_; }

  // The text of a bookmark, or empty if the document has none of that name.
  std::u16string BookmarkText(std::u16string_view name) const;
  bool HasBookmark(std::u16string_view name) const;
  // Marks the document closed without a call (Word quitting).
  void MarkClosed(int32_t saveChanges);
  // The file the document is kept in (Documents.Open, SaveAs); Name is its last part.
  void SetFullName(std::u16string fullName);
  const std::u16string& FileName() const { return fullName_; }

  // --- platform::Document ---
  std::u16string TypeName() const override { return u"Document"; }
  std::shared_ptr<platform::Object> Application() override;
  std::shared_ptr<platform::DocumentProperties> CustomDocumentProperties() override;
  void Activate() override;
  std::shared_ptr<platform::Fields> Fields() override;
  std::shared_ptr<platform::Shapes> Shapes() override;
  std::shared_ptr<platform::StoryRanges> StoryRanges() override;
  void Close(int32_t saveChanges) override;
  // Keeps the content under the name in the session's files.
  void SaveAs(std::u16string_view fileName, bool replace) override;
  std::u16string Name() override;
  std::u16string FullName() override;

 protected:
  bool Deleted() const override { return closed_; }

 private:
  WordDocument(std::weak_ptr<WordSession> session, AddArguments arguments);
  void LinkStories(const WordContent& content);

  AddArguments arguments_;
  bool closed_ = false;
  int32_t closeSaveChanges_ = 0;
  int activateCount_ = 0;
  std::u16string name_;
  std::u16string fullName_;
  std::map<std::u16string, std::u16string> bookmarks_;
  std::shared_ptr<WordProperties> properties_;
  std::shared_ptr<WordFields> fields_;
  std::shared_ptr<WordShapes> shapes_;
  std::vector<std::shared_ptr<WordStoryRange>> stories_;
  std::shared_ptr<WordStoryRange> main_;
  std::shared_ptr<WordStoryRanges> storyRanges_;
};

}  // namespace sendnote::inmemory
