#include "app/gbk_text.h"

#include <gtest/gtest.h>

#include "app/main_window.h"

namespace velkaro {
namespace {

struct GbkCase {
  const char* gbk;
  const char16_t* shown;
};

// The window's literals, and what surrounds them in a text.
constexpr GbkCase kLiterals[] = {
    {kRestoreCaption, u"\u8FD8\u539F"},            // 还原
    {kChooserTitle, u"\u9009\u62E9\u76EE\u5F55"},  // 选择目录
    {"D:\\"
     "\xBB\xB9\xD4\xAD"
     "1",
     u"D:\\\u8FD8\u539F"
     "1"},  // D:\还原1
    {"Velkaro", u"Velkaro"},
    {"", u""},
};

TEST(GbkTextTest, LiteralsShowAsTheirCharacters) {
  for (const GbkCase& c : kLiterals) {
    SCOPED_TRACE(c.gbk);
    EXPECT_EQ(gbkToQString(c.gbk), QString::fromUtf16(c.shown));
    EXPECT_EQ(gbkToQStringByTable(c.gbk), QString::fromUtf16(c.shown));
  }
}

TEST(GbkTextTest, TableGivesReplacementForWhatItCannotRead) {
  // A pair the table does not hold, and a lead byte with nothing after it:
  // one U+FFFD each, the other characters kept.
  EXPECT_EQ(gbkToQStringByTable("a\xB0\xA1z"), QString::fromUtf16(u"a\uFFFDz"));
  EXPECT_EQ(gbkToQStringByTable("ab\xBB"), QString::fromUtf16(u"ab\uFFFD"));
  // The second byte of a pair is never read as a character of its own.
  EXPECT_EQ(gbkToQStringByTable("\xBB\x5C"), QString::fromUtf16(u"\uFFFD"));
}

}  // namespace
}  // namespace velkaro
