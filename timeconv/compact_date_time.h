// The compact date-time text: a value's six components in decimal digits,
// with the caller's separators, in one of four layouts. It depends on the
// value alone: no locale, no platform.

#ifndef VELKARO_TIMECONV_COMPACT_DATE_TIME_H_
#define VELKARO_TIMECONV_COMPACT_DATE_TIME_H_

#include "values/date_time.h"
#include "values/text.h"

namespace velkaro {

// The optional parameters of dateTimeToText, each of which may be left out
// on its own:  dateTimeToText(v, DateTimeTextOptions{.style = 3})
// Name the type: GCC 12 finds a bare designated list that begins with a
// separator ambiguous with the overload that takes the separators.
struct DateTimeTextOptions {
  Text dateSeparator = "-";  // between year, month and day
  Text timeSeparator = ":";  // between hour, minute and second
  int style = 1;
};

// The value written by style, D the date separator and T the time separator:
//   1  hour T minute T second
//   2  year D month D day
//   3  year D month D day, one space, hour T minute T second
//   4  year D month D day hour T minute T second (nothing between day, hour)
//   any other style: the empty text.
// The year is written unpadded (three digits for 100 to 999); the other five
// components with two digits.
//   dateTimeToText(2018-12-02 04:23:28)            == "04:23:28"
//   dateTimeToText(2018-12-02 04:23:28, "", "", 3) == "20181202 042328"
//   dateTimeToText(kMinDateTime, "", "", 3)        == "1000101 000000"
Text dateTimeToText(DateTime value, const Text& dateSeparator = "-",
                    const Text& timeSeparator = ":", int style = 1);
Text dateTimeToText(DateTime value, int style);
Text dateTimeToText(DateTime value, const DateTimeTextOptions& options);

}  // namespace velkaro

#endif  // VELKARO_TIMECONV_COMPACT_DATE_TIME_H_
