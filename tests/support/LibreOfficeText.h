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

// Returns the paragraphs of `document` (UTF-8) as LibreOffice converts it to OpenDocument,
// or empty when the conversion fails. A text box's paragraphs are their own, not part of
// the paragraph that anchors the box. The profile lives in a folder beside the document.
std::optional<std::vector<std::string>> LibreOfficeParagraphs(
    const std::filesystem::path& document);

// Returns true when `value` stands within one paragraph of `paragraphs` (the values the
// letter writer puts into fields never hold a line break).
bool ShowsValue(const std::vector<std::string>& paragraphs, const std::string& value);

}  // namespace sendnote::testing
