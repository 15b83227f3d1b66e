#include "portable/contacts/ContactFileError.h"

#include "platform/ComError.h"

namespace sendnote::contacts {

void RaiseFileError(int32_t number, std::u16string_view source, std::u16string_view message) {
  std::u16string text;
  if (!source.empty()) {
    text.append(source);
    text.append(u": ");
  }
  text.append(message);
  platform::Raise(number, std::move(text));
}

void RaiseLineError(std::u16string_view source, size_t line, std::u16string_view message) {
  RaiseProblem(source, LineProblem(line, message));
}

std::u16string LineProblem(size_t line, std::u16string_view message) {
  std::u16string text = u"line ";
  text.append(DecimalText(line));
  text.append(u": ");
  text.append(message);
  return text;
}

void RaiseProblem(std::u16string_view source, std::u16string_view problem) {
  std::u16string text;
  if (!source.empty()) {
    text.append(source);
    text.append(u", ");
  }
  text.append(problem);
  platform::Raise(kErrInvalidFileFormat, std::move(text));
}

void CheckContactCount(size_t count, std::u16string_view source, size_t line) {
  if (count < kMaxContacts) return;
  RaiseLineError(source, line,
                 u"the file holds more than " + DecimalText(kMaxContacts) + u" contacts");
}

std::u16string DecimalText(size_t n) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n != 0);
  return digits;
}

void RaiseTooLarge(std::u16string_view source) {
  RaiseFileError(kErrInvalidFileFormat, source,
                 u"the file is larger than " + DecimalText(kMaxFileBytes) + u" bytes");
}

std::string_view ContactFileText(std::string_view bytes, std::u16string_view source) {
  if (bytes.size() > kMaxFileBytes) RaiseTooLarge(source);
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return bytes;
}

}  // namespace sendnote::contacts
