#include "platform/Variant.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/AsciiCase.h"
#include "platform/ComError.h"
#include "platform/Utf.h"

namespace sendnote::platform {
namespace {

// Parses a decimal number with optional sign, fraction and exponent, blanks around it
// allowed; returns false for anything else.
bool ParseNumber(std::u16string_view text, double& out) {
  size_t b = text.find_first_not_of(u' ');
  size_t e = text.find_last_not_of(u' ');
  if (b == std::u16string_view::npos) return false;
  std::string ascii;
  for (size_t i = b; i <= e; ++i) {
    const char16_t c = text[i];
    if (c > 0x7F) return false;
    ascii += static_cast<char>(c);
  }
  char* end = nullptr;
  out = std::strtod(ascii.c_str(), &end);
  return end == ascii.c_str() + ascii.size() && std::isfinite(out);
}

std::u16string FormatDouble(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return FromUtf8(buf);
}

}  // namespace

Variant Variant::Bool(Flag value) {
  Variant v;
  v.value_ = value == 0 ? kFalse : kTrue;
  return v;
}
Variant Variant::Int32(int32_t value) {
  Variant v;
  v.value_ = value;
  return v;
}
Variant Variant::Double(double value) {
  Variant v;
  v.value_ = value;
  return v;
}
Variant Variant::Date(double oleDate) {
  Variant v;
  v.value_ = DateValue{oleDate};
  return v;
}
Variant Variant::String(std::u16string value) {
  Variant v;
  v.value_ = std::move(value);
  return v;
}

Variant::Kind Variant::kind() const { return static_cast<Kind>(value_.index()); }

std::u16string Variant::ToString() const {
  switch (kind()) {
    case Kind::kEmpty:
      return u"";
    case Kind::kBool:
      return std::get<Flag>(value_) ? u"True" : u"False";
    case Kind::kInt32:
      return FromUtf8(std::to_string(std::get<int32_t>(value_)));
    case Kind::kDouble:
      return FormatDouble(std::get<double>(value_));
    case Kind::kDate:
      return FormatDouble(std::get<DateValue>(value_).value);
    case Kind::kString:
      return std::get<std::u16string>(value_);
  }
  return u"";
}

Flag Variant::ToFlag() const {
  switch (kind()) {
    case Kind::kEmpty:
      return kFalse;
    case Kind::kBool:
      return std::get<Flag>(value_);
    case Kind::kInt32:
      return platform::ToFlag(std::get<int32_t>(value_) != 0);
    case Kind::kDouble:
      return platform::ToFlag(std::get<double>(value_) != 0);
    case Kind::kDate:
      return platform::ToFlag(std::get<DateValue>(value_).value != 0);
    case Kind::kString: {
      const auto& s = std::get<std::u16string>(value_);
      if (EqualsIgnoringAsciiCase(s, u"True")) return kTrue;
      if (EqualsIgnoringAsciiCase(s, u"False")) return kFalse;
      double d = 0;
      if (ParseNumber(s, d)) return platform::ToFlag(d != 0);
      Raise(kErrTypeMismatch);
    }
  }
  Raise(kErrTypeMismatch);
}

double Variant::ToDouble() const {
  switch (kind()) {
    case Kind::kEmpty:
      return 0;
    case Kind::kBool:
      return std::get<Flag>(value_);
    case Kind::kInt32:
      return std::get<int32_t>(value_);
    case Kind::kDouble:
      return std::get<double>(value_);
    case Kind::kDate:
      return std::get<DateValue>(value_).value;
    case Kind::kString: {
      const auto& s = std::get<std::u16string>(value_);
      if (EqualsIgnoringAsciiCase(s, u"True")) return -1;
      if (EqualsIgnoringAsciiCase(s, u"False")) return 0;
      double d = 0;
      if (!ParseNumber(s, d)) Raise(kErrTypeMismatch);
      return d;
    }
  }
  Raise(kErrTypeMismatch);
}

int32_t Variant::ToInt32() const {
  const double d = std::nearbyint(ToDouble());  // default rounding: half to even
  if (d < INT32_MIN || d > INT32_MAX) Raise(kErrOverflow);
  return static_cast<int32_t>(d);
}

bool operator==(const Variant& a, const Variant& b) { return a.value_ == b.value_; }

}  // namespace sendnote::platform
