#include "values/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace velkaro {
namespace {

// Two GBK characters: the folder name "照片".
constexpr char kTwoChars[] = "\xD5\xD5\xC6\xAC";

TEST(TextLength, CountsBytesNotCharacters) {
  EXPECT_EQ(textLength(""), 0);
  EXPECT_EQ(textLength(Text()), 0);
  EXPECT_EQ(textLength(kTwoChars), 4);
}

struct CutCase {
  const char* what;
  int start;  // midText only
  int n;
  const char* mid;
  const char* left;
  const char* right;
};

// Cuts of "abcde" with extreme and ordinary arguments. For the left and right
// cuts only n matters.
TEST(Cutting, StaysInsideTheTextWhateverTheArguments) {
  const Text t = "abcde";
  const CutCase cases[] = {
      {"middle", 2, 3, "bcd", "abc", "cde"},
      {"n runs past the end", 3, 100, "cde", "abcde", "abcde"},
      {"n is INT_MAX", 2, INT_MAX, "bcde", "abcde", "abcde"},
      {"start and n INT_MAX", INT_MAX, INT_MAX, "", "abcde", "abcde"},
      {"last byte", 5, 1, "e", "a", "e"},
      {"start one past the end", 6, 1, "", "a", "e"},
      {"start 0", 0, 2, "", "ab", "de"},
      {"start INT_MIN", INT_MIN, INT_MAX, "", "abcde", "abcde"},
      {"n equals the length", 1, 5, "abcde", "abcde", "abcde"},
      {"n 0", 1, 0, "", "", ""},
      {"n negative", 1, -1, "", "", ""},
      {"n INT_MIN", 1, INT_MIN, "", "", ""},
  };
  for (const CutCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(midText(t, c.start, c.n), c.mid);
    EXPECT_EQ(leftText(t, c.n), c.left);
    EXPECT_EQ(rightText(t, c.n), c.right);
  }
  EXPECT_EQ(midText("", 1, 1), "");
  EXPECT_EQ(leftText("", INT_MAX), "");
  EXPECT_EQ(rightText("", INT_MAX), "");
}

// The cutting operations count bytes and may halve a two-byte character; the
// byte left alone is still handled by the operations that read characters.
TEST(Cutting, MayDivideATwoByteCharacter) {
  const Text first = leftText(kTwoChars, 1);
  EXPECT_EQ(first, "\xD5");
  EXPECT_EQ(toUpperText(first), "\xD5");
  EXPECT_LT(charCode(first, 1), 0);
  EXPECT_EQ(rightText(kTwoChars, 1), "\xAC");
  EXPECT_EQ(midText(kTwoChars, 2, 2), "\xD5\xC6");
}

TEST(CharCode, GivesSignedBytesAndZeroOutsideTheText) {
  struct Case {
    Text t;
    std::optional<int> position;
    int expected;
  };
  const Case cases[] = {
      {"\xB0"
       "A",
       std::nullopt, -80},
      {"\xB0"
       "A",
       1, -80},
      {"\xB0"
       "A",
       2, 65},
      {"\xFF", 1, -1},
      {"\x80", 1, -128},
      {"\x7F", 1, 127},
      {"A", 0, 0},
      {"A", 2, 0},
      {"A", -1, 0},
      {"A", INT_MIN, 0},
      {"A", INT_MAX, 0},
      {"", std::nullopt, 0},
      {"", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "position " << c.position.value_or(-999));
    const int got = c.position ? charCode(c.t, *c.position) : charCode(c.t);
    EXPECT_EQ(got, c.expected);
  }
}

struct FindCase {
  const char* what;
  Text t;
  Text needle;
  std::optional<int> start;  // nullopt: left out
  bool ignoreCase;
  int expected;
};

TEST(FindText, FollowsTheWindowCaseAndCharacterRules) {
  const Text name = "mmexport1543712345678.jpg";
  const FindCase cases[] = {
      {"extension", name, ".jpg", std::nullopt, false, 22},
      {"upper extension, case kept", "mmexport1.JPG", ".jpg", std::nullopt,
       false, -1},
      {"upper extension, case ignored", "mmexport1543712345678.JPG", ".jpg",
       std::nullopt, true, 22},
      {"upper needle, case ignored", name, ".JpG", 0, true, 22},
      {"start 0", name, "m", 0, false, 1},
      {"start 1", name, "m", 1, false, 1},
      {"start left out", name, "m", std::nullopt, false, 1},
      {"start negative", name, "m", -5, false, 1},
      {"start INT_MIN", name, "m", INT_MIN, false, 1},
      {"position counts from byte 1", name, "m", 2, false, 2},
      {"occurrence before start not seen", name, "mm", 2, false, -1},
      {"start at the last byte", name, "g", 25, false, 25},
      {"start one past the end", name, "g", 26, false, -1},
      {"start INT_MAX", name, "g", INT_MAX, false, -1},
      {"overlapping occurrences", "aaa", "aa", std::nullopt, false, 1},
      {"needle longer than text", "ab", "abc", std::nullopt, false, -1},
      {"needle is the text", "abc", "abc", std::nullopt, false, 1},
      {"empty text", "", "a", std::nullopt, false, -1},

      // An empty needle is found at 1 while the window holds a byte.
      {"empty needle", "abc", "", std::nullopt, false, 1},
      {"empty needle, later start", "abc", "", 3, false, 1},
      {"empty needle, start past the end", "abc", "", 4, false, -1},
      {"empty needle, start INT_MAX", "abc", "", INT_MAX, false, -1},
      {"empty needle in empty text", "", "", std::nullopt, false, -1},

      // 0xD2 0x41 is one GBK character whose second byte is the letter A.
      {"second byte that looks like A",
       "\xD2"
       "A",
       "A", std::nullopt, false, -1},
      {"start on the second byte",
       "\xD2"
       "A",
       "A", 2, false, 2},
      {"after the two-byte character",
       "\xD2"
       "AA",
       "A", std::nullopt, false, 3},
      {"second byte, case ignored",
       "\xD2"
       "a",
       "A", std::nullopt, true, -1},
      {"two-byte needle",
       "x\xD2"
       "A",
       "\xD2"
       "A",
       std::nullopt, false, 2},
      {"second bytes compare exactly when case is ignored",
       "\xB0"
       "A",
       "\xB0"
       "a",
       std::nullopt, true, -1},
      {"lead byte swallows the marker's first m", "\\\xE9mmexport1.jpg",
       "mmexport", std::nullopt, false, -1},
      {"lead byte swallows the dot", "mmexport1\xE9.jpg", ".jpg", std::nullopt,
       false, -1},
      {"after Chinese folder name", "D:\\\xD5\xD5\xC6\xAC\\mmexport1.jpg",
       "mmexport", std::nullopt, false, 9},
      {"lone lead byte at the end", "ab\xB0", "c", std::nullopt, false, -1},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.start) {
      EXPECT_EQ(findText(c.t, c.needle, *c.start, c.ignoreCase), c.expected);
    } else if (c.ignoreCase) {
      EXPECT_EQ(findText(c.t, c.needle, true), c.expected);
    } else {
      EXPECT_EQ(findText(c.t, c.needle), c.expected);
    }
  }
}

TEST(ReplaceText, ReplacesEveryOccurrenceOnCharacterBoundaries) {
  struct Case {
    const char* what;
    Text t;
    Text old;
    Text replacement;
    Text expected;
  };
  const Case cases[] = {
      {"space removed", "20181202 102328", " ", "", "20181202102328"},
      {"no rescan of replaced bytes", "aaa", "aa", "b", "ba"},
      {"replacement not scanned", "aa", "a", "aa", "aaaa"},
      {"every occurrence", "a b c d", " ", "_", "a_b_c_d"},
      {"empty old", "abc", "", "x", "abc"},
      {"empty text", "", "a", "x", ""},
      {"no match", "abc", "x", "y", "abc"},
      {"whole text", "abc", "abc", "", ""},
      {"second byte not replaced",
       "\xD2"
       "A",
       "A", "b",
       "\xD2"
       "A"},
      {"after the two-byte character",
       "\xD2"
       "AA",
       "A", "b",
       "\xD2"
       "Ab"},
      {"two-byte old",
       "1\xD2\xFD"
       "2\xD2\xFD",
       "\xD2\xFD", "-", "1-2-"},
      {"lone lead byte kept", "a\xB0", "x", "y", "a\xB0"},
      {"lone lead byte after a match", "xa\xB0", "x", "y", "ya\xB0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(replaceText(c.t, c.old, c.replacement), c.expected);
  }
}

TEST(SplitText, MakesOnePiecePerDelimiterAndNoEmptyLastPiece) {
  struct Case {
    const char* what;
    Text t;
    Text delimiter;
    TextList expected;
  };
  const Case cases[] = {
      {"six words",
       "Sun Dec 2 10:23:28 UTC+0800 2018",
       " ",
       {"Sun", "Dec", "2", "10:23:28", "UTC+0800", "2018"}},
      {"two spaces in a row", "a  b", " ", {"a", "", "b"}},
      {"three spaces in a row", "a   b", " ", {"a", "", "", "b"}},
      {"leading space", " a", " ", {"", "a"}},
      {"trailing space", "a ", " ", {"a"}},
      {"no delimiter", "abc", " ", {"abc"}},
      {"empty text", "", " ", {}},
      {"single space", " ", " ", {""}},
      {"only delimiters", "   ", " ", {"", "", ""}},
      {"empty delimiter", "a b", "", {"a b"}},
      {"longer delimiter", "1ab2ab3", "ab", {"1", "2", "3"}},
      {"space as second byte", "x\xD2 y", " ", {"x\xD2 y"}},
      {"after a two-byte character", "\xD2\xFD y", " ", {"\xD2\xFD", "y"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(splitText(c.t, c.delimiter), c.expected);
  }
}

TEST(ToUpperText, ChangesOnlyTheOneByteLetters) {
  struct Case {
    Text t;
    Text expected;
  };
  const Case cases[] = {
      {"ab1Zz9", "AB1ZZ9"},
      {"d:\\pics", "D:\\PICS"},
      {"\xB0"
       "a",
       "\xB0"
       "a"},
      {"\xB0"
       "ab",
       "\xB0"
       "aB"},
      {"a\xB0", "A\xB0"},
      {"`{@[", "`{@["},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toUpperText(c.t), c.expected) << c.t;
  }
}

TEST(TextToInt, ReadsDecimalModulo2To32AfterFullWidthCleanUp) {
  struct Case {
    const char* what;
    Text t;
    int expected;
  };
  const Case cases[] = {
      {"10 digits", "1543712345", 1543712345},
      {"13 digits wrap", "1543712345678", 1819086414},
      {"largest int", "2147483647", INT_MAX},
      {"one past the largest", "2147483648", INT_MIN},
      {"smallest int", "-2147483648", INT_MIN},
      {"2^32 - 1", "4294967295", -1},
      {"2^32", "4294967296", 0},
      {"10 nines", "9999999999", 1410065407},
      {"20 nines", "99999999999999999999", 1661992959},
      {"negated wrap", "-4294967297", -1},
      {"zeros", "0000000000", 0},
      {"letters", "abcdefghij", 0},
      {"spaces only", "    ", 0},
      {"empty", "", 0},
      {"spaces, sign, trailing letters", "  -12abc", -12},
      {"white space bytes", "\t\n\v\f\r 7", 7},
      {"plus sign", "+7", 7},
      {"space after the sign", "- 5", 0},
      {"two signs", "+-5", 0},
      {"stops at the first non-digit", "12.5", 12},
      {"full-width digits", "\xA3\xB1\xA3\xB2", 12},
      {"full-width minus",
       "\xA3\xAD"
       "5",
       -5},
      {"full-width plus", "\xA3\xAB\xA3\xB7", 7},
      {"ideographic space",
       "\xA1\xA1"
       "5",
       5},
      {"just below the full-width range",
       "\xA3\xA0"
       "5",
       0},
      {"full-width digits after ASCII ones",
       "1\xA3\xB2"
       "3",
       123},
      {"wave dash ends the number",
       "1\xA1\xAB"
       "2",
       1},
      {"asterisk mark ends the number",
       "1\xA1\xEE"
       "2",
       1},
      {"other two-byte character ends it",
       "1\xB0\xA1"
       "2",
       1},
      {"second byte that looks like a digit",
       "\xA3"
       "12",
       0},
      {"second byte that looks like a digit, after digits",
       "7\xB0"
       "12",
       7},
      {"lone lead byte at the end", "12\xA3", 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(textToInt(c.t), c.expected);
  }
}

TEST(IntToText, WritesPlainDecimal) {
  EXPECT_EQ(intToText(-5), "-5");
  EXPECT_EQ(intToText(7), "7");
  EXPECT_EQ(intToText(0), "0");
  EXPECT_EQ(intToText(2018), "2018");
  EXPECT_EQ(intToText(INT_MIN), "-2147483648");
  EXPECT_EQ(intToText(INT_MAX), "2147483647");
}

TEST(BlankText, GivesSpacesOrNothing) {
  EXPECT_EQ(blankText(0), "");
  EXPECT_EQ(blankText(-1), "");
  EXPECT_EQ(blankText(INT_MIN), "");
  EXPECT_EQ(blankText(4), "    ");
  EXPECT_EQ(blankText(50), Text(50, ' '));
}

TEST(BufferText, KeepsTheBytesBeforeTheFirstZero) {
  Text buffer = blankText(8);
  buffer[0] = '1';
  buffer[1] = '2';
  buffer[2] = '\0';
  buffer[4] = '\0';
  EXPECT_EQ(bufferText(buffer), "12");
  EXPECT_EQ(bufferText(blankText(4)), "    ");  // nothing written
  EXPECT_EQ(bufferText(Text(3, '\0')), "");
  EXPECT_EQ(bufferText(""), "");
}

TEST(CompareText, ComparesUnsignedBytes) {
  struct Case {
    Text a;
    Text b;
    int expected;
  };
  const Case cases[] = {
      {"", Text(), 0},   {"abc", "abc", 0},   {"abc", "abd", -1},
      {"abd", "abc", 1}, {"ab", "abc", -1},   {"abc", "ab", 1},
      {"", "a", -1},     {"a", "", 1},        {"\xB0", "A", 1},
      {"A", "\xB0", -1}, {"\xFF", "\x7F", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(compareText(c.a, c.b), c.expected) << c.a << " vs " << c.b;
  }
}

TEST(ConcatText, JoinsInOrder) {
  const Text folder = "D:\\pics";
  EXPECT_EQ(concatText(folder, "\\mmexport", Text("20181202102328"), ".jpg"),
            "D:\\pics\\mmexport20181202102328.jpg");
  EXPECT_EQ(concatText("", folder, Text(), ""), folder);
  EXPECT_EQ(concatText(Text(), ""), "");
  EXPECT_EQ(concatText("a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"),
            "abcdefghijk");
}

TEST(TextList, ItemsAreValuesAndOutOfRangePositionsAreQuiet) {
  TextList list;
  EXPECT_EQ(itemCount(list), 0);

  Text word = "one";
  appendItem(list, word);
  word = "changed";  // the list holds its own copy
  appendItem(list, Text("two"));
  ASSERT_EQ(itemCount(list), 2);
  EXPECT_EQ(itemAt(list, 1), "one");
  EXPECT_EQ(itemAt(list, 2), "two");

  setItemAt(list, 2, "TWO");
  EXPECT_EQ(itemAt(list, 1), "one");
  EXPECT_EQ(itemAt(list, 2), "TWO");

  for (int bad : {INT_MIN, -1, 0, 3, INT_MAX}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(itemAt(list, bad), "");
    setItemAt(list, bad, "x");
    EXPECT_EQ(list, (TextList{"one", "TWO"}));
  }

  clearList(list);
  EXPECT_EQ(itemCount(list), 0);
  EXPECT_EQ(itemAt(list, 1), "");
}

}  // namespace
}  // namespace velkaro
