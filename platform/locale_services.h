// The user locale's date and time services: the clock setting, the
// conversion of a DateTime into calendar fields, and date and time pictures.
// On Windows these are the ANSI locale calls with locale 0 (the user's
// default); elsewhere our own implementation of the same behaviour.

#ifndef VELKARO_PLATFORM_LOCALE_SERVICES_H_
#define VELKARO_PLATFORM_LOCALE_SERVICES_H_

#include <cstdint>

#include "values/date_time.h"
#include "values/text.h"

namespace velkaro {

// The platform's calendar fields of one instant.
struct SystemTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t dayOfWeek = 0;  // 0 is Sunday
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

// Makes the time picture use a 24-hour clock whatever it says.
inline constexpr unsigned kTimeForce24HourFormat = 8;

class LocaleServices {
 public:
  virtual ~LocaleServices() = default;

  // Writes the user locale's clock setting ("0" a 12-hour clock, "1" a
  // 24-hour one) with a terminating zero into buffer, at most
  // buffer.size() bytes in all. Leaves the buffer as it was when the
  // setting cannot be read.
  virtual void getClockSetting(Text& buffer) = 0;

  // Fills *out with the calendar fields of value, rounded to the nearest
  // whole second. Returns false (and leaves *out unspecified) when value is
  // not a date the platform can represent.
  virtual bool toSystemTime(DateTime value, SystemTime* out) = 0;

  // Writes the date of time, formatted by picture, with a terminating zero
  // into buffer (at most buffer.size() bytes in all). On failure (a picture
  // whose text would not fit, a date the platform refuses) the buffer may
  // hold anything but is never written past its size.
  virtual void formatDate(const SystemTime& time, const Text& picture,
                          Text& buffer) = 0;

  // The same for the time of day; flags may hold kTimeForce24HourFormat.
  virtual void formatTime(const SystemTime& time, unsigned flags,
                          const Text& picture, Text& buffer) = 0;
};

// The services in use: the ones installed, else the host platform's own.
LocaleServices& localeServices();
// Installs services (null puts back the platform's own); returns the ones
// installed before, null when those were the platform's own.
LocaleServices* installLocaleServices(LocaleServices* services);
// The platform's own services.
LocaleServices& hostLocaleServices();

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_LOCALE_SERVICES_H_
