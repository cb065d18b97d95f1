#include "platform/posix/ecma_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/posix/ecma_date_cases.h"
#include "platform/scoped_time_zone.h"

namespace velkaro {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Equal as doubles in every bit that matters: NaN equals NaN, and -0 is
// not +0.
::testing::AssertionResult sameNumber(double expected, double actual) {
  const bool same = std::isnan(expected)
                        ? std::isnan(actual)
                        : expected == actual &&
                              std::signbit(expected) == std::signbit(actual);
  if (same) {
    return ::testing::AssertionSuccess();
  }
  char text[96];
  std::snprintf(text, sizeof text, "expected %.17g, got %.17g", expected,
                actual);
  return ::testing::AssertionFailure() << text;
}

struct NumberCase {
  const char* text;
  double expected;
};

TEST(EcmaStringToNumber, ReadsTheNumberGrammar) {
  const NumberCase cases[] = {
      // Nothing but white space is zero.
      {"", 0.0},
      {"   ", 0.0},
      {"\t\n\v\f\r ", 0.0},
      {"\xE3\x80\x80\xEF\xBB\xBF\xE2\x80\xA8", 0.0},
      // Decimal numbers.
      {"1543731808000", 1543731808000.0},
      {"+7", 7.0},
      {"-0", -0.0},
      {"+0", 0.0},
      {"00012", 12.0},
      {"010", 10.0},  // never octal
      {"0.1", 0.1},
      {".5", 0.5},
      {"5.", 5.0},
      {"-.5e1", -5.0},
      {"1.543731808E+12", 1543731808000.0},
      {"15437318080000e-1", 1543731808000.0},
      {"123456789012345678901234567890", 1.2345678901234568e29},
      {"0e99999999999999999999", 0.0},
      // Beyond the doubles: infinities and zeros of the sign.
      {"1e400", kInf},
      {"-1e400", -kInf},
      {"1.7976931348623157e308", 1.7976931348623157e308},
      {"1.7976931348623159e308", kInf},
      {"1e-400", 0.0},
      {"-1e-400", -0.0},
      {"2e-324", 0.0},
      {"3e-324", 4.9406564584124654e-324},
      {"0.000000000000000000001e-400", 0.0},
      // Infinity, spelt exactly.
      {"Infinity", kInf},
      {"-Infinity", -kInf},
      {"+Infinity", kInf},
      {" Infinity\n", kInf},
      {"infinity", kNaN},
      {"INFINITY", kNaN},
      {"Inf", kNaN},
      {"Infinityx", kNaN},
      {"NaN", kNaN},
      // Other radixes: no sign, at least one digit, rounded to nearest even.
      {"0x10", 16.0},
      {"0XfF", 255.0},
      {"0o777", 511.0},
      {"0O17", 15.0},
      {"0b1011", 11.0},
      {"0B1", 1.0},
      {" 0x10 ", 16.0},
      {"0x1EB208C2DC0000", 8.64e15},
      {"0x20000000000001", 9007199254740992.0},             // tie, down to even
      {"0x20000000000003", 9007199254740996.0},             // tie, up to even
      {"0x20000000000001000000000", 6.189700196426902e26},  // exact tie
      {"0x200000000000010000000001", 9.903520314283044e27},  // just above
      {"0b111111111111111111111111111111111111111111111111111111",
       18014398509481984.0},
      {"0x", kNaN},
      {"0o", kNaN},
      {"0b", kNaN},
      {"-0x10", kNaN},
      {"+0x10", kNaN},
      {"0xg", kNaN},
      {"0o8", kNaN},
      {"0b2", kNaN},
      {"00x10", kNaN},
      {"0x1.8", kNaN},
      // Not numbers.
      {".", kNaN},
      {"e3", kNaN},
      {"1e", kNaN},
      {"1e+", kNaN},
      {"1e1.5", kNaN},
      {"1.2.3", kNaN},
      {"--1", kNaN},
      {"+-1", kNaN},
      {"- 1", kNaN},
      {"1 2", kNaN},
      {"1_000", kNaN},
      {"1,000", kNaN},
      {"12abc", kNaN},
      {"\xEF\xBC\x91\xEF\xBC\x92", kNaN},  // full-width digits
      {"\xE1\xA0\x8E"
       "1",
       kNaN},  // U+180E is no longer a space
      {"\xE2\x80\x8B"
       "1",
       kNaN},               // nor is the zero width space
      {"1\xC2\x85", kNaN},  // nor NEL
      {"\xFF"
       "1",
       kNaN},  // invalid UTF-8
      {"\xE2\x80"
       "1",
       kNaN},  // a space cut short
      {"1\xC2", kNaN},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
    EXPECT_TRUE(sameNumber(c.expected, ecmaStringToNumber(c.text)));
  }
}

TEST(EcmaStringToNumber, ReadsAHexNumberOfThousandsOfDigits) {
  EXPECT_TRUE(
      sameNumber(kInf, ecmaStringToNumber("0x" + std::string(3000, 'f'))));
  EXPECT_TRUE(
      sameNumber(1.0, ecmaStringToNumber("0x" + std::string(3000, '0') + "1")));
  EXPECT_TRUE(sameNumber(
      kNaN, ecmaStringToNumber("0x" + std::string(3000, 'f') + "g")));
}

TEST(EcmaTimeClip, KeepsTheRangeAndTruncatesTowardZero) {
  const double above = std::nextafter(kEcmaMaxTime, kInf);
  const NumberCase cases[] = {
      {"NaN", kNaN},
      {"Infinity", kNaN},
      {"-Infinity", kNaN},
      {"8.64e15", 8.64e15},
      {"-8.64e15", -8.64e15},
      {"8640000000000001", kNaN},
      {"-8640000000000001", kNaN},
      {"1.9", 1.0},
      {"-1.9", -1.0},
      {"-0.5", 0.0},
      {"-0", 0.0},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_TRUE(
        sameNumber(c.expected, ecmaTimeClip(ecmaStringToNumber(c.text))));
  }
  EXPECT_TRUE(sameNumber(kNaN, ecmaTimeClip(above)));
  EXPECT_TRUE(sameNumber(kNaN, ecmaTimeClip(-above)));
}

TEST(JscriptZoneName, NamesTheUsZonesAndWritesOtherOffsets) {
  struct Case {
    int32_t offsetSeconds;
    bool daylight;
    const char* expected;
  };
  const Case cases[] = {
      {-5 * 3600, false, "EST"},
      {-4 * 3600, true, "EDT"},
      {-6 * 3600, false, "CST"},
      {-5 * 3600, true, "CDT"},
      {-7 * 3600, false, "MST"},
      {-6 * 3600, true, "MDT"},
      {-8 * 3600, false, "PST"},
      {-7 * 3600, true, "PDT"},
      // Standard offsets outside -5 to -8 hours have no name.
      {-4 * 3600, false, "UTC-0400"},  // Atlantic standard time
      {-3 * 3600, true, "UTC-0300"},
      {-9 * 3600, false, "UTC-0900"},
      {-8 * 3600, true, "UTC-0800"},  // Alaska daylight time
      {-5 * 3600 - 1800, false, "UTC-0530"},
      {8 * 3600, false, "UTC+0800"},
      {9 * 3600, true, "UTC+0900"},
      {0, false, "UTC+0000"},
      {20700, false, "UTC+0545"},
      {37800, false, "UTC+1030"},
      // Local mean times: the seconds are dropped, not rounded.
      {29143, false, "UTC+0805"},
      {-17762, false, "UTC-0456"},
      {-17999, false, "UTC-0459"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(c.expected, jscriptZoneName(c.offsetSeconds, c.daylight));
  }
}

TEST(JscriptDateText, WritesTheEngineForm) {
  struct Case {
    EcmaLocalTime local;
    const char* expected;
  };
  const Case cases[] = {
      {{2018, 12, 2, 0, 14, 23, 28, 8 * 3600, false},
       "Sun Dec 2 14:23:28 UTC+0800 2018"},
      {{2018, 7, 31, 2, 9, 5, 0, -4 * 3600, true},
       "Tue Jul 31 09:05:00 EDT 2018"},
      {{1, 1, 1, 1, 0, 0, 0, 0, false}, "Mon Jan 1 00:00:00 UTC+0000 1"},
      {{0, 12, 31, 0, 23, 59, 59, 0, false},
       "Sun Dec 31 23:59:59 UTC+0000 1 B.C."},
      {{-1, 6, 15, 2, 12, 0, 0, 0, false},
       "Tue Jun 15 12:00:00 UTC+0000 2 B.C."},
      {{-271821, 4, 20, 2, 0, 0, 0, 0, false},
       "Tue Apr 20 00:00:00 UTC+0000 271822 B.C."},
      {{275760, 9, 13, 6, 0, 0, 0, 0, false},
       "Sat Sep 13 00:00:00 UTC+0000 275760"},
      {{1950, 2, 28, 2, 23, 59, 60, 0, false},
       "Tue Feb 28 23:59:60 UTC+0000 1950"},
      // Fields out of their range give no text.
      {{2018, 0, 2, 0, 0, 0, 0, 0, false}, ""},
      {{2018, 13, 2, 0, 0, 0, 0, 0, false}, ""},
      {{2018, 12, 0, 0, 0, 0, 0, 0, false}, ""},
      {{2018, 12, 2, 7, 0, 0, 0, 0, false}, ""},
      {{2018, 12, 2, -1, 0, 0, 0, 0, false}, ""},
      {{2018, 12, 2, 0, 24, 0, 0, 0, false}, ""},
      {{2018, 12, 2, 0, 0, 60, 0, 0, false}, ""},
      {{2018, 12, 2, 0, 0, 0, 61, 0, false}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(c.expected, jscriptDateText(c.local));
  }
}

TEST(JscriptDateString, WritesNaNForATimeThatIsNotOne) {
  ScopedTimeZone zone("UTC");
  EXPECT_EQ("NaN", jscriptDateString(kNaN));
  EXPECT_EQ("NaN", jscriptDateString(kInf));
  EXPECT_EQ("NaN", jscriptDateString(8640000000000001.0));
  EXPECT_EQ("Thu Jan 1 00:00:00 UTC+0000 1970", jscriptDateString(0.0));
  EXPECT_EQ("Thu Jan 1 00:00:00 UTC+0000 1970", jscriptDateString(-0.0));
}

TEST(EcmaLocalTime, RefusesATimeThatIsNotOne) {
  EcmaLocalTime local;
  local.year = 1234;
  EXPECT_FALSE(ecmaLocalTime(kNaN, &local));
  EXPECT_FALSE(ecmaLocalTime(-kInf, &local));
  EXPECT_FALSE(ecmaLocalTime(-8640000000000001.0, &local));
  EXPECT_EQ(1234, local.year);
}

TEST(EcmaLocalTime, FloorsMillisecondsBeforeTheEpoch) {
  ScopedTimeZone zone("UTC");
  struct Case {
    double time;
    int second;
  };
  const Case cases[] = {{-1.0, 59},    {-999.0, 59}, {-1000.0, 59},
                        {-1001.0, 58}, {999.0, 0},   {1000.0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    EcmaLocalTime local;
    ASSERT_TRUE(ecmaLocalTime(c.time, &local));
    EXPECT_EQ(c.second, local.second);
  }
}

// A change of TZ counts at the next call, without anyone calling tzset.
TEST(EcmaLocalTime, FollowsAChangeOfTheZoneVariable) {
  ScopedTimeZone zone("UTC");
  EcmaLocalTime local;
  ASSERT_TRUE(ecmaLocalTime(1543731808000.0, &local));
  EXPECT_EQ(6, local.hour);
  setenv("TZ", "Asia/Shanghai", 1);
  ASSERT_TRUE(ecmaLocalTime(1543731808000.0, &local));
  EXPECT_EQ(14, local.hour);
  EXPECT_EQ(8 * 3600, local.offsetSeconds);
}

// The engine's results, read in several zones (generated once, see
// tools/ecma_date_cases.js).
TEST(EcmaDateTable, MatchesTheEngine) {
  for (const EcmaDateCase& c : kEcmaDateCases) {
    SCOPED_TRACE(describeCase(c));
    ScopedTimeZone zone(c.zone);
    const double time = ecmaTimeClip(ecmaStringToNumber(c.literal));
    EcmaLocalTime local;
    if (c.nan) {
      EXPECT_TRUE(std::isnan(time));
      EXPECT_FALSE(ecmaLocalTime(time, &local));
      EXPECT_EQ("NaN", jscriptDateString(time));
      continue;
    }
    ASSERT_TRUE(ecmaLocalTime(time, &local));
    EXPECT_TRUE(isConsistentLocalTime(time, local));
    if (c.zoneDataNote != nullptr) {
      continue;  // the machine's zone data is what counts here
    }
    EXPECT_EQ(c.year, local.year);
    EXPECT_EQ(c.month, local.month);
    EXPECT_EQ(c.day, local.day);
    EXPECT_EQ(c.weekday, local.weekday);
    EXPECT_EQ(c.hour, local.hour);
    EXPECT_EQ(c.minute, local.minute);
    EXPECT_EQ(c.second, local.second);
    EXPECT_EQ(c.offsetSeconds, local.offsetSeconds);
    EXPECT_EQ(expectedJscriptText(c), jscriptDateString(time));
  }
}

// Over the whole range, in zones with odd offsets and far-reaching rules,
// the local fields less the offset are the instant, by an independent
// calendar.
TEST(EcmaLocalTime, IsConsistentAcrossTheWholeRange) {
  const char* zones[] = {"UTC", "Asia/Shanghai", "America/New_York",
                         "Asia/Kathmandu", "Australia/Lord_Howe"};
  for (const char* zoneName : zones) {
    ScopedTimeZone zone(zoneName);
    uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i <= 4000; ++i) {
      double time;
      if (i <= 2000) {
        time = std::trunc(-kEcmaMaxTime + kEcmaMaxTime * (i / 1000.0));
      } else {
        state = state * 6364136223846793005u + 1442695040888963407u;
        // Anywhere from -8.64e15 to 8.64e15.
        time = static_cast<double>(
            static_cast<int64_t>((state >> 10) % 17280000000000001u) -
            8640000000000000);
      }
      SCOPED_TRACE(std::string(zoneName) + " " + std::to_string(time));
      EcmaLocalTime local;
      ASSERT_TRUE(ecmaLocalTime(time, &local));
      EXPECT_TRUE(isConsistentLocalTime(time, local));
    }
  }
}

}  // namespace
}  // namespace velkaro
