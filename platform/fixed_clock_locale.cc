#include "platform/fixed_clock_locale.h"

namespace velkaro {

FixedClockLocale::FixedClockLocale(bool twentyFourHour)
    : twentyFourHour_(twentyFourHour) {}

// Written as the platform writes it: the digit and a terminating zero, and
// nothing at all when the buffer cannot hold both.
void FixedClockLocale::getClockSetting(Text& buffer) {
  if (buffer.size() < 2) return;
  buffer[0] = twentyFourHour_ ? '1' : '0';
  buffer[1] = '\0';
}

bool FixedClockLocale::toSystemTime(DateTime value, SystemTime* out) {
  return hostLocaleServices().toSystemTime(value, out);
}

void FixedClockLocale::formatDate(const SystemTime& time, const Text& picture,
                                  Text& buffer) {
  hostLocaleServices().formatDate(time, picture, buffer);
}

void FixedClockLocale::formatTime(const SystemTime& time, unsigned flags,
                                  const Text& picture, Text& buffer) {
  hostLocaleServices().formatTime(time, flags, picture, buffer);
}

}  // namespace velkaro
