#include "platform/posix/date_pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace velkaro {
namespace {

SystemTime dateOf(int year, int month, int day) {
  SystemTime t;
  t.year = static_cast<uint16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(day);
  return t;
}

SystemTime timeOf(int hour, int minute, int second) {
  SystemTime t = dateOf(2018, 12, 2);
  t.hour = static_cast<uint16_t>(hour);
  t.minute = static_cast<uint16_t>(minute);
  t.second = static_cast<uint16_t>(second);
  return t;
}

struct DateCase {
  SystemTime time;
  std::string picture;
  std::string expected;
};

TEST(FormatDatePictureTest, WritesEachElement) {
  const DateCase cases[] = {
      {dateOf(2018, 12, 2), "yyyy-M-dd ", "2018-12-02 "},
      {dateOf(2018, 1, 5), "yyyy-M-dd ", "2018-1-05 "},
      {dateOf(2018, 1, 5), "d dd M MM", "5 05 1 01"},
      {dateOf(2005, 11, 25), "y yy yyy yyyy yyyyy", "5 05 2005 2005 2005"},
      {dateOf(2010, 3, 1), "y|yy", "10|10"},
      {dateOf(100, 1, 1), "y|yy|yyyy", "0|00|0100"},
      {dateOf(2018, 12, 2), "dddd, MMMM d", "Sunday, December 2"},
      {dateOf(2018, 12, 2), "ddd',' MMM dd yy", "Sun, Dec 02 18"},
      {dateOf(2018, 1, 5), "ddddd MMMMM", "Friday January"},
      {dateOf(2018, 12, 2), "gg yyyy", "A.D. 2018"},
      // The letters of time pictures mean nothing here.
      {dateOf(2018, 12, 2), "yyyy hh:mm:ss tt H", "2018 hh:mm:ss tt H"},
  };
  for (const DateCase& c : cases) {
    Text out;
    EXPECT_TRUE(formatDatePicture(c.time, c.picture, 49, &out)) << c.picture;
    EXPECT_EQ(out, c.expected) << c.picture;
  }
}

TEST(FormatDatePictureTest, WorksOutTheWeekdayFromTheDate) {
  const DateCase cases[] = {
      {dateOf(100, 1, 1), "dddd", "Friday"},
      {dateOf(1899, 12, 29), "dddd", "Friday"},
      {dateOf(1899, 12, 30), "dddd", "Saturday"},
      {dateOf(1970, 1, 1), "dddd", "Thursday"},
      {dateOf(2000, 2, 29), "dddd", "Tuesday"},
      {dateOf(9999, 12, 31), "dddd", "Friday"},
      {dateOf(1, 1, 1), "dddd", "Monday"},
  };
  for (const DateCase& c : cases) {
    SystemTime wrongWeekday = c.time;
    wrongWeekday.dayOfWeek = 3;
    Text out;
    EXPECT_TRUE(formatDatePicture(wrongWeekday, c.picture, 49, &out));
    EXPECT_EQ(out, c.expected) << c.time.year << "-" << c.time.month;
  }
}

TEST(FormatDatePictureTest, QuotedAndOtherCharactersAreCopied) {
  const SystemTime t = dateOf(2018, 12, 2);
  const DateCase cases[] = {
      {t, "'yyyy'-yyyy", "yyyy-2018"},
      {t, "'abc''bar'", "abc'bar"},
      {t, "d''M", "2'12"},
      {t, "''", "'"},
      {t, "yyyy 'open d M", "2018 open d M"},
      {t, "''''", "''"},
      // clang-format off
      // GBK year, month and day characters stay as they are.
      {t, "yyyy\xC4\xEAM\xD4\xC2" "d\xC8\xD5", "2018\xC4\xEA" "12\xD4\xC2" "2\xC8\xD5"},
      // A two-byte character whose second byte is a letter of the language.
      {t, "\x81" "d\x81" "M\x81'yyyy", "\x81" "d\x81" "M\x81'2018"},
      // clang-format on
      {t, "yyyy\x81", "2018\x81"},
      // The picture ends at a zero byte, as the platform reads it.
      {t, std::string("yy\0yyyy", 7), "18"},
      {t, "", ""},
  };
  for (const DateCase& c : cases) {
    Text out;
    EXPECT_TRUE(formatDatePicture(c.time, c.picture, 49, &out)) << c.picture;
    EXPECT_EQ(out, c.expected) << c.picture;
  }
}

TEST(FormatDatePictureTest, RefusesDatesThatDoNotExist) {
  const SystemTime bad[] = {
      dateOf(2018, 0, 1),  dateOf(2018, 13, 1), dateOf(2018, 11, 31),
      dateOf(2018, 2, 29), dateOf(1900, 2, 29), dateOf(2018, 1, 0),
      dateOf(0, 1, 1),     dateOf(10000, 1, 1), dateOf(65535, 65535, 65535),
  };
  for (const SystemTime& t : bad) {
    Text out;
    EXPECT_FALSE(formatDatePicture(t, "yyyy", 49, &out))
        << t.year << "-" << t.month << "-" << t.day;
  }
  Text out;
  EXPECT_TRUE(formatDatePicture(dateOf(2000, 2, 29), "yyyy", 49, &out));
}

struct TimeCase {
  SystemTime time;
  bool force24;
  std::string picture;
  std::string expected;
};

TEST(FormatTimePictureTest, WritesEachElement) {
  const TimeCase cases[] = {
      {timeOf(14, 23, 28), false, "HH:mm:ss", "14:23:28"},
      {timeOf(14, 23, 28), false, "hh:mm:ss", "02:23:28"},
      {timeOf(14, 23, 28), true, "hh:mm:ss", "14:23:28"},
      {timeOf(14, 23, 28), true, "h", "14"},
      {timeOf(0, 30, 0), false, "hh:mm:ss", "12:30:00"},
      {timeOf(0, 30, 0), true, "hh:mm:ss", "00:30:00"},
      {timeOf(0, 30, 0), false, "h H HH", "12 0 00"},
      {timeOf(12, 0, 0), false, "hh tt", "12 PM"},
      {timeOf(11, 59, 59), false, "h t tt", "11 A AM"},
      {timeOf(23, 0, 0), true, "HH tt", "23 PM"},
      {timeOf(9, 5, 7), false, "h:m:s", "9:5:7"},
      {timeOf(9, 5, 7), false, "hhh:mmm:sss ttt", "09:05:07 AM"},
      // The letters of date pictures mean nothing here.
      {timeOf(9, 5, 7), false, "yyyy-M-dd HH", "yyyy-M-dd 09"},
      {timeOf(15, 0, 0), false, "h 'o''clock'", "3 o'clock"},
  };
  for (const TimeCase& c : cases) {
    Text out;
    EXPECT_TRUE(formatTimePicture(c.time, c.force24, c.picture, 49, &out))
        << c.picture;
    EXPECT_EQ(out, c.expected) << c.picture << " force24 " << c.force24;
  }
}

TEST(FormatTimePictureTest, RefusesTimesThatDoNotExist) {
  SystemTime milliseconds = timeOf(1, 2, 3);
  milliseconds.milliseconds = 1000;
  const SystemTime bad[] = {timeOf(24, 0, 0), timeOf(0, 60, 0),
                            timeOf(0, 0, 60), milliseconds};
  for (const SystemTime& t : bad) {
    Text out;
    EXPECT_FALSE(formatTimePicture(t, false, "HH:mm:ss", 49, &out));
  }
  // Only the time fields are read.
  SystemTime noDate = timeOf(1, 2, 3);
  noDate.month = 0;
  Text out;
  EXPECT_TRUE(formatTimePicture(noDate, false, "HH:mm:ss", 49, &out));
  EXPECT_EQ(out, "01:02:03");
}

TEST(DatePicturesTest, NoTextLongerThanTheLimit) {
  const SystemTime t = timeOf(14, 23, 28);
  // "Wednesday" is the longest day name; 2018-12-02 is a Sunday (6 bytes).
  const std::string sevenSundays = "dddd dddd dddd dddd dddd dddd dddd";  // 48
  Text out;
  EXPECT_TRUE(formatDatePicture(t, sevenSundays, 48, &out));
  EXPECT_EQ(out.size(), 48u);
  EXPECT_FALSE(formatDatePicture(t, sevenSundays, 47, &out));
  EXPECT_FALSE(formatDatePicture(t, sevenSundays + "x", 48, &out));
  EXPECT_TRUE(formatDatePicture(t, sevenSundays + "x", 49, &out));
  EXPECT_EQ(out.size(), 49u);

  EXPECT_TRUE(formatTimePicture(t, false, std::string(49, ':'), 49, &out));
  EXPECT_FALSE(formatTimePicture(t, false, std::string(50, ':'), 49, &out));
  EXPECT_FALSE(formatTimePicture(t, false, "HH:mm:ss", 7, &out));
  EXPECT_TRUE(formatTimePicture(t, false, "HH:mm:ss", 8, &out));
  // A long run of one letter is one element; many elements soon overflow.
  EXPECT_TRUE(formatDatePicture(t, std::string(100000, 'M'), 49, &out));
  EXPECT_EQ(out, "December");
  std::string manyMonths;
  for (int i = 0; i < 50000; ++i) manyMonths += "M.";
  EXPECT_FALSE(formatDatePicture(t, manyMonths, 49, &out));
  EXPECT_FALSE(formatDatePicture(t, "yyyy", 0, &out));
  EXPECT_TRUE(formatDatePicture(t, "", 0, &out));
  EXPECT_EQ(out, "");
}

// Arbitrary bytes never crash either formatter nor give a longer text.
TEST(DatePicturesTest, ArbitraryPicturesStayWithinTheLimit) {
  static const char kAlphabet[] = "dMygHhmst'' :-\x81\xA3\0\xFFx";
  const std::string alphabet(kAlphabet, sizeof(kAlphabet) - 1);
  uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return state >> 16;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string picture;
    const uint32_t length = next() % 120;
    for (uint32_t i = 0; i < length; ++i) {
      picture += (round % 2 == 0) ? alphabet[next() % alphabet.size()]
                                  : static_cast<char>(next() & 0xFF);
    }
    const std::size_t limit = next() % 60;
    Text out;
    if (formatDatePicture(timeOf(1, 2, 3), picture, limit, &out)) {
      EXPECT_LE(out.size(), limit);
    }
    if (formatTimePicture(timeOf(13, 2, 3), round % 3 == 0, picture, limit,
                          &out)) {
      EXPECT_LE(out.size(), limit);
    }
  }
}

TEST(WriteBufferTextTest, WritesTheTextAndAZeroOnlyWhenBothFit) {
  Text buffer = "    ";
  EXPECT_TRUE(writeBufferText("1", buffer));
  EXPECT_EQ(buffer, std::string("1\0  ", 4));

  buffer = "    ";
  EXPECT_TRUE(writeBufferText("abc", buffer));
  EXPECT_EQ(buffer, std::string("abc\0", 4));

  buffer = "    ";
  EXPECT_FALSE(writeBufferText("abcd", buffer));
  EXPECT_EQ(buffer, "    ");

  Text empty;
  EXPECT_FALSE(writeBufferText("", empty));
  EXPECT_TRUE(empty.empty());
}

}  // namespace
}  // namespace velkaro
