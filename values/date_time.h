// Date-time values.
//
// A DateTime is an OLE Automation date: a double counting days from
// 1899-12-30 00:00:00 whose fraction is the time of day, in the proleptic
// Gregorian calendar. Before 1899-12-30 the integer part (toward zero) is the
// day and the fraction's magnitude the time of day from that day's midnight:
// -1.25 is 1899-12-29 06:00:00 and -0.5 is 1899-12-30 12:00:00. All
// arithmetic goes through a continuous day count. Every value the system
// makes stands for a whole second; the component reads round to the nearest
// second, so floating-point error never shows.

#ifndef VELKARO_VALUES_DATE_TIME_H_
#define VELKARO_VALUES_DATE_TIME_H_

#include <cstdint>

#include "values/text.h"

namespace velkaro {

using DateTime = double;

// 100-01-01 00:00:00: what a failed toDateTime yields.
inline constexpr DateTime kMinDateTime = -657434.0;
// 9999-12-31 00:00:00: the upper end of the range.
inline constexpr DateTime kMaxDateTime = 2958465.0;

// The double nearest to 1/86400: one second as a part of a day.
inline constexpr double kSecondAsDay = 1.1574074074074073e-05;

// The six calendar components of one instant.
struct DateTimeParts {
  int year = 100;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The value for a valid date and time (the caller ensures validity).
//   makeDateTime(1970, 1, 1, 8, 0, 0) == 25569.333333333332
DateTime makeDateTime(int year, int month, int day, int hour, int minute,
                      int second);

// Reads a date-time text: year (up to 4 digits), month, day, hour, minute
// and second (up to 2 digits each), each optionally followed by one
// separator ("-" "." "/" ":", and " " after the day only) or its GBK unit
// character (年 月 日 时 分 秒). GBK full-width forms are folded to ASCII
// first. After the seconds the text must end or go on with 秒. Returns
// kMinDateTime for every text it cannot read and every field out of range.
//   toDateTime("2018-12-2 04:23:28") is 2018-12-02 04:23:28
//   toDateTime("20181202042328") is 2018-12-02 04:23:28
//   toDateTime("2018-02-29") == kMinDateTime; toDateTime("") == kMinDateTime
DateTime toDateTime(const Text& text);

// The value moved by seconds (negative moves earlier). 0 returns the value
// unchanged; otherwise it is first brought into kMinDateTime..kMaxDateTime.
// The result is not clamped.
DateTime addSeconds(DateTime value, int32_t seconds);

// The six components of a value, read once: a value outside
// kMinDateTime..kMaxDateTime reads as the nearer end, and the instant is
// rounded to the nearest whole second (half a second to the later one).
// NaN, which no operation makes, is taken as kMinDateTime here and by
// addSeconds with a count other than 0.
DateTimeParts partsOf(DateTime value);

int yearOf(DateTime value);    // 100 to 9999
int monthOf(DateTime value);   // 1 to 12
int dayOf(DateTime value);     // 1 to 31
int hourOf(DateTime value);    // 0 to 23
int minuteOf(DateTime value);  // 0 to 59
int secondOf(DateTime value);  // 0 to 59

// Calendar helpers, proleptic Gregorian. daysInMonth is 0 for a month
// outside 1..12.
bool isLeapYear(int year);
int daysInMonth(int year, int month);
// Days from 1899-12-30 to the date (negative before it).
int64_t daysFromEpoch(int year, int month, int day);

}  // namespace velkaro

#endif  // VELKARO_VALUES_DATE_TIME_H_
