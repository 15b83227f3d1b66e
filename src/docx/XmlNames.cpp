#include "docx/XmlNames.h"

#include <array>

#include "platform/Utf.h"

namespace sendnote::docx {
namespace {

struct Known {
  std::string_view uri;
  Ns ns;
};

// The first entry of each namespace is the one written; the others are read too.
constexpr std::array<Known, 22> kKnown{{
    {"http://schemas.openxmlformats.org/wordprocessingml/2006/main", Ns::kW},
    {"http://schemas.openxmlformats.org/officeDocument/2006/relationships", Ns::kR},
    {"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing", Ns::kWp},
    {"http://schemas.microsoft.com/office/word/2010/wordprocessingShape", Ns::kWps},
    {"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup", Ns::kWpg},
    {"http://schemas.openxmlformats.org/drawingml/2006/main", Ns::kA},
    {"http://schemas.openxmlformats.org/drawingml/2006/picture", Ns::kPic},
    {"urn:schemas-microsoft-com:vml", Ns::kV},
    {"urn:schemas-microsoft-com:office:office", Ns::kO},
    {"http://schemas.openxmlformats.org/markup-compatibility/2006", Ns::kMc},
    {"http://schemas.openxmlformats.org/package/2006/relationships", Ns::kRel},
    {"http://schemas.openxmlformats.org/package/2006/content-types", Ns::kCt},
    {"http://schemas.openxmlformats.org/officeDocument/2006/custom-properties", Ns::kCustom},
    {"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes", Ns::kVt},
    {"http://www.w3.org/XML/1998/namespace", Ns::kXml},
    // The strict forms of the same vocabularies.
    {"http://purl.oclc.org/ooxml/wordprocessingml/main", Ns::kW},
    {"http://purl.oclc.org/ooxml/officeDocument/relationships", Ns::kR},
    {"http://purl.oclc.org/ooxml/drawingml/wordprocessingDrawing", Ns::kWp},
    {"http://purl.oclc.org/ooxml/drawingml/main", Ns::kA},
    {"http://purl.oclc.org/ooxml/drawingml/picture", Ns::kPic},
    {"http://purl.oclc.org/ooxml/officeDocument/customProperties", Ns::kCustom},
    {"http://purl.oclc.org/ooxml/officeDocument/docPropsVTypes", Ns::kVt},
}};

// Returns the prefix a namespace declaration attribute binds ("" for xmlns), or empty
// when the attribute is not a declaration.
std::optional<std::string_view> DeclaredPrefix(std::string_view attributeName) {
  if (attributeName == "xmlns") return std::string_view();
  if (attributeName.size() > 6 && attributeName.substr(0, 6) == "xmlns:") {
    return attributeName.substr(6);
  }
  return std::nullopt;
}

}  // namespace

std::string_view UriOf(Ns ns) {
  for (const Known& k : kKnown) {
    if (k.ns == ns) return k.uri;
  }
  return {};
}

Ns NsOfUri(std::string_view uri) {
  if (uri.empty()) return Ns::kNone;
  for (const Known& k : kKnown) {
    if (k.uri == uri) return k.ns;
  }
  return Ns::kOther;
}

std::pair<std::string_view, std::string_view> SplitName(std::string_view name) {
  const size_t colon = name.find(':');
  if (colon == std::string_view::npos) return {std::string_view(), name};
  return {name.substr(0, colon), name.substr(colon + 1)};
}

NsScope::NsScope(pugi::xml_node element) {
  std::vector<pugi::xml_node> chain;
  for (pugi::xml_node n = element; n && n.type() == pugi::node_element; n = n.parent()) {
    chain.push_back(n);
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) Enter(*it);
}

size_t NsScope::Enter(pugi::xml_node element) {
  const size_t mark = bindings_.size();
  for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
    const char* name = a.name();
    if (name[0] != 'x') continue;  // quick test: declarations start with "xmlns"
    if (auto prefix = DeclaredPrefix(name)) bindings_.push_back({*prefix, NsOfUri(a.value())});
  }
  return mark;
}

Ns NsScope::Resolve(std::string_view prefix) const {
  for (auto it = bindings_.rbegin(); it != bindings_.rend(); ++it) {
    if (it->prefix == prefix) return it->ns;
  }
  if (prefix == "xml") return Ns::kXml;
  return prefix.empty() ? Ns::kNone : Ns::kOther;
}

QName NsScope::NameOf(pugi::xml_node element) const {
  const auto [prefix, local] = SplitName(element.name());
  return {Resolve(prefix), local};
}

pugi::xml_attribute NsScope::Attribute(pugi::xml_node element, Ns ns,
                                       std::string_view local) const {
  for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
    const auto [prefix, name] = SplitName(a.name());
    if (name != local) continue;
    // Unprefixed attributes belong to no namespace.
    const Ns attributeNs = prefix.empty() ? Ns::kNone : Resolve(prefix);
    if (attributeNs == ns) return a;
  }
  return {};
}

QName NameOf(pugi::xml_node element) { return NsScope(element).NameOf(element); }

pugi::xml_attribute AttributeOf(pugi::xml_node element, Ns ns, std::string_view local) {
  return NsScope(element).Attribute(element, ns, local);
}

std::optional<std::string> PrefixFor(pugi::xml_node element, Ns ns) {
  // The innermost declaration wins, and a prefix re-bound further in no longer counts.
  NsScope scope(element);
  for (pugi::xml_node n = element; n && n.type() == pugi::node_element; n = n.parent()) {
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
      auto prefix = DeclaredPrefix(a.name());
      if (prefix && NsOfUri(a.value()) == ns && scope.Resolve(*prefix) == ns) {
        return std::string(*prefix);
      }
    }
  }
  if (ns == Ns::kXml) return std::string("xml");
  return std::nullopt;
}

std::string XmlText(std::u16string_view text) {
  std::u16string clean;
  clean.reserve(text.size());
  for (char16_t c : text) {
    if (IsXmlCharacter(c)) clean += c;
  }
  return platform::ToUtf8(clean);
}

std::string Qualified(std::string_view prefix, std::string_view local) {
  if (prefix.empty()) return std::string(local);
  std::string out;
  out.reserve(prefix.size() + 1 + local.size());
  out.append(prefix).append(":").append(local);
  return out;
}

std::vector<pugi::xml_node> ChildrenNamed(pugi::xml_node parent, Ns ns, std::string_view local) {
  std::vector<pugi::xml_node> out;
  NsScope scope(parent);
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const size_t mark = scope.Enter(c);
    if (scope.NameOf(c).Is(ns, local)) out.push_back(c);
    scope.Leave(mark);
  }
  return out;
}

pugi::xml_node FirstChildNamed(pugi::xml_node parent, Ns ns, std::string_view local) {
  NsScope scope(parent);
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const size_t mark = scope.Enter(c);
    const bool match = scope.NameOf(c).Is(ns, local);
    scope.Leave(mark);
    if (match) return c;
  }
  return {};
}

pugi::xml_node FirstDescendantNamed(pugi::xml_node root, Ns ns, std::string_view local) {
  NsScope scope(root);
  // Iterative walk keeping the scope marks of the open elements.
  std::vector<std::pair<pugi::xml_node, size_t>> stack;
  for (pugi::xml_node c = root.last_child(); c; c = c.previous_sibling()) {
    if (c.type() == pugi::node_element) stack.emplace_back(c, 0);
  }
  std::vector<size_t> marks;
  while (!stack.empty()) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    while (marks.size() > depth) {
      scope.Leave(marks.back());
      marks.pop_back();
    }
    marks.push_back(scope.Enter(node));
    if (scope.NameOf(node).Is(ns, local)) return node;
    for (pugi::xml_node c = node.last_child(); c; c = c.previous_sibling()) {
      if (c.type() == pugi::node_element) stack.emplace_back(c, depth + 1);
    }
  }
  return {};
}

}  // namespace sendnote::docx
