// Records of comma-separated text: fields in double quotes may hold commas, line breaks and
// doubled quotes ("" for ").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "portable/contacts/ContactFileError.h"

namespace sendnote::contacts {

struct CsvRecord {
  size_t lineNumber = 0;  // line on which the record begins, counted from 1
  std::vector<std::u16string> fields;
};

// Reads the records of CSV text one at a time. A record ends with CR LF, LF or a lone CR
// outside quotes; text after a closing quote joins the field as it is.
class CsvReader {
 public:
  // source names the text in error descriptions; the text must outlive the reader.
  // separator: ',' or, for tab-separated exports, '\t'.
  CsvReader(std::u16string_view text, std::u16string_view source, char16_t separator = u',');

  // Reads the next record; returns false at the end of the text. Raises
  // kErrInvalidFileFormat for a quoted field without its closing quote or a record longer
  // than kMaxLineLength.
  bool Next(CsvRecord& record);

 private:
  // Consumes a line break at pos_, if any; returns true if there was one.
  bool SkipLineBreak();
  // Raises if the record that began at start has grown longer than kMaxLineLength.
  void CheckLength(size_t start, size_t lineNumber) const;

  std::u16string_view text_;
  std::u16string source_;
  size_t pos_ = 0;
  size_t line_ = 1;
  char16_t separator_;
  std::u16string stops_;  // the separator and the line-break characters
};

}  // namespace sendnote::contacts
