#include "portable/contacts/ContactCsv.h"

#include <algorithm>
#include <utility>

#include "platform/ComError.h"
#include "platform/Utf.h"
#include "portable/contacts/Charset.h"
#include "portable/contacts/ContactFileError.h"
#include "portable/contacts/CsvReader.h"
#include "portable/contacts/GoogleCsvColumns.h"
#include "portable/contacts/OutlookCsvColumns.h"

namespace sendnote::contacts {
namespace {

bool IsEmptyRow(const CsvRecord& row) {
  for (const std::u16string& field : row.fields) {
    if (!field.empty()) return false;
  }
  return true;
}

// Returns the separator of the heading line: a tab when it has more tabs than commas
// outside quotes (Outlook's tab-separated export), else a comma.
char16_t SeparatorOf(std::u16string_view text) {
  size_t tabs = 0;
  size_t commas = 0;
  bool quoted = false;
  for (char16_t c : text) {
    if (c == u'"') quoted = !quoted;
    if (quoted) continue;
    if (c == u'\r' || c == u'\n') break;
    tabs += c == u'\t';
    commas += c == u',';
  }
  return tabs > commas ? u'\t' : u',';
}

// Text that is valid in neither set as a whole is split into rows on its bytes, one byte a
// character: line breaks, quotes, commas and tabs are never part of a UTF-8 or code page
// 932 character. Each field is decoded afterwards.
std::u16string ByteChars(std::string_view bytes) {
  std::u16string chars(bytes.size(), u'\0');
  std::transform(bytes.begin(), bytes.end(), chars.begin(),
                 [](char b) { return static_cast<char16_t>(static_cast<unsigned char>(b)); });
  return chars;
}

// Decodes the byte-character fields of a row in place; returns false (fields unchanged) if
// one is not valid in the set.
bool DecodeRowIn(CsvRecord& row, std::string_view charset) {
  std::vector<std::u16string> decoded;
  decoded.reserve(row.fields.size());
  for (const std::u16string& field : row.fields) {
    std::string bytes(field.size(), '\0');
    bool ascii = true;
    for (size_t i = 0; i < field.size(); ++i) {
      bytes[i] = static_cast<char>(field[i]);
      ascii = ascii && field[i] < 0x80;
    }
    if (ascii) {
      decoded.push_back(field);
      continue;
    }
    DecodedText text = DecodeCharset(bytes, charset);
    if (!text.ok) return false;
    decoded.push_back(std::move(text.text));
  }
  row.fields = std::move(decoded);
  return true;
}

// A row of such a file is UTF-8 when it is valid UTF-8, else Shift_JIS when it is that.
bool DecodeRow(CsvRecord& row) {
  return DecodeRowIn(row, kCharsetUtf8) || DecodeRowIn(row, kCharsetCp932);
}

[[noreturn]] void RefuseHeadings(std::u16string_view source, size_t line) {
  RaiseLineError(
      source, line,
      u"the headings are not those of a contact export that this edition reads; it expects "
      u"Outlook's (\"First Name\", \"Last Name\", \"Company\", \"Business Street\", "
      u"\"E-mail Address\", ... or \"姓\", \"名\", \"会社名\", \"番地 (会社)\", "
      u"\"電子メール アドレス\", ...) or Google Contacts' (\"Name\", \"Given Name\", "
      u"\"Family Name\", \"Organization 1 - Name\", \"E-mail 1 - Value\", "
      u"\"Phone 1 - Value\", \"Address 1 - Street\", ... or \"First Name\", \"Last Name\", "
      u"\"Organization Name\", ...)");
}

template <typename Columns>
void NoteNearMisses(const Columns& columns, std::u16string_view form, std::u16string_view source,
                    std::vector<std::u16string>* warnings) {
  if (!warnings) return;
  std::vector<std::u16string> reported;
  for (const auto& [heading, known] : columns.NearMisses()) {
    if (std::find(reported.begin(), reported.end(), heading) != reported.end()) continue;
    reported.push_back(heading);
    std::u16string text(source);
    if (!text.empty()) text += u": ";
    text += u"the column \"" + heading + u"\" is ignored: it is not a heading of ";
    text.append(form);
    text += u" (\"" + known + u"\" is)";
    warnings->push_back(std::move(text));
  }
}

template <typename Columns>
std::vector<ContactEntry> ReadRows(const Columns& columns, CsvReader& reader, bool byteChars,
                                   std::u16string_view source) {
  std::vector<ContactEntry> entries;
  CsvRecord row;
  while (reader.Next(row)) {
    if (IsEmptyRow(row)) continue;
    CheckContactCount(entries.size(), source, row.lineNumber);
    ContactEntry entry;
    if (byteChars && !DecodeRow(row)) {
      entry.problem = LineProblem(row.lineNumber, u"the row is neither UTF-8 nor Shift_JIS text");
    } else {
      entry.record = columns.Build(row.fields);
      RefuseOverlongValues(entry, row.lineNumber);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace

bool IsContactCsvHeading(std::u16string_view line) {
  CsvReader reader(line, {}, SeparatorOf(line));
  CsvRecord heading;
  try {
    if (!reader.Next(heading)) return false;
  } catch (const platform::ComError&) {
    return false;  // an unterminated quote: not a heading row
  }
  return GoogleCsvColumns(heading.fields).Recognized() ||
         OutlookCsvColumns(heading.fields).Recognized();
}

std::vector<ContactEntry> ParseContactCsv(std::string_view bytes, std::u16string_view source,
                                          std::vector<std::u16string>* warnings) {
  bytes = ContactFileText(bytes, source);
  std::u16string text;
  bool byteChars = false;  // rows are decoded one by one
  if (platform::IsValidUtf8(bytes)) {
    text = platform::FromUtf8(bytes);
  } else if (DecodedText decoded = DecodeCharset(bytes, kCharsetCp932); decoded.ok) {
    text = std::move(decoded.text);
  } else {
    text = ByteChars(bytes);
    byteChars = true;
  }

  CsvReader reader(text, source, SeparatorOf(text));
  CsvRecord heading;
  if (!reader.Next(heading)) {
    RaiseFileError(kErrInvalidFileFormat, source, u"the file is empty");
  }
  if (byteChars && !DecodeRow(heading)) {
    RaiseLineError(source, heading.lineNumber,
                   u"the headings are neither UTF-8 nor Shift_JIS text");
  }
  std::vector<ContactEntry> entries;
  if (const GoogleCsvColumns google(heading.fields); google.Recognized()) {
    NoteNearMisses(google, u"a Google Contacts export", source, warnings);
    entries = ReadRows(google, reader, byteChars, source);
  } else if (const OutlookCsvColumns outlook(heading.fields); outlook.Recognized()) {
    NoteNearMisses(outlook, u"an Outlook export", source, warnings);
    entries = ReadRows(outlook, reader, byteChars, source);
  } else {
    RefuseHeadings(source, heading.lineNumber);
  }
  if (entries.empty()) RaiseFileError(kErrInvalidFileFormat, source, u"the file holds no contact");
  RefuseUnlessAnyReadable(entries, source);
  return entries;
}

}  // namespace sendnote::contacts
