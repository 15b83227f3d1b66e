// Writes a Word template (.dotx) or document (.docx) package from a description:
// paragraphs of text, DOCPROPERTY and other fields (complex or simple, with the code
// split over several runs if wanted, bold results), bookmarks, a table, text boxes
// (DrawingML with a VML fallback copy) also in groups and headers, pictures, a header and
// a footer, a second section, footnotes, styles and theme, custom XML
// data and custom properties, the page's size and margins, table cells of vertical text.
// Used for tests, benchmarks and example templates.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Variant.h"
#include "platform/Word.h"

namespace sendnote::docx {

struct TemplateText {
  std::u16string text;
  bool bold = false;
  int32_t sizePt = 0;        // 0: the document's default size
  int32_t spacingTwips = 0;  // added after each character (w:spacing)
};

struct TemplateField {
  std::u16string code;  // for example u" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT "
  std::u16string result;
  bool boldResult = false;
  int codePieces = 1;              // the code written over this many instruction runs
  bool simple = false;             // written as one w:fldSimple element
  int32_t resultSizePt = 0;        // the result run's size; 0: the default
  int32_t resultSpacingTwips = 0;  // the result run's character spacing
  std::u16string resultFont;       // the result run's font for Latin text; empty: the default
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
  int32_t leftPt = 0;  // a floating picture's offset from the column and paragraph
  int32_t topPt = 0;
};

// A floating group of text boxes (DrawingML wpg:wgp with a VML v:group fallback), the
// boxes stacked from its top.
struct TemplateGroup {
  std::vector<TemplateTextBox> boxes;
  int32_t leftPt = 0;
  int32_t topPt = 0;
};

using TemplateInline = std::variant<TemplateText, TemplateField, TemplateBookmark, TemplateTextBox,
                                    TemplatePicture, TemplateGroup>;

enum class TemplateAlign { kLeft, kCenter, kRight };

struct TemplateParagraph {
  std::vector<TemplateInline> content;
  TemplateAlign align = TemplateAlign::kLeft;
  int32_t indentTwips = 0;  // from the start of the line (the top in vertical text)
};

struct TemplateTable {
  // rows of cells of paragraphs
  std::vector<std::vector<std::vector<TemplateParagraph>>> rows;
  std::vector<int32_t> columnTwips;  // empty: 8500 twips shared evenly
  int32_t rowHeightTwips = 0;        // the exact height of each row; 0: as the text needs
  bool borders = true;
  bool vertical = false;  // the cells' text runs top to bottom, lines right to left
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

// The page and its margins, in twips.
struct TemplatePage {
  int32_t widthTwips = 11906, heightTwips = 16838;  // A4 portrait
  int32_t topTwips = 1985, rightTwips = 1701, bottomTwips = 1701, leftTwips = 1701;
};

// A font the font table names, with the one Word takes where it is not installed.
struct TemplateFont {
  std::u16string name;
  std::u16string altName;
};

struct TemplateDescription {
  std::vector<TemplateBlock> body;
  std::vector<TemplateParagraph> header;  // none: no header part
  std::vector<TemplateParagraph> footer;  // none: no footer part
  // A second section with a primary header of its own; none: one section.
  std::vector<TemplateParagraph> secondSectionHeader;
  // Footnotes, referred to from a paragraph at the end of the body.
  std::vector<std::vector<TemplateParagraph>> footnotes;
  std::vector<TemplateImage> images;
  std::vector<TemplateProperty> properties;
  std::vector<std::string> customXml;  // data items, each a whole XML text
  bool isTemplate = true;              // .dotx, else .docx
  std::u16string font = u"MS Mincho";  // the document's default font
  std::vector<TemplateFont> fonts;     // more fonts for the font table
  TemplatePage page;
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
// A PNG image whose pixel at (x, y) has the colour `rgb(x, y)`.
std::string PixelPng(int32_t width, int32_t height,
                     const std::function<uint32_t(int32_t, int32_t)>& rgb);

}  // namespace sendnote::docx
