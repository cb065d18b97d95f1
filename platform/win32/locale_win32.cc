// The locale services on Windows: the ANSI locale calls with locale 0, the
// user's default locale, writing into the caller's buffers with their sizes.

#include <windows.h>

#include <climits>
#include <cstddef>

#include "platform/locale_services.h"

namespace velkaro {
namespace {

static_assert(kTimeForce24HourFormat == TIME_FORCE24HOURFORMAT);

// The size a platform call may write into buffer, zero terminator included.
int sizeOf(const Text& buffer) {
  return buffer.size() > static_cast<std::size_t>(INT_MAX)
             ? INT_MAX
             : static_cast<int>(buffer.size());
}

SYSTEMTIME toWin32(const SystemTime& time) {
  SYSTEMTIME out;
  out.wYear = time.year;
  out.wMonth = time.month;
  out.wDayOfWeek = time.dayOfWeek;
  out.wDay = time.day;
  out.wHour = time.hour;
  out.wMinute = time.minute;
  out.wSecond = time.second;
  out.wMilliseconds = time.milliseconds;
  return out;
}

class Win32LocaleServices : public LocaleServices {
 public:
  // A call that fails (a buffer too small for the digit and its zero) may
  // have written part of it: the buffer is put back as it was.
  void getClockSetting(Text& buffer) override {
    if (buffer.empty()) return;
    const Text before = buffer;
    if (GetLocaleInfoA(0, LOCALE_ITIME, buffer.data(), sizeOf(buffer)) == 0) {
      buffer = before;
    }
  }

  bool toSystemTime(DateTime value, SystemTime* out) override {
    SYSTEMTIME time;
    // NaN, which no operation makes, is no date; the platform would read it
    // as 1899-12-30.
    if (out == nullptr || value != value ||
        VariantTimeToSystemTime(value, &time) != 1) {
      return false;
    }
    out->year = time.wYear;
    out->month = time.wMonth;
    out->dayOfWeek = time.wDayOfWeek;
    out->day = time.wDay;
    out->hour = time.wHour;
    out->minute = time.wMinute;
    out->second = time.wSecond;
    out->milliseconds = time.wMilliseconds;
    return true;
  }

  // A failed call (a date before 1601, a text that would not fit, which the
  // platform may have written in part without its zero) leaves an empty
  // text: a zero in the buffer's first byte.
  void formatDate(const SystemTime& time, const Text& picture,
                  Text& buffer) override {
    if (buffer.empty()) return;
    const SYSTEMTIME systemTime = toWin32(time);
    if (GetDateFormatA(0, 0, &systemTime, picture.c_str(), buffer.data(),
                       sizeOf(buffer)) == 0) {
      buffer[0] = '\0';
    }
  }

  void formatTime(const SystemTime& time, unsigned flags, const Text& picture,
                  Text& buffer) override {
    if (buffer.empty()) return;
    const SYSTEMTIME systemTime = toWin32(time);
    const DWORD timeFlags =
        (flags & kTimeForce24HourFormat) != 0 ? TIME_FORCE24HOURFORMAT : 0;
    if (GetTimeFormatA(0, timeFlags, &systemTime, picture.c_str(),
                       buffer.data(), sizeOf(buffer)) == 0) {
      buffer[0] = '\0';
    }
  }
};

}  // namespace

LocaleServices& hostLocaleServices() {
  static Win32LocaleServices services;
  return services;
}

}  // namespace velkaro
