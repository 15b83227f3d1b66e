#include "docx/Package.h"

#include <algorithm>

#include "docx/DocxErrors.h"
#include "docx/XmlNames.h"

namespace sendnote::docx {
namespace {

constexpr std::string_view kContentTypesPart = "/[Content_Types].xml";
constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

bool EqualsFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string ExtensionOf(std::string_view partName) {
  const size_t slash = partName.rfind('/');
  const size_t dot = partName.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return std::string(partName.substr(dot + 1));
}

std::string EntryName(std::string_view partName) {
  return std::string(partName.substr(partName.starts_with('/') ? 1 : 0));
}

}  // namespace

std::string RelationshipsPartName(std::string_view sourcePart) {
  if (sourcePart == "/" || sourcePart.empty()) return "/_rels/.rels";
  const size_t slash = sourcePart.rfind('/');
  return std::string(sourcePart.substr(0, slash + 1)) + "_rels/" +
         std::string(sourcePart.substr(slash + 1)) + ".rels";
}

std::optional<std::string> ResolvePartName(std::string_view sourcePart, std::string_view target) {
  std::string_view t = target.substr(0, target.find_first_of("#?"));
  if (t.empty()) return std::nullopt;
  std::string path;
  if (t.front() == '/') {
    path = std::string(t);
  } else {
    const size_t slash = sourcePart.rfind('/');
    path = std::string(sourcePart.substr(0, slash == std::string_view::npos ? 0 : slash + 1));
    if (path.empty() || path.front() != '/') path.insert(path.begin(), '/');
    path += t;
  }
  path = PercentDecoded(path);
  std::vector<std::string_view> segments;
  std::string_view rest(path);
  while (!rest.empty()) {
    const size_t slash = rest.find('/');
    const std::string_view segment = rest.substr(0, slash);
    if (segment == "..") {
      if (segments.empty()) return std::nullopt;  // climbs out of the package
      segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  if (segments.empty()) return std::nullopt;
  std::string out;
  for (std::string_view s : segments) out.append("/").append(s);
  return out;
}

Package::Package(std::shared_ptr<ZipArchive> archive) : archive_(std::move(archive)) {}

std::unique_ptr<Package> Package::Copy() const {
  std::unique_ptr<Package> copy(new Package(archive_));
  for (const auto& [key, part] : parts_) {
    auto& copied = copy->parts_[key] = part->Copy();
    if (part.get() == contentTypes_) copy->contentTypes_ = copied.get();
  }
  copy->newParts_ = newParts_;
  copy->xmlBytes_ = xmlBytes_;
  return copy;
}

std::unique_ptr<Package> Package::Open(std::shared_ptr<const std::string> bytes,
                                       const ZipLimits& limits) {
  return Open(ZipArchive::Open(std::move(bytes), limits));
}

std::unique_ptr<Package> Package::Open(std::unique_ptr<ZipArchive> archive) {
  std::unique_ptr<Package> package(new Package(std::move(archive)));
  if (!package->HasPart(kContentTypesPart)) RaiseBadPackage("no [Content_Types].xml");
  package->contentTypes_ = &package->Xml(kContentTypesPart);
  if (!NameOf(package->contentTypes_->Root()).Is(Ns::kCt, "Types")) {
    RaiseBadPackage("[Content_Types].xml is not a content types list");
  }
  if (!package->HasPart("/_rels/.rels")) RaiseBadPackage("no package relationships");
  package->Relationships("/");  // parses, so that a malformed one fails here
  return package;
}

std::optional<size_t> Package::EntryOf(std::string_view partName) const {
  const auto index = archive_->Find(EntryName(partName));
  if (!index || archive_->Entries()[*index].directory) return std::nullopt;
  return index;
}

bool Package::HasPart(std::string_view partName) const {
  return EntryOf(partName).has_value() || parts_.count(FoldCase(partName)) != 0;
}

std::string Package::ContentType(std::string_view partName) {
  const pugi::xml_node types = contentTypes_->Root();
  NsScope scope(types);
  for (pugi::xml_node e = types.first_child(); e; e = e.next_sibling()) {
    if (e.type() == pugi::node_element && scope.NameOf(e).Is(Ns::kCt, "Override") &&
        EqualsFolded(e.attribute("PartName").value(), partName)) {
      return e.attribute("ContentType").value();
    }
  }
  const std::string extension = ExtensionOf(partName);
  for (pugi::xml_node e = types.first_child(); e; e = e.next_sibling()) {
    if (e.type() == pugi::node_element && scope.NameOf(e).Is(Ns::kCt, "Default") &&
        EqualsFolded(e.attribute("Extension").value(), extension)) {
      return e.attribute("ContentType").value();
    }
  }
  return {};
}

void Package::SetContentType(std::string_view partName, std::string_view contentType) {
  pugi::xml_node types = contentTypes_->Root();
  NsScope scope(types);
  for (pugi::xml_node e = types.first_child(); e; e = e.next_sibling()) {
    if (e.type() == pugi::node_element && scope.NameOf(e).Is(Ns::kCt, "Override") &&
        EqualsFolded(e.attribute("PartName").value(), partName)) {
      if (std::string_view(e.attribute("ContentType").value()) != contentType) {
        e.attribute("ContentType").set_value(std::string(contentType).c_str());
        contentTypes_->MarkChanged();
      }
      return;
    }
  }
  const std::string prefix(SplitName(types.name()).first);
  pugi::xml_node o = types.append_child(Qualified(prefix, "Override").c_str());
  o.append_attribute("PartName").set_value(std::string(partName).c_str());
  o.append_attribute("ContentType").set_value(std::string(contentType).c_str());
  contentTypes_->MarkChanged();
}

XmlPart* Package::RelationshipsPart(std::string_view sourcePart, bool create) {
  const std::string name = RelationshipsPartName(sourcePart);
  if (HasPart(name)) return &Xml(name);
  if (!create) return nullptr;
  // .rels parts normally take their type from a Default entry; say it once otherwise.
  if (ContentType(name) != kTypeRelationships) SetContentType(name, kTypeRelationships);
  return &AddXmlPart(name, ContentType(name),
                     std::string(kXmlDeclaration) + "<Relationships xmlns=\"" +
                         std::string(UriOf(Ns::kRel)) + "\"></Relationships>");
}

std::vector<Relationship> Package::Relationships(std::string_view sourcePart) {
  std::vector<Relationship> out;
  XmlPart* part = RelationshipsPart(sourcePart, false);
  if (!part) return out;
  const pugi::xml_node root = part->Root();
  NsScope scope(root);
  if (!scope.NameOf(root).Is(Ns::kRel, "Relationships")) {
    RaiseBadPackage(part->Name() + " is not a relationships list");
  }
  for (pugi::xml_node e = root.first_child(); e; e = e.next_sibling()) {
    if (e.type() != pugi::node_element || !scope.NameOf(e).Is(Ns::kRel, "Relationship")) continue;
    Relationship rel;
    rel.id = e.attribute("Id").value();
    rel.type = e.attribute("Type").value();
    rel.target = e.attribute("Target").value();
    rel.external = std::string_view(e.attribute("TargetMode").value()) == "External";
    out.push_back(std::move(rel));
  }
  return out;
}

std::optional<Relationship> Package::FindRelationship(std::string_view sourcePart,
                                                      std::string_view type) {
  for (Relationship& rel : Relationships(sourcePart)) {
    if (rel.type == type) return std::move(rel);
  }
  return std::nullopt;
}

std::optional<std::string> Package::TargetPart(std::string_view sourcePart,
                                               const Relationship& rel) const {
  if (rel.external) return std::nullopt;
  return ResolvePartName(sourcePart == "/" ? "/" : sourcePart, rel.target);
}

std::string Package::AddRelationship(std::string_view sourcePart, std::string_view type,
                                     std::string_view target, bool external) {
  XmlPart& part = *RelationshipsPart(sourcePart, true);
  int highest = 0;
  for (const Relationship& rel : Relationships(sourcePart)) {
    if (rel.id.size() > 3 && rel.id.starts_with("rId") &&
        rel.id.find_first_not_of("0123456789", 3) == std::string::npos && rel.id.size() < 12) {
      highest = std::max(highest, std::stoi(rel.id.substr(3)));
    }
  }
  const std::string id = "rId" + std::to_string(highest + 1);
  pugi::xml_node root = part.Root();
  const std::string prefix(SplitName(root.name()).first);
  pugi::xml_node e = root.append_child(Qualified(prefix, "Relationship").c_str());
  e.append_attribute("Id").set_value(id.c_str());
  e.append_attribute("Type").set_value(std::string(type).c_str());
  e.append_attribute("Target").set_value(std::string(target).c_str());
  if (external) e.append_attribute("TargetMode").set_value("External");
  part.MarkChanged();
  return id;
}

void Package::SetRelationshipTarget(std::string_view sourcePart, std::string_view id,
                                    std::string_view target) {
  XmlPart* part = RelationshipsPart(sourcePart, false);
  if (!part) return;
  for (pugi::xml_node e = part->Root().first_child(); e; e = e.next_sibling()) {
    if (e.type() == pugi::node_element && id == e.attribute("Id").value()) {
      e.attribute("Target").set_value(std::string(target).c_str());
      part->MarkChanged();
      return;
    }
  }
}

XmlPart& Package::Xml(std::string_view partName) {
  const std::string key = FoldCase(partName);
  if (auto it = parts_.find(key); it != parts_.end()) return *it->second;
  const auto index = EntryOf(partName);
  if (!index) RaiseBadPackage("the part " + std::string(partName) + " is missing");
  xmlBytes_ += archive_->Entries()[*index].size;
  if (xmlBytes_ > archive_->Limits().maxXmlBytes) {
    RaiseBadPackage("the XML parts expand beyond the limit of " +
                    std::to_string(archive_->Limits().maxXmlBytes) + " bytes together (at " +
                    std::string(partName) + ")");
  }
  auto part = std::make_unique<XmlPart>(std::string(partName), archive_->Read(*index));
  XmlPart& ref = *part;
  parts_.emplace(key, std::move(part));
  return ref;
}

XmlPart& Package::AddXmlPart(std::string_view partName, std::string_view contentType,
                             std::string_view text) {
  auto part = std::make_unique<XmlPart>(std::string(partName), text);
  part->MarkChanged();
  XmlPart& ref = *part;
  const std::string key = FoldCase(partName);
  parts_[key] = std::move(part);
  newParts_.push_back(key);
  if (ContentType(partName) != contentType) SetContentType(partName, contentType);
  return ref;
}

ZipEdits Package::Edits() {
  ZipEdits edits;
  for (const auto& [key, part] : parts_) {
    if (!part->Changed()) continue;
    if (const auto index = EntryOf(part->Name())) edits.replaced[*index] = part->Serialize();
  }
  for (const std::string& key : newParts_) {
    const XmlPart& part = *parts_.at(key);
    if (!EntryOf(part.Name())) edits.added.emplace_back(EntryName(part.Name()), part.Serialize());
  }
  return edits;
}

std::string Package::Save() { return RewriteZip(*archive_, Edits()); }

void Package::SaveTo(int fd) { RewriteZipToDescriptor(*archive_, Edits(), fd); }

}  // namespace sendnote::docx
