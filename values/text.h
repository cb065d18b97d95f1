// Text values and the operations on them.
//
// A Text is a string of bytes in the system's ANSI code page (GBK on a
// Chinese system) and never holds a zero byte. Lengths and positions count
// bytes; positions are 1-based. The empty text is the one value for "no
// text". Every operation takes its arguments by value semantics and returns
// a new value; none of them fails: an argument out of range gives the empty
// text, the position -1 or the number 0.
//
// The scanning operations (findText, replaceText, splitText, toUpperText and
// the clean-up of textToInt) read a text as characters: a byte below 0x80 is
// a character of its own, a byte of 0x80 or above begins a two-byte
// character together with the byte after it, whatever that byte is. A match
// begins only where a character begins. The cutting operations (leftText,
// rightText, midText) and charCode count bytes only.
//
// Numbers are signed 32-bit integers throughout.

#ifndef VELKARO_VALUES_TEXT_H_
#define VELKARO_VALUES_TEXT_H_

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

using Text = std::string;
using TextList = std::vector<Text>;

// The number of bytes of t.
//   textLength("") == 0; textLength("\xD5\xD5\xC6\xAC") == 4
int textLength(const Text& t);

// The first n bytes of t; the empty text when n <= 0, t itself when n is at
// least its length.   leftText("abc", 2) == "ab"; leftText("abc", -1) == ""
Text leftText(const Text& t, int n);

// The last n bytes of t; the empty text when n <= 0, t itself when n is at
// least its length.   rightText("D:\\pics", 1) == "s"
Text rightText(const Text& t, int n);

// n bytes of t from position start, or up to the end when fewer remain; the
// empty text when start < 1, start > textLength(t) or n <= 0.
//   midText("abcde", 3, 100) == "cde"; midText("abcde", 0, 2) == ""
//   midText(t, 2, 2147483647) is the rest of t from byte 2 (no overflow).
Text midText(const Text& t, int start, int n);

// The byte at position (1 by default) as a signed number, -128 to 127; 0 for
// the empty text and for every position outside 1..textLength(t).
//   charCode("\xB0") == -80; charCode("A", 2) == 0
int charCode(const Text& t);
int charCode(const Text& t, int position);

// The position of the first occurrence of needle at or after start, counted
// from byte 1 of t, or -1. A start of 1 or less (or left out) scans from byte
// 1; a start beyond the end gives an empty window. An empty needle gives 1
// when the window holds a byte and -1 otherwise. With ignoreCase the ASCII
// letters also match their other case; all other bytes must be equal.
//   findText("mmexport1543712345678.jpg", ".jpg") == 22
//   findText("\xD2" "A", "A") == -1; findText("\xD2" "A", "A", 2) == 2
//   findText("aaa", "aa") == 1
int findText(const Text& t, const Text& needle, int start = 0,
             bool ignoreCase = false);
int findText(const Text& t, const Text& needle, bool ignoreCase);

// t with every occurrence of old replaced, scanning from byte 1; replaced
// bytes and the replacement are never scanned again. t unchanged when t or
// old is empty.
//   replaceText("20181202 102328", " ", "") == "20181202102328"
//   replaceText("aaa", "aa", "b") == "ba"
Text replaceText(const Text& t, const Text& old, const Text& replacement);

// The pieces of t between occurrences of delimiter. The empty text gives the
// empty list; an empty delimiter gives {t}; a delimiter at the start gives an
// empty first item; one at the end gives no empty last item.
//   splitText("a  b", " ") == {"a", "", "b"}; splitText(" ", " ") == {""}
TextList splitText(const Text& t, const Text& delimiter);

// t with the one-byte letters a to z made A to Z; two-byte characters are
// left as they are, both bytes.   toUpperText("ab1\xB0" "a") == "AB1\xB0" "a"
Text toUpperText(const Text& t);

// The decimal number at the start of t, after GBK full-width forms are made
// ASCII (full-width digits and signs, the ideographic space), leading white
// space is skipped and one sign read. Digits are read modulo 2^32 and the
// result is that bit pattern as a signed number; no digit gives 0.
//   textToInt("1543712345678") == 1819086414; textToInt("  -12abc") == -12
//   textToInt("2147483648") == -2147483648; textToInt("- 5") == 0
int textToInt(const Text& t);

// n in decimal, a minus sign before a negative number.
//   intToText(-2147483648) == "-2147483648"; intToText(7) == "7"
Text intToText(int n);

// n spaces; the empty text when n <= 0.   blankText(4) == "    "
Text blankText(int n);

// -1, 0 or 1 as a is smaller than, equal to or greater than b, comparing
// bytes as unsigned values; a proper prefix is the smaller.
//   compareText("ab", "abc") == -1; compareText("\xB0", "A") == 1
int compareText(const Text& a, const Text& b);

// The texts joined in the order given.
//   concatText("D:\\pics", "\\mmexport", "20181202102328", ".jpg")
Text concatText(std::initializer_list<std::string_view> parts);
template <typename... Parts>
Text concatText(const Parts&... parts) {
  return concatText({std::string_view(parts)...});
}

// The text that a platform call left in an output buffer made by blankText:
// the bytes before the first zero byte, or the whole buffer when it holds
// none.
Text bufferText(const Text& buffer);

// List operations. Items are numbered from 1 to itemCount(list) and are
// copied in and out as values.

// The number of items; 0 for the empty list.
int itemCount(const TextList& list);
// The text at position i; the empty text for a position outside
// 1..itemCount(list).
Text itemAt(const TextList& list, int i);
// The item at position i becomes t; nothing happens for a position outside
// 1..itemCount(list).
void setItemAt(TextList& list, int i, const Text& t);
// t becomes the new last item.
void appendItem(TextList& list, const Text& t);
void appendItem(TextList& list, Text&& t);
// Every item is removed.
void clearList(TextList& list);

}  // namespace velkaro

#endif  // VELKARO_VALUES_TEXT_H_
