#include "timeconv/compact_date_time.h"

#include <gtest/gtest.h>

#include <climits>

#include "values/date_time.h"

namespace velkaro {
namespace {

const DateTime kSample = makeDateTime(2018, 12, 2, 4, 23, 28);

TEST(DateTimeToTextTest, FourLayouts) {
  struct Case {
    DateTime value;
    const char* dateSeparator;
    const char* timeSeparator;
    int style;
    const char* text;
  };
  const Case cases[] = {
      {kSample, "-", ":", 1, "04:23:28"},
      {kSample, "-", ":", 2, "2018-12-02"},
      {kSample, "-", ":", 3, "2018-12-02 04:23:28"},
      {kSample, "-", ":", 4, "2018-12-0204:23:28"},
      // The restore run's stamp.
      {kSample, "", "", 3, "20181202 042328"},
      {makeDateTime(2018, 1, 5, 8, 9, 5), "", "", 3, "20180105 080905"},
      // The year keeps as many digits as it has.
      {kMinDateTime, "", "", 3, "1000101 000000"},
      {makeDateTime(999, 12, 31, 23, 59, 59), "/", ".", 3,
       "999/12/31 23.59.59"},
      {kMaxDateTime, "", "", 4, "99991231000000"},
      // Separators of several characters, two-byte ones among them, go in
      // whole; style 1 shows no date separator and style 2 no time one.
      {kSample, "\xC4\xEA--", " : ", 4,
       "2018\xC4\xEA--12\xC4\xEA--0204 : 23 : 28"},
      {kSample, "XX", "", 1, "042328"},
      {kSample, "", "YY", 2, "20181202"},
      // Before 1899-12-30 the encoding counts the time forward from the day.
      {-1.75, "-", ":", 3, "1899-12-29 18:00:00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        dateTimeToText(c.value, c.dateSeparator, c.timeSeparator, c.style),
        c.text)
        << c.style << " " << c.text;
  }
}

TEST(DateTimeToTextTest, OtherStylesGiveTheEmptyText) {
  for (int style : {0, 5, -1, 100, INT_MIN, INT_MAX}) {
    EXPECT_EQ(dateTimeToText(kSample, "-", ":", style), "") << style;
    EXPECT_EQ(dateTimeToText(kSample, "", "", style), "") << style;
    EXPECT_EQ(dateTimeToText(kSample, style), "") << style;
  }
}

TEST(DateTimeToTextTest, EachParameterMayBeLeftOut) {
  EXPECT_EQ(dateTimeToText(kSample), "04:23:28");
  EXPECT_EQ(dateTimeToText(kSample, 2), "2018-12-02");
  EXPECT_EQ(dateTimeToText(kSample, "/"), "04:23:28");
  EXPECT_EQ(dateTimeToText(kSample, "/", "."), "04.23.28");
  EXPECT_EQ(dateTimeToText(kSample, "", "", 3), "20181202 042328");
  // An empty separator is passed, not left out.
  using Options = DateTimeTextOptions;
  EXPECT_EQ(dateTimeToText(kSample, Options{.dateSeparator = "", .style = 3}),
            "20181202 04:23:28");
  EXPECT_EQ(dateTimeToText(kSample, Options{.timeSeparator = "", .style = 3}),
            "2018-12-02 042328");
  EXPECT_EQ(dateTimeToText(kSample, Options{.timeSeparator = "."}), "04.23.28");
  EXPECT_EQ(dateTimeToText(kSample, Options{.style = 4}), "2018-12-0204:23:28");
  EXPECT_EQ(dateTimeToText(kSample, Options{}), "04:23:28");
}

// The six components come from one rounded instant: an instant less than
// half a second before midnight is written as the next day's 00:00:00.
TEST(DateTimeToTextTest, WritesOneRoundedInstant) {
  const DateTime justBefore2019 =
      makeDateTime(2019, 1, 1, 0, 0, 0) - 0.4 * kSecondAsDay;
  EXPECT_EQ(dateTimeToText(justBefore2019, "", "", 3), "20190101 000000");
  const DateTime justBefore1899Dec30 =
      makeDateTime(1899, 12, 29, 23, 59, 59) - 0.6 * kSecondAsDay;
  EXPECT_EQ(dateTimeToText(justBefore1899Dec30, "", "", 3), "18991230 000000");
  // Values outside the range are written as its ends.
  EXPECT_EQ(dateTimeToText(kMaxDateTime + 0.5, "", "", 3), "99991231 000000");
  EXPECT_EQ(dateTimeToText(kMinDateTime - 0.5, "", "", 3), "1000101 000000");
}

}  // namespace
}  // namespace velkaro
