#include "docx/StoryParts.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "docx/Package.h"
#include "docx/XmlNames.h"
#include "docx/XmlPart.h"
#include "platform/Word.h"

namespace sendnote::docx {
namespace {

constexpr std::array<std::string_view, 2> kRelationshipBases{
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/",
    "http://purl.oclc.org/ooxml/officeDocument/relationships/"};

struct Kind {
  std::string_view relationship;
  int32_t type;  // the story type of a note or comment part; 0 for headers and footers
};
constexpr std::array<Kind, 5> kKinds{{{"header", 0},
                                      {"footer", 0},
                                      {"footnotes", platform::kWdFootnotesStory},
                                      {"endnotes", platform::kWdEndnotesStory},
                                      {"comments", platform::kWdCommentsStory}}};

// Returns the kind of a story relationship, or nullptr for another relationship.
const Kind* KindOf(std::string_view type) {
  for (const std::string_view base : kRelationshipBases) {
    if (!type.starts_with(base)) continue;
    const std::string_view kind = type.substr(base.size());
    for (const Kind& k : kKinds) {
      if (k.relationship == kind) return &k;
    }
    return nullptr;
  }
  return nullptr;
}

// A header or footer reference's story type (w:type "default", "even" or "first").
int32_t SectionStoryType(bool header, std::string_view type) {
  if (type == "even")
    return header ? platform::kWdEvenPagesHeaderStory : platform::kWdEvenPagesFooterStory;
  if (type == "first")
    return header ? platform::kWdFirstPageHeaderStory : platform::kWdFirstPageFooterStory;
  return header ? platform::kWdPrimaryHeaderStory : platform::kWdPrimaryFooterStory;
}

// Whether a notes or comments part holds a note or comment of the document's own: the
// separators every notes part has do not count.
bool HasEntries(XmlPart& part, int32_t type) {
  const std::string_view local = type == platform::kWdFootnotesStory  ? "footnote"
                                 : type == platform::kWdEndnotesStory ? "endnote"
                                                                      : "comment";
  for (const pugi::xml_node entry : ChildrenNamed(part.Root(), Ns::kW, local)) {
    const std::string_view kind = AttributeOf(entry, Ns::kW, "type").value();
    if (kind.empty() || kind == "normal") return true;
  }
  return false;
}

// The section properties of the main text, in section order: those ending a paragraph,
// then the body's own.
std::vector<pugi::xml_node> Sections(XmlPart& main) {
  std::vector<pugi::xml_node> out;
  const pugi::xml_node body = FirstChildNamed(main.Root(), Ns::kW, "body");
  for (const pugi::xml_node p : ChildrenNamed(body, Ns::kW, "p")) {
    if (pugi::xml_node s = FirstChildNamed(FirstChildNamed(p, Ns::kW, "pPr"), Ns::kW, "sectPr")) {
      out.push_back(s);
    }
  }
  if (pugi::xml_node s = FirstChildNamed(body, Ns::kW, "sectPr")) out.push_back(s);
  return out;
}

}  // namespace

std::vector<StoryPart> StoryParts::PartNames(Package& package, const std::string& main) {
  std::vector<StoryPart> parts;
  for (const Relationship& rel : package.Relationships(main)) {
    const Kind* kind = rel.external ? nullptr : KindOf(rel.type);
    if (!kind) continue;
    const auto target = package.TargetPart(main, rel);
    if (!target || !package.HasPart(*target)) continue;
    const bool known = std::any_of(parts.begin(), parts.end(),
                                   [&](const StoryPart& p) { return p.part == *target; });
    if (!known) parts.push_back({kind->type, *target});
  }
  return parts;
}

std::vector<StoryPart> StoryParts::Stories(Package& package, const std::string& main) {
  const std::vector<Relationship> relationships = package.Relationships(main);
  std::vector<StoryPart> stories;
  const auto taken = [&](const std::string& part) {
    return std::any_of(stories.begin(), stories.end(),
                       [&](const StoryPart& s) { return s.part == part; });
  };
  for (const pugi::xml_node section : Sections(package.Xml(main))) {
    for (const bool header : {true, false}) {
      for (const pugi::xml_node ref :
           ChildrenNamed(section, Ns::kW, header ? "headerReference" : "footerReference")) {
        const std::string_view id = AttributeOf(ref, Ns::kR, "id").value();
        const auto rel = std::find_if(relationships.begin(), relationships.end(),
                                      [&](const Relationship& r) { return r.id == id; });
        if (rel == relationships.end() || rel->external) continue;
        const auto target = package.TargetPart(main, *rel);
        if (!target || !package.HasPart(*target) || taken(*target)) continue;
        stories.push_back(
            {SectionStoryType(header, AttributeOf(ref, Ns::kW, "type").value()), *target});
      }
    }
  }
  for (const StoryPart& part : PartNames(package, main)) {
    if (part.type == 0 || taken(part.part) || !HasEntries(package.Xml(part.part), part.type)) {
      continue;
    }
    stories.push_back(part);
  }
  std::stable_sort(stories.begin(), stories.end(),
                   [](const StoryPart& a, const StoryPart& b) { return a.type < b.type; });
  return stories;
}

}  // namespace sendnote::docx
