#include "values/date_time.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace velkaro {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to 1899-12-30 (negative: the epoch lies before).
constexpr int64_t kEpochFromUnixDays = -25569;

// Floor division for a positive divisor.
inline int64_t floorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// Days from 1970-01-01 to the date, proleptic Gregorian. Defined for every
// 32-bit year, month and day (a month outside 1..12 gives a day count that
// means nothing, but no overflow).
int64_t unixDaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = floorDiv(year, 400);
  const int64_t yearOfEra = year - era * 400;                      // 0..399
  const int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;  // March = 0
  const int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
  const int64_t dayOfEra =
      yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// The date of the day that lies `days` days after 1970-01-01. The caller
// keeps days within a few million of zero.
void civilFromUnixDays(int64_t days, DateTimeParts& parts) {
  days += 719468;
  const int64_t era = floorDiv(days, 146097);
  const int64_t dayOfEra = days - era * 146097;  // 0..146096
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) /
      365;  // 0..399
  const int64_t dayOfYear =
      dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March = 0
  const int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  parts.year = static_cast<int>(year);
  parts.month = static_cast<int>(month);
  parts.day = static_cast<int>(day);
}

// A value brought into kMinDateTime..kMaxDateTime; NaN, which no operation
// of this system makes, is taken as kMinDateTime.
inline DateTime clampToRange(DateTime value) {
  if (value > kMaxDateTime) return kMaxDateTime;
  if (value >= kMinDateTime) return value;
  return kMinDateTime;  // below the range, or NaN
}

// The encoding as a day count that runs on continuously across zero:
// -1.25 (1899-12-29 06:00:00) becomes -0.75.
inline double toContinuous(DateTime x) {
  if (x >= 0) return x;
  const double c = std::ceil(x);
  return c - (x - c);
}

// The continuous day count back in the encoding: -0.75 becomes -1.25.
inline DateTime fromContinuous(double y) {
  if (y >= 0) return y;
  const double f = std::floor(y);
  return f + (f - y);
}

// A sum of day counts that lies a hair from a whole day stands for that
// midnight. Below zero this matters: a hair before the midnight that begins
// day n is day n - 1 at 23:59:59.99..., whose encoding rounds to the whole
// number n - 2 and so reads as day n - 2 at 00:00:00, two days early. The
// margin is far above the error of any sum in the range and far below one
// second.
constexpr double kMidnightMargin = kSecondAsDay / 1024;

inline double snapToMidnight(double y) {
  const double whole = std::nearbyint(y);
  if (std::fabs(y - whole) < kMidnightMargin) return whole + 0.0;  // no -0
  return y;
}

// The decimal number of the digits at text[at], at most width of them (0
// when no digit stands there); at moves past them.
inline int readField(const unsigned char* text, std::size_t length,
                     std::size_t& at, int width) {
  int value = 0;
  for (int n = 0; n < width && at < length; ++n) {
    const unsigned char c = text[at];
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    ++at;
  }
  return value;
}

// Passes over one separator after a field: one of the separator bytes, else
// the two bytes of the unit character, else nothing.
inline void skipSeparator(const unsigned char* text, std::size_t length,
                          std::size_t& at, const char* separators,
                          unsigned char unitLead, unsigned char unitTrail) {
  if (at >= length) return;
  for (const char* s = separators; *s != '\0'; ++s) {
    if (text[at] == static_cast<unsigned char>(*s)) {
      ++at;
      return;
    }
  }
  if (at + 1 < length && text[at] == unitLead && text[at + 1] == unitTrail) {
    at += 2;
  }
}

// The most folded bytes a parse can look at: 14 digits, five two-byte
// separators and a two-byte end mark, with room to spare. A longer text is
// folded only this far: what lies beyond is either after 秒, and ignored,
// or makes the end rule fail.
constexpr std::size_t kFoldLimit = 32;

// Folds the GBK full-width forms of text into out (at most kFoldLimit
// bytes) and returns the number of bytes written. A lead byte that stands
// last, without its second byte, is dropped.
std::size_t foldFullWidth(const Text& text, unsigned char* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t length = text.size();
  std::size_t i = 0;
  std::size_t n = 0;
  while (i < length && n + 2 <= kFoldLimit) {
    const unsigned char lead = in[i];
    if (lead < 0x80) {
      out[n++] = lead;
      i += 1;
      continue;
    }
    if (i + 1 >= length) break;  // a lead byte without its second byte
    const unsigned char trail = in[i + 1];
    i += 2;
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out[n++] = static_cast<unsigned char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      out[n++] = ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      out[n++] = '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out[n++] = '*';
    } else {
      out[n++] = lead;
      out[n++] = trail;
    }
  }
  return n;
}

}  // namespace

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30,
                                       31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && isLeapYear(year)) return 29;
  return kLengths[month - 1];
}

int64_t daysFromEpoch(int year, int month, int day) {
  return unixDaysFromCivil(year, month, day) - kEpochFromUnixDays;
}

DateTime makeDateTime(int year, int month, int day, int hour, int minute,
                      int second) {
  const int64_t n = daysFromEpoch(year, month, day);
  const int64_t seconds = static_cast<int64_t>(hour) * 3600 +
                          static_cast<int64_t>(minute) * 60 + second;
  const double t = static_cast<double>(seconds) * kSecondAsDay;
  const double days = static_cast<double>(n);
  return n >= 0 ? days + t : days - t;
}

DateTime toDateTime(const Text& text) {
  unsigned char folded[kFoldLimit] = {};
  const std::size_t length = foldFullWidth(text, folded);
  if (length == 0) return kMinDateTime;

  std::size_t at = 0;
  const int year = readField(folded, length, at, 4);
  skipSeparator(folded, length, at, "-./:", 0xC4, 0xEA);  // 年
  const int month = readField(folded, length, at, 2);
  skipSeparator(folded, length, at, "-./:", 0xD4, 0xC2);  // 月
  const int day = readField(folded, length, at, 2);
  skipSeparator(folded, length, at, " -./:", 0xC8, 0xD5);  // 日
  const int hour = readField(folded, length, at, 2);
  skipSeparator(folded, length, at, "-./:", 0xCA, 0xB1);  // 时
  const int minute = readField(folded, length, at, 2);
  skipSeparator(folded, length, at, "-./:", 0xB7, 0xD6);  // 分
  const int second = readField(folded, length, at, 2);

  // The text ends here, or goes on with 秒 and whatever follows it.
  const bool ends = at == length || (at + 1 < length && folded[at] == 0xC3 &&
                                     folded[at + 1] == 0xEB);
  if (!ends) return kMinDateTime;

  if (year < 100 || year > 9999) return kMinDateTime;
  if (month < 1 || month > 12) return kMinDateTime;
  if (day < 1 || day > daysInMonth(year, month)) return kMinDateTime;
  if (hour > 23 || minute > 59 || second > 59) return kMinDateTime;
  return makeDateTime(year, month, day, hour, minute, second);
}

DateTime addSeconds(DateTime value, int32_t seconds) {
  if (seconds == 0) return value;
  const double y = toContinuous(clampToRange(value));
  const double sum = y + static_cast<double>(seconds) * kSecondAsDay;
  return fromContinuous(snapToMidnight(sum));
}

DateTimeParts partsOf(DateTime value) {
  const double y = toContinuous(clampToRange(value));
  // Seconds from 1899-12-30 00:00:00, to the nearest; half to the later.
  const double exact = y * static_cast<double>(kSecondsPerDay);
  double whole = std::floor(exact);
  if (exact - whole >= 0.5) whole += 1;
  const auto s = static_cast<int64_t>(whole);  // within about +-2.6e11

  const int64_t days = floorDiv(s, kSecondsPerDay);
  const int64_t ofDay = s - days * kSecondsPerDay;  // 0..86399
  DateTimeParts parts;
  civilFromUnixDays(days + kEpochFromUnixDays, parts);
  parts.hour = static_cast<int>(ofDay / 3600);
  parts.minute = static_cast<int>(ofDay / 60 % 60);
  parts.second = static_cast<int>(ofDay % 60);
  return parts;
}

int yearOf(DateTime value) { return partsOf(value).year; }
int monthOf(DateTime value) { return partsOf(value).month; }
int dayOf(DateTime value) { return partsOf(value).day; }
int hourOf(DateTime value) { return partsOf(value).hour; }
int minuteOf(DateTime value) { return partsOf(value).minute; }
int secondOf(DateTime value) { return partsOf(value).second; }

}  // namespace velkaro
