#include "platform/ComError.h"

#include "platform/Utf.h"

namespace sendnote::platform {

ComError::ComError(int32_t number, std::u16string description)
    : number_(number),
      description_(std::move(description)),
      what_(std::to_string(number) + ": " + ToUtf8(description_)) {}

void Raise(int32_t number, std::u16string description) {
  throw ComError(number, std::move(description));
}

void Raise(int32_t number) { Raise(number, StandardDescription(number)); }

std::u16string StandardDescription(int32_t number) {
  switch (number) {
    case kErrInvalidCall:
      return u"Invalid procedure call or argument";
    case kErrOverflow:
      return u"Overflow";
    case kErrSubscript:
      return u"Subscript out of range";
    case kErrTypeMismatch:
      return u"Type mismatch";
    case kErrObjectNotSet:
      return u"Object variable or With block variable not set";
    case kErrCannotCreate:
      return u"ActiveX component can't create object";
    case kErrNotSupported:
      return u"Object doesn't support this property or method";
    case kErrServerGone:
      return u"The object invoked has disconnected from its clients.";
    case kErrFileNotFound:
      return u"File not found";
    case kErrPathAccess:
      return u"Path/File access error";
    default:
      return u"";
  }
}

}  // namespace sendnote::platform
