#include "values/date_time.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace velkaro {
namespace {

struct Fields {
  int year, month, day, hour, minute, second;
};

struct AddSecondsFromBase {
  int32_t count;
  int year, month, day, hour, minute, second;
};

struct AddSecondsAcross {
  Fields start;
  int32_t count;
  Fields result;
};

#include "values/testdata/add_seconds_cases.inc"

std::string show(int year, int month, int day, int hour, int minute,
                 int second) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d %02d:%02d:%02d", year,
                month, day, hour, minute, second);
  return buffer;
}

std::string show(const Fields& f) {
  return show(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

std::string show(const DateTimeParts& p) {
  return show(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

bool same(const DateTimeParts& p, const Fields& f) {
  return p.year == f.year && p.month == f.month && p.day == f.day &&
         p.hour == f.hour && p.minute == f.minute && p.second == f.second;
}

// Whether value reads as the instant f, through partsOf and through each
// of the six single reads.
::testing::AssertionResult readsAs(DateTime value, const Fields& f) {
  const DateTimeParts p = partsOf(value);
  if (!same(p, f)) {
    return ::testing::AssertionFailure() << "value " << value << " reads as "
                                         << show(p) << ", not " << show(f);
  }
  const DateTimeParts single{yearOf(value), monthOf(value),  dayOf(value),
                             hourOf(value), minuteOf(value), secondOf(value)};
  if (!same(single, f)) {
    return ::testing::AssertionFailure()
           << "value " << value << " reads one by one as " << show(single)
           << ", not " << show(f);
  }
  return ::testing::AssertionSuccess();
}

DateTime make(const Fields& f) {
  return makeDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

uint64_t bitsOf(DateTime value) { return std::bit_cast<uint64_t>(value); }

// The calendar, written out here once more so that the walks below do not
// lean on the code under test.
int monthLength(int year, int month) {
  static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30,
                                     31, 31, 30, 31, 30, 31};
  const bool leap = year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
  return month == 2 && leap ? 29 : kLengths[month - 1];
}

// Calls visit(date, dayCount) for every date from 100-01-01 to 9999-12-31,
// dayCount counting days from 1899-12-30 (starting at -657434).
template <typename Visit>
void forEveryDay(Visit visit) {
  int64_t count = -657434;
  for (int year = 100; year <= 9999; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const int length = monthLength(year, month);
      for (int day = 1; day <= length; ++day) {
        visit(Fields{year, month, day, 0, 0, 0}, count);
        ++count;
      }
    }
  }
}

// Reports at most a few failures of a walk over millions of cases.
class FailureBudget {
 public:
  bool spend() { return ++failures_ <= 10; }
  int failures() const { return failures_; }

 private:
  int failures_ = 0;
};

TEST(MakeDateTimeTest, EncodesTheDaysAndTheFractionOfADay) {
  EXPECT_EQ(makeDateTime(1970, 1, 1, 8, 0, 0), 25569.333333333332);
  EXPECT_EQ(makeDateTime(1899, 12, 30, 0, 0, 0), 0.0);
  EXPECT_EQ(makeDateTime(1899, 12, 30, 12, 0, 0), 0.5);
  EXPECT_EQ(makeDateTime(1899, 12, 31, 6, 0, 0), 1.25);
  // Before 1899-12-30 the fraction counts forward from the day's midnight.
  EXPECT_EQ(makeDateTime(1899, 12, 29, 0, 0, 0), -1.0);
  EXPECT_EQ(makeDateTime(1899, 12, 29, 6, 0, 0), -1.25);
  EXPECT_EQ(makeDateTime(1899, 12, 29, 18, 0, 0), -1.75);
  EXPECT_EQ(makeDateTime(100, 1, 1, 0, 0, 0), kMinDateTime);
  EXPECT_EQ(bitsOf(makeDateTime(100, 1, 1, 0, 0, 0)), 0xC124103400000000u);
  EXPECT_EQ(makeDateTime(9999, 12, 31, 0, 0, 0), kMaxDateTime);
}

TEST(CalendarTest, LeapYearsAndMonthLengths) {
  struct Case {
    int year, month, length;
  };
  const Case cases[] = {
      {2018, 2, 28}, {2016, 2, 29},  {2000, 2, 29}, {1900, 2, 28},
      {100, 2, 28},  {400, 2, 29},   {9996, 2, 29}, {2018, 1, 31},
      {2018, 4, 30}, {2018, 12, 31}, {2018, 0, 0},  {2018, 13, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(daysInMonth(c.year, c.month), c.length)
        << c.year << "-" << c.month;
  }
  EXPECT_TRUE(isLeapYear(2000));
  EXPECT_FALSE(isLeapYear(1900));
  EXPECT_FALSE(isLeapYear(2018));
}

TEST(DaysFromEpochTest, CountsEveryDayOfTheRange) {
  FailureBudget budget;
  forEveryDay([&](const Fields& f, int64_t count) {
    const int64_t got = daysFromEpoch(f.year, f.month, f.day);
    if (got != count && budget.spend()) {
      ADD_FAILURE() << show(f) << ": " << got << " days, not " << count;
    }
  });
  EXPECT_EQ(budget.failures(), 0);
}

TEST(ComponentReadTest, EncodingTurnsRoundAtZero) {
  struct Case {
    DateTime value;
    Fields reads;
  };
  const Case cases[] = {
      {-1.25, {1899, 12, 29, 6, 0, 0}}, {-1.75, {1899, 12, 29, 18, 0, 0}},
      {-0.5, {1899, 12, 30, 12, 0, 0}}, {0.5, {1899, 12, 30, 12, 0, 0}},
      {-1.0, {1899, 12, 29, 0, 0, 0}},  {-2.5, {1899, 12, 28, 12, 0, 0}},
      {1.25, {1899, 12, 31, 6, 0, 0}},  {0.0, {1899, 12, 30, 0, 0, 0}},
      {-0.0, {1899, 12, 30, 0, 0, 0}},  {-0.25, {1899, 12, 30, 6, 0, 0}},
  };
  for (const Case& c : cases) EXPECT_TRUE(readsAs(c.value, c.reads));
}

TEST(ComponentReadTest, RoundsToTheNearestSecond) {
  const double c = kSecondAsDay;
  const DateTime newYear = makeDateTime(2019, 1, 1, 0, 0, 0);
  struct Case {
    const char* what;
    DateTime value;
    Fields reads;
  };
  const Case cases[] = {
      // Just below midnight: within half a second it is the next day.
      {"0.4 s before 2019", newYear - 0.4 * c, {2019, 1, 1, 0, 0, 0}},
      {"0.6 s before 2019", newYear - 0.6 * c, {2018, 12, 31, 23, 59, 59}},
      {"0.4 s before 1899-12-31", 1.0 - 0.4 * c, {1899, 12, 31, 0, 0, 0}},
      {"0.4 s before 1899-12-30",
       -1.0 - (1.0 - 0.4 * c),
       {1899, 12, 30, 0, 0, 0}},
      {"0.6 s before 1899-12-30",
       -1.0 - (1.0 - 0.6 * c),
       {1899, 12, 29, 23, 59, 59}},
      {"0.4 s before 1899-12-29",
       -2.0 - (1.0 - 0.4 * c),
       {1899, 12, 29, 0, 0, 0}},
      {"999-12-31 23:59:59.6",
       makeDateTime(999, 12, 31, 23, 59, 59) - 0.6 * c,
       {1000, 1, 1, 0, 0, 0}},
      // Exactly half a second goes to the later second, on both sides.
      {"00:00:00.5", 0.5 * c, {1899, 12, 30, 0, 0, 1}},
      {"00:00:02.5", 2.5 * c, {1899, 12, 30, 0, 0, 3}},
      // Its count of seconds is exactly -172799.5.
      {"1899-12-28 00:00:00.5", -2.0 - 0.5 * c, {1899, 12, 28, 0, 0, 1}},
  };
  for (const Case& k : cases) EXPECT_TRUE(readsAs(k.value, k.reads)) << k.what;
}

TEST(ComponentReadTest, ValuesOutsideTheRangeReadAsItsEnds) {
  const Fields first{100, 1, 1, 0, 0, 0};
  const Fields last{9999, 12, 31, 0, 0, 0};
  struct Case {
    const char* what;
    DateTime value;
    Fields reads;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {"kMinDateTime", kMinDateTime, first},
      {"kMaxDateTime", kMaxDateTime, last},
      {"a day below", kMinDateTime - 1, first},
      {"far below", -1e300, first},
      {"-inf", -inf, first},
      {"NaN", std::numeric_limits<double>::quiet_NaN(), first},
      {"a day above", kMaxDateTime + 1, last},
      {"far above", 1e300, last},
      {"+inf", inf, last},
      // The first day's encoding after midnight lies below kMinDateTime and
      // the last day's above kMaxDateTime.
      {"100-01-01 12:00:00", makeDateTime(100, 1, 1, 12, 0, 0), first},
      {"9999-12-31 23:59:59", makeDateTime(9999, 12, 31, 23, 59, 59), last},
      {"kMaxDateTime + 1 s", kMaxDateTime + kSecondAsDay, last},
      // The first and last seconds that read as themselves after and
      // before the ends.
      {"100-01-02 00:00:00",
       makeDateTime(100, 1, 2, 0, 0, 0),
       {100, 1, 2, 0, 0, 0}},
      {"100-01-02 00:00:01",
       makeDateTime(100, 1, 2, 0, 0, 1),
       {100, 1, 2, 0, 0, 1}},
      {"9999-12-30 23:59:59",
       makeDateTime(9999, 12, 30, 23, 59, 59),
       {9999, 12, 30, 23, 59, 59}},
  };
  for (const Case& k : cases) EXPECT_TRUE(readsAs(k.value, k.reads)) << k.what;
}

// Every day of the range at several times of day, on both sides of
// 1899-12-30: makeDateTime and the reads undo each other, except on the
// first and last days, whose times after midnight lie outside the range.
TEST(ComponentReadTest, EveryDayReadsBackAtSeveralTimes) {
  struct Time {
    int hour, minute, second;
  };
  const Time times[] = {{0, 0, 0},  {0, 0, 1},  {6, 0, 0},    {8, 0, 0},
                        {12, 0, 0}, {18, 0, 0}, {23, 59, 58}, {23, 59, 59}};
  FailureBudget budget;
  forEveryDay([&](const Fields& date, int64_t) {
    const bool edge = (date.year == 100 && date.month == 1 && date.day == 1) ||
                      (date.year == 9999 && date.month == 12 && date.day == 31);
    for (const Time& t : times) {
      const Fields f{date.year, date.month, date.day,
                     t.hour,    t.minute,   t.second};
      const Fields expected = edge ? date : f;
      const DateTimeParts p = partsOf(make(f));
      if (!same(p, expected) && budget.spend()) {
        ADD_FAILURE() << show(f) << " reads as " << show(p);
      }
    }
  });
  EXPECT_EQ(budget.failures(), 0);
}

TEST(AddSecondsTest, FromTheTenDigitStampBase) {
  const DateTime base = makeDateTime(1970, 1, 1, 8, 0, 0);
  for (const AddSecondsFromBase& row : kFromUnixBase) {
    EXPECT_TRUE(readsAs(
        addSeconds(base, row.count),
        Fields{row.year, row.month, row.day, row.hour, row.minute, row.second}))
        << "count " << row.count;
  }
}

TEST(AddSecondsTest, AnywhereInTheRange) {
  for (const AddSecondsAcross& row : kAcrossRange) {
    EXPECT_TRUE(readsAs(addSeconds(make(row.start), row.count), row.result))
        << show(row.start) << " by " << row.count;
  }
}

// Steps of one second onto and off every midnight of the range. Below zero
// a sum a hair under a whole day would be encoded as the day before.
TEST(AddSecondsTest, OneSecondAcrossEveryMidnight) {
  FailureBudget budget;
  Fields previous{100, 1, 1, 0, 0, 0};
  forEveryDay([&](const Fields& date, int64_t) {
    if (date.year == 100 && date.month == 1 && date.day <= 2) {
      previous = date;
      return;
    }
    const Fields lastSecond{
        previous.year, previous.month, previous.day, 23, 59, 59};
    const Fields firstSecond{date.year, date.month, date.day, 0, 0, 1};
    const struct {
      Fields start;
      int32_t count;
      Fields result;
    } steps[] = {
        {lastSecond, 1, date},
        {date, -1, lastSecond},
        {firstSecond, -1, date},
        {date, 1, firstSecond},
    };
    // On the last day the second after midnight lies outside the range.
    const bool last = date.year == 9999 && date.month == 12 && date.day == 31;
    for (int i = 0; i < (last ? 2 : 4); ++i) {
      const auto& step = steps[i];
      const DateTimeParts p = partsOf(addSeconds(make(step.start), step.count));
      if (!same(p, step.result) && budget.spend()) {
        ADD_FAILURE() << show(step.start) << " by " << step.count
                      << " reads as " << show(p) << ", not "
                      << show(step.result);
      }
    }
    previous = date;
  });
  EXPECT_EQ(budget.failures(), 0);
}

TEST(AddSecondsTest, ZeroKeepsTheValueEvenOutsideTheRange) {
  const DateTime values[] = {25569.333333333332,
                             -1.25,
                             kMinDateTime - 10,
                             kMaxDateTime + 10,
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             -0.0};
  for (DateTime v : values) {
    EXPECT_EQ(bitsOf(addSeconds(v, 0)), bitsOf(v)) << v;
  }
}

TEST(AddSecondsTest, BringsTheValueIntoTheRangeFirst) {
  struct Case {
    const char* what;
    DateTime start;
    int32_t count;
    Fields reads;
  };
  const Case cases[] = {
      {"above the range, back",
       kMaxDateTime + 100,
       -1,
       {9999, 12, 30, 23, 59, 59}},
      {"below the range, on", kMinDateTime - 100, 86400, {100, 1, 2, 0, 0, 0}},
      {"NaN, on",
       std::numeric_limits<double>::quiet_NaN(),
       86400,
       {100, 1, 2, 0, 0, 0}},
      {"+inf, back",
       std::numeric_limits<double>::infinity(),
       -86400,
       {9999, 12, 30, 0, 0, 0}},
      // The first day's times after midnight read as its midnight.
      {"kMinDateTime, on", kMinDateTime, 1, {100, 1, 1, 0, 0, 0}},
      {"kMinDateTime, back", kMinDateTime, -1, {100, 1, 1, 0, 0, 0}},
      {"kMaxDateTime, on", kMaxDateTime, 1, {9999, 12, 31, 0, 0, 0}},
      {"kMaxDateTime, far on",
       kMaxDateTime,
       2147483647,
       {9999, 12, 31, 0, 0, 0}},
  };
  for (const Case& k : cases) {
    EXPECT_TRUE(readsAs(addSeconds(k.start, k.count), k.reads)) << k.what;
  }
  // The result itself is not brought into the range.
  EXPECT_GT(addSeconds(kMaxDateTime, 1), kMaxDateTime);
  EXPECT_LT(addSeconds(kMinDateTime, -1), kMinDateTime);
}

TEST(ToDateTimeTest, ReadsTheTextsItKnows) {
  struct Case {
    const char* text;
    Fields reads;
  };
  const Case cases[] = {
      {"1970.01.01 08:00:00", {1970, 1, 1, 8, 0, 0}},
      {"2018-12-02 04:23:28", {2018, 12, 2, 4, 23, 28}},
      {"2018-12-2 04:23:28", {2018, 12, 2, 4, 23, 28}},
      {"2018-12-2 4:5:6", {2018, 12, 2, 4, 5, 6}},
      {"2018/12/02 04.23.28", {2018, 12, 2, 4, 23, 28}},
      {"2018:12:02-04-23-28", {2018, 12, 2, 4, 23, 28}},
      {"2018.12.02.04/23/28", {2018, 12, 2, 4, 23, 28}},
      {"2018-12-02", {2018, 12, 2, 0, 0, 0}},
      {"2018-12-02 ", {2018, 12, 2, 0, 0, 0}},
      {"2018-12-02 04", {2018, 12, 2, 4, 0, 0}},
      {"2018-12-02 04:23", {2018, 12, 2, 4, 23, 0}},
      {"2018-12-02 04:23:", {2018, 12, 2, 4, 23, 0}},
      // Without separators the fields are taken by their widths.
      {"20181202042328", {2018, 12, 2, 4, 23, 28}},
      {"201812020423", {2018, 12, 2, 4, 23, 0}},
      {"20181-12-02", {2018, 1, 12, 2, 0, 0}},
      {"999-12-31 23:59:59", {999, 12, 31, 23, 59, 59}},
      {"0100-01-01", {100, 1, 1, 0, 0, 0}},
      {"2016-02-29", {2016, 2, 29, 0, 0, 0}},
      {"2000-02-29 23:59:59", {2000, 2, 29, 23, 59, 59}},
      {"1899-12-29 06:00:00", {1899, 12, 29, 6, 0, 0}},
      {"1899-12-30 00:00:00", {1899, 12, 30, 0, 0, 0}},
      // 2018年12月2日4时23分28秒, with and without the later units.
      {"2018\xC4\xEA"
       "12\xD4\xC2"
       "2\xC8\xD5"
       "4\xCA\xB1"
       "23\xB7\xD6"
       "28\xC3\xEB",
       {2018, 12, 2, 4, 23, 28}},
      {"2018\xC4\xEA"
       "12\xD4\xC2"
       "2\xC8\xD5",
       {2018, 12, 2, 0, 0, 0}},
      {"2018\xC4\xEA"
       "12-2\xC8\xD5"
       "4:23\xB7\xD6"
       "28",
       {2018, 12, 2, 4, 23, 28}},
      // Whatever follows 秒 is ignored, one-byte and two-byte characters
      // alike, however long.
      {"2018-12-02 04:23:28\xC3\xEB"
       " and more \xD2\x41",
       {2018, 12, 2, 4, 23, 28}},
      {"2018-12-02 04:23:28\xC3\xEB"
       "..............................................................",
       {2018, 12, 2, 4, 23, 28}},
      // 秒 ends the text after any field that leaves the rest at 0.
      {"2018-12-02 04:23\xC3\xEB", {2018, 12, 2, 4, 23, 0}},
      // ２０１８－１２－０２　０４：２３：２８ in full-width forms.
      {"\xA3\xB2\xA3\xB0\xA3\xB1\xA3\xB8\xA3\xAD\xA3\xB1\xA3\xB2\xA3\xAD"
       "\xA3\xB0\xA3\xB2\xA1\xA1\xA3\xB0\xA3\xB4\xA3\xBA\xA3\xB2\xA3\xB3"
       "\xA3\xBA\xA3\xB2\xA3\xB8",
       {2018, 12, 2, 4, 23, 28}},
      // ２０１８．１２／２ with a full-width full stop and solidus.
      {"\xA3\xB2\xA3\xB0\xA3\xB1\xA3\xB8\xA3\xAE\xA3\xB1\xA3\xB2\xA3\xAF"
       "\xA3\xB2",
       {2018, 12, 2, 0, 0, 0}},
      // A lead byte that stands last, without its second byte, is dropped.
      {"2018-12-02 04:23:28\xC3", {2018, 12, 2, 4, 23, 28}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bitsOf(toDateTime(c.text)), bitsOf(make(c.reads))) << c.text;
  }
  EXPECT_EQ(toDateTime("1970.01.01 08:00:00"), 25569.333333333332);
  EXPECT_EQ(toDateTime("1899-12-29 06:00:00"), -1.25);
}

TEST(ToDateTimeTest, FailsWithTheLowestValue) {
  const std::string longTail(200, '0');
  const char* const texts[] = {
      "",
      "\xB0",      // folds to nothing
      "04:23:28",  // its year would be 4
      "2018-Foo-2 04:23:28",
      " 2018-12-02",
      "-2018-12-02",
      "+2018-12-02",
      "2018-12-02 04:23:28 ",
      "2018-12-02T04:23:28",
      "2018-12-02  04:23:28",
      "2018-12-02 04:23:28.5",
      "2018 12 02",
      "2018--12-02",
      "99-12-31",
      "0099-12-31",
      "10000-01-01",
      "2018-13-01",
      "2018-00-01",
      "2018-12-00",
      "2018-04-31",
      "2018-02-29",
      "1900-02-29",
      "2018-12-02 24:00:00",
      "2018-12-02 23:60:00",
      "2018-12-02 23:59:60",
      "2018-12-02 04:23:28\xC3\xEC",  // not 秒
      // 年 stands only after the year, 月 only after the month.
      // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
      "2018\xD4\xC2"
      "12-02",
      // One separator at most: 日 and a space together are two.
      "2018\xC4\xEA"
      "12\xD4\xC2"
      "2\xC8\xD5"
      " 04:23:28",
      // A two-byte character whose second byte looks like ASCII is one
      // character: "\xA3" "8" is not a full-width form and not a digit.
      "2018-12-02 04:23:2\xA3"
      "8",
      "2018-12-02\xD2"
      "A",
      // Two-byte characters other than the unit characters stop a field.
      "2018\xA1\xAB"
      "12-02",
  };
  for (const char* text : texts) {
    EXPECT_EQ(bitsOf(toDateTime(text)), bitsOf(kMinDateTime)) << text;
  }
  EXPECT_EQ(toDateTime("2018-12-02 04:23:28" + longTail), kMinDateTime);
  EXPECT_EQ(toDateTime(longTail), kMinDateTime);
}

TEST(ToDateTimeTest, LateOnTheLastDayReadsAsItsMidnight) {
  const DateTime late = toDateTime("9999-12-31 23:59:59");
  EXPECT_GT(late, kMaxDateTime);
  EXPECT_TRUE(readsAs(late, Fields{9999, 12, 31, 0, 0, 0}));
}

}  // namespace
}  // namespace velkaro
