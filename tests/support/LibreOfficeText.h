// The text of a document as LibreOffice reads it, paragraph by paragraph: body, tables,
// text boxes, headers and footers, with each field showing the result stored in the file.
// Unlike text taken from a PDF it does not depend on fonts, line wrapping or the order of
// extraction.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sendnote::testing {

// Returns true when soffice can be run.
bool LibreOfficeInstalled();

// What a conversion gave: `value` when it succeeded, otherwise `failure` says why (for a
// failed soffice, its exit status and output, of each attempt).
template <class T>
struct LibreOfficeResult {
  std::optional<T> value;
  std::string failure;

  bool has_value() const { return value.has_value(); }
  const T& operator*() const { return *value; }
};

// Converts `document` with soffice into FORMAT (an extension such as "odt" or "fodt") in
// the document's folder, and returns the converted file's path. The profile lives in a
// folder beside the document. A conversion that fails is tried once more: the first start
// of LibreOffice on a machine (or with a new profile) can end non-zero after setting the
// profile up. Tests that call this carry "LibreOffice" in their names: CTest runs them one
// at a time (RESOURCE_LOCK), as two first starts at once can fail each other.
LibreOfficeResult<std::filesystem::path> LibreOfficeConvert(const std::filesystem::path& document,
                                                            const std::string& format);

// Returns the paragraphs of `document` (UTF-8) as LibreOffice converts it to OpenDocument,
// or why the conversion failed. A text box's paragraphs are their own, not part of the
// paragraph that anchors the box.
LibreOfficeResult<std::vector<std::string>> LibreOfficeParagraphs(
    const std::filesystem::path& document);

// Returns true when `value` stands within one paragraph of `paragraphs` (the values the
// letter writer puts into fields never hold a line break).
bool ShowsValue(const std::vector<std::string>& paragraphs, const std::string& value);

}  // namespace sendnote::testing
