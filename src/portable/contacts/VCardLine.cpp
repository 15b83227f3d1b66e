#include "portable/contacts/VCardLine.h"

#include <algorithm>

#include "portable/contacts/AsciiText.h"
#include "portable/contacts/ContactFileError.h"

namespace sendnote::contacts {
namespace {

// Returns the parts of text between the separators that are not inside double quotes.
std::vector<std::string_view> SplitUnquoted(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') {
      quoted = !quoted;
    } else if (text[i] == separator && !quoted) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(text.substr(start));
  return parts;
}

std::string_view Unquote(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

bool IsBareEncoding(std::string_view upper) {
  return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT" ||
         upper == "7BIT";
}

bool IsQuotedPrintableHead(std::string_view head) {
  std::string line(head);
  line += ':';
  return ParseVCardLine(line, 0).Encoding() == "QUOTED-PRINTABLE";
}

// Returns true if text ends in an odd number of backslashes (one that no backslash escapes).
bool EndsInLoneBackslash(std::string_view text) {
  size_t count = 0;
  while (count < text.size() && text[text.size() - 1 - count] == '\\') ++count;
  return count % 2 == 1;
}

}  // namespace

bool VCardLine::HasType(std::string_view type) const {
  return std::find(types.begin(), types.end(), type) != types.end();
}

std::optional<std::string> VCardLine::Param(std::string_view paramName) const {
  for (const auto& [key, value] : params) {
    if (key == paramName) return value;
  }
  return std::nullopt;
}

std::string VCardLine::Encoding() const { return UpperAscii(Param("ENCODING").value_or("")); }

VCardLine ParseVCardLine(std::string_view text, size_t lineNumber) {
  VCardLine line;
  line.lineNumber = lineNumber;
  line.blank = TrimBlanks(text).empty();
  size_t colon = std::string_view::npos;
  bool quoted = false;
  for (size_t i = 0; i < text.size() && colon == std::string_view::npos; ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (text[i] == ':' && !quoted) colon = i;
  }
  if (colon == std::string_view::npos) return line;

  const std::vector<std::string_view> head = SplitUnquoted(text.substr(0, colon), ';');
  std::string_view name = TrimBlanks(head.front());
  if (const size_t dot = name.rfind('.'); dot != std::string_view::npos) {
    name.remove_prefix(dot + 1);
  }
  if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameChar)) return line;
  line.name = UpperAscii(name);

  for (size_t i = 1; i < head.size(); ++i) {
    const std::string_view param = TrimBlanks(head[i]);
    if (param.empty()) continue;
    const size_t eq = param.find('=');
    if (eq == std::string_view::npos) {
      std::string bare = UpperAscii(param);
      if (IsBareEncoding(bare)) {
        line.params.emplace_back("ENCODING", std::move(bare));
      } else {
        line.types.push_back(std::move(bare));
      }
      continue;
    }
    std::string key = UpperAscii(TrimBlanks(param.substr(0, eq)));
    const std::string_view value = Unquote(TrimBlanks(param.substr(eq + 1)));
    if (key != "TYPE") {
      line.params.emplace_back(std::move(key), std::string(value));
      continue;
    }
    for (std::string_view type : SplitUnquoted(value, ',')) {
      type = TrimBlanks(Unquote(TrimBlanks(type)));
      if (!type.empty()) line.types.push_back(UpperAscii(type));
    }
  }
  line.value = std::string(text.substr(colon + 1));
  line.wellFormed = true;
  return line;
}

VCardLineReader::VCardLineReader(std::string_view text, std::u16string_view source)
    : text_(text), source_(source) {}

bool VCardLineReader::NextPhysical(std::string_view& line) {
  if (pos_ >= text_.size()) return false;
  const size_t end = text_.find_first_of("\r\n", pos_);
  if (end == std::string_view::npos) {
    line = text_.substr(pos_);
    pos_ = text_.size();
  } else {
    line = text_.substr(pos_, end - pos_);
    const bool crlf = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n';
    pos_ = end + (crlf ? 2 : 1);
  }
  ++lineNumber_;
  return true;
}

bool VCardLineReader::NextIsContinuation() const {
  return pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t');
}

bool VCardLineReader::NextIsNoProperty() const {
  if (pos_ >= text_.size()) return false;
  const size_t end = std::min(text_.find_first_of("\r\n", pos_), text_.size());
  const std::string_view next = text_.substr(pos_, end - pos_);
  return !TrimBlanks(next).empty() && !ParseVCardLine(next, 0).wellFormed;
}

void VCardLineReader::CheckLength(size_t length, size_t lineNumber) const {
  if (length > kMaxLineLength) {
    RaiseLineError(source_, lineNumber,
                   u"the line is longer than " + DecimalText(kMaxLineLength) + u" bytes");
  }
}

bool VCardLineReader::Next(VCardLine& line) {
  std::string_view first;
  if (!NextPhysical(first)) return false;
  const size_t number = lineNumber_;
  CheckLength(first.size(), number);
  std::string text(first);

  // The head (name and parameters) ends at the first ':' outside quotes; only then is it
  // known whether a final "=" is a soft line break.
  size_t colon = std::string::npos;
  size_t scanned = 0;
  bool quoted = false;
  bool quotedPrintable = false;
  std::vector<size_t> indents;
  std::u16string problem;
  while (true) {
    for (; colon == std::string::npos && scanned < text.size(); ++scanned) {
      if (text[scanned] == '"') quoted = !quoted;
      if (text[scanned] == ':' && !quoted) {
        colon = scanned;
        quotedPrintable = IsQuotedPrintableHead(std::string_view(text).substr(0, colon));
      }
    }
    const bool hasValue = colon != std::string::npos && text.size() > colon + 1;
    std::string_view next;
    if (quotedPrintable && hasValue && text.back() == '=') {
      if (!NextPhysical(next)) {
        problem = u"the quoted-printable value ends in a soft line break at the end of the file";
        break;
      }
      text.pop_back();
      if (!next.empty() && (next.front() == ' ' || next.front() == '\t')) {
        indents.push_back(text.size());
      }
    } else if (NextIsContinuation()) {
      NextPhysical(next);
      next.remove_prefix(1);
    } else if (hasValue && EndsInLoneBackslash(text) && NextIsNoProperty()) {
      NextPhysical(next);
      text += "\r\n";
    } else {
      break;
    }
    CheckLength(text.size() + next.size(), number);
    text.append(next);
  }
  line = ParseVCardLine(text, number);
  line.problem = std::move(problem);
  if (line.wellFormed) {
    const size_t valueStart = text.size() - line.value.size();
    for (const size_t at : indents) line.indentedSoftBreaks.push_back(at - valueStart);
  }
  return true;
}

}  // namespace sendnote::contacts
