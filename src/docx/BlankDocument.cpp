#include "docx/BlankDocument.h"

#include <vector>

#include "docx/Zip.h"

namespace sendnote::docx {

std::string BlankDocumentPackage() {
  const std::string declaration =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
  std::string types = declaration;
  types +=
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
      "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
      "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/></Types>";
  std::string rels = declaration;
  rels +=
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
      "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>";
  std::string document = declaration;
  document +=
      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
      "<w:body><w:p/><w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1985\" "
      "w:right=\"1701\" w:bottom=\"1701\" w:left=\"1701\" w:header=\"851\" w:footer=\"992\" "
      "w:gutter=\"0\"/></w:sectPr></w:body></w:document>";
  std::string documentRels = declaration;
  documentRels +=
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
      "relationships/styles\" Target=\"styles.xml\"/></Relationships>";
  std::string styles = declaration;
  styles +=
      "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
      "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"MS Mincho\" "
      "w:eastAsia=\"MS Mincho\" w:hAnsi=\"MS Mincho\"/><w:sz w:val=\"21\"/>"
      "<w:lang w:val=\"en-US\" w:eastAsia=\"ja-JP\"/></w:rPr></w:rPrDefault></w:docDefaults>"
      "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\">"
      "<w:name w:val=\"Normal\"/><w:pPr><w:jc w:val=\"both\"/></w:pPr></w:style></w:styles>";
  return WriteZip({{"[Content_Types].xml", types},
                   {"_rels/.rels", rels},
                   {"word/document.xml", document},
                   {"word/_rels/document.xml.rels", documentRels},
                   {"word/styles.xml", styles}});
}

}  // namespace sendnote::docx
