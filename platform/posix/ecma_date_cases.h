// Test data for the POSIX script host: the local dates an ECMAScript engine
// computed for a set of literals in several time zones
// (ecma_date_cases.inc, written by tools/ecma_date_cases.js), and the
// checks the tests make with them.

#ifndef VELKARO_PLATFORM_POSIX_ECMA_DATE_CASES_H_
#define VELKARO_PLATFORM_POSIX_ECMA_DATE_CASES_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/posix/ecma_date.h"

namespace velkaro {

// What the engine read for `new Date(Number(literal))` in zone.
struct EcmaDateCase {
  const char* zone;
  const char* literal;
  bool nan;  // the Date holds no time; the fields below are unused
  int64_t year;
  int month;
  int day;
  int weekday;
  int hour;
  int minute;
  int second;
  int32_t offsetSeconds;
  bool daylight;
  // Why the engine's zone data differs from the C library's here, or null.
  const char* zoneDataNote;
};

inline constexpr EcmaDateCase kEcmaDateCases[] = {
#include "platform/posix/ecma_date_cases.inc"
};

// "zone literal" with the literal's bytes outside printable ASCII escaped.
inline std::string describeCase(const EcmaDateCase& c) {
  std::string text = std::string(c.zone) + " \"";
  for (const char* p = c.literal; *p != '\0'; ++p) {
    const unsigned char byte = static_cast<unsigned char>(*p);
    if (byte >= 0x20 && byte < 0x7F) {
      text += *p;
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      text += escape;
    }
  }
  return text + "\"";
}

// The JScript engine's text for the case's fields, written out here from
// the engine's form: weekday, month, day, time, zone, year.
inline std::string expectedJscriptText(const EcmaDateCase& c) {
  static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed",
                                          "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr",
                                        "May", "Jun", "Jul", "Aug",
                                        "Sep", "Oct", "Nov", "Dec"};
  // Offsets in hours with the daylight-saving flag that have a name.
  struct NamedZone {
    int hours;
    bool daylight;
    const char* name;
  };
  static const NamedZone kNamed[] = {{-4, true, "EDT"}, {-5, false, "EST"},
                                     {-5, true, "CDT"}, {-6, false, "CST"},
                                     {-6, true, "MDT"}, {-7, false, "MST"},
                                     {-7, true, "PDT"}, {-8, false, "PST"}};
  char zone[16];
  const int32_t magnitude =
      c.offsetSeconds < 0 ? -c.offsetSeconds : c.offsetSeconds;
  std::snprintf(zone, sizeof zone, "UTC%c%02d%02d",
                c.offsetSeconds < 0 ? '-' : '+', magnitude / 3600,
                magnitude % 3600 / 60);
  for (const NamedZone& named : kNamed) {
    if (c.offsetSeconds == named.hours * 3600 && c.daylight == named.daylight) {
      std::snprintf(zone, sizeof zone, "%s", named.name);
    }
  }
  char year[32];
  if (c.year > 0) {
    std::snprintf(year, sizeof year, "%lld", static_cast<long long>(c.year));
  } else {
    std::snprintf(year, sizeof year, "%lld B.C.",
                  static_cast<long long>(1 - c.year));
  }
  char text[96];
  std::snprintf(text, sizeof text, "%s %s %d %02d:%02d:%02d %s %s",
                kWeekdays[c.weekday], kMonths[c.month - 1], c.day, c.hour,
                c.minute, c.second, zone, year);
  return text;
}

// Days from 1970-01-01 to a proleptic Gregorian date, counted the plain
// way: whole 400-year cycles, then years, then months.
inline int64_t daysFromCivil(int64_t year, int month, int day) {
  static const int kBeforeMonth[] = {0,   31,  59,  90,  120, 151,
                                     181, 212, 243, 273, 304, 334};
  // Shift to a year of the cycle that starts at 2000-01-01.
  int64_t cycles = (year - 2000) / 400;
  if ((year - 2000) % 400 < 0) {
    --cycles;
  }
  const int64_t yearInCycle = year - 2000 - cycles * 400;  // 0 to 399
  int64_t days = cycles * 146097;
  for (int64_t y = 0; y < yearInCycle; ++y) {
    const int64_t full = 2000 + y;
    const bool leap = full % 4 == 0 && (full % 100 != 0 || full % 400 == 0);
    days += leap ? 366 : 365;
  }
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  days += kBeforeMonth[month - 1] + (leap && month > 2 ? 1 : 0) + day - 1;
  return days + 10957;  // 1970-01-01 to 2000-01-01
}

// Whether local is a valid calendar date and time whose value less its
// offset is the instant time (floored to the second), and whose weekday
// belongs to its date.
inline ::testing::AssertionResult isConsistentLocalTime(
    double time, const EcmaLocalTime& local) {
  if (local.month < 1 || local.month > 12 || local.day < 1 || local.day > 31 ||
      local.hour < 0 || local.hour > 23 || local.minute < 0 ||
      local.minute > 59 || local.second < 0 || local.second > 59) {
    return ::testing::AssertionFailure() << "a field is out of range";
  }
  if (local.offsetSeconds <= -26 * 3600 || local.offsetSeconds >= 26 * 3600) {
    return ::testing::AssertionFailure()
           << "offset " << local.offsetSeconds << " s";
  }
  const int64_t ms = static_cast<int64_t>(time);
  const int64_t seconds = ms / 1000 - (ms % 1000 < 0 ? 1 : 0);
  const int64_t days = daysFromCivil(local.year, local.month, local.day);
  const int64_t localSeconds = days * 86400 + int64_t{local.hour} * 3600 +
                               int64_t{local.minute} * 60 + local.second;
  if (localSeconds - local.offsetSeconds != seconds) {
    return ::testing::AssertionFailure()
           << "local fields less the offset are "
           << localSeconds - local.offsetSeconds << " s, the instant is "
           << seconds << " s";
  }
  const int64_t weekday = ((days + 4) % 7 + 7) % 7;
  if (weekday != local.weekday) {
    return ::testing::AssertionFailure()
           << "weekday " << local.weekday << ", the date's is " << weekday;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_POSIX_ECMA_DATE_CASES_H_
