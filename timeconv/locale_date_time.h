// The user locale's date-time text: its clock setting, and a DateTime
// written through date and time pictures.

#ifndef VELKARO_TIMECONV_LOCALE_DATE_TIME_H_
#define VELKARO_TIMECONV_LOCALE_DATE_TIME_H_

#include "values/date_time.h"
#include "values/text.h"

namespace velkaro {

// The user locale's clock setting: 1 for a 24-hour clock, 0 for a 12-hour
// clock, and 0 when the setting cannot be read. Read afresh on every call.
int isLocale24Hour();

// The date part of dt formatted with datePicture followed directly by the
// time part formatted with timePicture. A picture of fewer than 3 bytes
// gives no part. force24Hour equal to exactly 1 puts the time part on a
// 24-hour clock whatever timePicture says. Each part holds at most 49
// bytes. The empty text when dt is not a date the platform can represent.
//   formatLocalDateTime(2018-12-02 14:23:28, "yyyy-M-dd ", "hh:mm:ss")
//       == "2018-12-02 02:23:28"
//   the same with force24Hour 1 == "2018-12-02 14:23:28"
Text formatLocalDateTime(DateTime dt, const Text& datePicture,
                         const Text& timePicture, int force24Hour = 0);

}  // namespace velkaro

#endif  // VELKARO_TIMECONV_LOCALE_DATE_TIME_H_
