#include "templatebuilder/TemplateBuilder.h"

#include <array>

#include "docx/CustomProperties.h"
#include "docx/DocxErrors.h"
#include "docx/FileIo.h"
#include "docx/Zip.h"
#include "platform/Utf.h"

namespace sendnote::docx {
namespace {

constexpr std::string_view kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
constexpr std::string_view kRelBase =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr std::string_view kMainNamespaces =
    " xmlns:wpc=\"http://schemas.microsoft.com/office/word/2010/wordprocessingCanvas\""
    " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
    " xmlns:o=\"urn:schemas-microsoft-com:office:office\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\""
    " xmlns:v=\"urn:schemas-microsoft-com:vml\""
    " xmlns:wp14=\"http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing\""
    " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
    " xmlns:w10=\"urn:schemas-microsoft-com:office:word\""
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
    " xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\""
    " xmlns:wpg=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\""
    " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\""
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\""
    " mc:Ignorable=\"w14 wp14\"";
constexpr int64_t kEmuPerPoint = 12700;
constexpr int64_t kEmuPerPixel = 9525;  // at 96 pixels per inch

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// UTF-8 for text in markup, without the characters XML cannot carry.
std::string TextXml(std::u16string_view text) {
  std::u16string clean;
  for (char16_t c : text) {
    if (c >= 0x20 && c != 0xFFFE && c != 0xFFFF) clean += c;
  }
  return Escape(platform::ToUtf8(clean));
}

// The run properties of a run, empty for none.
std::string RunProperties(bool bold, int32_t sizePt, int32_t spacingTwips,
                          std::u16string_view font = {}) {
  if (!bold && sizePt <= 0 && spacingTwips == 0 && font.empty()) return {};
  std::string out = "<w:rPr>";
  if (!font.empty()) {
    out += "<w:rFonts w:ascii=\"" + TextXml(font) + "\" w:hAnsi=\"" + TextXml(font) + "\"/>";
  }
  if (bold) out += "<w:b/><w:bCs/>";
  if (spacingTwips != 0) out += "<w:spacing w:val=\"" + std::to_string(spacingTwips) + "\"/>";
  if (sizePt > 0) {
    const std::string halfPoints = std::to_string(sizePt * 2);
    out += "<w:sz w:val=\"" + halfPoints + "\"/><w:szCs w:val=\"" + halfPoints + "\"/>";
  }
  return out + "</w:rPr>";
}

std::string Run(std::u16string_view text, bool bold, int32_t sizePt = 0, int32_t spacingTwips = 0,
                std::u16string_view font = {}) {
  return "<w:r>" + RunProperties(bold, sizePt, spacingTwips, font) +
         "<w:t xml:space=\"preserve\">" + TextXml(text) + "</w:t></w:r>";
}

// Where a floating object lies: its offset from the column and from the paragraph.
std::string AnchorPosition(int32_t leftPt, int32_t topPt) {
  return "<wp:simplePos x=\"0\" y=\"0\"/><wp:positionH relativeFrom=\"column\"><wp:posOffset>" +
         std::to_string(leftPt * kEmuPerPoint) +
         "</wp:posOffset></wp:positionH><wp:positionV relativeFrom=\"paragraph\"><wp:posOffset>" +
         std::to_string(topPt * kEmuPerPoint) + "</wp:posOffset></wp:positionV>";
}

// What the document part refers to, collected while it is written.
struct Writer {
  const TemplateDescription& description;
  std::vector<std::pair<std::string, std::string>> relationships;  // type suffix, target
  std::vector<size_t> imageRelationship;  // image index -> relationship number (1-based)
  int nextDrawingId = 1;
  int nextBookmarkId = 0;
  bool shapeTypeWritten = false;
  bool inTextBox = false;
  bool inHeader = false;  // the header part has no relationships of its own here

  std::string AddRelationship(std::string type, std::string target) {
    relationships.emplace_back(std::move(type), std::move(target));
    return "rId" + std::to_string(relationships.size());
  }

  std::string ImageRelationship(size_t image) {
    if (image >= description.images.size()) RaiseBadPackage("a picture names no image");
    if (imageRelationship[image] == 0) {
      AddRelationship("image", "media/image" + std::to_string(image + 1) + ".png");
      imageRelationship[image] = relationships.size();
    }
    return "rId" + std::to_string(imageRelationship[image]);
  }

  std::string Field(const TemplateField& f) {
    const std::string result =
        Run(f.result, f.boldResult, f.resultSizePt, f.resultSpacingTwips, f.resultFont);
    if (f.simple) {
      return "<w:fldSimple w:instr=\"" + TextXml(f.code) + "\">" + result + "</w:fldSimple>";
    }
    // The size and spacing of the result are on the field's other runs too, as Word writes
    // them: LibreOffice shows a field in the format of the run that begins it.
    const std::string start =
        "<w:r>" + RunProperties(false, f.resultSizePt, f.resultSpacingTwips, f.resultFont);
    std::string out = start + "<w:fldChar w:fldCharType=\"begin\"/></w:r>";
    const int pieces = std::max(1, f.codePieces);
    const size_t step =
        (f.code.size() + static_cast<size_t>(pieces) - 1) / static_cast<size_t>(pieces);
    for (int i = 0; i < pieces; ++i) {
      const size_t begin = std::min(f.code.size(), static_cast<size_t>(i) * step);
      const std::u16string_view piece = std::u16string_view(f.code).substr(begin, step);
      out +=
          start + "<w:instrText xml:space=\"preserve\">" + TextXml(piece) + "</w:instrText></w:r>";
    }
    out += start + "<w:fldChar w:fldCharType=\"separate\"/></w:r>";
    out += result;
    out += start + "<w:fldChar w:fldCharType=\"end\"/></w:r>";
    return out;
  }

  std::string Paragraphs(const std::vector<TemplateParagraph>& paragraphs) {
    std::string out;
    for (const TemplateParagraph& p : paragraphs) out += Paragraph(p);
    if (paragraphs.empty()) out += "<w:p/>";
    return out;
  }

  std::string TextBox(const TemplateTextBox& box) {
    if (inTextBox) RaiseBadPackage("a text box cannot hold a text box");
    inTextBox = true;
    const std::string content = "<w:txbxContent>" + Paragraphs(box.paragraphs) + "</w:txbxContent>";
    inTextBox = false;
    const int id = nextDrawingId++;
    const std::string cx = std::to_string(box.widthPt * kEmuPerPoint);
    const std::string cy = std::to_string(box.heightPt * kEmuPerPoint);
    std::string drawing =
        "<w:drawing><wp:anchor distT=\"45720\" distB=\"45720\" distL=\"114300\" "
        "distR=\"114300\" simplePos=\"0\" relativeHeight=\"" +
        std::to_string(251659264 + id) +
        "\" behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\">" +
        AnchorPosition(box.leftPt, box.topPt) + "<wp:extent cx=\"" + cx + "\" cy=\"" + cy +
        "\"/>"
        "<wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/><wp:wrapSquare wrapText=\"bothSides\"/>"
        "<wp:docPr id=\"" +
        std::to_string(id) + "\" name=\"Text Box " + std::to_string(id) +
        "\"/><wp:cNvGraphicFramePr/>"
        "<a:graphic><a:graphicData "
        "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"><wps:wsp>"
        "<wps:cNvSpPr txBox=\"1\"/><wps:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" +
        cx + "\" cy=\"" + cy +
        "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>"
        "<a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill><a:ln w=\"6350\"><a:solidFill>"
        "<a:srgbClr val=\"000000\"/></a:solidFill></a:ln></wps:spPr><wps:txbx>" +
        content +
        "</wps:txbx><wps:bodyPr rot=\"0\" vert=\"horz\" wrap=\"square\" lIns=\"91440\" "
        "tIns=\"45720\" rIns=\"91440\" bIns=\"45720\" anchor=\"t\" anchorCtr=\"0\"><a:noAutofit/>"
        "</wps:bodyPr></wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing>";
    if (!box.vmlFallback) return "<w:r>" + drawing + "</w:r>";
    std::string pict = "<w:pict>";
    if (!shapeTypeWritten) {
      shapeTypeWritten = true;
      pict +=
          "<v:shapetype id=\"_x0000_t202\" coordsize=\"21600,21600\" o:spt=\"202\" "
          "path=\"m,l,21600r21600,l21600,xe\"><v:stroke joinstyle=\"miter\"/>"
          "<v:path gradientshapeok=\"t\" o:connecttype=\"rect\"/></v:shapetype>";
    }
    pict += "<v:shape id=\"Text Box " + std::to_string(id) + "\" o:spid=\"_x0000_s" +
            std::to_string(1024 + id) +
            "\" type=\"#_x0000_t202\" style=\"position:absolute;margin-left:" +
            std::to_string(box.leftPt) + "pt;margin-top:" + std::to_string(box.topPt) +
            "pt;width:" + std::to_string(box.widthPt) +
            "pt;height:" + std::to_string(box.heightPt) +
            "pt;z-index:" + std::to_string(251659264 + id) +
            ";mso-wrap-style:square\" fillcolor=\"white\" strokeweight=\".5pt\"><v:textbox>" +
            content + "</v:textbox></v:shape></w:pict>";
    return "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" + drawing +
           "</mc:Choice><mc:Fallback>" + pict + "</mc:Fallback></mc:AlternateContent></w:r>";
  }

  std::string Group(const TemplateGroup& group) {
    if (inTextBox) RaiseBadPackage("a text box cannot hold a group");
    int32_t widthPt = 0, heightPt = 0;
    for (const TemplateTextBox& box : group.boxes) {
      widthPt = std::max(widthPt, box.widthPt);
      heightPt += box.heightPt;
    }
    const int id = nextDrawingId++;
    const std::string cx = std::to_string(widthPt * kEmuPerPoint);
    const std::string cy = std::to_string(heightPt * kEmuPerPoint);
    std::string shapes, vml;
    int32_t top = 0;
    for (const TemplateTextBox& box : group.boxes) {
      inTextBox = true;
      const std::string content =
          "<w:txbxContent>" + Paragraphs(box.paragraphs) + "</w:txbxContent>";
      inTextBox = false;
      const int boxId = nextDrawingId++;
      const std::string bx = std::to_string(box.widthPt * kEmuPerPoint);
      const std::string by = std::to_string(box.heightPt * kEmuPerPoint);
      shapes += "<wps:wsp><wps:cNvPr id=\"" + std::to_string(boxId) + "\" name=\"Text Box " +
                std::to_string(boxId) +
                "\"/><wps:cNvSpPr txBox=\"1\"/><wps:spPr><a:xfrm><a:off x=\"0\" y=\"" +
                std::to_string(top * kEmuPerPoint) + "\"/><a:ext cx=\"" + bx + "\" cy=\"" + by +
                "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></wps:spPr>"
                "<wps:txbx>" +
                content + "</wps:txbx><wps:bodyPr/></wps:wsp>";
      vml +=
          "<v:shape id=\"Text Box " + std::to_string(boxId) +
          "\" type=\"#_x0000_t202\" style=\"position:absolute;left:0;top:" + std::to_string(top) +
          ";width:" + std::to_string(box.widthPt) + ";height:" + std::to_string(box.heightPt) +
          "\"><v:textbox>" + content + "</v:textbox></v:shape>";
      top += box.heightPt;
    }
    const std::string drawing =
        "<w:drawing><wp:anchor distT=\"0\" distB=\"0\" distL=\"114300\" distR=\"114300\" "
        "simplePos=\"0\" relativeHeight=\"" +
        std::to_string(251659264 + id) +
        "\" behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\">" +
        AnchorPosition(group.leftPt, group.topPt) + "<wp:extent cx=\"" + cx + "\" cy=\"" + cy +
        "\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/><wp:wrapNone/>"
        "<wp:docPr id=\"" +
        std::to_string(id) + "\" name=\"Group " + std::to_string(id) +
        "\"/><wp:cNvGraphicFramePr/><a:graphic><a:graphicData "
        "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\"><wpg:wgp>"
        "<wpg:cNvGrpSpPr/><wpg:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" +
        cx + "\" cy=\"" + cy + "\"/><a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"" + cx + "\" cy=\"" +
        cy + "\"/></a:xfrm></wpg:grpSpPr>" + shapes +
        "</wpg:wgp></a:graphicData></a:graphic></wp:anchor></w:drawing>";
    const std::string pict =
        "<w:pict><v:group id=\"Group " + std::to_string(id) +
        "\" style=\"position:absolute;margin-left:" + std::to_string(group.leftPt) +
        "pt;margin-top:" + std::to_string(group.topPt) + "pt;width:" + std::to_string(widthPt) +
        "pt;height:" + std::to_string(heightPt) + "pt\" coordsize=\"" + std::to_string(widthPt) +
        "," + std::to_string(heightPt) + "\">" + vml + "</v:group></w:pict>";
    return "<w:r><mc:AlternateContent><mc:Choice Requires=\"wpg\">" + drawing +
           "</mc:Choice><mc:Fallback>" + pict + "</mc:Fallback></mc:AlternateContent></w:r>";
  }

  std::string Picture(const TemplatePicture& picture) {
    if (inHeader) RaiseBadPackage("the header cannot hold pictures");
    const std::string rel = ImageRelationship(picture.image);
    const TemplateImage& image = description.images[picture.image];
    const int id = nextDrawingId++;
    const std::string cx = std::to_string(image.widthPx * kEmuPerPixel);
    const std::string cy = std::to_string(image.heightPx * kEmuPerPixel);
    const std::string graphic =
        "<wp:docPr id=\"" + std::to_string(id) + "\" name=\"Picture " + std::to_string(id) +
        "\"/><wp:cNvGraphicFramePr><a:graphicFrameLocks noChangeAspect=\"1\"/>"
        "</wp:cNvGraphicFramePr><a:graphic><a:graphicData "
        "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:nvPicPr>"
        "<pic:cNvPr id=\"" +
        std::to_string(id) + "\" name=\"image" + std::to_string(picture.image + 1) +
        ".png\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"" + rel +
        "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm>"
        "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"" +
        cx + "\" cy=\"" + cy +
        "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
        "</a:graphicData></a:graphic>";
    if (!picture.floating) {
      return "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">"
             "<wp:extent cx=\"" +
             cx + "\" cy=\"" + cy + "\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/>" +
             graphic + "</wp:inline></w:drawing></w:r>";
    }
    return "<w:r><w:drawing><wp:anchor distT=\"0\" distB=\"0\" distL=\"114300\" "
           "distR=\"114300\" simplePos=\"0\" relativeHeight=\"" +
           std::to_string(251659264 + id) +
           "\" behindDoc=\"1\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\">" +
           AnchorPosition(picture.leftPt, picture.topPt) + "<wp:extent cx=\"" + cx + "\" cy=\"" +
           cy + "\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/><wp:wrapNone/>" + graphic +
           "</wp:anchor></w:drawing></w:r>";
  }

  std::string Paragraph(const TemplateParagraph& paragraph) {
    std::string out = "<w:p>";
    if (paragraph.align != TemplateAlign::kLeft || paragraph.indentTwips != 0) {
      out += "<w:pPr>";
      if (paragraph.indentTwips != 0)
        out += "<w:ind w:left=\"" + std::to_string(paragraph.indentTwips) + "\"/>";
      if (paragraph.align != TemplateAlign::kLeft) {
        out += std::string("<w:jc w:val=\"") +
               (paragraph.align == TemplateAlign::kCenter ? "center" : "right") + "\"/>";
      }
      out += "</w:pPr>";
    }
    for (const TemplateInline& item : paragraph.content) {
      if (const auto* text = std::get_if<TemplateText>(&item)) {
        out += Run(text->text, text->bold, text->sizePt, text->spacingTwips);
      } else if (const auto* field = std::get_if<TemplateField>(&item)) {
        out += Field(*field);
      } else if (const auto* mark = std::get_if<TemplateBookmark>(&item)) {
        const std::string id = std::to_string(nextBookmarkId++);
        out += "<w:bookmarkStart w:id=\"" + id + "\" w:name=\"" + TextXml(mark->name) + "\"/>" +
               Run(mark->text, false) + "<w:bookmarkEnd w:id=\"" + id + "\"/>";
      } else if (const auto* box = std::get_if<TemplateTextBox>(&item)) {
        out += TextBox(*box);
      } else if (const auto* picture = std::get_if<TemplatePicture>(&item)) {
        out += Picture(*picture);
      } else if (const auto* group = std::get_if<TemplateGroup>(&item)) {
        out += Group(*group);
      }
    }
    return out + "</w:p>";
  }

  std::string Table(const TemplateTable& table) {
    size_t columns = table.columnTwips.size();
    for (const auto& row : table.rows) columns = std::max(columns, row.size());
    columns = std::max<size_t>(columns, 1);
    std::vector<int32_t> widths = table.columnTwips;
    widths.resize(columns, static_cast<int32_t>(8500 / columns));
    std::string out = "<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/>";
    if (table.columnTwips.empty()) {
      out += "<w:tblW w:w=\"0\" w:type=\"auto\"/>";
    } else {
      int32_t total = 0;
      for (const int32_t w : widths) total += w;
      out += "<w:tblW w:w=\"" + std::to_string(total) + "\" w:type=\"dxa\"/>";
    }
    const std::string line = table.borders ? "single\" w:sz=\"4" : "nil\" w:sz=\"0";
    out += "<w:tblBorders>";
    for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
      out += std::string("<w:") + side + " w:val=\"" + line + "\" w:space=\"0\" w:color=\"auto\"/>";
    }
    out += "</w:tblBorders>";
    if (!table.columnTwips.empty()) out += "<w:tblLayout w:type=\"fixed\"/>";
    out += "<w:tblLook w:val=\"04A0\"/></w:tblPr><w:tblGrid>";
    for (size_t c = 0; c < columns; ++c)
      out += "<w:gridCol w:w=\"" + std::to_string(widths[c]) + "\"/>";
    out += "</w:tblGrid>";
    for (const auto& row : table.rows) {
      out += "<w:tr>";
      if (table.rowHeightTwips > 0) {
        out += "<w:trPr><w:trHeight w:val=\"" + std::to_string(table.rowHeightTwips) +
               "\" w:hRule=\"exact\"/></w:trPr>";
      }
      for (size_t c = 0; c < columns; ++c) {
        out += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(widths[c]) + "\" w:type=\"dxa\"/>";
        if (table.vertical) out += "<w:textDirection w:val=\"tbRl\"/>";
        out += "</w:tcPr>";
        out += c < row.size() ? Paragraphs(row[c]) : "<w:p/>";
        out += "</w:tc>";
      }
      out += "</w:tr>";
    }
    return out + "</w:tbl>";
  }
};

std::string ContentTypes(const TemplateDescription& d) {
  const std::string main =
      d.isTemplate
          ? "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml"
          : "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
  std::string out = std::string(kDeclaration) +
                    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                    "<Default Extension=\"rels\" "
                    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
  if (!d.images.empty()) out += "<Default Extension=\"png\" ContentType=\"image/png\"/>";
  out += "<Override PartName=\"/word/document.xml\" ContentType=\"" + main + "\"/>";
  for (size_t i = 0; i < d.customXml.size(); ++i) {
    out +=
        "<Override PartName=\"/customXml/itemProps" + std::to_string(i + 1) +
        ".xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.customXmlProperties+xml\"/>";
  }
  out +=
      "<Override PartName=\"/word/styles.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
      "<Override PartName=\"/word/settings.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml\"/"
      ">"
      "<Override PartName=\"/word/fontTable.xml\" "
      "ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.fontTable+xml\"/>"
      "<Override PartName=\"/word/theme/theme1.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.theme+xml\"/>";
  const auto story = [&](const char* part, const char* type) {
    out += std::string("<Override PartName=\"/word/") + part +
           "\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml." +
           type + "+xml\"/>";
  };
  if (!d.header.empty()) story("header1.xml", "header");
  if (!d.footer.empty()) story("footer1.xml", "footer");
  if (!d.secondSectionHeader.empty()) story("header2.xml", "header");
  if (!d.footnotes.empty()) story("footnotes.xml", "footnotes");
  out +=
      "<Override PartName=\"/docProps/core.xml\" "
      "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
      "<Override PartName=\"/docProps/app.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>";
  if (!d.properties.empty()) {
    out +=
        "<Override PartName=\"/docProps/custom.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.custom-properties+xml\"/>";
  }
  return out + "</Types>";
}

std::string PackageRelationships(const TemplateDescription& d) {
  std::string out =
      std::string(kDeclaration) +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId3\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "extended-properties\" Target=\"docProps/app.xml\"/>"
      "<Relationship Id=\"rId2\" "
      "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
      "core-properties\" Target=\"docProps/core.xml\"/>"
      "<Relationship Id=\"rId1\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
      "Target=\"word/document.xml\"/>";
  if (!d.properties.empty()) {
    out +=
        "<Relationship Id=\"rId4\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "custom-properties\" Target=\"docProps/custom.xml\"/>";
  }
  return out + "</Relationships>";
}

std::string Styles(const TemplateDescription& d) {
  const std::string font = TextXml(d.font);
  return std::string(kDeclaration) +
         "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
         "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"" +
         font + "\" w:eastAsia=\"" + font + "\" w:hAnsi=\"" + font + "\" w:cs=\"" + font +
         "\"/><w:kern w:val=\"2\"/><w:sz w:val=\"21\"/><w:szCs w:val=\"22\"/>"
         "<w:lang w:val=\"en-US\" w:eastAsia=\"ja-JP\" w:bidi=\"ar-SA\"/></w:rPr></w:rPrDefault>"
         "<w:pPrDefault/></w:docDefaults>"
         "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name "
         "w:val=\"Normal\"/>"
         "<w:qFormat/><w:pPr><w:widowControl w:val=\"0\"/><w:jc w:val=\"both\"/></w:pPr></w:style>"
         "<w:style w:type=\"character\" w:default=\"1\" w:styleId=\"DefaultParagraphFont\">"
         "<w:name w:val=\"Default Paragraph Font\"/><w:uiPriority w:val=\"1\"/><w:semiHidden/>"
         "<w:unhideWhenUsed/></w:style>"
         "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name "
         "w:val=\"Normal Table\"/>"
         "<w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar><w:top w:w=\"0\" "
         "w:type=\"dxa\"/>"
         "<w:left w:w=\"108\" w:type=\"dxa\"/><w:bottom w:w=\"0\" w:type=\"dxa\"/>"
         "<w:right w:w=\"108\" w:type=\"dxa\"/></w:tblCellMar></w:tblPr></w:style>"
         "<w:style w:type=\"table\" w:styleId=\"TableGrid\"><w:name w:val=\"Table Grid\"/>"
         "<w:basedOn w:val=\"TableNormal\"/><w:tblPr><w:tblBorders>"
         "<w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
         "<w:left w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
         "<w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
         "<w:right w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
         "<w:insideH w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
         "<w:insideV w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
         "</w:tblBorders></w:tblPr></w:style>"
         "<w:style w:type=\"paragraph\" w:styleId=\"Header\"><w:name w:val=\"header\"/>"
         "<w:basedOn w:val=\"Normal\"/><w:pPr><w:tabs><w:tab w:val=\"center\" w:pos=\"4252\"/>"
         "<w:tab w:val=\"right\" w:pos=\"8504\"/></w:tabs><w:snapToGrid "
         "w:val=\"0\"/></w:pPr></w:style>"
         "</w:styles>";
}

std::string Theme(const TemplateDescription& d) {
  const std::string font = TextXml(d.font);
  std::string colours;
  constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kColours{
      {{"dk1", "000000"},
       {"lt1", "FFFFFF"},
       {"dk2", "44546A"},
       {"lt2", "E7E6E6"},
       {"accent1", "4472C4"},
       {"accent2", "ED7D31"},
       {"accent3", "A5A5A5"},
       {"accent4", "FFC000"},
       {"accent5", "5B9BD5"},
       {"accent6", "70AD47"},
       {"hlink", "0563C1"},
       {"folHlink", "954F72"}}};
  for (const auto& [name, value] : kColours) {
    colours += "<a:" + std::string(name) + "><a:srgbClr val=\"" + std::string(value) +
               "\"/></a:" + std::string(name) + ">";
  }
  const std::string fonts =
      "<a:latin typeface=\"" + font + "\"/><a:ea typeface=\"" + font + "\"/><a:cs typeface=\"\"/>";
  const std::string fill = "<a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill>";
  const std::string line =
      "<a:ln w=\"6350\"><a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill></a:ln>";
  const std::string effect = "<a:effectStyle><a:effectLst/></a:effectStyle>";
  return std::string(kDeclaration) +
         "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
         "name=\"Office\">"
         "<a:themeElements><a:clrScheme name=\"Office\">" +
         colours + "</a:clrScheme><a:fontScheme name=\"Office\"><a:majorFont>" + fonts +
         "</a:majorFont><a:minorFont>" + fonts +
         "</a:minorFont></a:fontScheme><a:fmtScheme name=\"Office\"><a:fillStyleLst>" + fill +
         fill + fill + "</a:fillStyleLst><a:lnStyleLst>" + line + line + line +
         "</a:lnStyleLst><a:effectStyleLst>" + effect + effect + effect +
         "</a:effectStyleLst><a:bgFillStyleLst>" + fill + fill + fill +
         "</a:bgFillStyleLst></a:fmtScheme></a:themeElements><a:objectDefaults/>"
         "<a:extraClrSchemeLst/></a:theme>";
}

std::string CustomPropertiesXml(const TemplateDescription& d) {
  std::string out =
      std::string(kDeclaration) +
      "<Properties "
      "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/custom-properties\" "
      "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">";
  int pid = 2;
  for (const TemplateProperty& p : d.properties) {
    const auto [element, text] = EncodeValue(p.type, p.value);
    out += "<property fmtid=\"{D5CDD505-2E9C-101B-9397-08002B2CF9AE}\" pid=\"" +
           std::to_string(pid++) + "\" name=\"" + TextXml(p.name) + "\"";
    if (!p.linkTarget.empty()) out += " linkTarget=\"" + TextXml(p.linkTarget) + "\"";
    out += "><vt:" + std::string(element) + ">" + Escape(text) + "</vt:" + std::string(element) +
           "></property>";
  }
  return out + "</Properties>";
}

std::string MoreFonts(const TemplateDescription& d) {
  std::string out;
  for (const TemplateFont& font : d.fonts) {
    out += "<w:font w:name=\"" + TextXml(font.name) + "\"><w:altName w:val=\"" +
           TextXml(font.altName) +
           "\"/><w:charset w:val=\"80\"/><w:family w:val=\"modern\"/>"
           "<w:pitch w:val=\"fixed\"/></w:font>";
  }
  return out;
}

uint32_t Crc32(std::string_view data, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> kTable = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
    return table;
  }();
  crc = ~crc;
  for (unsigned char b : data) crc = kTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBe32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

void PutChunk(std::string& out, std::string_view type, std::string_view data) {
  PutBe32(out, static_cast<uint32_t>(data.size()));
  std::string body(type);
  body += data;
  out += body;
  PutBe32(out, Crc32(body));
}

// An RGB PNG whose pixels come from `pixel(x, y)`; the image data is stored in
// uncompressed deflate blocks, which needs no compressor.
template <class Pixel>
std::string MakePng(int32_t width, int32_t height, Pixel pixel) {
  std::string raw;
  raw.reserve(static_cast<size_t>(height) * (static_cast<size_t>(width) * 3 + 1));
  for (int32_t y = 0; y < height; ++y) {
    raw += '\0';  // no filter
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t rgb = pixel(x, y);
      raw += static_cast<char>((rgb >> 16) & 0xFF);
      raw += static_cast<char>((rgb >> 8) & 0xFF);
      raw += static_cast<char>(rgb & 0xFF);
    }
  }
  std::string z = "\x78\x01";
  for (size_t pos = 0; pos < raw.size() || pos == 0;) {
    const size_t n = std::min<size_t>(65535, raw.size() - pos);
    const bool last = pos + n >= raw.size();
    z += static_cast<char>(last ? 1 : 0);
    z += static_cast<char>(n & 0xFF);
    z += static_cast<char>(n >> 8);
    z += static_cast<char>(~n & 0xFF);
    z += static_cast<char>((~n >> 8) & 0xFF);
    z.append(raw, pos, n);
    pos += n;
    if (last) break;
  }
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  PutBe32(z, (b << 16) | a);

  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  PutBe32(header, static_cast<uint32_t>(width));
  PutBe32(header, static_cast<uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", z);
  PutChunk(png, "IEND", "");
  return png;
}

}  // namespace

std::string SolidPng(int32_t width, int32_t height, uint32_t rgb) {
  return MakePng(width, height, [rgb](int32_t, int32_t) { return rgb; });
}

std::string NoisePng(int32_t width, int32_t height, uint32_t seed) {
  uint32_t state = seed * 2654435761u + 1;
  return MakePng(width, height, [&state](int32_t, int32_t) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  });
}

std::string PixelPng(int32_t width, int32_t height,
                     const std::function<uint32_t(int32_t, int32_t)>& rgb) {
  return MakePng(width, height, rgb);
}

std::string BuildTemplate(const TemplateDescription& d) {
  Writer writer{d, {}, std::vector<size_t>(d.images.size(), 0)};
  writer.AddRelationship("styles", "styles.xml");
  writer.AddRelationship("settings", "settings.xml");
  writer.AddRelationship("fontTable", "fontTable.xml");
  writer.AddRelationship("theme", "theme/theme1.xml");
  std::string headerReference;
  if (!d.header.empty()) {
    headerReference = "<w:headerReference w:type=\"default\" r:id=\"" +
                      writer.AddRelationship("header", "header1.xml") + "\"/>";
  }
  if (!d.footer.empty()) {
    headerReference += "<w:footerReference w:type=\"default\" r:id=\"" +
                       writer.AddRelationship("footer", "footer1.xml") + "\"/>";
  }
  std::string secondReference;
  if (!d.secondSectionHeader.empty()) {
    secondReference = "<w:headerReference w:type=\"default\" r:id=\"" +
                      writer.AddRelationship("header", "header2.xml") + "\"/>";
  }
  if (!d.footnotes.empty()) writer.AddRelationship("footnotes", "footnotes.xml");
  for (size_t i = 0; i < d.customXml.size(); ++i) {
    writer.AddRelationship("customXml", "../customXml/item" + std::to_string(i + 1) + ".xml");
  }
  // Headers and footers take no pictures here: those would need relationships of their own.
  const auto storyPart = [&](const char* root, const std::vector<TemplateParagraph>& content) {
    writer.inHeader = true;
    std::string part = std::string(kDeclaration) + "<w:" + root + std::string(kMainNamespaces) +
                       ">" + writer.Paragraphs(content) + "</w:" + root + ">";
    writer.inHeader = false;
    return part;
  };
  const std::string header = d.header.empty() ? "" : storyPart("hdr", d.header);
  const std::string footer = d.footer.empty() ? "" : storyPart("ftr", d.footer);
  const std::string header2 =
      d.secondSectionHeader.empty() ? "" : storyPart("hdr", d.secondSectionHeader);
  std::string footnotes;
  if (!d.footnotes.empty()) {
    writer.inHeader = true;
    footnotes = std::string(kDeclaration) + "<w:footnotes" + std::string(kMainNamespaces) +
                "><w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r>"
                "</w:p></w:footnote><w:footnote w:type=\"continuationSeparator\" w:id=\"0\">"
                "<w:p><w:r><w:continuationSeparator/></w:r></w:p></w:footnote>";
    for (size_t i = 0; i < d.footnotes.size(); ++i) {
      footnotes += "<w:footnote w:id=\"" + std::to_string(i + 1) + "\">" +
                   writer.Paragraphs(d.footnotes[i]) + "</w:footnote>";
    }
    footnotes += "</w:footnotes>";
    writer.inHeader = false;
  }
  std::string body;
  for (const TemplateBlock& block : d.body) {
    if (const auto* p = std::get_if<TemplateParagraph>(&block)) {
      body += writer.Paragraph(*p);
    } else {
      body += writer.Table(std::get<TemplateTable>(block)) + "<w:p/>";
    }
  }
  if (!d.footnotes.empty()) {
    body += "<w:p>";
    for (size_t i = 0; i < d.footnotes.size(); ++i) {
      body +=
          "<w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:footnoteReference w:id=\"" +
          std::to_string(i + 1) + "\"/></w:r>";
    }
    body += "</w:p>";
  }
  const std::string page =
      "<w:pgSz w:w=\"" + std::to_string(d.page.widthTwips) + "\" w:h=\"" +
      std::to_string(d.page.heightTwips) + "\"/><w:pgMar w:top=\"" +
      std::to_string(d.page.topTwips) + "\" w:right=\"" + std::to_string(d.page.rightTwips) +
      "\" w:bottom=\"" + std::to_string(d.page.bottomTwips) + "\" w:left=\"" +
      std::to_string(d.page.leftTwips) +
      "\" w:header=\"851\" w:footer=\"992\" w:gutter=\"0\"/>"
      "<w:cols w:space=\"425\"/><w:docGrid w:type=\"lines\" w:linePitch=\"360\"/>";
  // With a second section, the first ends in a paragraph of its own and keeps the header
  // and footer; the second has its own header and shows the first's footer.
  if (!d.secondSectionHeader.empty()) {
    body += "<w:p><w:pPr><w:sectPr>" + headerReference + page + "</w:sectPr></w:pPr></w:p>";
    headerReference = secondReference;
  }
  const std::string document = std::string(kDeclaration) + "<w:document" +
                               std::string(kMainNamespaces) + "><w:body>" + body + "<w:sectPr>" +
                               headerReference + page + "</w:sectPr></w:body></w:document>";

  std::string documentRels =
      std::string(kDeclaration) +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  for (size_t i = 0; i < writer.relationships.size(); ++i) {
    documentRels += "<Relationship Id=\"rId" + std::to_string(i + 1) + "\" Type=\"" +
                    std::string(kRelBase) + writer.relationships[i].first + "\" Target=\"" +
                    writer.relationships[i].second + "\"/>";
  }
  documentRels += "</Relationships>";

  std::vector<NewZipEntry> entries;
  entries.push_back({"[Content_Types].xml", ContentTypes(d), false});
  entries.push_back({"_rels/.rels", PackageRelationships(d), false});
  entries.push_back({"word/document.xml", document, false});
  entries.push_back({"word/_rels/document.xml.rels", documentRels, false});
  entries.push_back({"word/styles.xml", Styles(d), false});
  entries.push_back(
      {"word/settings.xml",
       std::string(kDeclaration) +
           "<w:settings xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
           "<w:zoom w:percent=\"100\"/><w:proofState w:spelling=\"clean\" w:grammar=\"clean\"/>"
           "<w:defaultTabStop w:val=\"840\"/><w:characterSpacingControl "
           "w:val=\"compressPunctuation\"/>" +
           std::string(d.footnotes.empty() ? ""
                                           : "<w:footnotePr><w:footnote w:id=\"-1\"/>"
                                             "<w:footnote w:id=\"0\"/></w:footnotePr>") +
           "<w:compat><w:compatSetting w:name=\"compatibilityMode\" "
           "w:uri=\"http://schemas.microsoft.com/office/word\" w:val=\"15\"/></w:compat>"
           "</w:settings>",
       false});
  entries.push_back(
      {"word/fontTable.xml",
       std::string(kDeclaration) +
           "<w:fonts xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
           "<w:font w:name=\"" +
           TextXml(d.font) +
           "\"><w:charset w:val=\"80\"/><w:family w:val=\"roman\"/>"
           "<w:pitch w:val=\"fixed\"/></w:font>" +
           MoreFonts(d) + "</w:fonts>",
       false});
  entries.push_back({"word/theme/theme1.xml", Theme(d), false});
  if (!d.header.empty()) entries.push_back({"word/header1.xml", header, false});
  if (!d.footer.empty()) entries.push_back({"word/footer1.xml", footer, false});
  if (!d.secondSectionHeader.empty()) entries.push_back({"word/header2.xml", header2, false});
  if (!d.footnotes.empty()) entries.push_back({"word/footnotes.xml", footnotes, false});
  for (size_t i = 0; i < d.images.size(); ++i) {
    if (writer.imageRelationship[i] == 0) continue;  // an image no picture shows
    entries.push_back({"word/media/image" + std::to_string(i + 1) + ".png", d.images[i].png, true});
  }
  for (size_t i = 0; i < d.customXml.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    entries.push_back({"customXml/item" + n + ".xml", d.customXml[i], false});
    entries.push_back(
        {"customXml/itemProps" + n + ".xml",
         std::string(kDeclaration) +
             "<ds:datastoreItem ds:itemID=\"{6C3C8BC8-F283-45AE-878A-BAB7291924A" + n +
             "}\" xmlns:ds=\"http://schemas.openxmlformats.org/officeDocument/2006/customXml\">"
             "<ds:schemaRefs/></ds:datastoreItem>",
         false});
    entries.push_back({"customXml/_rels/item" + n + ".xml.rels",
                       std::string(kDeclaration) +
                           "<Relationships "
                           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                           "<Relationship Id=\"rId1\" Type=\"" +
                           std::string(kRelBase) + "customXmlProps\" Target=\"itemProps" + n +
                           ".xml\"/></Relationships>",
                       false});
  }
  entries.push_back(
      {"docProps/core.xml",
       std::string(kDeclaration) +
           "<cp:coreProperties "
           "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
           "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title></dc:title>"
           "<dc:creator>sendnote</dc:creator><cp:revision>1</cp:revision>"
           "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2024-01-01T00:00:00Z</dcterms:created>"
           "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">2024-01-01T00:00:00Z</dcterms:modified>"
           "</cp:coreProperties>",
       false});
  entries.push_back(
      {"docProps/app.xml",
       std::string(kDeclaration) +
           "<Properties "
           "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
           "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
           "<Template></Template><TotalTime>0</TotalTime><Pages>1</Pages>"
           "<Application>sendnote</Application><DocSecurity>0</DocSecurity></Properties>",
       false});
  if (!d.properties.empty()) {
    entries.push_back({"docProps/custom.xml", CustomPropertiesXml(d), false});
  }
  return WriteZip(entries);
}

void WriteTemplate(const TemplateDescription& description, const std::filesystem::path& path) {
  WriteFileAtomically(path, BuildTemplate(description), true);
}

}  // namespace sendnote::docx
