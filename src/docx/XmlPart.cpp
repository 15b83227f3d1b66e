#include "docx/XmlPart.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "docx/DocxErrors.h"

namespace sendnote::docx {
namespace {

// Whitespace-only text is kept everywhere; attribute values are normalized as XML
// requires; line ends are left as they are so that untouched text keeps its bytes.
constexpr unsigned kParseOptions =
    pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_comments |
    pugi::parse_pi | pugi::parse_declaration | pugi::parse_doctype | pugi::parse_ws_pcdata;

class StringWriter : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string& out) : out_(out) {}
  void write(const void* data, size_t size) override {
    out_.append(static_cast<const char*>(data), size);
  }

 private:
  std::string& out_;
};

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Returns the first entity reference XML does not define (pugixml keeps such text as it
// is), or empty. Comments, CDATA sections and processing instructions are skipped.
std::string UndefinedEntity(std::string_view text) {
  static constexpr std::string_view kDefined[] = {"amp;", "lt;", "gt;", "quot;", "apos;"};
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '<') {
      std::string_view close;
      if (text.substr(i, 9) == "<![CDATA[") close = "]]>";
      if (text.substr(i, 4) == "<!--") close = "-->";
      if (text.substr(i, 2) == "<?") close = "?>";
      if (!close.empty()) {
        const size_t end = text.find(close, i);
        if (end == std::string_view::npos) return {};
        i = end + close.size() - 1;
      }
      continue;
    }
    if (text[i] != '&') continue;
    const std::string_view rest = text.substr(i + 1);
    bool known = false;
    for (std::string_view name : kDefined) known = known || rest.starts_with(name);
    if (!known && rest.starts_with("#")) {
      const bool hex = rest.size() > 1 && rest[1] == 'x';
      size_t k = hex ? 2 : 1;
      const size_t digits = k;
      while (k < rest.size() && (std::isdigit(static_cast<unsigned char>(rest[k])) ||
                                 (hex && std::isxdigit(static_cast<unsigned char>(rest[k]))))) {
        ++k;
      }
      known = k > digits && k < rest.size() && rest[k] == ';';
    }
    if (!known) return std::string(rest.substr(0, std::min<size_t>(rest.find(';'), 20)));
  }
  return {};
}

// Returns what makes the element tree unacceptable, or empty: an element that repeats an
// attribute name (which pugixml accepts but XML does not), nesting deeper than
// kMaxXmlDepth or more than kMaxXmlAttributes attributes on one element. The limits keep
// every later walk of the tree bounded; Word's own parts stay far below them.
std::string StructureFault(pugi::xml_node root) {
  std::vector<std::string_view> names;
  size_t depth = 1;
  for (pugi::xml_node n = root; n;) {
    if (depth > kMaxXmlDepth) {
      return "elements nested deeper than " + std::to_string(kMaxXmlDepth) + " levels";
    }
    if (n.type() == pugi::node_element && n.first_attribute() &&
        n.first_attribute().next_attribute()) {
      names.clear();
      for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
        names.push_back(a.name());
      }
      if (names.size() > kMaxXmlAttributes) {
        std::string fault = "more than ";
        fault += std::to_string(kMaxXmlAttributes);
        fault += " attributes in element <";
        fault += n.name();
        return fault + ">";
      }
      std::sort(names.begin(), names.end());
      if (std::adjacent_find(names.begin(), names.end()) != names.end()) {
        std::string fault = "repeated attribute in element <";
        fault += n.name();
        return fault + ">";
      }
    }
    // Next node in document order.
    if (n.first_child()) {
      n = n.first_child();
      ++depth;
      continue;
    }
    while (n && n != root && !n.next_sibling()) {
      n = n.parent();
      --depth;
    }
    n = (n && n != root) ? n.next_sibling() : pugi::xml_node();
  }
  return {};
}

}  // namespace

std::unique_ptr<XmlPart> XmlPart::Copy() const {
  std::unique_ptr<XmlPart> copy(new XmlPart());
  copy->name_ = name_;
  copy->document_.reset(document_);
  copy->encoding_ = encoding_;
  copy->keepsOriginalFrame_ = keepsOriginalFrame_;
  copy->prolog_ = prolog_;
  copy->epilogue_ = epilogue_;
  copy->changed_ = changed_;
  return copy;
}

XmlPart::XmlPart(std::string name, std::string_view bytes) : name_(std::move(name)) {
  const pugi::xml_parse_result result =
      document_.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_auto);
  if (!result) {
    RaiseBadPackage("malformed XML in " + name_ + ": " + result.description() + " at offset " +
                    std::to_string(result.offset));
  }
  int elements = 0;
  for (pugi::xml_node child : document_.children()) {
    if (child.type() == pugi::node_doctype) {
      RaiseBadPackage("document type declarations are not allowed (" + name_ + ")");
    }
    elements += child.type() == pugi::node_element;
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata || elements > 1) {
      RaiseBadPackage("malformed XML in " + name_ + ": content outside the root element");
    }
  }
  const pugi::xml_node root = document_.document_element();
  if (!root) RaiseBadPackage("no root element in " + name_);
  if (result.encoding == pugi::encoding_utf8) {
    if (const std::string entity = UndefinedEntity(bytes); !entity.empty()) {
      RaiseBadPackage("malformed XML in " + name_ + ": undefined entity &" + entity);
    }
  }
  if (const std::string fault = StructureFault(root); !fault.empty()) {
    RaiseBadPackage("malformed XML in " + name_ + ": " + fault);
  }
  encoding_ = result.encoding;
  if (encoding_ != pugi::encoding_utf8) return;

  // For UTF-8 text the bytes before the root element and after the last element are kept
  // as they were; pugixml would drop whitespace there.
  const ptrdiff_t nameOffset = root.offset_debug();
  if (nameOffset < 1 || static_cast<size_t>(nameOffset) > bytes.size() ||
      bytes[static_cast<size_t>(nameOffset) - 1] != '<') {
    return;
  }
  if (root.next_sibling()) return;  // comments after the root: written by pugixml
  size_t end = bytes.size();
  while (end > 0 && IsXmlSpace(bytes[end - 1])) --end;
  prolog_.assign(bytes.substr(0, static_cast<size_t>(nameOffset) - 1));
  epilogue_.assign(bytes.substr(end));
  keepsOriginalFrame_ = true;
}

std::string XmlPart::Serialize() const {
  std::string out;
  StringWriter writer(out);
  if (!keepsOriginalFrame_) {
    // UTF-16 text needs its byte order mark to be read again.
    document_.save(writer, "",
                   pugi::format_raw | pugi::format_no_declaration | pugi::format_write_bom,
                   encoding_);
    return out;
  }
  out.reserve(prolog_.size() + epilogue_.size() + 4096);
  out += prolog_;
  Root().print(writer, "", pugi::format_raw, pugi::encoding_utf8);
  out += epilogue_;
  return out;
}

}  // namespace sendnote::docx
