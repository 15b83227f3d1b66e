// XML namespaces of the parts this engine reads and edits, resolved through the
// documents' own declarations rather than fixed prefixes.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sendnote::docx {

enum class Ns : uint8_t {
  kOther,
  kNone,    // no namespace
  kW,       // WordprocessingML main
  kR,       // officeDocument relationships (r:id)
  kWp,      // drawing placement (anchor, inline)
  kWps,     // word processing shapes
  kWpg,     // word processing groups
  kA,       // DrawingML main
  kPic,     // DrawingML pictures
  kV,       // VML
  kO,       // VML Office extensions
  kMc,      // markup compatibility
  kRel,     // package relationships
  kCt,      // content types
  kCustom,  // custom properties
  kVt,      // property value types
  kXml,     // the xml: prefix
};

// The URI of a namespace, for declaring it in new markup.
std::string_view UriOf(Ns ns);
Ns NsOfUri(std::string_view uri);

struct QName {
  Ns ns = Ns::kOther;
  std::string_view local;
  bool Is(Ns n, std::string_view l) const { return ns == n && local == l; }
};

// Splits "prefix:local"; the prefix is empty for an unprefixed name.
std::pair<std::string_view, std::string_view> SplitName(std::string_view name);

// The namespace declarations in scope during a walk over a tree, innermost last.
class NsScope {
 public:
  // Starts with the declarations of `element`'s ancestors.
  explicit NsScope(pugi::xml_node element = {});
  // Adds the declarations of `element`; returns the mark to leave back to.
  size_t Enter(pugi::xml_node element);
  void Leave(size_t mark) { bindings_.resize(mark); }
  Ns Resolve(std::string_view prefix) const;
  QName NameOf(pugi::xml_node element) const;
  // The attribute of `element` with that namespace and local name, or an empty one.
  pugi::xml_attribute Attribute(pugi::xml_node element, Ns ns, std::string_view local) const;

 private:
  struct Binding {
    std::string_view prefix;
    Ns ns;
  };
  std::vector<Binding> bindings_;
};

// One-off resolution by walking the element's ancestors.
QName NameOf(pugi::xml_node element);
pugi::xml_attribute AttributeOf(pugi::xml_node element, Ns ns, std::string_view local);

// Returns the prefix bound to `ns` where `element` is ("" for the default namespace),
// or empty when the namespace is not declared there.
std::optional<std::string> PrefixFor(pugi::xml_node element, Ns ns);
// True for the characters XML 1.0 can carry (all but most C0 controls and U+FFFE/FFFF).
constexpr bool IsXmlCharacter(char16_t c) {
  return (c >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r') && c != 0xFFFE && c != 0xFFFF;
}
// Returns the UTF-8 form of `text` without the characters XML cannot carry.
std::string XmlText(std::u16string_view text);

// Returns "prefix:local" (or "local" for an empty prefix).
std::string Qualified(std::string_view prefix, std::string_view local);

// The element children of `parent` with that name, resolved once for the parent.
std::vector<pugi::xml_node> ChildrenNamed(pugi::xml_node parent, Ns ns, std::string_view local);
pugi::xml_node FirstChildNamed(pugi::xml_node parent, Ns ns, std::string_view local);
// The first element with that name in document order below `root`, or an empty node.
pugi::xml_node FirstDescendantNamed(pugi::xml_node root, Ns ns, std::string_view local);

}  // namespace sendnote::docx
