// toDateTime on arbitrary bytes: it either fails with kMinDateTime or gives
// a whole second in range whose components, written back with
// dateTimeToText(v, "-", ":", 3), read as the same value (on the range's
// first and last day, only midnight can: see below).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "timeconv/compact_date_time.h"
#include "values/date_time.h"
#include "values/text.h"

namespace velkaro {
namespace {

std::string describe(const Text& text, DateTime value) {
  char number[64];
  std::snprintf(number, sizeof number, "%.17g", value);
  return "toDateTime(" + escaped(text) + ") == " + number;
}

void check(const Text& text) {
  const DateTime value = toDateTime(text);
  if (value == kMinDateTime) {
    return;
  }
  FUZZ_CHECK(!std::isnan(value) && value > kMinDateTime - 1.0 &&
                 value < kMaxDateTime + 1.0,
             describe(text, value));
  // A time after midnight on the range's first day (100-01-01) or its last
  // (9999-12-31) lies numerically outside kMinDateTime..kMaxDateTime, and
  // the component reads take it as the nearer end, its midnight.
  if (value < kMinDateTime || value > kMaxDateTime) {
    const DateTime end = value < kMinDateTime ? kMinDateTime : kMaxDateTime;
    FUZZ_CHECK(
        dateTimeToText(value, "-", ":", 3) == dateTimeToText(end, "-", ":", 3),
        describe(text, value));
    return;
  }
  // A value the system makes stands for a whole second: it is the value of
  // its own components.
  const DateTimeParts p = partsOf(value);
  FUZZ_CHECK(
      value == makeDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second),
      describe(text, value));
  const Text written = dateTimeToText(value, "-", ":", 3);
  FUZZ_CHECK(toDateTime(written) == value,
             describe(text, value) + ", written " + escaped(written));
  // The restore run's compact stamp (the space squeezed out) reads back as
  // well once the year has four digits.
  if (p.year >= 1000) {
    const Text stamp = replaceText(dateTimeToText(value, "", "", 3), " ", "");
    FUZZ_CHECK(stamp.size() == 14 && toDateTime(stamp) == value,
               describe(text, value) + ", stamp " + escaped(stamp));
  }
}

}  // namespace
}  // namespace velkaro

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velkaro::Text text(reinterpret_cast<const char*>(data), size);
  for (char& c : text) {
    if (c == '\0') {
      c = '0';  // a Text never holds a zero byte
    }
  }
  velkaro::check(text);
  return 0;
}
