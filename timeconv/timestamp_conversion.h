// Timestamp conversion: the digits of a picture's name as a date-time text.
//
// A timestamp of exactly 10 bytes counts seconds since the Unix epoch and
// is written at +8 hours whatever the machine's time zone, always on a
// 24-hour clock: "1543731808" gives "2018-12-02 14:23:28". Any other
// timestamp, the empty one included, counts milliseconds and is converted by
// the script host in the machine's own time zone: "1543731808000" gives
// "2018-12-2 14:23:28" at UTC+8.

#ifndef VELKARO_TIMECONV_TIMESTAMP_CONVERSION_H_
#define VELKARO_TIMECONV_TIMESTAMP_CONVERSION_H_

#include "values/text.h"

namespace velkaro {

// The date-time text for timestamp; the empty text on every failure: no
// script host, a script result that is not a date, or a timestamp holding a
// single quote, a backslash or a line terminator (such a text is never
// placed into a script).
Text timestampToDateText(const Text& timestamp);

// The script host's date text ("Sun Dec 2 14:23:28 UTC+0800 2018") made
// into year-month-day and the time ("2018-12-2 14:23:28"). The empty text
// for an empty text or one of fewer than six space-separated fields; a month
// that is not one of the twelve English abbreviations stays as it is.
Text rearrangeScriptDate(const Text& dateText);

// Whether timestamp may be placed between the single quotes of a script:
// false when it holds a single quote, a backslash, CR, LF, or the UTF-8 line
// or paragraph separator, or ends in the first byte of a two-byte character
// (which would take the closing quote with it).
bool isSafeScriptLiteral(const Text& timestamp);

}  // namespace velkaro

#endif  // VELKARO_TIMECONV_TIMESTAMP_CONVERSION_H_
