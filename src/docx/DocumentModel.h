// The state of one document of the engine: its package, custom properties and main
// story, made from a template as Word makes a new document. The contract objects of a
// document share it; once the document is closed (or Word has quit) every call on them
// raises, and the package is released.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "docx/CustomProperties.h"
#include "docx/FileBatch.h"
#include "docx/Package.h"
#include "docx/Story.h"
#include "docx/Zip.h"
#include "platform/Object.h"

namespace sendnote::docx {

// What a document needs of its application: whether Word still runs, and the
// application object that "Application" gives.
class ApplicationLink {
 public:
  virtual ~ApplicationLink() = default;
  virtual bool Running() const = 0;
  virtual std::shared_ptr<platform::Object> ApplicationObject() = 0;
};

// Limits on what a template may be, against damaged and hostile files.
struct TemplateLimits {
  uint64_t maxFileBytes = 256ull << 20;
  ZipLimits zip;
};

// A template read once for many new documents: the open file, its directory and the parts
// every new document reads, parsed once; each document gets a copy of those parts, and all
// are made from the same bytes.
class OpenedTemplate {
 public:
  // Opens and reads the template; raises as DocumentModel::FromTemplate does.
  static std::unique_ptr<OpenedTemplate> Open(const std::filesystem::path& path,
                                              const TemplateLimits& limits);
  // The template's absolute path.
  const std::filesystem::path& Path() const { return path_; }

 private:
  friend class DocumentModel;
  OpenedTemplate() = default;
  std::filesystem::path path_;
  std::unique_ptr<Package> package_;  // as opened, never edited
};

class DocumentModel {
 public:
  // Makes a new document from a template (.dotx, .dotm, .docx, .docm): the main part
  // becomes a document (or stays a template when `newTemplate`), and the settings record
  // the attached template. An empty path makes a blank document. Raises Word's errors:
  // 5174 for a missing file, 5981 for a file that is not a usable Word package (a Word
  // 97-2003 file, an encrypted document, a damaged or hostile package), 75 when it
  // cannot be read. The template file is only read.
  // With `opened` (the template at templatePath, read before), the document is made from
  // its parts, and the file is not read again.
  static std::shared_ptr<DocumentModel> FromTemplate(const std::filesystem::path& templatePath,
                                                     bool newTemplate, const TemplateLimits& limits,
                                                     std::weak_ptr<ApplicationLink> app,
                                                     const OpenedTemplate* opened = nullptr);
  // Opens a document file (.docx, .docm; a template file stays a template) as it is, to
  // be saved back under its name: SavedPath is that file. Raises as FromTemplate does.
  static std::shared_ptr<DocumentModel> FromDocument(const std::filesystem::path& path,
                                                     const TemplateLimits& limits,
                                                     std::weak_ptr<ApplicationLink> app);

  // Raises "disconnected" when Word has gone away and "Object has been deleted." (5825)
  // when the document is closed.
  void CheckOpen() const;
  // The application object, after CheckOpen.
  std::shared_ptr<platform::Object> Application() const;
  bool Closed() const { return closed_; }
  // Releases the package; every later call raises.
  void Close();

  Package& GetPackage() { return *package_; }
  CustomProperties& Properties() { return *properties_; }
  Story& Main() { return *main_; }
  // The stories in parts of their own (headers and footers of each section, footnotes,
  // endnotes, comments) in WdStoryType order, a header or footer type in section order.
  // Made on first use.
  const std::vector<std::unique_ptr<Story>>& PartStories();

  const std::filesystem::path& TemplatePath() const { return templatePath_; }
  std::string MainPartName() const { return mainPart_; }
  // The main part's content type (a document or template type).
  std::string MainContentType() { return package_->ContentType(mainPart_); }
  // The file extension that fits the document's type: ".docx", ".docm", ".dotx", ".dotm".
  std::string Extension();

  // Returns the package's bytes as they are now.
  std::string Bytes() { return package_->Save(); }
  // Saves to `path` atomically. Refuses the template's own file, an existing file unless
  // `overwrite`, and an extension of another Word type than the document's (Word would
  // not open that file). Remembers the path. With `batch`, the file is written into it and
  // takes its name when the batch is committed.
  void SaveAs(const std::filesystem::path& path, bool overwrite, FileBatch* batch = nullptr);
  const std::optional<std::filesystem::path>& SavedPath() const { return savedPath_; }

  // Updates a field of a story: a DOCPROPERTY field shows its property's current value
  // (or Word's error text when there is no such property); other fields keep their result.
  void UpdateField(Story& story, FieldState& field);

 private:
  DocumentModel() = default;
  // A new document from the template at `path` (or from `opened`, read before), or with
  // `asDocument` the document file at `path` itself, unchanged.
  static std::shared_ptr<DocumentModel> Read(const std::filesystem::path& path, bool asDocument,
                                             bool newTemplate, const TemplateLimits& limits,
                                             std::weak_ptr<ApplicationLink> app,
                                             const OpenedTemplate* opened);
  void AttachTemplate(const std::filesystem::path& templatePath);

  std::weak_ptr<ApplicationLink> app_;
  std::unique_ptr<Package> package_;
  std::unique_ptr<CustomProperties> properties_;
  std::unique_ptr<Story> main_;
  std::vector<std::unique_ptr<Story>> partStories_;
  bool partStoriesRead_ = false;
  std::string mainPart_;
  std::filesystem::path templatePath_;
  std::optional<std::filesystem::path> savedPath_;
  bool closed_ = false;
};

}  // namespace sendnote::docx
