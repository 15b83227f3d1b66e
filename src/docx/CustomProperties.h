// The custom document properties of a package (the custom properties part): named,
// typed values, looked up without regard to ASCII letter case. The part is created, with
// its content type and package relationship, when the first property is added.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "docx/Package.h"
#include "platform/Variant.h"

namespace sendnote::docx {

class CustomProperties {
 public:
  // One property; stays valid after others are deleted, and reads as deleted after its
  // own deletion.
  struct Entry {
    pugi::xml_node node;  // the property element
    std::u16string name;
    bool deleted = false;
  };
  // Returns the text of a bookmark of the document, or empty when it has none; linked
  // properties take their value from it.
  using BookmarkText = std::function<std::optional<std::u16string>(std::u16string_view)>;

  // Reads the properties of the part the package relationship names, if there is one.
  CustomProperties(Package& package, BookmarkText bookmarks);

  size_t Count() const { return entries_.size(); }
  // 0-based, in enumeration order (the order of the part).
  const std::shared_ptr<Entry>& At(size_t index) const { return entries_.at(index); }
  // Returns the property of that name, or empty.
  std::shared_ptr<Entry> Find(std::u16string_view name) const;

  // Adds a property with a value already of `type`; the name must be new.
  std::shared_ptr<Entry> Add(std::u16string_view name, int32_t type,
                             const platform::Variant& value);
  void Delete(Entry& entry);

  // The Office property type (1 number, 2 yes/no, 3 date, 4 text, 5 float).
  int32_t TypeOf(const Entry& entry) const;
  // The stored value; for a linked property, its source's text converted to the type, or
  // the stored value when the source is gone or does not convert.
  platform::Variant ValueOf(const Entry& entry) const;
  // Stores a value already of `type`, with the value element of that type.
  void Store(Entry& entry, int32_t type, const platform::Variant& value);
  // The bookmark a linked property reads, or empty when it is not linked.
  std::u16string LinkTarget(const Entry& entry) const;

 private:
  // The part, created on first need.
  XmlPart& Part();
  platform::Variant StoredValue(const Entry& entry) const;

  Package& package_;
  BookmarkText bookmarks_;
  XmlPart* part_ = nullptr;
  std::vector<std::shared_ptr<Entry>> entries_;
};

// Returns the local name of the value element for a property type ("i4", "bool",
// "filetime", "lpwstr", "r8") and the element's text for `value`, already of that type.
std::pair<std::string_view, std::string> EncodeValue(int32_t type, const platform::Variant& value);

// Text in a property value escapes the characters XML cannot hold as _xHHHH_.
std::string EncodeValueText(std::u16string_view text);
std::u16string DecodeValueText(std::string_view text);

}  // namespace sendnote::docx
