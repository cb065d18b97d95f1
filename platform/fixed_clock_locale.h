// The host's locale services with the clock setting fixed, so tests choose
// a 12-hour or a 24-hour locale without any locale installed.

#ifndef VELKARO_PLATFORM_FIXED_CLOCK_LOCALE_H_
#define VELKARO_PLATFORM_FIXED_CLOCK_LOCALE_H_

#include "platform/locale_services.h"

namespace velkaro {

class FixedClockLocale : public LocaleServices {
 public:
  // twentyFourHour: the clock setting reads "1"; otherwise "0".
  explicit FixedClockLocale(bool twentyFourHour);

  void getClockSetting(Text& buffer) override;
  bool toSystemTime(DateTime value, SystemTime* out) override;
  void formatDate(const SystemTime& time, const Text& picture,
                  Text& buffer) override;
  void formatTime(const SystemTime& time, unsigned flags, const Text& picture,
                  Text& buffer) override;

 private:
  bool twentyFourHour_;
};

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_FIXED_CLOCK_LOCALE_H_
