// ECMAScript dates as the POSIX script host reads and writes them: a string
// read as a number of milliseconds, that number cut to a time value, the
// instant's local calendar fields in the machine's time zone, and the text
// the JScript engine writes for a date.
//
//   ecmaStringToNumber(" 1543731808000 ")     == 1543731808000.0
//   ecmaStringToNumber("0x10")                 == 16.0
//   ecmaStringToNumber("12abc")                is NaN
//   ecmaTimeClip(8640000000000001.0)           is NaN
//   jscriptDateString(1543731808000.0) at UTC+8
//       == "Sun Dec 2 14:23:28 UTC+0800 2018"

#ifndef VELKARO_PLATFORM_POSIX_ECMA_DATE_H_
#define VELKARO_PLATFORM_POSIX_ECMA_DATE_H_

#include <cstdint>
#include <string_view>

#include "values/text.h"

namespace velkaro {

// The largest magnitude of a time value: 100,000,000 days in milliseconds.
inline constexpr double kEcmaMaxTime = 8.64e15;

// ECMAScript's ToNumber of a string, the string read as UTF-8:
// - white space and line terminators around the number are ignored (tab,
//   VT, FF, space, NBSP, U+1680, U+2000 to U+200A, U+202F, U+205F, U+3000,
//   U+FEFF, LF, CR, U+2028, U+2029); a text of nothing else gives +0;
// - a decimal number with an optional sign, an optional fraction and an
//   optional exponent ("-1.5e3", ".5", "5."), rounded to the nearest double
//   (too large gives an infinity, too small a zero of its sign);
// - "Infinity" with an optional sign;
// - an unsigned integer after 0x, 0o or 0b (either case), rounded to the
//   nearest double.
// Every other text gives NaN: "0x" alone, "-0x10", "1_000", "inf", "1e",
// "1 2", full-width digits, invalid UTF-8.
//   ecmaStringToNumber("") == 0; ecmaStringToNumber("-0") is -0.0
//   ecmaStringToNumber("\xE3\x80\x80" "7\n") == 7
double ecmaStringToNumber(std::string_view text);

// ECMAScript's TimeClip: NaN for NaN, an infinity or a magnitude above
// kEcmaMaxTime; otherwise the number truncated toward zero (-0 becomes +0).
//   ecmaTimeClip(-1.9) == -1; ecmaTimeClip(8.64e15) == 8.64e15
double ecmaTimeClip(double time);

// The local calendar fields of one instant.
struct EcmaLocalTime {
  int64_t year = 1970;  // astronomical: 0 is 1 B.C., -1 is 2 B.C.
  int month = 1;        // 1 to 12
  int day = 1;          // 1 to 31
  int weekday = 4;      // 0 is Sunday
  int hour = 0;         // 0 to 23
  int minute = 0;       // 0 to 59
  int second = 0;       // 0 to 59 (60 only in a zone that counts leap seconds)
  int32_t offsetSeconds = 0;  // local time minus UTC
  bool daylightSaving = false;
};

// The local fields of the time value time (milliseconds since the Unix
// epoch), in the machine's time zone as the C library reads it (TZ or the
// system zone, re-read on every call), historical offsets and daylight
// saving included. The milliseconds are floored to whole seconds, so -1 is
// 23:59:59 on the day before. Returns false, leaving *out as it was, when
// time is not a time value (NaN, an infinity, a magnitude above
// kEcmaMaxTime). Should the C library fail to convert an instant, its UTC
// fields are given, with offset 0.
bool ecmaLocalTime(double time, EcmaLocalTime* out);

// The time-zone field of the JScript date text: "EST", "EDT", "CST",
// "CDT", "MST", "MDT", "PST" or "PDT" when the standard offset (the offset
// less one hour while daylight saving is in effect) is a whole number of
// hours from -5 to -8; otherwise "UTC", the sign and the offset's hours and
// minutes (seconds dropped), two digits each.
//   jscriptZoneName(-4 * 3600, true) == "EDT"
//   jscriptZoneName(-5 * 3600, true) == "CDT"
//   jscriptZoneName(-4 * 3600, false) == "UTC-0400"
//   jscriptZoneName(20700, false) == "UTC+0545"
//   jscriptZoneName(-17762, false) == "UTC-0456"
//   jscriptZoneName(0, false) == "UTC+0000"
Text jscriptZoneName(int32_t offsetSeconds, bool daylightSaving);

// The JScript engine's text of a date with these local fields: weekday,
// month, day (no leading zero), hh:mm:ss, zone (jscriptZoneName), year;
// a year of 0 or less is written as 1 - year followed by " B.C.". The empty
// text when a field is out of its range (month, weekday, day, time).
//   "Sun Dec 2 14:23:28 UTC+0800 2018"
//   "Tue Apr 20 00:00:00 UTC+0000 271822 B.C."
Text jscriptDateText(const EcmaLocalTime& local);

// The JScript engine's text of the Date whose time value is time, in the
// machine's time zone: jscriptDateText of ecmaLocalTime. The text "NaN"
// when time is not a time value.
Text jscriptDateString(double time);

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_POSIX_ECMA_DATE_H_
