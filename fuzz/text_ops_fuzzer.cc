// The text operations driven by bytes that pick an operation and its
// arguments, positions and counts anywhere in the signed 32-bit range. Each
// result is checked against a plain re-reading of the operation's contract
// written here byte by byte.

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "values/text.h"

namespace velkaro {
namespace {

bool isLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Bytes of the character that begins at t[i] (a lead byte last in t is one).
std::size_t widthAt(const Text& t, std::size_t i) {
  return isLead(t[i]) && i + 1 < t.size() ? 2 : 1;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// Whether needle stands at t[at] (the caller checked that it fits). With
// ignoreCase the needle's one-byte characters match either case; the bytes
// of its two-byte characters must be equal.
bool standsAt(const Text& t, std::size_t at, const Text& needle,
              bool ignoreCase) {
  std::size_t k = 0;
  while (k < needle.size()) {
    if (isLead(needle[k]) || !ignoreCase) {
      const std::size_t w = ignoreCase ? widthAt(needle, k) : 1;
      for (std::size_t j = 0; j < w; ++j) {
        if (t[at + k + j] != needle[k + j]) {
          return false;
        }
      }
      k += w;
    } else {
      if (lowerAscii(t[at + k]) != lowerAscii(needle[k])) {
        return false;
      }
      ++k;
    }
  }
  return true;
}

// The first 0-based offset at or after from, walking characters from there,
// at which needle (not empty) stands; npos when none.
std::size_t firstMatch(const Text& t, std::size_t from, const Text& needle,
                       bool ignoreCase) {
  std::size_t i = from;
  while (i < t.size()) {
    if (t.size() - i >= needle.size() && standsAt(t, i, needle, ignoreCase)) {
      return i;
    }
    i += widthAt(t, i);
  }
  return std::string::npos;
}

int expectedFind(const Text& t, const Text& needle, int start,
                 bool ignoreCase) {
  const int64_t from = start <= 1 ? 0 : static_cast<int64_t>(start) - 1;
  if (from >= static_cast<int64_t>(t.size())) {
    return -1;
  }
  if (needle.empty()) {
    return 1;
  }
  const std::size_t at =
      firstMatch(t, static_cast<std::size_t>(from), needle, ignoreCase);
  return at == std::string::npos ? -1 : static_cast<int>(at) + 1;
}

Text expectedReplace(const Text& t, const Text& old, const Text& replacement) {
  if (t.empty() || old.empty()) {
    return t;
  }
  Text out;
  std::size_t piece = 0;
  for (std::size_t at = firstMatch(t, 0, old, false); at != std::string::npos;
       at = firstMatch(t, piece, old, false)) {
    out += t.substr(piece, at - piece) + replacement;
    piece = at + old.size();
  }
  return out + t.substr(std::min(piece, t.size()));
}

TextList expectedSplit(const Text& t, const Text& delimiter) {
  if (t.empty()) {
    return {};
  }
  if (delimiter.empty()) {
    return {t};
  }
  TextList items;
  std::size_t piece = 0;
  for (std::size_t at = firstMatch(t, 0, delimiter, false);
       at != std::string::npos; at = firstMatch(t, piece, delimiter, false)) {
    items.push_back(t.substr(piece, at - piece));
    piece = at + delimiter.size();
  }
  if (piece < t.size()) {
    items.push_back(t.substr(piece));
  }
  return items;
}

Text expectedUpper(const Text& t) {
  Text out = t;
  for (std::size_t i = 0; i < out.size(); i += widthAt(out, i)) {
    if (out[i] >= 'a' && out[i] <= 'z') {
      out[i] = static_cast<char>(out[i] - ('a' - 'A'));
    }
  }
  return out;
}

// textToInt read in two steps: the GBK full-width digits, signs and the
// ideographic space made ASCII (any other two-byte character stops the
// number), then C's reading of a number, modulo 2^32.
int expectedInt(const Text& t) {
  std::string ascii;
  for (std::size_t i = 0; i < t.size();) {
    const unsigned char c = static_cast<unsigned char>(t[i]);
    if (c < 0x80) {
      ascii += t[i++];
      continue;
    }
    if (i + 1 >= t.size()) {
      break;  // a lone lead byte at the end
    }
    const unsigned char second = static_cast<unsigned char>(t[i + 1]);
    if (c == 0xA3 && second >= 0xA1 && second <= 0xFE) {
      ascii += static_cast<char>(second - 0x80);
    } else if (c == 0xA1 && second == 0xA1) {
      ascii += ' ';
    } else {
      ascii += '\x80';  // no part of a number
    }
    i += 2;
  }
  std::size_t i = 0;
  while (i < ascii.size() &&
         (ascii[i] == ' ' || (ascii[i] >= '\t' && ascii[i] <= '\r'))) {
    ++i;
  }
  bool negative = false;
  if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) {
    negative = ascii[i++] == '-';
  }
  uint32_t value = 0;
  for (; i < ascii.size() && ascii[i] >= '0' && ascii[i] <= '9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(ascii[i] - '0');
  }
  return static_cast<int32_t>(negative ? 0u - value : value);
}

// The bytes of t from the 1-based position start, at most n of them, or
// the empty text: the cutting operations' common rule.
Text expectedCut(const Text& t, int64_t start, int64_t n) {
  const int64_t length = static_cast<int64_t>(t.size());
  if (start < 1 || start > length || n <= 0) {
    return Text();
  }
  return t.substr(static_cast<std::size_t>(start - 1),
                  static_cast<std::size_t>(std::min(n, length - start + 1)));
}

std::string describe(const char* op, const Text& a, const Text& b = Text(),
                     int64_t n = 0) {
  return std::string(op) + "(" + escaped(a) + ", " + escaped(b) + ", " +
         std::to_string(n) + ")";
}

void runOne(FuzzedDataProvider& in, TextList& list) {
  const Text t = takeText(in);
  const int length = textLength(t);
  FUZZ_CHECK(length == static_cast<int>(t.size()), describe("length", t));
  switch (in.ConsumeIntegralInRange<int>(0, 15)) {
    case 0: {
      const int n = takePosition(in, length);
      const Text got = leftText(t, n);
      FUZZ_CHECK(got == expectedCut(t, 1, n), describe("leftText", t, got, n));
      break;
    }
    case 1: {
      const int n = takePosition(in, length);
      const Text got = rightText(t, n);
      const int64_t keep = std::min<int64_t>(n, length);
      FUZZ_CHECK(got == expectedCut(t, length - keep + 1, keep),
                 describe("rightText", t, got, n));
      break;
    }
    case 2: {
      const int start = takePosition(in, length);
      const int n = takePosition(in, length);
      const Text got = midText(t, start, n);
      FUZZ_CHECK(got.size() <= t.size(), describe("midText", t, got, start));
      FUZZ_CHECK(
          got == expectedCut(t, start, n),
          describe("midText", t, got, start) + " n " + std::to_string(n));
      break;
    }
    case 3: {
      const int position = takePosition(in, length);
      const int got = charCode(t, position);
      const int expected = position >= 1 && position <= length
                               ? static_cast<signed char>(
                                     t[static_cast<std::size_t>(position) - 1])
                               : 0;
      FUZZ_CHECK(got == expected && got >= -128 && got <= 127,
                 describe("charCode", t, "", position));
      FUZZ_CHECK(charCode(t) == charCode(t, 1), describe("charCode", t));
      break;
    }
    case 4: {
      const Text needle = takeText(in, 8);
      const int start = takePosition(in, length);
      const bool ignoreCase = in.ConsumeBool();
      const int got = findText(t, needle, start, ignoreCase);
      FUZZ_CHECK(got == -1 || (got >= 1 && got <= std::max(length, 1)),
                 describe("findText", t, needle, start));
      FUZZ_CHECK(got == expectedFind(t, needle, start, ignoreCase),
                 describe("findText", t, needle, start) + " gave " +
                     std::to_string(got) +
                     (ignoreCase ? " ignoring case" : ""));
      FUZZ_CHECK(
          findText(t, needle, ignoreCase) == findText(t, needle, 0, ignoreCase),
          describe("findText", t, needle));
      break;
    }
    case 5: {
      const Text old = takeText(in, 8);
      const Text replacement = takeText(in, 8);
      const Text got = replaceText(t, old, replacement);
      if (replacement.size() <= old.size()) {
        FUZZ_CHECK(got.size() <= t.size(), describe("replaceText", t, old));
      }
      FUZZ_CHECK(got == expectedReplace(t, old, replacement),
                 describe("replaceText", t, old) + " by " +
                     escaped(replacement) + " gave " + escaped(got));
      break;
    }
    case 6: {
      const Text delimiter = takeText(in, 8);
      const TextList got = splitText(t, delimiter);
      FUZZ_CHECK(got == expectedSplit(t, delimiter),
                 describe("splitText", t, delimiter));
      std::size_t bytes = 0;
      for (const Text& item : got) {
        bytes += item.size();
      }
      FUZZ_CHECK(bytes <= t.size() && got.size() <= t.size() + 1,
                 describe("splitText", t, delimiter));
      break;
    }
    case 7: {
      const Text got = toUpperText(t);
      FUZZ_CHECK(got == expectedUpper(t), describe("toUpperText", t, got));
      break;
    }
    case 8: {
      const int got = textToInt(t);
      FUZZ_CHECK(got == expectedInt(t), describe("textToInt", t, "", got));
      const int n = takePosition(in, length);
      const Text written = intToText(n);
      FUZZ_CHECK(written.size() <= 11 && textToInt(written) == n,
                 describe("intToText", written, "", n));
      break;
    }
    case 9: {
      // A count above this would only allocate; the check is the same.
      const int n = takePosition(in, length);
      if (n <= 1 << 16) {
        const Text got = blankText(n);
        FUZZ_CHECK(got == std::string(n > 0 ? n : 0, ' '),
                   describe("blankText", got, "", n));
      }
      break;
    }
    case 10: {
      const Text other = takeText(in, 8);
      const int got = compareText(t, other);
      const int expected = std::lexicographical_compare(
                               t.begin(), t.end(), other.begin(), other.end(),
                               [](char a, char b) {
                                 return static_cast<unsigned char>(a) <
                                        static_cast<unsigned char>(b);
                               })
                               ? -1
                               : (t == other ? 0 : 1);
      FUZZ_CHECK(got == expected && compareText(other, t) == -expected,
                 describe("compareText", t, other, got));
      break;
    }
    case 11: {
      const Text b = takeText(in, 8);
      const Text c = takeText(in, 8);
      const Text got = concatText(t, b, c);
      FUZZ_CHECK(got == t + b + c, describe("concatText", t, b));
      break;
    }
    case 12: {
      // A platform's buffer may hold zero bytes: take the raw ones.
      const std::string buffer = in.ConsumeRandomLengthString(16) + t;
      const Text got = bufferText(buffer);
      FUZZ_CHECK(got == buffer.substr(0, buffer.find('\0')),
                 describe("bufferText", buffer, got));
      break;
    }
    case 13: {
      appendItem(list, t);
      if (in.ConsumeBool()) {
        Text moved = t;
        appendItem(list, std::move(moved));
      }
      break;
    }
    case 14: {
      const int count = itemCount(list);
      FUZZ_CHECK(count == static_cast<int>(list.size()),
                 describe("itemCount", "", "", count));
      const int i = takePosition(in, count);
      const bool inside = i >= 1 && i <= count;
      const Text got = itemAt(list, i);
      FUZZ_CHECK(got == (inside ? list[static_cast<std::size_t>(i) - 1] : ""),
                 describe("itemAt", got, "", i));
      const TextList before = list;
      setItemAt(list, i, t);
      TextList expected = before;
      if (inside) {
        expected[static_cast<std::size_t>(i) - 1] = t;
      }
      FUZZ_CHECK(list == expected, describe("setItemAt", t, "", i));
      break;
    }
    default: {
      if (in.ConsumeBool()) {
        clearList(list);
        FUZZ_CHECK(list.empty() && itemCount(list) == 0,
                   describe("clearList", ""));
      }
      break;
    }
  }
}

}  // namespace
}  // namespace velkaro

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  velkaro::TextList list;
  while (in.remaining_bytes() > 0) {
    velkaro::runOne(in, list);
  }
  return 0;
}
