#include "docx/StoryParts.h"

#include <algorithm>
#include <array>

#include "docx/DocumentModel.h"
#include "docx/Story.h"
#include "platform/ComError.h"
#include "platform/Variant.h"
#include "platform/Word.h"
#include "wordrules/WordFieldCode.h"

namespace sendnote::docx {
namespace {

constexpr std::array<std::string_view, 2> kRelationshipBases{
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/",
    "http://purl.oclc.org/ooxml/officeDocument/relationships/"};
constexpr std::array<std::string_view, 4> kStoryKinds{"header", "footer", "footnotes", "endnotes"};
constexpr char16_t kPrefixMarker[] = u"SENDNOTE$PREFIX";

bool IsStoryRelationship(std::string_view type) {
  for (const std::string_view base : kRelationshipBases) {
    if (!type.starts_with(base)) continue;
    const std::string_view kind = type.substr(base.size());
    return std::find(kStoryKinds.begin(), kStoryKinds.end(), kind) != kStoryKinds.end();
  }
  return false;
}

// The property name as the main text's refresh reads it: the trimmed code after its
// first blank, between the first two quotes there. An unquoted name is no name.
std::u16string QuotedName(std::u16string_view code) {
  const size_t first = code.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  code = code.substr(first, code.find_last_not_of(u' ') - first + 1);
  const size_t blank = code.find(u' ');
  const std::u16string_view rest =
      blank == std::u16string_view::npos ? code : code.substr(blank + 1);
  const size_t a = rest.find(u'"');
  if (a == std::u16string_view::npos) return {};
  const size_t b = rest.find(u'"', a + 1);
  if (b == std::u16string_view::npos) return {};
  return std::u16string(rest.substr(a + 1, b - a - 1));
}

int RefreshStory(DocumentModel& model, Story& story, std::u16string_view prefix) {
  int count = 0;
  // Updating a field removes the fields and shapes of its old result: walk copies.
  const std::vector<FieldState*> fields = story.Fields();
  for (FieldState* field : fields) {
    if (!field->alive) continue;
    const std::u16string code = story.CodeText(*field);
    if (wordrules::FieldTypeOfCode(code) != platform::kWdFieldDocProperty) continue;
    const std::u16string name = QuotedName(code);
    if (name.empty() || !std::u16string_view(name).starts_with(prefix)) continue;
    model.UpdateField(story, *field);
    ++count;
  }
  for (ShapeState* shape : story.Shapes()) {
    if (shape->alive && shape->text) count += RefreshStory(model, story.TextOf(*shape), prefix);
  }
  return count;
}

}  // namespace

std::u16string StoryParts::DocumentPrefix(DocumentModel& model) {
  CustomProperties& properties = model.Properties();
  const auto entry = properties.Find(kPrefixMarker);
  if (!entry || properties.TypeOf(*entry) != platform::kPropertyString) return {};
  return properties.ValueOf(*entry).ToString();
}

std::vector<std::string> StoryParts::PartNames(DocumentModel& model) {
  return PartNames(model.GetPackage(), model.MainPartName());
}

std::vector<std::string> StoryParts::PartNames(Package& package, const std::string& main) {
  std::vector<std::string> names;
  for (const Relationship& rel : package.Relationships(main)) {
    if (rel.external || !IsStoryRelationship(rel.type)) continue;
    const auto target = package.TargetPart(main, rel);
    if (!target || !package.HasPart(*target)) continue;
    if (std::find(names.begin(), names.end(), *target) == names.end()) names.push_back(*target);
  }
  return names;
}

int StoryParts::Refresh(DocumentModel& model, std::u16string_view prefix) {
  if (prefix.empty()) return 0;
  int count = 0;
  for (const std::string& name : PartNames(model)) {
    XmlPart* part = &model.GetPackage().Xml(name);  // parsed when the document was made
    Story story(*part, part->Root(), pugi::xml_node(), true);
    count += RefreshStory(model, story, prefix);
  }
  return count;
}

}  // namespace sendnote::docx
