// The pieces of the POSIX locale services that can be checked on their own:
// reading a C library time format's clock, and the platform's conversion of
// a DateTime into calendar fields.

#ifndef VELKARO_PLATFORM_POSIX_LOCALE_POSIX_H_
#define VELKARO_PLATFORM_POSIX_LOCALE_POSIX_H_

#include <string_view>

#include "platform/locale_services.h"
#include "values/date_time.h"

namespace velkaro {

// Whether a C library time format (a locale's T_FMT) writes the hour on a
// 12-hour clock: it holds the conversion %I, %l or %r, flags ("_-0^#"), a
// width and an E or O modifier allowed between the "%" and the letter. "%%"
// is a literal percent sign. False for every other format, the empty one
// included.
//   timeFormatUses12HourClock("%H:%M:%S") == false
//   timeFormatUses12HourClock("%r") == true
//   timeFormatUses12HourClock("%-I.%M %p") == true
//   timeFormatUses12HourClock("%%I") == false
bool timeFormatUses12HourClock(std::string_view format);

// The calendar fields of value, as the platform's conversion of an OLE
// Automation date gives them: the instant rounded to the nearest whole
// second (half a second to the later one, as the component reads of a
// DateTime do), milliseconds 0, the weekday filled in (0 is Sunday).
// Returns false, with *out untouched, for NaN, for values outside the
// open interval -657435.0 to 2958466.0 (everything the encoding can hold
// from 100-01-01 00:00:00 to 9999-12-31 23:59:59.999...), and for a value so
// close to 2958466.0 that it rounds to the year 10000.
//   systemTimeOf(25569.333333333332) -> 1970-01-01 08:00:00, Thursday
//   systemTimeOf(-1.25) -> 1899-12-29 06:00:00
//   systemTimeOf(-657434.5) -> 100-01-01 12:00:00
//   systemTimeOf(-657435.0) and systemTimeOf(2958466.0) fail
bool systemTimeOf(DateTime value, SystemTime* out);

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_POSIX_LOCALE_POSIX_H_
