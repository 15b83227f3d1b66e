#include "docx/XmlPart.h"

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

}  // namespace

XmlPart::XmlPart(std::string name, std::string_view bytes) : name_(std::move(name)) {
  const pugi::xml_parse_result result =
      document_.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_auto);
  if (!result) {
    RaiseBadPackage("malformed XML in " + name_ + ": " + result.description() + " at offset " +
                    std::to_string(result.offset));
  }
  for (pugi::xml_node child : document_.children()) {
    if (child.type() == pugi::node_doctype) {
      RaiseBadPackage("document type declarations are not allowed (" + name_ + ")");
    }
  }
  const pugi::xml_node root = document_.document_element();
  if (!root) RaiseBadPackage("no root element in " + name_);
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
