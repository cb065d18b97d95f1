#include "timeconv/locale_date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/fixed_clock_locale.h"
#include "platform/locale_services.h"
#include "platform/scoped_install.h"
#include "values/date_time.h"

namespace velkaro {
namespace {

using UseLocale = ScopedInstall<LocaleServices, installLocaleServices>;

struct FormatCase {
  DateTime dt;
  const char* datePicture;
  const char* timePicture;
  int force24Hour;
  const char* expected;
};

TEST(FormatLocalDateTimeTest, WritesThePicturesOnEitherClock) {
  const DateTime afternoon = makeDateTime(2018, 12, 2, 14, 23, 28);
  const DateTime halfPastMidnight = makeDateTime(2018, 12, 2, 0, 30, 0);
  const FormatCase cases[] = {
      {afternoon, "yyyy-M-dd ", "HH:mm:ss", 0, "2018-12-02 14:23:28"},
      {afternoon, "yyyy-M-dd ", "hh:mm:ss", 0, "2018-12-02 02:23:28"},
      {afternoon, "yyyy-M-dd ", "hh:mm:ss", 1, "2018-12-02 14:23:28"},
      {afternoon, "yyyy-M-dd ", "hh:mm:ss", 2, "2018-12-02 02:23:28"},
      {afternoon, "yyyy-M-dd ", "hh:mm:ss", -1, "2018-12-02 02:23:28"},
      {afternoon, "yyyy-M-dd ", "HH:mm:ss", 1, "2018-12-02 14:23:28"},
      {halfPastMidnight, "yyyy-M-dd ", "hh:mm:ss", 0, "2018-12-02 12:30:00"},
      {halfPastMidnight, "yyyy-M-dd ", "hh:mm:ss", 1, "2018-12-02 00:30:00"},
      {makeDateTime(2018, 1, 5, 9, 7, 3), "yyyy-M-dd ", "HH:mm:ss", 0,
       "2018-1-05 09:07:03"},
      {makeDateTime(2018, 1, 5, 0, 0, 0), "yyyy-M-dd ", "", 0, "2018-1-05 "},
      // A picture of fewer than 3 bytes gives no part.
      {afternoon, "yy", "HH:mm:ss", 0, "14:23:28"},
      {afternoon, "yyyy-M-dd ", "HH", 0, "2018-12-02 "},
      {afternoon, "yy", "HH", 0, ""},
      {afternoon, "", "", 0, ""},
      {afternoon, "yyy", "HHH", 0, "201814"},
      // The moment as the platform resolves it: the nearest whole second.
      {afternoon + 0.4 * kSecondAsDay, "yyyy-M-dd ", "HH:mm:ss", 0,
       "2018-12-02 14:23:28"},
      {afternoon - 0.4 * kSecondAsDay, "yyyy-M-dd ", "HH:mm:ss", 0,
       "2018-12-02 14:23:28"},
      {makeDateTime(2018, 12, 2, 0, 0, 0) - 0.3 * kSecondAsDay, "yyyy-M-dd ",
       "HH:mm:ss", 0, "2018-12-02 00:00:00"},
      {kMinDateTime, "yyyy-M-dd ", "HH:mm:ss", 0, "0100-1-01 00:00:00"},
      {kMaxDateTime, "yyyy-M-dd ", "HH:mm:ss", 0, "9999-12-31 00:00:00"},
      {kMaxDateTime + 0.5, "yyyy-M-dd ", "hh:mm:ss", 0, "9999-12-31 12:00:00"},
  };
  for (bool twentyFourHour : {false, true}) {
    FixedClockLocale locale(twentyFourHour);
    UseLocale use(&locale);
    for (const FormatCase& c : cases) {
      EXPECT_EQ(formatLocalDateTime(c.dt, c.datePicture, c.timePicture,
                                    c.force24Hour),
                c.expected)
          << c.datePicture << "|" << c.timePicture << " force24Hour "
          << c.force24Hour;
    }
  }
}

TEST(FormatLocalDateTimeTest, LeftOutForce24HourChangesNothing) {
  const DateTime afternoon = makeDateTime(2018, 12, 2, 14, 23, 28);
  EXPECT_EQ(formatLocalDateTime(afternoon, "yyyy-M-dd ", "hh:mm:ss"),
            "2018-12-02 02:23:28");
}

TEST(FormatLocalDateTimeTest, EmptyWhenTheMomentCannotBeRepresented) {
  const DateTime bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(), -657435.0,
                          2958466.0, 1e18};
  for (DateTime dt : bad) {
    EXPECT_EQ(formatLocalDateTime(dt, "yyyy-M-dd ", "HH:mm:ss", 1), "") << dt;
  }
}

TEST(FormatLocalDateTimeTest, APartHoldsAtMostFortyNineBytes) {
  const DateTime afternoon = makeDateTime(2018, 12, 2, 14, 23, 28);
  const Text fortyNine(49, '.');
  // Each part that fits is kept whole; one that would not is left empty.
  EXPECT_EQ(formatLocalDateTime(afternoon, fortyNine, fortyNine),
            fortyNine + fortyNine);
  EXPECT_EQ(formatLocalDateTime(afternoon, fortyNine + ".", "HH:mm:ss"),
            "14:23:28");
  EXPECT_EQ(formatLocalDateTime(afternoon, "yyyy ", "HH:mm:ss" + fortyNine),
            "2018 ");
  // Pictures that write forty-nine and fifty bytes.
  EXPECT_EQ(formatLocalDateTime(afternoon,
                                "dddd dddd dddd dddd dddd dddd yyyy-M", "HH"),
            "Sunday Sunday Sunday Sunday Sunday Sunday 2018-12");
  EXPECT_EQ(formatLocalDateTime(afternoon,
                                "dddd dddd dddd dddd dddd dddd yyyy-MM-", "HH"),
            "");
}

// Services that record what they are handed and write fixed texts.
class RecordingLocale : public LocaleServices {
 public:
  void getClockSetting(Text& buffer) override {
    clockBuffers.push_back(buffer);
    if (clockText.has_value()) {
      buffer.replace(0, clockText->size(), *clockText);
    }
  }
  bool toSystemTime(DateTime value, SystemTime* out) override {
    return hostLocaleServices().toSystemTime(value, out) && convert;
  }
  void formatDate(const SystemTime&, const Text& picture,
                  Text& buffer) override {
    datePictures.push_back(picture);
    dateBuffers.push_back(buffer);
    buffer.replace(0, 2, std::string("D\0", 2));
  }
  void formatTime(const SystemTime&, unsigned flags, const Text&,
                  Text& buffer) override {
    timeFlags.push_back(flags);
    timeBuffers.push_back(buffer);
    buffer.replace(0, 2, std::string("T\0", 2));
  }

  bool convert = true;
  std::optional<std::string> clockText;
  std::vector<Text> clockBuffers, datePictures, dateBuffers, timeBuffers;
  std::vector<unsigned> timeFlags;
};

TEST(FormatLocalDateTimeTest, HandsTheServicesFreshBuffersAndTheFlags) {
  const DateTime afternoon = makeDateTime(2018, 12, 2, 14, 23, 28);
  RecordingLocale locale;
  UseLocale use(&locale);

  const int force[] = {0, 1, 2, -1, 8};
  const unsigned flags[] = {0, kTimeForce24HourFormat, 0, 0, 0};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(
        formatLocalDateTime(afternoon, "yyyy-M-dd ", "hh:mm:ss", force[i]),
        "DT");
    EXPECT_EQ(locale.timeFlags.back(), flags[i]) << force[i];
  }
  EXPECT_EQ(locale.datePictures.back(), "yyyy-M-dd ");
  for (const Text& b : locale.dateBuffers) EXPECT_EQ(b, blankText(50));
  for (const Text& b : locale.timeBuffers) EXPECT_EQ(b, blankText(50));

  // Short pictures are never handed over.
  locale.dateBuffers.clear();
  locale.timeBuffers.clear();
  EXPECT_EQ(formatLocalDateTime(afternoon, "ab", "xy"), "");
  EXPECT_EQ(formatLocalDateTime(afternoon, "abc", "x"), "D");
  EXPECT_EQ(locale.dateBuffers.size(), 1u);
  EXPECT_TRUE(locale.timeBuffers.empty());

  // Nothing is formatted once the conversion fails.
  locale.convert = false;
  locale.dateBuffers.clear();
  EXPECT_EQ(formatLocalDateTime(afternoon, "yyyy-M-dd ", "hh:mm:ss"), "");
  EXPECT_TRUE(locale.dateBuffers.empty());
  EXPECT_TRUE(locale.timeBuffers.empty());
}

TEST(IsLocale24HourTest, ReadsTheClockSetting) {
  FixedClockLocale twelve(false);
  FixedClockLocale twentyFour(true);
  {
    UseLocale use(&twelve);
    EXPECT_EQ(isLocale24Hour(), 0);
  }
  {
    UseLocale use(&twentyFour);
    EXPECT_EQ(isLocale24Hour(), 1);
  }
}

TEST(IsLocale24HourTest, ReadsTheTextThePlatformWrote) {
  struct Case {
    std::optional<std::string> written;
    int expected;
  };
  const Case cases[] = {
      {std::nullopt, 0},  // nothing written: four spaces
      {std::string("1\0", 2), 1},
      {std::string("0\0", 2), 0},
      {std::string("1\0"
                   "9",
                   3),
       1},  // only the text before the zero
      {std::string("2\0", 2), 2},
      {std::string("12\0", 3), 12},
  };
  for (const Case& c : cases) {
    RecordingLocale locale;
    locale.clockText = c.written;
    UseLocale use(&locale);
    EXPECT_EQ(isLocale24Hour(), c.expected);
    ASSERT_EQ(locale.clockBuffers.size(), 1u);
    EXPECT_EQ(locale.clockBuffers[0], "    ");
  }
}

// The host's own services, reading the real environment.
TEST(IsLocale24HourTest, TheCLocaleUsesTheTwentyFourHourClock) {
  const char* saved = std::getenv("LC_ALL");
  const std::optional<std::string> previous =
      saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;

  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(isLocale24Hour(), 1);
  setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
  EXPECT_EQ(isLocale24Hour(), 0);

  if (previous.has_value()) {
    setenv("LC_ALL", previous->c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
}

}  // namespace
}  // namespace velkaro
