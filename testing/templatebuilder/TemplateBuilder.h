// Writes a Word template (.dotx) or document (.docx) package from a description:
// paragraphs of text, DOCPROPERTY and other fields (complex or simple, with the code
// split over several runs if wanted, bold results), bookmarks, a table, text boxes
// (DrawingML with a VML fallback copy), pictures, a header, styles and theme, custom XML
// data and custom properties. Used for tests, benchmarks and example templates.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "platform/Variant.h"
#include "platform/Word.h"

namespace sendnote::docx {

struct TemplateText {
  std::u16string text;
  bool bold = false;
  int32_t sizePt = 0;  // 0: the document's default size
};

struct TemplateField {
  std::u16string code;  // for example u" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT "
  std::u16string result;
  bool boldResult = false;
  int codePieces = 1;   // the code written over this many instruction runs
  bool simple = false;  // written as one w:fldSimple element
};

// A bookmark around a run of text (what a linked property reads).
struct TemplateBookmark {
  std::u16string name;
  std::u16string text;
};

struct TemplateParagraph;

// A floating text box, written twice: as DrawingML and as its VML fallback.
struct TemplateTextBox {
  std::vector<TemplateParagraph> paragraphs;
  int32_t widthPt = 200;
  int32_t heightPt = 60;
  int32_t leftPt = 0;
  int32_t topPt = 0;
  bool vmlFallback = true;
};

// A picture of one of the description's images, floating or in line with the text.
struct TemplatePicture {
  size_t image = 0;
  bool floating = true;
};

using TemplateInline =
    std::variant<TemplateText, TemplateField, TemplateBookmark, TemplateTextBox, TemplatePicture>;

enum class TemplateAlign { kLeft, kCenter, kRight };

struct TemplateParagraph {
  std::vector<TemplateInline> content;
  TemplateAlign align = TemplateAlign::kLeft;
};

struct TemplateTable {
  // rows of cells of paragraphs
  std::vector<std::vector<std::vector<TemplateParagraph>>> rows;
};

using TemplateBlock = std::variant<TemplateParagraph, TemplateTable>;

struct TemplateImage {
  std::string png;
  int32_t widthPx = 1;
  int32_t heightPx = 1;
};

struct TemplateProperty {
  std::u16string name;
  int32_t type = platform::kPropertyString;
  platform::Variant value;    // already of `type`
  std::u16string linkTarget;  // a bookmark name for a property linked to content
};

struct TemplateDescription {
  std::vector<TemplateBlock> body;
  std::vector<TemplateParagraph> header;  // none: no header part
  std::vector<TemplateImage> images;
  std::vector<TemplateProperty> properties;
  std::vector<std::string> customXml;  // data items, each a whole XML text
  bool isTemplate = true;              // .dotx, else .docx
  std::u16string font = u"MS Mincho";  // the document's default font
};

// Returns the package's bytes. Raises the bad-package error (5981) for a description it
// cannot write (a text box inside a text box, an image index out of range).
std::string BuildTemplate(const TemplateDescription& description);
// Writes the package to `path`, replacing an existing file.
void WriteTemplate(const TemplateDescription& description, const std::filesystem::path& path);

// A PNG image of one colour, or of pseudo-random pixels from `seed` (which does not
// compress: for packages of a given size).
std::string SolidPng(int32_t width, int32_t height, uint32_t rgb);
std::string NoisePng(int32_t width, int32_t height, uint32_t seed);

}  // namespace sendnote::docx
