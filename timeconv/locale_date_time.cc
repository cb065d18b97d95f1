#include "timeconv/locale_date_time.h"

#include "platform/locale_services.h"

namespace velkaro {

namespace {

// A picture shorter than this is taken as absent.
constexpr int kMinPictureLength = 3;
// The size of each part's buffer; a part holds at most one byte fewer.
constexpr int kPartBufferSize = 50;
// The size of the clock setting's buffer.
constexpr int kClockBufferSize = 4;

}  // namespace

int isLocale24Hour() {
  Text buffer = blankText(kClockBufferSize);
  localeServices().getClockSetting(buffer);
  // A buffer the platform left as four spaces reads as 0.
  return textToInt(bufferText(buffer));
}

Text formatLocalDateTime(DateTime dt, const Text& datePicture,
                         const Text& timePicture, int force24Hour) {
  LocaleServices& services = localeServices();
  SystemTime systemTime;
  if (!services.toSystemTime(dt, &systemTime)) return Text();

  Text datePart;
  if (textLength(datePicture) >= kMinPictureLength) {
    Text buffer = blankText(kPartBufferSize);
    services.formatDate(systemTime, datePicture, buffer);
    datePart = bufferText(buffer);
  }

  Text timePart;
  if (textLength(timePicture) >= kMinPictureLength) {
    Text buffer = blankText(kPartBufferSize);
    const unsigned flags = force24Hour == 1 ? kTimeForce24HourFormat : 0;
    services.formatTime(systemTime, flags, timePicture, buffer);
    timePart = bufferText(buffer);
  }

  return concatText(datePart, timePart);
}

}  // namespace velkaro
