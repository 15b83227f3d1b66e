#include "portable/contacts/CsvReader.h"

#include <algorithm>

#include "portable/contacts/ContactFileError.h"

namespace sendnote::contacts {

CsvReader::CsvReader(std::u16string_view text, std::u16string_view source, char16_t separator)
    : text_(text), source_(source), separator_(separator), stops_({separator, u'\r', u'\n'}) {}

bool CsvReader::SkipLineBreak() {
  if (pos_ >= text_.size()) return false;
  if (text_[pos_] == u'\r') {
    pos_ += (pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\n') ? 2 : 1;
  } else if (text_[pos_] == u'\n') {
    ++pos_;
  } else {
    return false;
  }
  ++line_;
  return true;
}

void CsvReader::CheckLength(size_t start, size_t lineNumber) const {
  if (pos_ - start <= kMaxLineLength) return;
  RaiseLineError(source_, lineNumber,
                 u"the record is longer than " + DecimalText(kMaxLineLength) + u" characters");
}

bool CsvReader::Next(CsvRecord& record) {
  if (pos_ >= text_.size()) return false;
  record.lineNumber = line_;
  record.fields.clear();
  const size_t start = pos_;
  std::u16string field;
  bool fieldStarted = false;  // the field has text or a quoted part already
  while (pos_ < text_.size()) {
    const char16_t c = text_[pos_];
    if (c == u'"' && !fieldStarted) {
      const size_t quoteLine = line_;
      ++pos_;
      while (true) {
        // Takes the run up to the next quote or line break at once.
        const size_t end = std::min(text_.find_first_of(u"\"\r\n", pos_), text_.size());
        field.append(text_.substr(pos_, end - pos_));
        pos_ = end;
        CheckLength(start, record.lineNumber);
        if (pos_ >= text_.size()) {
          RaiseLineError(source_, quoteLine, u"the quoted field has no closing quote");
        }
        if (text_[pos_] != u'"') {
          const size_t before = pos_;
          SkipLineBreak();
          field.append(text_.substr(before, pos_ - before));
          continue;
        }
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == u'"') {
          field += u'"';
          ++pos_;
          continue;
        }
        break;
      }
      fieldStarted = true;
      continue;
    }
    if (c == separator_) {
      record.fields.push_back(std::move(field));
      field.clear();
      fieldStarted = false;
      ++pos_;
      continue;
    }
    if (SkipLineBreak()) break;
    // Takes the run up to the next separator, line break or (at a field's start) quote.
    const size_t end = std::min(text_.find_first_of(stops_, pos_ + 1), text_.size());
    field.append(text_.substr(pos_, end - pos_));
    fieldStarted = true;
    pos_ = end;
    CheckLength(start, record.lineNumber);
  }
  record.fields.push_back(std::move(field));
  return true;
}

}  // namespace sendnote::contacts
