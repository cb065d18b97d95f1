// The Windows locale services against the real platform calls, in the user
// locale that the run chose (see test_environment.h).

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/locale_services.h"
#include "platform/win32/test_environment.h"
#include "timeconv/locale_date_time.h"
#include "timeconv/timestamp_conversion.h"
#include "values/date_time.h"

namespace velkaro {
namespace {

// The clock setting of the user locales the test runs use.
struct ClockOfLocale {
  const char* locale;
  const char* setting;
};
constexpr ClockOfLocale kClocks[] = {
    {"C", "0"},            // Wine's English (US) locale: a 12-hour clock
    {"zh_CN.UTF-8", "1"},  // Chinese (PRC): a 24-hour clock
};

const ClockOfLocale* clockOfRun() {
  const Text locale = userLocaleOfRun();
  for (const ClockOfLocale& clock : kClocks) {
    if (locale == clock.locale) return &clock;
  }
  return nullptr;
}

TEST(Win32Locale, ClockSettingIsTheUserLocales) {
  const ClockOfLocale* clock = clockOfRun();
  if (clock == nullptr) {
    GTEST_SKIP() << "no known clock for the locale '" << userLocaleOfRun()
                 << "'";
  }
  Text buffer = blankText(4);
  hostLocaleServices().getClockSetting(buffer);
  EXPECT_EQ(buffer.size(), 4u);
  EXPECT_EQ(bufferText(buffer), clock->setting);
  EXPECT_EQ(isLocale24Hour(), textToInt(clock->setting));
}

TEST(Win32Locale, ClockSettingThatDoesNotFitLeavesTheBuffer) {
  Text buffer = blankText(1);
  hostLocaleServices().getClockSetting(buffer);
  EXPECT_EQ(buffer, " ");
}

// The pictures decide the clock, not the locale: "hh" is always the 12-hour
// clock and "HH" the 24-hour one, and no text depends on the language.
TEST(Win32Locale, PicturesWriteTheSameTextOnEitherClock) {
  const DateTime afternoon = makeDateTime(2018, 12, 2, 14, 23, 28);
  const DateTime halfPastMidnight = makeDateTime(2018, 12, 2, 0, 30, 0);
  struct Case {
    DateTime dt;
    const char* timePicture;
    int force24Hour;
    const char* expected;
  };
  const Case cases[] = {
      {afternoon, "HH:mm:ss", 0, "2018-12-02 14:23:28"},
      {afternoon, "hh:mm:ss", 0, "2018-12-02 02:23:28"},
      {afternoon, "hh:mm:ss", 1, "2018-12-02 14:23:28"},
      {afternoon, "hh:mm:ss", 2, "2018-12-02 02:23:28"},
      {halfPastMidnight, "hh:mm:ss", 0, "2018-12-02 12:30:00"},
      {halfPastMidnight, "hh:mm:ss", 1, "2018-12-02 00:30:00"},
      {makeDateTime(2018, 1, 5, 9, 7, 3), "HH:mm:ss", 0, "2018-1-05 09:07:03"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(
        formatLocalDateTime(c.dt, "yyyy-M-dd ", c.timePicture, c.force24Hour),
        c.expected);
  }
}

// The seconds route writes a 24-hour time on the locale's own clock too.
TEST(Win32Locale, SecondsRouteWritesTheTwentyFourHourClock) {
  EXPECT_EQ(timestampToDateText("1543731808"), "2018-12-02 14:23:28");
  EXPECT_EQ(timestampToDateText("1543681800"), "2018-12-02 00:30:00");
  EXPECT_EQ(timestampToDateText("0000000000"), "1970-1-01 08:00:00");
}

// What the platform refuses to format gives an empty part, never a buffer
// without its zero.
TEST(Win32Locale, RefusedPartIsEmpty) {
  const DateTime afternoon = makeDateTime(2018, 12, 2, 14, 23, 28);
  const Text fourDates = "yyyy-M-dd yyyy-M-dd yyyy-M-dd yyyy-M-dd ";
  EXPECT_EQ(formatLocalDateTime(afternoon, fourDates, ""),
            "2018-12-02 2018-12-02 2018-12-02 2018-12-02 ");  // 44 bytes
  EXPECT_EQ(formatLocalDateTime(afternoon, fourDates + "yyyy-M-dd ", ""), "");
  // The platform formats no date before 1601.
  EXPECT_EQ(formatLocalDateTime(kMinDateTime, "yyyy-M-dd ", ""), "");
}

TEST(Win32Locale, CalendarFieldsAreTheNearestWholeSecond) {
  const DateTime afternoon = makeDateTime(2018, 12, 2, 14, 23, 28);
  struct Case {
    DateTime value;
    bool ok;
    SystemTime expected;  // year, month, day of week, day, h, m, s, ms
  };
  const Case cases[] = {
      {afternoon, true, {2018, 12, 0, 2, 14, 23, 28, 0}},
      {afternoon + 0.4 * kSecondAsDay, true, {2018, 12, 0, 2, 14, 23, 28, 0}},
      {afternoon - 0.4 * kSecondAsDay, true, {2018, 12, 0, 2, 14, 23, 28, 0}},
      {afternoon + 0.6 * kSecondAsDay, true, {2018, 12, 0, 2, 14, 23, 29, 0}},
      {-1.25, true, {1899, 12, 5, 29, 6, 0, 0, 0}},
      {kMinDateTime, true, {100, 1, 5, 1, 0, 0, 0, 0}},
      {kMaxDateTime, true, {9999, 12, 5, 31, 0, 0, 0, 0}},
      {kMinDateTime - 1.0, false, {}},
      {kMaxDateTime + 1.0, false, {}},
      {std::numeric_limits<double>::quiet_NaN(), false, {}},
      {std::numeric_limits<double>::infinity(), false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    SystemTime out;
    ASSERT_EQ(hostLocaleServices().toSystemTime(c.value, &out), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(out.year, c.expected.year);
    EXPECT_EQ(out.month, c.expected.month);
    EXPECT_EQ(out.dayOfWeek, c.expected.dayOfWeek);
    EXPECT_EQ(out.day, c.expected.day);
    EXPECT_EQ(out.hour, c.expected.hour);
    EXPECT_EQ(out.minute, c.expected.minute);
    EXPECT_EQ(out.second, c.expected.second);
    EXPECT_EQ(out.milliseconds, 0);
  }
}

}  // namespace
}  // namespace velkaro
