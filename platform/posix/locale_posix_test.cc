#include "platform/posix/locale_posix.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/locale_services.h"
#include "values/date_time.h"

namespace velkaro {
namespace {

TEST(TimeFormatUses12HourClockTest, FindsTheTwelveHourConversions) {
  struct Case {
    const char* format;
    bool twelveHour;
  };
  const Case cases[] = {
      {"%H:%M:%S", false},  // C and POSIX
      {"%T", false},         {"%R", false},      {"%k:%M", false},
      {"%OH:%OM", false},    {"", false},        {"no conversion", false},
      {"%%I", false},        {"%%%H", false},    {"trailing %", false},
      {"%", false},          {"%r", true},  // en_US
      {"%I:%M:%S %p", true}, {"%l:%M %p", true}, {"%-I.%M %p", true},
      {"%_I", true},         {"%02I", true},     {"%OI", true},
      {"%EI", true},         {"%%%I", true},     {"%p %I", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(timeFormatUses12HourClock(c.format), c.twelveHour) << c.format;
  }
}

struct Fields {
  int year, month, day, hour, minute, second, dayOfWeek;
};

Fields fieldsOf(const SystemTime& t) {
  return {t.year, t.month, t.day, t.hour, t.minute, t.second, t.dayOfWeek};
}

bool operator==(const Fields& a, const Fields& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day &&
         a.hour == b.hour && a.minute == b.minute && a.second == b.second &&
         a.dayOfWeek == b.dayOfWeek;
}

std::ostream& operator<<(std::ostream& os, const Fields& f) {
  return os << f.year << "-" << f.month << "-" << f.day << " " << f.hour << ":"
            << f.minute << ":" << f.second << " weekday " << f.dayOfWeek;
}

// A time of day as a part of a day.
double secondsAsDay(double seconds) { return seconds / 86400.0; }

TEST(SystemTimeOfTest, ReadsTheCalendarFields) {
  const double afternoon = 14 * 3600 + 23 * 60 + 28;  // 14:23:28
  struct Case {
    double value;
    Fields expected;
  };
  const Case cases[] = {
      {25569.333333333332, {1970, 1, 1, 8, 0, 0, 4}},
      {0.0, {1899, 12, 30, 0, 0, 0, 6}},
      {-1.25, {1899, 12, 29, 6, 0, 0, 5}},
      {-1.75, {1899, 12, 29, 18, 0, 0, 5}},
      {-0.5, {1899, 12, 30, 12, 0, 0, 6}},
      {36585.0, {2000, 2, 29, 0, 0, 0, 2}},
      {43436.0 + secondsAsDay(afternoon), {2018, 12, 2, 14, 23, 28, 0}},
      // The ends of the range.
      {-657434.0, {100, 1, 1, 0, 0, 0, 5}},
      {-657434.5, {100, 1, 1, 12, 0, 0, 5}},
      {-657434.0 - secondsAsDay(86399), {100, 1, 1, 23, 59, 59, 5}},
      {2958465.0, {9999, 12, 31, 0, 0, 0, 5}},
      {2958465.5, {9999, 12, 31, 12, 0, 0, 5}},
      {2958465.0 + secondsAsDay(86399.4), {9999, 12, 31, 23, 59, 59, 5}},
      // Between two whole seconds: the nearer one.
      {43436.0 + secondsAsDay(afternoon + 0.4), {2018, 12, 2, 14, 23, 28, 0}},
      {43436.0 + secondsAsDay(afternoon - 0.4), {2018, 12, 2, 14, 23, 28, 0}},
      {43436.0 + secondsAsDay(afternoon + 0.6), {2018, 12, 2, 14, 23, 29, 0}},
      {43436.0 + secondsAsDay(86399.7), {2018, 12, 3, 0, 0, 0, 1}},
      {-1.25 - secondsAsDay(0.3), {1899, 12, 29, 6, 0, 0, 5}},
      {-1.25 - secondsAsDay(0.7), {1899, 12, 29, 6, 0, 1, 5}},
      {-1.0 - secondsAsDay(86399.8), {1899, 12, 30, 0, 0, 0, 6}},
      {-657434.9999999, {100, 1, 2, 0, 0, 0, 6}},
  };
  for (const Case& c : cases) {
    SystemTime t;
    t.milliseconds = 77;
    ASSERT_TRUE(systemTimeOf(c.value, &t)) << c.value;
    EXPECT_EQ(fieldsOf(t), c.expected) << std::to_string(c.value);
    EXPECT_EQ(t.milliseconds, 0);
  }
}

TEST(SystemTimeOfTest, FailsForValuesItCannotRepresent) {
  const double bad[] = {
      std::numeric_limits<double>::quiet_NaN(),
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      -657435.0,
      -657435.5,
      -1e300,
      2958466.0,
      2958466.25,
      1e300,
      // Rounds to 10000-01-01 00:00:00.
      2958465.0 + secondsAsDay(86399.6),
  };
  for (double value : bad) {
    SystemTime t;
    t.year = 1234;
    EXPECT_FALSE(systemTimeOf(value, &t)) << value;
    EXPECT_EQ(t.year, 1234) << value;
  }
  EXPECT_FALSE(systemTimeOf(0.0, nullptr));
}

// Over the whole range, with times of day that fall between whole seconds,
// the fields are the ones the component reads of a DateTime give.
TEST(SystemTimeOfTest, AgreesWithTheComponentReads) {
  uint32_t state = 2018;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state;
  };
  for (int64_t day = -657434; day <= 2958465; day += 331) {
    for (int k = 0; k < 3; ++k) {
      const double second = static_cast<double>(next() % 86400);
      const double offsets[] = {0.0, 0.3, -0.3, 0.7,
                                static_cast<double>(next() % 1000) / 1000.0};
      for (double offset : offsets) {
        double fraction = secondsAsDay(second + offset);
        if (fraction < 0.0 || fraction >= 1.0) continue;
        const double value = day >= 0 ? static_cast<double>(day) + fraction
                                      : static_cast<double>(day) - fraction;
        // The component reads take a value outside the range as its end.
        if (value < kMinDateTime || value > kMaxDateTime) continue;
        SystemTime t;
        ASSERT_TRUE(systemTimeOf(value, &t)) << value;
        const DateTimeParts p = partsOf(value);
        const Fields fromParts = {p.year,   p.month,  p.day,      p.hour,
                                  p.minute, p.second, t.dayOfWeek};
        ASSERT_EQ(fieldsOf(t), fromParts) << std::to_string(value);
        const int64_t days = daysFromEpoch(p.year, p.month, p.day);
        ASSERT_EQ(t.dayOfWeek, ((days + 6) % 7 + 7) % 7) << value;
      }
    }
  }
}

// Sets the locale variables for one test and puts them back afterwards.
class LocaleEnvironmentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.push_back(value != nullptr ? std::optional<std::string>(value)
                                        : std::nullopt);
      unsetenv(name);
    }
  }

  void TearDown() override {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i].has_value()) {
        setenv(kNames[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kNames[i]);
      }
    }
  }

  static Text clockSettingBuffer(int size = 4) {
    Text buffer = blankText(size);
    hostLocaleServices().getClockSetting(buffer);
    return buffer;
  }

  static constexpr const char* kNames[] = {"LC_ALL", "LC_TIME", "LANG"};
  std::vector<std::optional<std::string>> saved_;
};

TEST_F(LocaleEnvironmentTest, TheCLocaleUsesTheTwentyFourHourClock) {
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(clockSettingBuffer(), std::string("1\0  ", 4));
  setenv("LC_ALL", "POSIX", 1);
  EXPECT_EQ(clockSettingBuffer(), std::string("1\0  ", 4));
  // Nothing set at all selects the C locale too.
  unsetenv("LC_ALL");
  EXPECT_EQ(clockSettingBuffer(), std::string("1\0  ", 4));
}

TEST_F(LocaleEnvironmentTest, ReadsTheVariablesInTheirOrder) {
  // LC_ALL wins over LC_TIME, LC_TIME over LANG.
  setenv("LC_ALL", "C", 1);
  setenv("LC_TIME", "xx_NOWHERE.UTF-8", 1);
  EXPECT_EQ(clockSettingBuffer(), std::string("1\0  ", 4));
  unsetenv("LC_ALL");
  EXPECT_EQ(clockSettingBuffer(), "    ");
  setenv("LC_TIME", "C", 1);
  setenv("LANG", "xx_NOWHERE.UTF-8", 1);
  EXPECT_EQ(clockSettingBuffer(), std::string("1\0  ", 4));
  unsetenv("LC_TIME");
  EXPECT_EQ(clockSettingBuffer(), "    ");
}

TEST_F(LocaleEnvironmentTest, LeavesTheBufferWhenTheSettingCannotBeWritten) {
  setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
  EXPECT_EQ(clockSettingBuffer(), "    ");
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(clockSettingBuffer(1), " ");
  EXPECT_EQ(clockSettingBuffer(0), "");
  EXPECT_EQ(clockSettingBuffer(2), std::string("1\0", 2));
}

TEST_F(LocaleEnvironmentTest, DoesNotChangeTheProcessLocale) {
  const std::string before = setlocale(LC_TIME, nullptr);
  setenv("LC_ALL", "C.UTF-8", 1);
  clockSettingBuffer();
  EXPECT_EQ(setlocale(LC_TIME, nullptr), before);
}

// Only where the machine has the locale; the other tests need none.
TEST_F(LocaleEnvironmentTest, AnAmericanLocaleUsesTheTwelveHourClock) {
  locale_t american =
      newlocale(LC_TIME_MASK, "en_US.UTF-8", static_cast<locale_t>(0));
  if (american == static_cast<locale_t>(0)) {
    GTEST_SKIP() << "en_US.UTF-8 is not installed";
  }
  freelocale(american);
  setenv("LC_ALL", "en_US.UTF-8", 1);
  EXPECT_EQ(clockSettingBuffer(), std::string("0\0  ", 4));
  // Each change of the variables is seen on the next read.
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(clockSettingBuffer(), std::string("1\0  ", 4));
  unsetenv("LC_ALL");
  setenv("LC_TIME", "en_US.UTF-8", 1);
  EXPECT_EQ(clockSettingBuffer(), std::string("0\0  ", 4));
}

SystemTime afternoon() {
  SystemTime t;
  EXPECT_TRUE(systemTimeOf(43436.0 + (14 * 3600 + 23 * 60 + 28) / 86400.0, &t));
  return t;
}

TEST(HostLocaleServicesTest, FormatsIntoTheBufferInPlace) {
  LocaleServices& host = hostLocaleServices();
  Text buffer = blankText(50);
  host.formatDate(afternoon(), "yyyy-M-dd ", buffer);
  EXPECT_EQ(buffer, std::string("2018-12-02 \0", 12) + blankText(38));

  struct Case {
    unsigned flags;
    const char* expected;
  };
  const Case cases[] = {{0, "02:23:28"},
                        {kTimeForce24HourFormat, "14:23:28"},
                        {0xFFFFFFFFu, "14:23:28"},
                        {kTimeForce24HourFormat - 1, "02:23:28"}};
  for (const Case& c : cases) {
    buffer = blankText(50);
    host.formatTime(afternoon(), c.flags, "hh:mm:ss", buffer);
    EXPECT_EQ(bufferText(buffer), c.expected) << c.flags;
    EXPECT_EQ(buffer.size(), 50u);
  }
}

// A text that would not fit, and fields the platform refuses, leave an empty
// text: a zero in the first byte, and nothing written past the buffer.
TEST(HostLocaleServicesTest, AFailedCallLeavesAnEmptyText) {
  LocaleServices& host = hostLocaleServices();
  const Text fortyNine(49, '-');
  Text buffer = blankText(50);
  host.formatDate(afternoon(), fortyNine, buffer);
  EXPECT_EQ(buffer, fortyNine + std::string(1, '\0'));

  buffer = blankText(50);
  host.formatDate(afternoon(), fortyNine + "d", buffer);
  EXPECT_EQ(buffer, std::string(1, '\0') + blankText(49));

  buffer = blankText(50);
  host.formatTime(afternoon(), 0,
                  "HH:mm:ss dddddddddddddddddddddddddddddddddddddddddddddddd",
                  buffer);
  EXPECT_EQ(buffer, std::string(1, '\0') + blankText(49));

  SystemTime bad = afternoon();
  bad.month = 13;
  buffer = blankText(50);
  host.formatDate(bad, "yyyy", buffer);
  EXPECT_EQ(bufferText(buffer), "");
  bad = afternoon();
  bad.hour = 24;
  buffer = blankText(50);
  host.formatTime(bad, 0, "HH", buffer);
  EXPECT_EQ(bufferText(buffer), "");

  Text empty;
  host.formatDate(afternoon(), "yyyy", empty);
  host.formatTime(afternoon(), 0, "HH", empty);
  EXPECT_TRUE(empty.empty());
}

}  // namespace
}  // namespace velkaro
