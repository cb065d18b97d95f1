// The locale services on POSIX systems. The clock setting comes from the
// time locale that the environment selects (LC_ALL, LC_TIME, LANG), read
// without touching the process's own locale; the calendar fields and the
// pictures are our own implementation of the platform's behaviour, with
// English names.

#include "platform/posix/locale_posix.h"

#include <langinfo.h>
#include <locale.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>

#include "platform/locale_services.h"
#include "platform/posix/date_pictures.h"

namespace velkaro {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

int64_t floorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The proleptic Gregorian date days after 1899-12-30.
void dateOfDay(int64_t days, int64_t* year, int* month, int* day) {
  // Shifted to count from 0000-03-01, so that a leap day ends its year.
  const int64_t z = days + 693899;
  const int64_t era = floorDiv(z, 146097);
  const int64_t dayOfEra = z - era * 146097;  // 0 .. 146096
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) /
      365;  // 0 .. 399
  const int64_t dayOfYear =
      dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 is March
  *day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  *month =
      static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

// "0" for a 12-hour clock, "1" for a 24-hour one, null when the user's
// default time locale cannot be loaded. Reads the locale without changing
// the process's own.
const char* readClockSetting() {
  locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return nullptr;
  const char* format = nl_langinfo_l(T_FMT, locale);
  const bool twelveHour =
      timeFormatUses12HourClock(format != nullptr ? format : "");
  freelocale(locale);
  return twelveHour ? "0" : "1";
}

// The last clock setting read, with the values of the variables that chose
// the locale it was read from.
struct ClockSettingCache {
  static constexpr const char* kVariables[] = {"LC_ALL", "LC_TIME", "LANG",
                                               "LOCPATH"};
  bool known = false;
  const char* setting = nullptr;
  std::optional<std::string> values[std::size(kVariables)];

  // Whether the variables still have the values the setting was read with.
  bool isCurrent() const {
    if (!known) return false;
    for (std::size_t i = 0; i < std::size(kVariables); ++i) {
      const char* value = std::getenv(kVariables[i]);
      if ((value == nullptr) != !values[i].has_value()) return false;
      if (value != nullptr && *values[i] != value) return false;
    }
    return true;
  }

  void remember(const char* read) {
    for (std::size_t i = 0; i < std::size(kVariables); ++i) {
      const char* value = std::getenv(kVariables[i]);
      values[i] =
          value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    setting = read;
    known = true;
  }
};

class PosixLocaleServices : public LocaleServices {
 public:
  // Loading the time locale costs far more than a file's rename, so the
  // setting is read again only when one of the variables that select the
  // locale has changed since the last read.
  void getClockSetting(Text& buffer) override {
    if (!clock_.isCurrent()) {
      clock_.remember(readClockSetting());
    }
    if (clock_.setting != nullptr) {
      writeBufferText(clock_.setting, buffer);
    }
  }

  bool toSystemTime(DateTime value, SystemTime* out) override {
    return systemTimeOf(value, out);
  }

  // A failed call (a date or a picture it refuses, a text that would not
  // fit) leaves an empty text: a zero in the buffer's first byte.
  void formatDate(const SystemTime& time, const Text& picture,
                  Text& buffer) override {
    if (buffer.empty()) return;
    Text text;
    if (!formatDatePicture(time, picture, buffer.size() - 1, &text) ||
        !writeBufferText(text, buffer)) {
      buffer[0] = '\0';
    }
  }

  void formatTime(const SystemTime& time, unsigned flags, const Text& picture,
                  Text& buffer) override {
    if (buffer.empty()) return;
    Text text;
    const bool force24 = (flags & kTimeForce24HourFormat) != 0;
    if (!formatTimePicture(time, force24, picture, buffer.size() - 1, &text) ||
        !writeBufferText(text, buffer)) {
      buffer[0] = '\0';
    }
  }

 private:
  ClockSettingCache clock_;
};

}  // namespace

bool timeFormatUses12HourClock(std::string_view format) {
  std::size_t i = 0;
  while (i < format.size()) {
    if (format[i] != '%') {
      ++i;
      continue;
    }
    ++i;
    while (i < format.size() &&
           (format[i] == '_' || format[i] == '-' || format[i] == '0' ||
            format[i] == '^' || format[i] == '#')) {
      ++i;
    }
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
    if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;
    if (i >= format.size()) break;
    const char conversion = format[i];
    if (conversion == 'I' || conversion == 'l' || conversion == 'r') {
      return true;
    }
    ++i;  // "%%" and every other conversion
  }
  return false;
}

bool systemTimeOf(DateTime value, SystemTime* out) {
  // Written so that NaN fails too.
  if (out == nullptr || !(value > -657435.0 && value < 2958466.0)) {
    return false;
  }
  // The continuous day count: before 1899-12-30 the fraction's magnitude is
  // the time of day forward from the day's midnight.
  double continuous = value;
  if (value < 0.0) {
    const double c = std::ceil(value);
    continuous = c - (value - c);
  }
  // Seconds from 1899-12-30 00:00:00 to the nearest, half to the later one.
  // (Not floor(x + 0.5), whose sum may round up a value just under a half.)
  const double exact = continuous * static_cast<double>(kSecondsPerDay);
  double whole = std::floor(exact);
  if (exact - whole >= 0.5) whole += 1.0;
  const int64_t seconds = static_cast<int64_t>(whole);
  const int64_t days = floorDiv(seconds, kSecondsPerDay);
  const int64_t secondOfDay = seconds - days * kSecondsPerDay;

  int64_t year = 0;
  int month = 0;
  int day = 0;
  dateOfDay(days, &year, &month, &day);
  if (year < 100 || year > 9999) return false;

  out->year = static_cast<uint16_t>(year);
  out->month = static_cast<uint16_t>(month);
  out->day = static_cast<uint16_t>(day);
  // 1899-12-30 was a Saturday.
  const int64_t weekday = (days + 6) - floorDiv(days + 6, 7) * 7;
  out->dayOfWeek = static_cast<uint16_t>(weekday);
  out->hour = static_cast<uint16_t>(secondOfDay / 3600);
  out->minute = static_cast<uint16_t>(secondOfDay / 60 % 60);
  out->second = static_cast<uint16_t>(secondOfDay % 60);
  out->milliseconds = 0;
  return true;
}

LocaleServices& hostLocaleServices() {
  static PosixLocaleServices services;
  return services;
}

}  // namespace velkaro
