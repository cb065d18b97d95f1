// The date and time picture formatter on arbitrary pictures and calendar
// fields: a part is never longer than its limit (49 bytes in the locale
// services' 50-byte buffers), it is the whole text the picture writes when
// that fits and nothing when it does not, and the locale date-time text is
// the date part followed by the time part.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/locale_services.h"
#include "platform/posix/date_pictures.h"
#include "timeconv/locale_date_time.h"
#include "values/date_time.h"
#include "values/text.h"

namespace velkaro {
namespace {

constexpr std::size_t kPartLimit = 49;
constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

std::string describe(const char* what, const SystemTime& t, const Text& picture,
                     const Text& got) {
  char fields[96];
  std::snprintf(fields, sizeof fields, "%u-%u-%u %u:%u:%u.%u", unsigned{t.year},
                unsigned{t.month}, unsigned{t.day}, unsigned{t.hour},
                unsigned{t.minute}, unsigned{t.second},
                unsigned{t.milliseconds});
  return std::string(what) + " " + fields + " picture " + escaped(picture) +
         " gave " + escaped(got);
}

// The picture written with no limit, then with the part's limit and with
// limits on either side of the text's own length.
template <typename Format>
void checkLimits(const char* what, const SystemTime& time, const Text& picture,
                 Format format) {
  Text whole;
  const bool valid = format(picture, kUnlimited, &whole);
  FUZZ_CHECK(whole.find('\0') == Text::npos || !valid,
             describe(what, time, picture, whole));
  Text part;
  const bool fits = format(picture, kPartLimit, &part);
  if (fits) {
    FUZZ_CHECK(part.size() <= kPartLimit, describe(what, time, picture, part));
  }
  FUZZ_CHECK(fits == (valid && whole.size() <= kPartLimit),
             describe(what, time, picture, part));
  if (fits) {
    FUZZ_CHECK(part == whole, describe(what, time, picture, part));
  }
  if (valid && !whole.empty() && whole.size() <= 4096) {
    Text exact;
    FUZZ_CHECK(format(picture, whole.size(), &exact) && exact == whole,
               describe(what, time, picture, exact));
    Text shorter;
    FUZZ_CHECK(!format(picture, whole.size() - 1, &shorter),
               describe(what, time, picture, shorter));
  }
}

SystemTime takeTime(FuzzedDataProvider& in) {
  SystemTime t;
  if (in.ConsumeBool()) {
    // Any fields at all.
    t.year = in.ConsumeIntegral<uint16_t>();
    t.month = in.ConsumeIntegral<uint16_t>();
    t.day = in.ConsumeIntegral<uint16_t>();
    t.hour = in.ConsumeIntegral<uint16_t>();
    t.minute = in.ConsumeIntegral<uint16_t>();
    t.second = in.ConsumeIntegral<uint16_t>();
    t.milliseconds = in.ConsumeIntegral<uint16_t>();
  } else {
    t.year = in.ConsumeIntegralInRange<uint16_t>(1, 9999);
    t.month = in.ConsumeIntegralInRange<uint16_t>(1, 12);
    t.day = in.ConsumeIntegralInRange<uint16_t>(1, 28);
    t.hour = in.ConsumeIntegralInRange<uint16_t>(0, 23);
    t.minute = in.ConsumeIntegralInRange<uint16_t>(0, 59);
    t.second = in.ConsumeIntegralInRange<uint16_t>(0, 59);
  }
  t.dayOfWeek = in.ConsumeIntegral<uint16_t>();
  return t;
}

}  // namespace
}  // namespace velkaro

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velkaro;
  FuzzedDataProvider in(data, size);
  const SystemTime time = takeTime(in);
  const bool force24 = in.ConsumeBool();
  const double when = in.ConsumeFloatingPoint<double>();
  const bool anyValue = in.ConsumeBool();
  // The pictures may hold zero bytes: the formatter stops at the first.
  const std::string datePicture = in.ConsumeRandomLengthString(96);
  const std::string timePicture = in.ConsumeRemainingBytesAsString();

  checkLimits("date", time, datePicture,
              [&](const Text& p, std::size_t max, Text* out) {
                return formatDatePicture(time, p, max, out);
              });
  checkLimits("time", time, timePicture,
              [&](const Text& p, std::size_t max, Text* out) {
                return formatTimePicture(time, force24, p, max, out);
              });

  // Through the locale services and the locale date-time text: each part
  // at most 49 bytes, the whole the two parts joined. The pictures of the
  // locale calls are texts: they never hold a zero byte.
  const Text date = bufferText(datePicture);
  const Text clock = bufferText(timePicture);
  const double value = anyValue ? when : 43436.599 + when * 1e-9;
  const Text datePart = formatLocalDateTime(value, date, "");
  const Text timePart = formatLocalDateTime(value, "", clock, force24 ? 1 : 0);
  FUZZ_CHECK(datePart.size() <= kPartLimit && timePart.size() <= kPartLimit,
             escaped(date) + " / " + escaped(clock) + " gave " +
                 escaped(datePart) + " / " + escaped(timePart));
  FUZZ_CHECK(formatLocalDateTime(value, date, clock, force24 ? 1 : 0) ==
                 datePart + timePart,
             escaped(date) + " / " + escaped(clock));
  return 0;
}
