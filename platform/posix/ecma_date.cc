#include "platform/posix/ecma_date.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>
#include <string_view>
#include <system_error>

namespace velkaro {
namespace {

static_assert(sizeof(std::time_t) >= 8,
              "the ECMAScript range needs a 64-bit time_t");

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

unsigned char byteAt(std::string_view s, size_t i) {
  return static_cast<unsigned char>(s[i]);
}

// The UTF-8 forms of the white space and line terminators that ToNumber
// skips, other than the one-byte ones.
constexpr std::string_view kWideWhiteSpace[] = {
    "\xC2\xA0",      // U+00A0 no-break space
    "\xE1\x9A\x80",  // U+1680 ogham space mark
    "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82", "\xE2\x80\x83",
    "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87",
    "\xE2\x80\x88", "\xE2\x80\x89", "\xE2\x80\x8A",  // U+2000 to U+200A
    "\xE2\x80\xA8",                                  // U+2028 line separator
    "\xE2\x80\xA9",  // U+2029 paragraph separator
    "\xE2\x80\xAF",  // U+202F narrow no-break space
    "\xE2\x81\x9F",  // U+205F medium mathematical space
    "\xE3\x80\x80",  // U+3000 ideographic space
    "\xEF\xBB\xBF",  // U+FEFF zero width no-break space
};

bool isAsciiWhiteSpace(unsigned char c) {
  return c == 0x20 || (c >= 0x09 && c <= 0x0D);
}

// The length of the white-space character that s begins with, 0 if none.
size_t leadingWhiteSpace(std::string_view s) {
  if (s.empty()) {
    return 0;
  }
  if (isAsciiWhiteSpace(byteAt(s, 0))) {
    return 1;
  }
  for (std::string_view w : kWideWhiteSpace) {
    if (s.starts_with(w)) {
      return w.size();
    }
  }
  return 0;
}

// The length of the white-space character that s ends with, 0 if none.
// UTF-8 lead bytes never occur inside a character, so a match at the end
// is a whole character.
size_t trailingWhiteSpace(std::string_view s) {
  if (s.empty()) {
    return 0;
  }
  if (isAsciiWhiteSpace(byteAt(s, s.size() - 1))) {
    return 1;
  }
  for (std::string_view w : kWideWhiteSpace) {
    if (s.ends_with(w)) {
      return w.size();
    }
  }
  return 0;
}

std::string_view trimWhiteSpace(std::string_view s) {
  while (size_t n = leadingWhiteSpace(s)) {
    s.remove_prefix(n);
  }
  while (size_t n = trailingWhiteSpace(s)) {
    s.remove_suffix(n);
  }
  return s;
}

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The value of digit c in radix 2, 8 or 16, or -1.
int radixDigit(unsigned char c, int radix) {
  int v = -1;
  if (c >= '0' && c <= '9') {
    v = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    v = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    v = c - 'A' + 10;
  }
  return v >= 0 && v < radix ? v : -1;
}

// The digits of an integer in radix 2, 8 or 16, rounded to the nearest
// double (ties to even); NaN when there is no digit or a byte is not one.
double readPowerOfTwoInteger(std::string_view digits, int radix) {
  const int bitsPerDigit = radix == 16 ? 4 : radix == 8 ? 3 : 1;
  if (digits.empty()) {
    return kNaN;
  }
  // The top 64 significant bits, and whether any bit below them is set.
  uint64_t top = 0;
  int topBits = 0;
  int droppedBits = 0;
  bool sticky = false;
  for (size_t i = 0; i < digits.size(); ++i) {
    const int d = radixDigit(byteAt(digits, i), radix);
    if (d < 0) {
      return kNaN;
    }
    for (int b = bitsPerDigit - 1; b >= 0; --b) {
      const unsigned bit = (static_cast<unsigned>(d) >> b) & 1U;
      if (topBits == 0 && bit == 0) {
        continue;  // a leading zero
      }
      if (topBits < 64) {
        top = (top << 1) | bit;
        ++topBits;
      } else {
        sticky = sticky || bit != 0;
        if (droppedBits < 4096) {
          ++droppedBits;
        }
      }
    }
  }
  if (sticky) {
    // The lowest of 64 bits lies far below a double's 53: setting it makes
    // the one rounding below break ties the way the whole number would.
    top |= 1U;
  }
  // droppedBits is capped where the result is an infinity already.
  return std::ldexp(static_cast<double>(top), droppedBits);
}

// Reads StrUnsignedDecimalLiteral: digits, an optional fraction and an
// optional exponent, with at least one digit before the exponent. NaN when
// s is not of that form.
double readUnsignedDecimal(std::string_view s) {
  if (s == "Infinity") {
    return kInfinity;
  }
  size_t i = 0;
  const size_t n = s.size();
  size_t intDigits = 0;         // significant ones, leading zeros skipped
  size_t leadingFracZeros = 0;  // zeros after the point before the first
                                // other digit, when there is no integer part
  bool anyDigit = false;
  bool nonZeroSeen = false;
  while (i < n && isDigit(byteAt(s, i))) {
    anyDigit = true;
    if (byteAt(s, i) != '0' || nonZeroSeen) {
      nonZeroSeen = true;
      ++intDigits;
    }
    ++i;
  }
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && isDigit(byteAt(s, i))) {
      anyDigit = true;
      if (!nonZeroSeen) {
        if (byteAt(s, i) == '0') {
          ++leadingFracZeros;
        } else {
          nonZeroSeen = true;
        }
      }
      ++i;
    }
  }
  if (!anyDigit) {
    return kNaN;
  }
  int64_t exponent = 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
      negative = s[i] == '-';
      ++i;
    }
    if (i == n) {
      return kNaN;
    }
    while (i < n && isDigit(byteAt(s, i))) {
      if (exponent < 1000000000) {
        exponent = exponent * 10 + (byteAt(s, i) - '0');
      }
      ++i;
    }
    if (negative) {
      exponent = -exponent;
    }
  }
  if (i != n) {
    return kNaN;
  }
  if (!nonZeroSeen) {
    return 0.0;
  }
  double value = 0.0;
  const auto result = std::from_chars(s.data(), s.data() + n, value,
                                      std::chars_format::general);
  if (result.ec == std::errc() && result.ptr == s.data() + n) {
    return value;
  }
  // Out of range: the decimal magnitude tells overflow from underflow.
  const int64_t magnitude =
      (intDigits > 0 ? static_cast<int64_t>(intDigits)
                     : -static_cast<int64_t>(leadingFracZeros)) +
      exponent;
  return magnitude > 0 ? kInfinity : 0.0;
}

// Days from 1970-01-01 to the proleptic Gregorian date (y, m, d), and back.
struct CivilDate {
  int64_t year;
  int month;
  int day;
};

CivilDate civilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

int64_t floorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

EcmaLocalTime utcFields(int64_t seconds) {
  const int64_t days = floorDiv(seconds, 86400);
  const int64_t secondOfDay = seconds - days * 86400;
  const CivilDate date = civilFromDays(days);
  EcmaLocalTime t;
  t.year = date.year;
  t.month = date.month;
  t.day = date.day;
  // 1970-01-01 was a Thursday.
  t.weekday = static_cast<int>(((days % 7) + 7 + 4) % 7);
  t.hour = static_cast<int>(secondOfDay / 3600);
  t.minute = static_cast<int>(secondOfDay / 60 % 60);
  t.second = static_cast<int>(secondOfDay % 60);
  t.offsetSeconds = 0;
  t.daylightSaving = false;
  return t;
}

void appendNumber(Text& out, int64_t n) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
  out.append(buffer, result.ptr);
}

void appendTwoDigits(Text& out, int64_t n) {
  if (n < 10) {
    out.push_back('0');
  }
  appendNumber(out, n);
}

constexpr const char* kWeekdayNames[] = {"Sun", "Mon", "Tue", "Wed",
                                         "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr",
                                       "May", "Jun", "Jul", "Aug",
                                       "Sep", "Oct", "Nov", "Dec"};
// By standard offset -5 to -8 hours: standard and daylight names.
constexpr const char* kZoneNames[][2] = {
    {"EST", "EDT"}, {"CST", "CDT"}, {"MST", "MDT"}, {"PST", "PDT"}};

}  // namespace

double ecmaStringToNumber(std::string_view text) {
  const std::string_view s = trimWhiteSpace(text);
  if (s.empty()) {
    return 0.0;
  }
  if (s.size() >= 2 && s[0] == '0') {
    const char prefix = s[1];
    if (prefix == 'x' || prefix == 'X') {
      return readPowerOfTwoInteger(s.substr(2), 16);
    }
    if (prefix == 'o' || prefix == 'O') {
      return readPowerOfTwoInteger(s.substr(2), 8);
    }
    if (prefix == 'b' || prefix == 'B') {
      return readPowerOfTwoInteger(s.substr(2), 2);
    }
  }
  if (s[0] == '+' || s[0] == '-') {
    const double magnitude = readUnsignedDecimal(s.substr(1));
    return s[0] == '-' ? -magnitude : magnitude;
  }
  return readUnsignedDecimal(s);
}

double ecmaTimeClip(double time) {
  if (!std::isfinite(time) || std::fabs(time) > kEcmaMaxTime) {
    return kNaN;
  }
  // Adding +0 turns -0 into +0.
  return std::trunc(time) + 0.0;
}

bool ecmaLocalTime(double time, EcmaLocalTime* out) {
  if (!std::isfinite(time) || std::fabs(time) > kEcmaMaxTime) {
    return false;
  }
  const int64_t seconds =
      floorDiv(static_cast<int64_t>(std::trunc(time)), 1000);
  // localtime_r need not look at TZ again: tzset makes it.
  tzset();
  const std::time_t instant = static_cast<std::time_t>(seconds);
  std::tm tm{};
  if (localtime_r(&instant, &tm) == nullptr) {
    *out = utcFields(seconds);
    return true;
  }
  EcmaLocalTime t;
  t.year = static_cast<int64_t>(tm.tm_year) + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.weekday = tm.tm_wday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.offsetSeconds = static_cast<int32_t>(tm.tm_gmtoff);
  t.daylightSaving = tm.tm_isdst > 0;
  *out = t;
  return true;
}

Text jscriptZoneName(int32_t offsetSeconds, bool daylightSaving) {
  const int64_t offset = offsetSeconds;
  const int64_t standard = offset - (daylightSaving ? 3600 : 0);
  if (standard % 3600 == 0 && standard <= int64_t{-5} * 3600 &&
      standard >= int64_t{-8} * 3600) {
    const int64_t index = -standard / 3600 - 5;
    return kZoneNames[index][daylightSaving ? 1 : 0];
  }
  const int64_t minutes = (offset < 0 ? -offset : offset) / 60;
  Text zone = offset < 0 ? "UTC-" : "UTC+";
  appendTwoDigits(zone, minutes / 60);
  appendTwoDigits(zone, minutes % 60);
  return zone;
}

Text jscriptDateText(const EcmaLocalTime& local) {
  if (local.month < 1 || local.month > 12 || local.weekday < 0 ||
      local.weekday > 6 || local.day < 1 || local.day > 31 || local.hour < 0 ||
      local.hour > 23 || local.minute < 0 || local.minute > 59 ||
      local.second < 0 || local.second > 60) {
    return Text();
  }
  Text out;
  out.reserve(40);
  out += kWeekdayNames[local.weekday];
  out += ' ';
  out += kMonthNames[local.month - 1];
  out += ' ';
  appendNumber(out, local.day);
  out += ' ';
  appendTwoDigits(out, local.hour);
  out += ':';
  appendTwoDigits(out, local.minute);
  out += ':';
  appendTwoDigits(out, local.second);
  out += ' ';
  out += jscriptZoneName(local.offsetSeconds, local.daylightSaving);
  out += ' ';
  if (local.year > 0) {
    appendNumber(out, local.year);
  } else {
    appendNumber(out, 1 - local.year);
    out += " B.C.";
  }
  return out;
}

Text jscriptDateString(double time) {
  EcmaLocalTime local;
  if (!ecmaLocalTime(ecmaTimeClip(time), &local)) {
    return "NaN";
  }
  return jscriptDateText(local);
}

}  // namespace velkaro
