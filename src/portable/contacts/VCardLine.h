// The content lines of vCard text: physical lines joined into logical ones (folding and
// quoted-printable soft line breaks undone) and split into name, parameters and raw value.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sendnote::contacts {

struct VCardLine {
  size_t lineNumber = 0;    // first physical line, counted from 1
  bool blank = false;       // only blanks and tabs
  bool wellFormed = false;  // has a property name and a ':' before the value
  std::string name;         // upper case, group ("item1.") removed
  // Upper-case TYPE values ("TYPE=work,pref", "TYPE=HOME;TYPE=FAX") and bare 2.1 parameters
  // ("ADR;WORK;PREF"); bare encodings ("QUOTED-PRINTABLE") go to ENCODING instead.
  std::vector<std::string> types;
  // Other parameters: upper-case name, value without surrounding quotes.
  std::vector<std::pair<std::string, std::string>> params;
  std::string value;  // raw bytes after the ':'
  // Offsets in value of a blank or tab that begins the line after a quoted-printable soft
  // line break: text by the letter of quoted-printable, indentation by that of folding.
  std::vector<size_t> indentedSoftBreaks;
  // Why the line cannot be read ("the ... ends in a soft line break at the end of the file"),
  // or empty.
  std::u16string problem;

  bool HasType(std::string_view type) const;
  // Returns the first value of the parameter, or nothing if it is absent.
  std::optional<std::string> Param(std::string_view name) const;
  // Returns the upper-case ENCODING value, or empty if none.
  std::string Encoding() const;
};

// Reads logical lines from vCard text, one at a time. A physical line ends with CR LF, LF or a
// lone CR; one that starts with a blank or tab continues the previous line (one blank or tab
// removed); a quoted-printable value ending in "=" continues on the next line as it is. A
// value ending in an odd number of backslashes continues on a next line that is not a
// property (name:value), after CR LF: some producers escape a line break so.
class VCardLineReader {
 public:
  // source names the text in error descriptions; the text must outlive the reader.
  VCardLineReader(std::string_view text, std::u16string_view source);

  // Reads the next logical line; returns false at the end of the text. Raises
  // kErrInvalidFileFormat for a line longer than kMaxLineLength; a quoted-printable value
  // whose soft line break ends the text sets the line's problem.
  bool Next(VCardLine& line);

 private:
  bool NextPhysical(std::string_view& line);
  bool NextIsContinuation() const;
  // Returns true if the next physical line has text and is not a property.
  bool NextIsNoProperty() const;
  void CheckLength(size_t length, size_t lineNumber) const;

  std::string_view text_;
  std::u16string source_;
  size_t pos_ = 0;
  size_t lineNumber_ = 0;  // of the physical line last read
};

// Returns the line split into its parts; wellFormed is false if it has no name or no ':'.
VCardLine ParseVCardLine(std::string_view text, size_t lineNumber);

}  // namespace sendnote::contacts
