// One XML part of a package, parsed so that writing it back leaves everything that was
// not edited as it was: whitespace, comments, the declaration and the bytes around the
// root element. Document type declarations are refused, never expanded.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace sendnote::docx {

// What one part may hold before it is refused.
inline constexpr size_t kMaxXmlDepth = 1000;
inline constexpr size_t kMaxXmlAttributes = 1000;

class XmlPart {
 public:
  // Parses `bytes` as the part `name`; raises the bad-package error for malformed XML or
  // a document type declaration.
  XmlPart(std::string name, std::string_view bytes);
  XmlPart(const XmlPart&) = delete;
  XmlPart& operator=(const XmlPart&) = delete;
  // A copy of the part as it is now, its tree copied (not parsed again).
  std::unique_ptr<XmlPart> Copy() const;

  const std::string& Name() const { return name_; }
  pugi::xml_document& Document() { return document_; }
  pugi::xml_node Root() const { return document_.document_element(); }

  // Marks the part as edited, so that saving writes it again.
  void MarkChanged() { changed_ = true; }
  bool Changed() const { return changed_; }

  // Returns the part's text: the original prolog and trailing bytes around the root
  // element as written now.
  std::string Serialize() const;

 private:
  std::string name_;
  pugi::xml_document document_;
  pugi::xml_encoding encoding_ = pugi::encoding_utf8;
  bool keepsOriginalFrame_ = false;  // prolog_ and epilogue_ hold the original bytes
  std::string prolog_;
  std::string epilogue_;
  bool changed_ = false;

  XmlPart() = default;
};

}  // namespace sendnote::docx
