// The one error type of every platform operation: a 32-bit number and a description,
// as an automation error carries them.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace sendnote::platform {

// Error numbers the system and its platforms raise by name.
inline constexpr int32_t kErrInvalidCall = 5;              // invalid procedure call or argument
inline constexpr int32_t kErrOverflow = 6;                 // 16-bit counter or value overflow
inline constexpr int32_t kErrSubscript = 9;                // index out of range
inline constexpr int32_t kErrTypeMismatch = 13;            // object is not of the expected kind
inline constexpr int32_t kErrObjectNotSet = 91;            // call on an empty reference
inline constexpr int32_t kErrCannotCreate = 429;           // no such running or creatable object
inline constexpr int32_t kErrNotSupported = 438;           // member not supported by the object
inline constexpr int32_t kErrServerGone = -2147417848;     // RPC_E_DISCONNECTED: server went away
inline constexpr int32_t kErrDispException = -2147352567;  // DISP_E_EXCEPTION
inline constexpr int32_t kErrFileNotFound = 53;            // file not found
inline constexpr int32_t kErrPathAccess = 75;              // path/file access error
inline constexpr int32_t kErrFileExists = 58;              // a save not allowed to replace
inline constexpr int32_t kErrBadFileFormat = 5981;         // Word: could not open the file (format)

class ComError : public std::exception {
 public:
  ComError(int32_t number, std::u16string description);

  int32_t Number() const { return number_; }
  const std::u16string& Description() const { return description_; }
  // UTF-8 form of "number: description", for diagnostics only.
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int32_t number_;
  std::u16string description_;
  std::string what_;
};

[[noreturn]] void Raise(int32_t number, std::u16string description);
// Raises with the standard description of the error number (Overflow, Type mismatch, ...).
[[noreturn]] void Raise(int32_t number);

// Returns the standard description of a runtime error number, or empty if it has none.
std::u16string StandardDescription(int32_t number);

}  // namespace sendnote::platform
