#include "docx/DocumentModel.h"
#include "platform/Word.h"

#include <unistd.h>

#include <array>
#include <functional>

#include "docx/BlankDocument.h"
#include "docx/DocxErrors.h"
#include "docx/FileBatch.h"
#include "docx/FileIo.h"
#include "docx/NewDocumentStamp.h"
#include "docx/StoryParts.h"
#include "docx/XmlNames.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "wordrules/FieldFormat.h"
#include "wordrules/WordFieldCode.h"
#include "wordrules/WordValue.h"

namespace sendnote::docx {
namespace {

constexpr std::string_view kStrictOfficeDocument =
    "http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument";

struct MainType {
  std::string_view contentType;
  bool macros;
  bool isTemplate;
  std::string_view extension;
};
constexpr std::array<MainType, 4> kMainTypes{{
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml", false,
     false, ".docx"},
    {"application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml", false,
     true, ".dotx"},
    {"application/vnd.ms-word.document.macroEnabled.main+xml", true, false, ".docm"},
    {"application/vnd.ms-word.template.macroEnabledTemplate.main+xml", true, true, ".dotm"},
}};

const MainType* FindMainType(std::string_view contentType) {
  for (const MainType& t : kMainTypes) {
    if (FoldCase(t.contentType) == FoldCase(contentType)) return &t;
  }
  return nullptr;
}

const MainType& TypeFor(bool macros, bool isTemplate) {
  for (const MainType& t : kMainTypes) {
    if (t.macros == macros && t.isTemplate == isTemplate) return t;
  }
  return kMainTypes[0];
}

// A compound file (Word 97-2003, or an encrypted Office document) is not a package. `start`
// is the file's first bytes; `whole` reads all of it, to tell the two apart.
void RefuseCompoundFile(std::string_view start, const std::function<std::string()>& whole) {
  static constexpr std::string_view kMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  if (!start.starts_with(kMagic)) return;
  const std::string bytes = whole();
  static constexpr std::u16string_view kEncrypted = u"EncryptedPackage";
  const std::string_view marker(reinterpret_cast<const char*>(kEncrypted.data()),
                                kEncrypted.size() * sizeof(char16_t));
  if (bytes.find(marker) != std::string_view::npos) RaiseBadPackage("the document is encrypted");
  RaiseBadPackage("a Word 97-2003 file (.doc or .dot), which this program cannot read");
}

std::string FileUri(const std::filesystem::path& path) {
  static constexpr std::string_view kHex = "0123456789ABCDEF";
  std::string uri = "file://";
  for (unsigned char c : path.generic_string()) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
        std::string_view("-._~/:").find(static_cast<char>(c)) != std::string_view::npos) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 0xF];
    }
  }
  return uri;
}

// The settings elements that come before attachedTemplate in their fixed order.
constexpr std::array<std::string_view, 24> kBeforeAttachedTemplate{"writeProtection",
                                                                   "view",
                                                                   "zoom",
                                                                   "removePersonalInformation",
                                                                   "removeDateAndTime",
                                                                   "doNotDisplayPageBoundaries",
                                                                   "displayBackgroundShape",
                                                                   "printPostScriptOverText",
                                                                   "printFractionalCharacterWidth",
                                                                   "printFormsData",
                                                                   "embedTrueTypeFonts",
                                                                   "embedSystemFonts",
                                                                   "saveSubsetFonts",
                                                                   "saveFormsData",
                                                                   "mirrorMargins",
                                                                   "alignBordersAndEdges",
                                                                   "bordersDoNotSurroundHeader",
                                                                   "bordersDoNotSurroundFooter",
                                                                   "gutterAtTop",
                                                                   "hideSpellingErrors",
                                                                   "hideGrammaticalErrors",
                                                                   "activeWritingStyle",
                                                                   "proofState",
                                                                   "formsDesign"};

std::string DirectoryOf(std::string_view partName) {
  return std::string(partName.substr(0, partName.rfind('/') + 1));
}

// Opens the template file's package, read in place: only the parts edited are read into
// memory; the rest is copied from the file when a document is saved.
std::unique_ptr<Package> OpenTemplatePackage(const std::filesystem::path& templatePath,
                                             const TemplateLimits& limits) {
  fileio::Descriptor file = OpenFileToRead(templatePath, limits.maxFileBytes);
  char magic[8] = {};
  if (::pread(file.get(), magic, sizeof magic, 0) == static_cast<ssize_t>(sizeof magic)) {
    RefuseCompoundFile(std::string_view(magic, sizeof magic),
                       [&] { return ReadWholeFile(templatePath, limits.maxFileBytes); });
  }
  return Package::Open(ZipArchive::Open(std::move(file), limits.zip));
}

// The name of the package's main part; raises when it has none.
std::string MainPartOf(Package& package) {
  auto rel = package.FindRelationship("/", kRelOfficeDocument);
  if (!rel) rel = package.FindRelationship("/", kStrictOfficeDocument);
  if (!rel) RaiseBadPackage("no main document part");
  const auto mainPart = package.TargetPart("/", *rel);
  if (!mainPart || !package.HasPart(*mainPart))
    RaiseBadPackage("the main document part is missing");
  return *mainPart;
}

// Parses every part a new document reads (where the package has it), so that copies of the
// package need not: the main part and its relationships, settings, the property parts and
// the story parts.
void ReadPartsOfNewDocuments(Package& package) {
  const std::string main = MainPartOf(package);
  package.Xml(main);
  if (const auto rel = package.FindRelationship(main, kRelSettings)) {
    if (const auto target = package.TargetPart(main, *rel); target && package.HasPart(*target)) {
      package.Xml(*target);
    }
  }
  for (const Relationship& rel : package.Relationships("/")) {
    const bool properties = rel.type == kRelCustomProperties ||
                            rel.type.ends_with("/metadata/core-properties") ||
                            rel.type.ends_with("/extended-properties");
    if (const auto target = package.TargetPart("/", rel);
        properties && target && package.HasPart(*target)) {
      package.Xml(*target);
    }
  }
  for (const StoryPart& story : StoryParts::PartNames(package, main)) package.Xml(story.part);
}

}  // namespace

std::unique_ptr<OpenedTemplate> OpenedTemplate::Open(const std::filesystem::path& path,
                                                     const TemplateLimits& limits) {
  std::unique_ptr<OpenedTemplate> opened(new OpenedTemplate());
  opened->package_ = OpenTemplatePackage(path, limits);
  opened->path_ = AbsolutePath(path);
  ReadPartsOfNewDocuments(*opened->package_);
  return opened;
}

std::shared_ptr<DocumentModel> DocumentModel::FromTemplate(
    const std::filesystem::path& templatePath, bool newTemplate, const TemplateLimits& limits,
    std::weak_ptr<ApplicationLink> app, const OpenedTemplate* opened) {
  return Read(templatePath, false, newTemplate, limits, std::move(app), opened);
}

std::shared_ptr<DocumentModel> DocumentModel::FromDocument(const std::filesystem::path& path,
                                                           const TemplateLimits& limits,
                                                           std::weak_ptr<ApplicationLink> app) {
  if (path.empty()) {
    platform::Raise(platform::kErrWordFileNotFound, u"This file could not be found.");
  }
  return Read(path, true, false, limits, std::move(app), nullptr);
}

std::shared_ptr<DocumentModel> DocumentModel::Read(const std::filesystem::path& templatePath,
                                                   bool asDocument, bool newTemplate,
                                                   const TemplateLimits& limits,
                                                   std::weak_ptr<ApplicationLink> app,
                                                   const OpenedTemplate* opened) {
  std::shared_ptr<DocumentModel> model(new DocumentModel());
  model->app_ = std::move(app);
  if (templatePath.empty()) {
    model->package_ =
        Package::Open(std::make_shared<std::string>(BlankDocumentPackage()), limits.zip);
  } else if (opened) {
    model->templatePath_ = opened->path_;
    model->package_ = opened->package_->Copy();
  } else {
    model->package_ = OpenTemplatePackage(templatePath, limits);
    model->templatePath_ = AbsolutePath(templatePath);
  }
  Package& package = *model->package_;

  const std::string mainPart = MainPartOf(package);
  model->mainPart_ = mainPart;
  const MainType* type = FindMainType(package.ContentType(mainPart));
  if (!type) {
    RaiseBadPackage("the main part is not a Word document (" + package.ContentType(mainPart) + ")");
  }
  XmlPart& document = package.Xml(mainPart);
  if (!NameOf(document.Root()).Is(Ns::kW, "document")) {
    RaiseBadPackage("the main part holds no Word document");
  }
  const pugi::xml_node body = FirstChildNamed(document.Root(), Ns::kW, "body");
  if (!body) RaiseBadPackage("the main part has no body");
  package.Relationships(mainPart);  // parsed now, so that a damaged one fails here

  if (asDocument) {
    // Kept under its own name, not made from a template.
    model->savedPath_ = model->templatePath_;
    model->templatePath_.clear();
  } else if (const MainType& newType = TypeFor(type->macros, newTemplate); &newType != type) {
    package.SetContentType(mainPart, newType.contentType);
  }
  if (!templatePath.empty() && !asDocument) {
    model->AttachTemplate(model->templatePath_);
    // The property parts are edited for the letter: held to the rules of every part read.
    NewDocumentStamp::Apply(package, model->templatePath_.filename().string(),
                            NewDocumentStamp::CurrentUser(), NewDocumentStamp::Now());
  }

  DocumentModel* self = model.get();
  model->properties_ = std::make_unique<CustomProperties>(
      package, [self](std::u16string_view name) { return self->main_->BookmarkText(name); });
  model->main_ = std::make_unique<Story>(document, body, pugi::xml_node(), true);
  // Every header, footer, note and comment part is a story of the letter: one that breaks
  // the rules refuses the template now, rather than when its fields are refreshed.
  for (const StoryPart& story : StoryParts::PartNames(package, model->mainPart_)) {
    package.Xml(story.part);
  }
  return model;
}

void DocumentModel::AttachTemplate(const std::filesystem::path& templatePath) {
  Package& package = *package_;
  std::string settingsName;
  if (auto rel = package.FindRelationship(mainPart_, kRelSettings)) {
    const auto target = package.TargetPart(mainPart_, *rel);
    if (!target || !package.HasPart(*target)) RaiseBadPackage("the settings part is missing");
    settingsName = *target;
  } else {
    const std::string folder = DirectoryOf(mainPart_);
    settingsName = folder + "settings.xml";
    for (int n = 2; package.HasPart(settingsName); ++n) {
      settingsName = folder + "settings" + std::to_string(n) + ".xml";
    }
    package.AddXmlPart(settingsName, kTypeSettings,
                       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                       "<w:settings xmlns:w=\"" +
                           std::string(UriOf(Ns::kW)) + "\"></w:settings>");
    package.AddRelationship(mainPart_, kRelSettings, settingsName.substr(folder.size()), false);
  }
  XmlPart& settings = package.Xml(settingsName);
  pugi::xml_node root = settings.Root();
  if (!NameOf(root).Is(Ns::kW, "settings")) RaiseBadPackage(settingsName + " holds no settings");

  const std::string uri = FileUri(templatePath);
  std::optional<std::string> r = PrefixFor(root, Ns::kR);
  if (!r) {
    r = "r";
    for (int n = 2; root.attribute(("xmlns:" + *r).c_str()); ++n) {
      r = std::string("r").append(std::to_string(n));
    }
    root.append_attribute(("xmlns:" + *r).c_str()).set_value(std::string(UriOf(Ns::kR)).c_str());
  }
  pugi::xml_node attached = FirstChildNamed(root, Ns::kW, "attachedTemplate");
  if (!attached) {
    pugi::xml_node after;
    NsScope scope(root);
    for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element) continue;
      const QName name = scope.NameOf(c);
      if (name.ns == Ns::kW &&
          std::find(kBeforeAttachedTemplate.begin(), kBeforeAttachedTemplate.end(), name.local) !=
              kBeforeAttachedTemplate.end()) {
        after = c;
      }
    }
    const std::string w = PrefixFor(root, Ns::kW).value_or("w");
    const std::string qualified = Qualified(w, "attachedTemplate");
    attached = after ? root.insert_child_after(qualified.c_str(), after)
                     : root.prepend_child(qualified.c_str());
  }
  pugi::xml_attribute id = AttributeOf(attached, Ns::kR, "id");
  bool relationshipExists = false;
  if (id) {
    for (const Relationship& rel : package.Relationships(settingsName)) {
      relationshipExists = relationshipExists || rel.id == id.value();
    }
  }
  if (relationshipExists) {
    package.SetRelationshipTarget(settingsName, id.value(), uri);
  } else {
    const std::string newId =
        package.AddRelationship(settingsName, kRelAttachedTemplate, uri, true);
    if (!id) id = attached.append_attribute(Qualified(*r, "id").c_str());
    id.set_value(newId.c_str());
  }
  settings.MarkChanged();
}

void DocumentModel::CheckOpen() const {
  const auto app = app_.lock();
  if (!app || !app->Running()) platform::Raise(platform::kErrServerGone);
  if (closed_) platform::Raise(platform::kErrWordObjectDeleted, u"Object has been deleted.");
}

std::shared_ptr<platform::Object> DocumentModel::Application() const {
  CheckOpen();
  return app_.lock()->ApplicationObject();
}

void DocumentModel::Close() {
  closed_ = true;
  partStories_.clear();
  main_.reset();
  properties_.reset();
  package_.reset();
}

std::string DocumentModel::Extension() {
  const MainType* type = FindMainType(MainContentType());
  return std::string(type ? type->extension : ".docx");
}

void DocumentModel::SaveAs(const std::filesystem::path& path, bool overwrite, FileBatch* batch) {
  if (path.empty() || !path.has_filename()) {
    platform::Raise(platform::kErrPathAccess, u"Path/File access error (no file name)");
  }
  const std::filesystem::path target = AbsolutePath(path);
  if (!templatePath_.empty() && (target == templatePath_ || SameFile(target, templatePath_))) {
    RaiseWithDetail(platform::kErrPathAccess,
                    u"A document cannot be saved over the template it was made from",
                    target.string());
  }
  const std::string extension = FoldCase(target.extension().string());
  const bool wordExtension =
      std::any_of(kMainTypes.begin(), kMainTypes.end(),
                  [&](const MainType& t) { return t.extension == extension; });
  if (wordExtension && extension != Extension()) {
    RaiseWithDetail(platform::kErrInvalidCall,
                    u"The file name extension does not fit the document's type, which needs",
                    Extension());
  }
  const auto produce = [&](int fd) { package_->SaveTo(fd); };
  if (batch) {
    batch->Stage(target, overwrite, produce);
  } else {
    WriteFileAtomically(target, overwrite, produce);
  }
  savedPath_ = target;
}

const std::vector<std::unique_ptr<Story>>& DocumentModel::PartStories() {
  if (partStoriesRead_) return partStories_;
  partStoriesRead_ = true;
  for (const StoryPart& story : StoryParts::Stories(*package_, mainPart_)) {
    XmlPart& part = package_->Xml(story.part);
    partStories_.push_back(std::make_unique<Story>(part, part.Root(), pugi::xml_node(), true));
    partStories_.back()->SetType(story.type);
  }
  return partStories_;
}

void DocumentModel::UpdateField(Story& story, FieldState& field) {
  const std::u16string code = story.CodeText(field);
  if (wordrules::FieldTypeOfCode(code) != platform::kWdFieldDocProperty) return;
  const std::u16string name = wordrules::DocPropertyNameOfCode(code);
  const auto entry = name.empty() ? nullptr : properties_->Find(name);
  const wordrules::FormatSwitches switches = wordrules::ReadFormatSwitches(code);
  std::u16string text(wordrules::kUnknownPropertyText);
  if (entry) {
    text = wordrules::ApplyCase(
        wordrules::FieldDisplayText(properties_->ValueOf(*entry), properties_->TypeOf(*entry)),
        switches.letterCase);
  }
  story.SetResult(
      field, text,
      switches.charFormat ? ResultFormat::kFirstCodeRun : ResultFormat::kFirstResultRun);
}

}  // namespace sendnote::docx
