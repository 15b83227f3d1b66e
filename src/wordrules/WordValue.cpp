#include "wordrules/WordValue.h"

#include <algorithm>

#include <cmath>
#include <cstdio>

#include "platform/AsciiCase.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "platform/Word.h"

namespace sendnote::wordrules {

using namespace platform;

namespace {

using platform::Variant;

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = yoe + era * 400 + (m <= 2);
}

constexpr int64_t kOleEpochFromUnix = -25569;  // 1899-12-30 in days from 1970-01-01

// Reads 1..maxDigits decimal digits at `pos`; returns false when there are none.
bool ReadNumber(std::u16string_view text, size_t& pos, size_t maxDigits, int64_t& out) {
  out = 0;
  size_t start = pos;
  while (pos < text.size() && pos - start < maxDigits && text[pos] >= u'0' && text[pos] <= u'9') {
    out = out * 10 + (text[pos] - u'0');
    ++pos;
  }
  return pos > start;
}

bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int64_t DaysInMonth(int64_t y, int64_t m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

}  // namespace

bool IsPropertyType(int32_t type) {
  return type >= platform::kPropertyNumber && type <= platform::kPropertyFloat;
}

bool ParseDate(std::u16string_view text, double& oleDate) {
  size_t pos = 0;
  int64_t y = 0, m = 0, d = 0;
  if (!ReadNumber(text, pos, 4, y) || pos != 4) return false;
  if (pos >= text.size() || (text[pos] != u'/' && text[pos] != u'-')) return false;
  const char16_t separator = text[pos++];
  if (!ReadNumber(text, pos, 2, m)) return false;
  if (pos >= text.size() || text[pos++] != separator) return false;
  if (!ReadNumber(text, pos, 2, d)) return false;
  if (y < 100 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
  int64_t hh = 0, mm = 0, ss = 0;
  if (pos < text.size()) {
    if (text[pos] != u' ' && text[pos] != u'T') return false;
    ++pos;
    if (!ReadNumber(text, pos, 2, hh)) return false;
    if (pos >= text.size() || text[pos++] != u':') return false;
    if (!ReadNumber(text, pos, 2, mm)) return false;
    if (pos < text.size() && text[pos] == u':') {
      ++pos;
      if (!ReadNumber(text, pos, 2, ss)) return false;
    }
    if (pos != text.size() || hh > 23 || mm > 59 || ss > 59) return false;
  }
  const double day = static_cast<double>(DaysFromCivil(y, m, d) - kOleEpochFromUnix);
  const double time = static_cast<double>(hh * 3600 + mm * 60 + ss) / 86400.0;
  // Before 1899-12-30 an OLE date keeps a positive time part after a negative day.
  oleDate = day < 0 ? day - time : day + time;
  return true;
}

std::u16string FormatDate(double oleDate) {
  const double whole = std::trunc(oleDate);
  int64_t seconds = std::llround(std::fabs(oleDate - whole) * 86400.0);
  int64_t days = static_cast<int64_t>(whole);
  if (seconds >= 86400) {  // rounding reached the next day
    seconds -= 86400;
    days += oleDate < 0 ? -1 : 1;
  }
  int64_t y = 0, m = 0, d = 0;
  CivilFromDays(days + kOleEpochFromUnix, y, m, d);
  char buf[128];  // room for any 64-bit fields, which the compiler checks
  if (seconds == 0) {
    std::snprintf(buf, sizeof buf, "%04lld/%02lld/%02lld", static_cast<long long>(y),
                  static_cast<long long>(m), static_cast<long long>(d));
  } else {
    std::snprintf(buf, sizeof buf, "%04lld/%02lld/%02lld %02lld:%02lld:%02lld",
                  static_cast<long long>(y), static_cast<long long>(m), static_cast<long long>(d),
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60));
  }
  return platform::FromUtf8(buf);
}

Variant ConvertToPropertyType(const Variant& value, int32_t type) {
  switch (type) {
    case platform::kPropertyNumber:
      return Variant::Int32(value.ToInt32());
    case platform::kPropertyBoolean:
      return Variant::Bool(value.ToFlag());
    case platform::kPropertyDate: {
      if (value.kind() == Variant::Kind::kString) {
        double date = 0;
        if (ParseDate(value.ToString(), date)) return Variant::Date(date);
      }
      return Variant::Date(value.ToDouble());
    }
    case platform::kPropertyString:
      if (value.kind() == Variant::Kind::kDate)
        return Variant::String(FormatDate(value.ToDouble()));
      return Variant::String(value.ToString());
    case platform::kPropertyFloat:
      return Variant::Double(value.ToDouble());
    default:
      platform::Raise(platform::kErrInvalidCall);
  }
}

std::u16string FieldDisplayText(const Variant& value, int32_t type) {
  switch (type) {
    case platform::kPropertyBoolean:
      return platform::IsTrue(value.ToFlag()) ? u"Y" : u"N";
    case platform::kPropertyDate:
      return FormatDate(value.ToDouble());
    default:
      return value.ToString();
  }
}

bool SamePropertyName(std::u16string_view a, std::u16string_view b) {
  return EqualsIgnoringAsciiCase(a, b);
}

}  // namespace sendnote::wordrules
