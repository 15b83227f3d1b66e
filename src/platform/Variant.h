// A value passed to or read from an automation member by name: empty, yes/no, whole
// number, floating number, date or text. Conversions follow the automation runtime's
// rules (CStr, CBool, CLng) as far as the system relies on them.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/Flag.h"

namespace sendnote::platform {

class Variant {
 public:
  enum class Kind { kEmpty, kBool, kInt32, kDouble, kDate, kString };

  Variant() = default;
  static Variant Bool(Flag value);
  static Variant Int32(int32_t value);
  static Variant Double(double value);
  // A date as an OLE automation date (days since 1899-12-30).
  static Variant Date(double oleDate);
  static Variant String(std::u16string value);

  Kind kind() const;
  bool IsEmpty() const { return kind() == Kind::kEmpty; }

  // CStr: yes/no as "True"/"False", numbers in decimal, empty as "".
  std::u16string ToString() const;
  // CBool: numbers are True when not 0; text "True"/"False" (any case) or a number.
  // Raises Type mismatch (13) for anything else.
  Flag ToFlag() const;
  // CLng: rounds half to even; text must be a number. Raises 13 or Overflow (6).
  int32_t ToInt32() const;
  // CDbl; raises Type mismatch (13) for text that is not a number.
  double ToDouble() const;

  friend bool operator==(const Variant& a, const Variant& b);

 private:
  struct DateValue {
    double value;
    bool operator==(const DateValue&) const = default;
  };
  std::variant<std::monostate, Flag, int32_t, double, DateValue, std::u16string> value_;
};

}  // namespace sendnote::platform
