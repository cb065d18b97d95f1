#include "restore/marker.h"

#include <gtest/gtest.h>

#include <climits>

namespace velkaro {
namespace {

// The restore run's call: the timestamp between "mmexport" and ".jpg".
TEST(TextBetween, TakesTheStampOutOfAPath) {
  struct Case {
    const char* what;
    Text path;
    Text expected;
  };
  const Case cases[] = {
      {"milliseconds", "D:\\pics\\mmexport1543712345678.jpg", "1543712345678"},
      {"seconds", "D:\\pics\\mmexport1543712345.jpg", "1543712345"},
      {"doubled extension", "mmexport1543712345678.jpg.jpg", "1543712345678"},
      {"copy suffix kept", "D:\\pics\\mmexport1543712345678(1).jpg",
       "1543712345678(1)"},
      {"folder named like the marker",
       "D:\\mmexport\\mmexport1543712345678.jpg", "\\mmexport1543712345678"},
      {"folder name begins with the marker",
       "D:\\mmexport2018\\mmexport1543712345678.jpg",
       "2018\\mmexport1543712345678"},
      {"upper-case left marker", "D:\\pics\\MMEXPORT1543712345678.jpg", ""},
      {"upper-case extension", "D:\\pics\\mmexport1543712345678.JPG", ""},
      {"mixed-case extension", "D:\\pics\\mmexport1543712345678.Jpg", ""},
      {"upper-case extension, right marker elsewhere",
       "D:\\mmexport1.jpg\\mmexport1543712345678.JPG", "1"},
      {"no marker", "D:\\pics\\IMG_0001.jpg", ""},
      {"markers touch", "D:\\pics\\mmexport.jpg", ""},
      {"no right marker", "D:\\pics\\mmexport1543712345678.png", ""},
      {"text ends with the left marker", "D:\\pics\\mmexport", ""},
      {"empty path", "", ""},
      {"Chinese folder name", "D:\\\xD5\xD5\xC6\xAC\\mmexport1543712345678.jpg",
       "1543712345678"},
      // On a single-byte code page 0xE9 is a letter, yet it still pairs with
      // the byte after it and takes the marker's first m.
      {"lead byte before the left marker",
       "D:\\pics\\\xE9mmexport1543712345678.jpg", ""},
      {"lead byte before the right marker",
       "D:\\pics\\mmexport1543712345678\xE9.jpg", ""},
      {"lead byte before a later right marker",
       "D:\\pics\\mmexport15\xE9.jpg.jpg", "15\xE9.jpg"},
      {"a later left marker is not used", "mmexport1.png mmexport2.jpg",
       "1.png mmexport2"},
      {"nothing checks for digits", "mmexport\xD5\xD5 x.jpg", "\xD5\xD5 x"},
      {"five quote bytes in the path are ordinary",
       "mmexport#\xD2\xFD\xBA\xC5.jpg", "#\xD2\xFD\xBA\xC5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(textBetween(c.path, "mmexport", ".jpg"), c.expected);
  }
}

TEST(TextBetween, StartPositionAndCaseOption) {
  struct Case {
    const char* what;
    Text t;
    Text left;
    Text right;
    int start;
    bool ignoreCase;
    Text expected;
  };
  const Text two = "mmexport1.jpg mmexport2.jpg";
  const Case cases[] = {
      {"start 0", two, "mmexport", ".jpg", 0, false, "1"},
      {"start 1", two, "mmexport", ".jpg", 1, false, "1"},
      {"start 2 skips the first name", two, "mmexport", ".jpg", 2, false, "2"},
      {"start INT_MIN", two, "mmexport", ".jpg", INT_MIN, false, "1"},
      {"start at the last byte", two, "mmexport", ".jpg", 27, false, ""},
      {"start past the end", two, "mmexport", ".jpg", 28, false, ""},
      {"start INT_MAX", two, "mmexport", ".jpg", INT_MAX, false, ""},
      {"upper left marker, case ignored", "D:\\pics\\MMEXPORT1543712345678.jpg",
       "mmexport", ".jpg", 0, true, "1543712345678"},
      {"upper extension, case ignored", "D:\\pics\\mmexport1543712345678.JPG",
       "mmexport", ".jpg", 0, true, "1543712345678"},
      {"case ignored leaves second bytes exact",
       "mmexport1\xB0"
       "a2\xB0"
       "A",
       "mmexport",
       "\xB0"
       "A",
       0, true,
       "1\xB0"
       "a2"},

      // An empty left marker stands at byte 1 whatever the start says.
      {"empty left marker", "abc.jpg", "", ".jpg", 0, false, "abc"},
      {"empty left marker, start 2", "abc.jpg", "", ".jpg", 2, false, "abc"},
      {"empty left marker, start past the end", "abc.jpg", "", ".jpg", 8, false,
       ""},
      {"empty right marker", "abc.jpg", "a", "", 0, false, ""},
      {"empty right marker at the end", "abc.jpg", "jpg", "", 0, false, ""},
      {"both markers empty", "abc", "", "", 0, false, ""},

      // The right marker is looked for only after the whole left marker.
      {"right marker inside the left one", "abab", "aba", "ba", 0, false, ""},
      {"right marker before the left one", ".jpg mmexport1.jpg", "mmexport",
       ".jpg", 0, false, "1"},
      {"two-byte left marker",
       "\xD5\xD5"
       "1\xC6\xAC",
       "\xD5\xD5", "\xC6\xAC", 0, false, "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(textBetween(c.t, c.left, c.right, c.start, c.ignoreCase),
              c.expected);
  }
}

TEST(TextBetween, CaseOptionAloneLeavesTheStartOut) {
  EXPECT_EQ(textBetween("D:\\MMEXPORT15.JPG", "mmexport", ".jpg", true), "15");
  EXPECT_EQ(textBetween("D:\\MMEXPORT15.JPG", "mmexport", ".jpg", false), "");
}

// "#引号" in either marker stands for a double quote; the searched text is
// never rewritten.
TEST(TextBetween, QuoteMarkerStandsForADoubleQuote) {
  struct Case {
    const char* what;
    Text t;
    Text left;
    Text right;
    Text expected;
  };
  const Text quote = kQuoteMarker;
  const Case cases[] = {
      {"both markers", "a\"b\"c", quote, quote, "b"},
      {"inside longer markers", "<id=\"42\">", "id=" + quote, quote + ">",
       "42"},
      {"more than one in a marker", "x\"\"y\"\"", quote + quote, quote + quote,
       "y"},
      {"five bytes in the text are not a quote",
       "#\xD2\xFD\xBA\xC5"
       "x\"",
       quote, "\"", ""},
      {"hash without the rest stays a hash", "#1#", "#", "#", "1"},
      {"hash before other GBK bytes",
       "#\xD2\xFD"
       "1#\xD2\xFD",
       "#\xD2\xFD", "#\xD2\xFD", "1"},
      // The scan reads 0xB0 0x23 as one character, so the '#' is not the
      // start of a quote marker and the marker keeps its bytes.
      {"hash as a second byte",
       "\xB0#\xD2\xFD\xBA\xC5"
       "1\"",
       "\xB0" + quote, "\"", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(textBetween(c.t, c.left, c.right), c.expected);
  }
}

}  // namespace
}  // namespace velkaro
