#include "docx/NewDocumentStamp.h"

#include <cstdlib>
#include <ctime>
#include <string_view>

#include "docx/Package.h"
#include "docx/XmlNames.h"

namespace sendnote::docx {
namespace {

constexpr std::string_view kRelCore =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
constexpr std::string_view kRelApp =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties";
constexpr std::string_view kTypeCore = "application/vnd.openxmlformats-package.core-properties+xml";
constexpr std::string_view kTypeApp =
    "application/vnd.openxmlformats-officedocument.extended-properties+xml";
constexpr std::string_view kUriCp =
    "http://schemas.openxmlformats.org/package/2006/metadata/core-properties";
constexpr std::string_view kUriDc = "http://purl.org/dc/elements/1.1/";
constexpr std::string_view kUriDcTerms = "http://purl.org/dc/terms/";
constexpr std::string_view kUriXsi = "http://www.w3.org/2001/XMLSchema-instance";
constexpr std::string_view kUriApp =
    "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties";
constexpr std::string_view kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

// The prefix the root binds to `uri` ("" for its default namespace); declared on the root
// under `fallback` when it binds none.
std::string PrefixOn(pugi::xml_node root, std::string_view uri, std::string_view fallback) {
  for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute()) {
    const std::string_view name = a.name();
    if (uri != a.value()) continue;
    if (name == "xmlns") return "";
    if (name.starts_with("xmlns:")) return std::string(name.substr(6));
  }
  root.append_attribute(("xmlns:" + std::string(fallback)).c_str())
      .set_value(std::string(uri).c_str());
  return std::string(fallback);
}

// Sets the text of the root's child `prefix:local`, adding the child when it is missing.
pugi::xml_node SetChild(pugi::xml_node root, const std::string& prefix, std::string_view local,
                        const std::string& text) {
  const std::string name = Qualified(prefix, local);
  pugi::xml_node child = root.child(name.c_str());
  if (!child) child = root.append_child(name.c_str());
  while (pugi::xml_node c = child.first_child()) child.remove_child(c);
  child.text().set(text.c_str());
  return child;
}

// The part a package relationship of `type` names, created with `emptyPart` when absent.
XmlPart& PartOf(Package& package, std::string_view type, std::string_view partName,
                std::string_view contentType, const std::string& emptyPart) {
  if (auto rel = package.FindRelationship("/", type)) {
    const auto target = package.TargetPart("/", *rel);
    if (target && package.HasPart(*target)) return package.Xml(*target);
  }
  std::string name(partName);
  for (int n = 2; package.HasPart(name); ++n) {
    name = std::string(partName.substr(0, partName.size() - 4)) + std::to_string(n) + ".xml";
  }
  XmlPart& part = package.AddXmlPart(name, contentType, emptyPart);
  package.AddRelationship("/", type, name.substr(1), false);
  return part;
}

}  // namespace

void NewDocumentStamp::Apply(Package& package, const std::string& templateFileName,
                             const std::string& user, const std::string& now) {
  XmlPart& core = PartOf(
      package, kRelCore, "/docProps/core.xml", kTypeCore,
      std::string(kDeclaration) + "<cp:coreProperties xmlns:cp=\"" + std::string(kUriCp) + "\"/>");
  pugi::xml_node root = core.Root();
  const std::string cp = PrefixOn(root, kUriCp, "cp");
  const std::string dc = PrefixOn(root, kUriDc, "dc");
  const std::string dcterms = PrefixOn(root, kUriDcTerms, "dcterms");
  const std::string xsi = PrefixOn(root, kUriXsi, "xsi");
  SetChild(root, dc, "creator", user);
  SetChild(root, cp, "lastModifiedBy", user);
  SetChild(root, cp, "revision", "1");
  for (const std::string_view local : {"created", "modified"}) {
    pugi::xml_node date = SetChild(root, dcterms, local, now);
    const std::string type = Qualified(xsi, "type");
    if (!date.attribute(type.c_str())) date.append_attribute(type.c_str());
    date.attribute(type.c_str()).set_value(Qualified(dcterms, "W3CDTF").c_str());
  }
  // A new document has never been printed.
  if (pugi::xml_node printed = root.child(Qualified(cp, "lastPrinted").c_str())) {
    root.remove_child(printed);
  }
  core.MarkChanged();

  XmlPart& app =
      PartOf(package, kRelApp, "/docProps/app.xml", kTypeApp,
             std::string(kDeclaration) + "<Properties xmlns=\"" + std::string(kUriApp) + "\"/>");
  SetChild(app.Root(), PrefixOn(app.Root(), kUriApp, "ep"), "Template", templateFileName);
  app.MarkChanged();
}

std::string NewDocumentStamp::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string NewDocumentStamp::CurrentUser() {
  for (const char* name : {"USER", "USERNAME", "LOGNAME"}) {
    if (const char* value = std::getenv(name); value && *value) return value;
  }
  return {};
}

}  // namespace sendnote::docx
