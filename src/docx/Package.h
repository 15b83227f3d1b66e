// An Open Packaging Conventions package over the zip layer: content types,
// relationships and XML parts, found through [Content_Types].xml and the relationships
// rather than fixed paths. Parts that are never edited keep their stored bytes.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "docx/XmlPart.h"
#include "docx/Zip.h"

namespace sendnote::docx {

// Relationship types this engine follows.
inline constexpr std::string_view kRelOfficeDocument =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
inline constexpr std::string_view kRelCustomProperties =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/custom-properties";
inline constexpr std::string_view kRelSettings =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings";
inline constexpr std::string_view kRelAttachedTemplate =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/attachedTemplate";

inline constexpr std::string_view kTypeRelationships =
    "application/vnd.openxmlformats-package.relationships+xml";
inline constexpr std::string_view kTypeCustomProperties =
    "application/vnd.openxmlformats-officedocument.custom-properties+xml";
inline constexpr std::string_view kTypeSettings =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml";

struct Relationship {
  std::string id;
  std::string type;
  std::string target;  // as written
  bool external = false;
};

class Package {
 public:
  // Reads the package held in `bytes`: the zip archive within `limits`, its content
  // types and package relationships. Raises the bad-package error when they are missing
  // or malformed.
  static std::unique_ptr<Package> Open(std::shared_ptr<const std::string> bytes,
                                       const ZipLimits& limits = {});
  // The same over an archive already open (in memory or in a file).
  static std::unique_ptr<Package> Open(std::unique_ptr<ZipArchive> archive);
  // A package of its own over the same archive: the parts read so far are copied as they
  // are now, edits included; the archive is shared (read only), not read again.
  std::unique_ptr<Package> Copy() const;

  // Part names are absolute: "/word/document.xml".
  bool HasPart(std::string_view partName) const;
  // Returns the part's content type, or empty if it has none.
  std::string ContentType(std::string_view partName);
  // Gives the part its own content type (an Override entry).
  void SetContentType(std::string_view partName, std::string_view contentType);

  // The relationships of a part ("/" for the package itself), in stored order.
  std::vector<Relationship> Relationships(std::string_view sourcePart);
  // Returns the first relationship of that type, or empty.
  std::optional<Relationship> FindRelationship(std::string_view sourcePart, std::string_view type);
  // Returns the part an internal relationship points to, or empty when it leaves the
  // package or is external.
  std::optional<std::string> TargetPart(std::string_view sourcePart, const Relationship& rel) const;
  // Adds a relationship with a new id; returns the id.
  std::string AddRelationship(std::string_view sourcePart, std::string_view type,
                              std::string_view target, bool external);
  void SetRelationshipTarget(std::string_view sourcePart, std::string_view id,
                             std::string_view target);

  // Returns the parsed part, reading it on first use; raises the bad-package error when
  // the part is missing or malformed.
  XmlPart& Xml(std::string_view partName);
  // Adds a new XML part with its content type.
  XmlPart& AddXmlPart(std::string_view partName, std::string_view contentType,
                      std::string_view text);

  // Returns the package's bytes with every edited part written again.
  std::string Save();
  // Writes the same into the open file `fd`.
  void SaveTo(int fd);

  const ZipArchive& Archive() const { return *archive_; }

 private:
  explicit Package(std::shared_ptr<ZipArchive> archive);
  std::optional<size_t> EntryOf(std::string_view partName) const;
  ZipEdits Edits();
  // The relationships part of a source part, created (empty) when `create`.
  XmlPart* RelationshipsPart(std::string_view sourcePart, bool create);

  std::shared_ptr<ZipArchive> archive_;
  XmlPart* contentTypes_ = nullptr;
  std::map<std::string, std::unique_ptr<XmlPart>, std::less<>> parts_;  // key: folded name
  std::vector<std::string> newParts_;                                   // folded, in order
  uint64_t xmlBytes_ = 0;  // expanded size of the parts read into memory
};

// Returns the relationships part name of a source part ("/" for the package).
std::string RelationshipsPartName(std::string_view sourcePart);
// Resolves a relative reference against a part name; empty when it climbs out.
std::optional<std::string> ResolvePartName(std::string_view sourcePart, std::string_view target);

}  // namespace sendnote::docx
