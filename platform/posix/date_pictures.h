// The date and time picture language of the user locale's formatting calls,
// as pure functions over calendar fields, with English names and markers.
//
// A picture is read as characters: a byte of 0x80 or above begins a two-byte
// character together with the byte after it and is copied unchanged; a zero
// byte ends the picture. Runs of one element letter form one element:
//
//   date pictures                      time pictures
//   d     day, no leading zero         h     hour 1-12, no leading zero
//   dd    day, two digits              hh    hour 01-12 (hour 0 is 12)
//   ddd   weekday, "Sun"               H     hour 0-23, no leading zero
//   dddd+ weekday, "Sunday"            HH    hour 00-23
//   M     month, no leading zero       m, mm minutes; s, ss seconds
//   MM    month, two digits            t     "A" or "P"
//   MMM   month, "Dec"                 tt    "AM" or "PM"
//   MMMM+ month, "December"
//   y     year mod 100, no leading zero
//   yy    year mod 100, two digits
//   yyy+  year, four digits
//   g, gg era, "A.D."
//
// A run of more than two of h, H, m, s or t, or of g, counts as two. Letters
// of the other kind of picture (a "d" in a time picture, an "h" in a date
// picture) and every other character are copied unchanged. Text between
// single quotes is copied as it stands; two single quotes in a row, inside
// quoted text or outside it, write one quote. A quote that is never closed
// quotes the rest of the picture.
//   formatDatePicture(2018-12-02, "yyyy-M-dd ") -> "2018-12-02 "
//   formatDatePicture(2018-12-02, "ddd',' MMM d yy") -> "Sun, Dec 2 18"
//   formatTimePicture(14:23:28, false, "hh:mm:ss tt") -> "02:23:28 PM"
//   formatTimePicture(14:23:28, true, "hh:mm:ss") -> "14:23:28"
//   formatTimePicture(15:00:00, false, "h 'o''clock'") -> "3 o'clock"

#ifndef VELKARO_PLATFORM_POSIX_DATE_PICTURES_H_
#define VELKARO_PLATFORM_POSIX_DATE_PICTURES_H_

#include <cstddef>
#include <string_view>

#include "platform/locale_services.h"
#include "values/text.h"

namespace velkaro {

// The date of time written by picture into *out. Reads year, month and day
// only (the weekday is worked out from the date). Returns false, with *out
// unspecified, when the date is not a valid one of the years 1 to 9999 or
// when the text would be longer than maxBytes bytes.
bool formatDatePicture(const SystemTime& time, std::string_view picture,
                       std::size_t maxBytes, Text* out);

// The time of day of time written by picture into *out; force24Hour makes h
// and hh act as H and HH. Reads hour, minute, second and milliseconds only.
// Returns false, with *out unspecified, when the time is not a valid one
// (hour 0-23, minute and second 0-59, milliseconds 0-999) or when the text
// would be longer than maxBytes bytes.
bool formatTimePicture(const SystemTime& time, bool force24Hour,
                       std::string_view picture, std::size_t maxBytes,
                       Text* out);

// Writes text and a terminating zero at the start of buffer, leaving the
// bytes after them as they were. Returns false and leaves the buffer
// untouched when the two need more than buffer.size() bytes.
//   buffer "    ", text "1" -> buffer "1\0  "
bool writeBufferText(std::string_view text, Text& buffer);

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_POSIX_DATE_PICTURES_H_
