#include "docx/CustomProperties.h"

#include <charconv>
#include <cstdlib>

#include "docx/DocxErrors.h"
#include "docx/XmlNames.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "platform/Word.h"
#include "wordrules/WordValue.h"

namespace sendnote::docx {
namespace {

using platform::Variant;

constexpr std::string_view kFormatId = "{D5CDD505-2E9C-101B-9397-08002B2CF9AE}";
constexpr int kFirstPid = 2;  // 0 and 1 are reserved by the property set format

bool IsHex(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// True for the characters XML 1.0 cannot carry literally in text; a carriage return
// would come back as a line feed.
bool NeedsEscape(char16_t c) {
  return (c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF;
}

// Position of an _xHHHH_ sequence starting at `i`, or false.
bool IsEscapeAt(std::u16string_view text, size_t i) {
  return i + 7 <= text.size() && text[i] == u'_' && text[i + 1] == u'x' && IsHex(text[i + 2]) &&
         IsHex(text[i + 3]) && IsHex(text[i + 4]) && IsHex(text[i + 5]) && text[i + 6] == u'_';
}

std::u16string Hex4(char16_t c) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string out = u"_x";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(c >> shift) & 0xF];
  out += u'_';
  return out;
}

// The Office type of a value element, by its local name; 4 (text) for kinds this
// engine does not know.
int32_t TypeOfElement(std::string_view local) {
  if (local == "i1" || local == "i2" || local == "i4" || local == "i8" || local == "int" ||
      local == "ui1" || local == "ui2" || local == "ui4" || local == "ui8" || local == "uint") {
    return platform::kPropertyNumber;
  }
  if (local == "bool") return platform::kPropertyBoolean;
  if (local == "filetime" || local == "date") return platform::kPropertyDate;
  if (local == "r4" || local == "r8" || local == "decimal") return platform::kPropertyFloat;
  return platform::kPropertyString;
}

std::string_view ElementOfType(int32_t type) {
  switch (type) {
    case platform::kPropertyNumber:
      return "i4";
    case platform::kPropertyBoolean:
      return "bool";
    case platform::kPropertyDate:
      return "filetime";
    case platform::kPropertyFloat:
      return "r8";
    default:
      return "lpwstr";
  }
}

std::string FormatDouble(double value) {
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, result.ptr);
}

// An OLE date as the UTC time stamp of a filetime element.
std::string FormatFiletime(double oleDate) {
  std::string text = platform::ToUtf8(wordrules::FormatDate(oleDate));  // yyyy/mm/dd[ hh:mm:ss]
  for (char& c : text) {
    if (c == '/') c = '-';
    if (c == ' ') c = 'T';
  }
  if (text.find('T') == std::string::npos) text += "T00:00:00";
  return text + "Z";
}

std::optional<double> ParseFiletime(std::string_view text) {
  std::string t(text);
  if (!t.empty() && (t.back() == 'Z' || t.back() == 'z')) t.pop_back();
  if (const size_t dot = t.find('.'); dot != std::string::npos) t.resize(dot);
  double date = 0;
  if (!wordrules::ParseDate(platform::FromUtf8(t), date)) return std::nullopt;
  return date;
}

Variant DefaultOfType(int32_t type) {
  switch (type) {
    case platform::kPropertyNumber:
      return Variant::Int32(0);
    case platform::kPropertyBoolean:
      return Variant::Bool(platform::kFalse);
    case platform::kPropertyDate:
      return Variant::Date(0);
    case platform::kPropertyFloat:
      return Variant::Double(0);
    default:
      return Variant::String(u"");
  }
}

// The value element of a property: its first element child.
pugi::xml_node ValueElement(pugi::xml_node property) {
  for (pugi::xml_node c = property.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element) return c;
  }
  return {};
}

std::string TextOf(pugi::xml_node element) {
  std::string text;
  for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) text += c.value();
  }
  return text;
}

}  // namespace

std::pair<std::string_view, std::string> EncodeValue(int32_t type, const Variant& value) {
  switch (type) {
    case platform::kPropertyNumber:
      return {ElementOfType(type), std::to_string(value.ToInt32())};
    case platform::kPropertyBoolean:
      return {ElementOfType(type), platform::IsTrue(value.ToFlag()) ? "true" : "false"};
    case platform::kPropertyDate:
      return {ElementOfType(type), FormatFiletime(value.ToDouble())};
    case platform::kPropertyFloat:
      return {ElementOfType(type), FormatDouble(value.ToDouble())};
    default:
      return {ElementOfType(platform::kPropertyString), EncodeValueText(value.ToString())};
  }
}

std::string EncodeValueText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (NeedsEscape(text[i])) {
      out += Hex4(text[i]);
    } else if (IsEscapeAt(text, i)) {
      out += u"_x005F_";  // a literal "_xHHHH_" keeps its underscore
    } else {
      out += text[i];
    }
  }
  return platform::ToUtf8(out);
}

std::u16string DecodeValueText(std::string_view text) {
  const std::u16string in = platform::FromUtf8(text);
  std::u16string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    if (IsEscapeAt(in, i)) {
      char16_t c = 0;
      for (size_t k = i + 2; k < i + 6; ++k) {
        const char16_t h = in[k];
        c = static_cast<char16_t>(c * 16 + (h <= u'9' ? h - u'0' : (h | 0x20) - u'a' + 10));
      }
      out += c;
      i += 6;
    } else {
      out += in[i];
    }
  }
  return out;
}

CustomProperties::CustomProperties(Package& package, BookmarkText bookmarks)
    : package_(package), bookmarks_(std::move(bookmarks)) {
  const auto rel = package_.FindRelationship("/", kRelCustomProperties);
  if (!rel) return;
  const auto partName = package_.TargetPart("/", *rel);
  if (!partName) RaiseBadPackage("the custom properties relationship leaves the package");
  part_ = &package_.Xml(*partName);
  const pugi::xml_node root = part_->Root();
  NsScope scope(root);
  if (!scope.NameOf(root).Is(Ns::kCustom, "Properties")) {
    RaiseBadPackage(*partName + " is not a custom properties part");
  }
  for (pugi::xml_node e = root.first_child(); e; e = e.next_sibling()) {
    if (e.type() != pugi::node_element) continue;
    const size_t mark = scope.Enter(e);
    if (scope.NameOf(e).Is(Ns::kCustom, "property")) {
      auto entry = std::make_shared<Entry>();
      entry->node = e;
      entry->name = platform::FromUtf8(e.attribute("name").value());
      entries_.push_back(std::move(entry));
    }
    scope.Leave(mark);
  }
}

XmlPart& CustomProperties::Part() {
  if (part_) return *part_;
  std::string name = "/docProps/custom.xml";
  for (int n = 2; package_.HasPart(name); ++n)
    name = "/docProps/custom" + std::to_string(n) + ".xml";
  part_ = &package_.AddXmlPart(
      name, kTypeCustomProperties,
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<Properties xmlns=\"" +
          std::string(UriOf(Ns::kCustom)) + "\" xmlns:vt=\"" + std::string(UriOf(Ns::kVt)) +
          "\"></Properties>");
  package_.AddRelationship("/", kRelCustomProperties, name.substr(1), false);
  return *part_;
}

std::shared_ptr<CustomProperties::Entry> CustomProperties::Find(std::u16string_view name) const {
  for (const auto& entry : entries_) {
    if (wordrules::SamePropertyName(entry->name, name)) return entry;
  }
  return nullptr;
}

std::shared_ptr<CustomProperties::Entry> CustomProperties::Add(std::u16string_view name,
                                                               int32_t type, const Variant& value) {
  XmlPart& part = Part();
  pugi::xml_node root = part.Root();
  int pid = kFirstPid - 1;
  for (const auto& entry : entries_) pid = std::max(pid, entry->node.attribute("pid").as_int());
  const std::string prefix(SplitName(root.name()).first);
  pugi::xml_node e = root.append_child(Qualified(prefix, "property").c_str());
  e.append_attribute("fmtid").set_value(std::string(kFormatId).c_str());
  e.append_attribute("pid").set_value(pid + 1);
  e.append_attribute("name").set_value(platform::ToUtf8(name).c_str());
  auto entry = std::make_shared<Entry>();
  entry->node = e;
  entry->name = std::u16string(name);
  entries_.push_back(entry);
  Store(*entry, type, value);
  return entry;
}

void CustomProperties::Delete(Entry& entry) {
  if (entry.deleted) return;
  entry.node.parent().remove_child(entry.node);
  entry.node = {};
  entry.deleted = true;
  std::erase_if(entries_, [&](const auto& e) { return e.get() == &entry; });
  part_->MarkChanged();
}

int32_t CustomProperties::TypeOf(const Entry& entry) const {
  const pugi::xml_node value = ValueElement(entry.node);
  return TypeOfElement(SplitName(value.name()).second);
}

Variant CustomProperties::StoredValue(const Entry& entry) const {
  const pugi::xml_node element = ValueElement(entry.node);
  const std::string_view local = SplitName(element.name()).second;
  const int32_t type = TypeOfElement(local);
  const std::string text = TextOf(element);
  try {
    switch (type) {
      case platform::kPropertyNumber: {
        const long long n = std::strtoll(text.c_str(), nullptr, 10);
        if (n < INT32_MIN || n > INT32_MAX) return Variant::Int32(0);
        return Variant::Int32(static_cast<int32_t>(n));
      }
      case platform::kPropertyBoolean:
        return Variant::Bool(platform::ToFlag(text == "true" || text == "1"));
      case platform::kPropertyDate: {
        const auto date = ParseFiletime(text);
        return date ? Variant::Date(*date) : DefaultOfType(type);
      }
      case platform::kPropertyFloat:
        return wordrules::ConvertToPropertyType(Variant::String(platform::FromUtf8(text)), type);
      default:
        return Variant::String(DecodeValueText(text));
    }
  } catch (const platform::ComError&) {
    return DefaultOfType(type);  // a damaged value reads as the type's empty value
  }
}

Variant CustomProperties::ValueOf(const Entry& entry) const {
  const std::u16string link = LinkTarget(entry);
  if (link.empty() || !bookmarks_) return StoredValue(entry);
  const auto text = bookmarks_(link);
  if (!text) return StoredValue(entry);
  try {
    return wordrules::ConvertToPropertyType(Variant::String(*text), TypeOf(entry));
  } catch (const platform::ComError&) {
    return StoredValue(entry);  // a source that does not convert leaves the last value
  }
}

void CustomProperties::Store(Entry& entry, int32_t type, const Variant& value) {
  const auto [local, text] = EncodeValue(type, value);  // may raise: before any change
  XmlPart& part = Part();
  pugi::xml_node root = part.Root();
  auto prefix = PrefixFor(entry.node, Ns::kVt);
  if (!prefix) {
    // A part without the value-types namespace gets it declared on its root.
    prefix = "vt";
    for (int n = 2; root.attribute(("xmlns:" + *prefix).c_str()); ++n) {
      prefix = std::string("vt").append(std::to_string(n));
    }
    root.append_attribute(("xmlns:" + *prefix).c_str())
        .set_value(std::string(UriOf(Ns::kVt)).c_str());
  }
  while (pugi::xml_node old = entry.node.first_child()) entry.node.remove_child(old);
  pugi::xml_node element = entry.node.append_child(Qualified(*prefix, local).c_str());
  if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(text.c_str());
  part.MarkChanged();
}

std::u16string CustomProperties::LinkTarget(const Entry& entry) const {
  return platform::FromUtf8(entry.node.attribute("linkTarget").value());
}

}  // namespace sendnote::docx
