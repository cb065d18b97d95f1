#include "values/text.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

namespace velkaro {

namespace {

// A byte of 0x80 or above begins a two-byte character.
inline bool isLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// The number of bytes of the character that begins at t[i]: 2 for a lead
// byte, 1 otherwise. It may step one byte past the end of t when a lead byte
// stands last; the scans test the remaining length before they read.
inline std::size_t charWidth(const char* t, std::size_t i) {
  return isLeadByte(t[i]) ? 2 : 1;
}

inline unsigned char foldAsciiCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 0x20) : c;
}

// Whether needle (n bytes, n >= 1) stands at data[at]; the caller has checked
// that n bytes remain there. Without ignoreCase the bytes must be equal. With
// it the ASCII letters of the needle's one-byte characters also match their
// other case; lead bytes and second bytes must be equal. A match starts on a
// character boundary of the text and equal lead bytes keep the two in step,
// so the needle's own characters tell which bytes are second bytes.
bool matchesAt(const char* data, std::size_t at, const char* needle,
               std::size_t n, bool ignoreCase) {
  if (!ignoreCase) {
    return data[at] == needle[0] && std::memcmp(data + at, needle, n) == 0;
  }
  std::size_t k = 0;
  while (k < n) {
    const unsigned char a = static_cast<unsigned char>(data[at + k]);
    const unsigned char b = static_cast<unsigned char>(needle[k]);
    if (b >= 0x80) {
      if (a != b) return false;
      if (k + 1 < n && data[at + k + 1] != needle[k + 1]) return false;
      k += 2;
    } else {
      if (foldAsciiCase(a) != foldAsciiCase(b)) return false;
      k += 1;
    }
  }
  return true;
}

// The 0-based offset of the first occurrence of needle (non-empty) in t that
// begins on a character boundary, scanning characters from offset from; or
// npos. Never reads past the end of t.
std::size_t scanFor(const Text& t, std::size_t from, const Text& needle,
                    bool ignoreCase) {
  const char* data = t.data();
  const std::size_t len = t.size();
  const std::size_t n = needle.size();
  std::size_t c = from;
  // c never exceeds len + 1, so c + n cannot wrap.
  while (c + n <= len) {
    if (matchesAt(data, c, needle.data(), n, ignoreCase)) return c;
    c += charWidth(data, c);
  }
  return Text::npos;
}

// A size as a 32-bit count; texts and lists beyond 2^31 - 1 are not made
// by this system, and a count never wraps negative.
inline int clampToInt(std::size_t n) {
  return n > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

}  // namespace

int textLength(const Text& t) { return clampToInt(t.size()); }

Text leftText(const Text& t, int n) {
  if (n <= 0) return Text();
  if (static_cast<std::size_t>(n) >= t.size()) return t;
  return t.substr(0, static_cast<std::size_t>(n));
}

Text rightText(const Text& t, int n) {
  if (n <= 0) return Text();
  if (static_cast<std::size_t>(n) >= t.size()) return t;
  return t.substr(t.size() - static_cast<std::size_t>(n));
}

Text midText(const Text& t, int start, int n) {
  if (start < 1 || n <= 0) return Text();
  const std::size_t from = static_cast<std::size_t>(start) - 1;
  if (from >= t.size()) return Text();
  // substr stops at the end of t whatever n says; no sum is formed.
  return t.substr(from, static_cast<std::size_t>(n));
}

int charCode(const Text& t) { return charCode(t, 1); }

int charCode(const Text& t, int position) {
  if (position < 1 || static_cast<std::size_t>(position) > t.size()) return 0;
  return static_cast<signed char>(t[static_cast<std::size_t>(position) - 1]);
}

int findText(const Text& t, const Text& needle, int start, bool ignoreCase) {
  const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (from >= t.size()) return -1;  // the window is empty
  if (needle.empty()) return 1;
  const std::size_t at = scanFor(t, from, needle, ignoreCase);
  return at == Text::npos ? -1 : clampToInt(at + 1);
}

int findText(const Text& t, const Text& needle, bool ignoreCase) {
  return findText(t, needle, 0, ignoreCase);
}

Text replaceText(const Text& t, const Text& old, const Text& replacement) {
  if (t.empty() || old.empty()) return t;
  std::size_t at = scanFor(t, 0, old, false);
  if (at == Text::npos) return t;

  Text out;
  out.reserve(t.size() - old.size() + replacement.size());
  std::size_t piece = 0;  // the first byte not yet copied
  while (at != Text::npos) {
    out.append(t, piece, at - piece);
    out.append(replacement);
    piece = at + old.size();
    at = scanFor(t, piece, old, false);
  }
  out.append(t, piece, Text::npos);
  return out;
}

TextList splitText(const Text& t, const Text& delimiter) {
  TextList items;
  if (t.empty()) return items;
  if (delimiter.empty()) {
    items.push_back(t);
    return items;
  }
  std::size_t piece = 0;
  std::size_t at = scanFor(t, 0, delimiter, false);
  while (at != Text::npos) {
    items.emplace_back(t, piece, at - piece);
    piece = at + delimiter.size();
    at = scanFor(t, piece, delimiter, false);
  }
  if (piece < t.size()) items.emplace_back(t, piece, Text::npos);
  return items;
}

Text toUpperText(const Text& t) {
  Text out(t);
  const std::size_t len = out.size();
  std::size_t i = 0;
  while (i < len) {
    const unsigned char c = static_cast<unsigned char>(out[i]);
    if (c >= 0x80) {
      i += 2;  // both bytes stay; a lone last lead byte stays too
    } else {
      if (c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 0x20);
      i += 1;
    }
  }
  return out;
}

namespace {

// Reads t character by character as the clean-up of textToInt leaves it:
// the GBK full-width forms of printable ASCII, the ideographic space, the
// wave dash and the two asterisk-like marks become one ASCII byte; any other
// two-byte character is handed on by its lead byte alone (which no reader
// step accepts, so its second byte never matters); a lone last lead byte is
// dropped. Next() gives -1 at the end.
class CleanedBytes {
 public:
  explicit CleanedBytes(const Text& t) : data_(t.data()), len_(t.size()) {}

  int Peek() {
    if (!has_) {
      current_ = Read();
      has_ = true;
    }
    return current_;
  }
  void Skip() { has_ = false; }

 private:
  int Read() {
    if (pos_ >= len_) return -1;
    const unsigned char lead = static_cast<unsigned char>(data_[pos_]);
    if (lead < 0x80) {
      pos_ += 1;
      return lead;
    }
    if (pos_ + 1 >= len_) {  // a lead byte without its second byte
      pos_ = len_;
      return -1;
    }
    const unsigned char second = static_cast<unsigned char>(data_[pos_ + 1]);
    pos_ += 2;
    if (lead == 0xA3 && second >= 0xA1 && second <= 0xFE) return second - 0x80;
    if (lead == 0xA1) {
      if (second == 0xA1) return ' ';
      if (second == 0xAB) return '~';
      if (second == 0xEE || second == 0xEF) return '*';
    }
    return lead;
  }

  const char* data_;
  std::size_t len_;
  std::size_t pos_ = 0;
  int current_ = -1;
  bool has_ = false;
};

inline bool isSpaceByte(int c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

}  // namespace

int textToInt(const Text& t) {
  CleanedBytes in(t);
  while (isSpaceByte(in.Peek())) in.Skip();
  bool negative = false;
  if (in.Peek() == '+' || in.Peek() == '-') {
    negative = in.Peek() == '-';
    in.Skip();
  }
  std::uint32_t value = 0;  // every step is modulo 2^32
  for (int c = in.Peek(); c >= '0' && c <= '9'; c = in.Peek()) {
    value = value * 10u + static_cast<std::uint32_t>(c - '0');
    in.Skip();
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);  // the bit pattern, signed
}

Text intToText(int n) { return std::to_string(n); }

Text blankText(int n) {
  if (n <= 0) return Text();
  return Text(static_cast<std::size_t>(n), ' ');
}

int compareText(const Text& a, const Text& b) {
  // std::char_traits<char> compares as unsigned char.
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

Text concatText(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (std::string_view p : parts) total += p.size();
  Text out;
  out.reserve(total);
  for (std::string_view p : parts) out.append(p);
  return out;
}

Text bufferText(const Text& buffer) {
  const std::size_t end = buffer.find('\0');
  if (end == Text::npos) return buffer;
  return buffer.substr(0, end);
}

int itemCount(const TextList& list) { return clampToInt(list.size()); }

Text itemAt(const TextList& list, int i) {
  if (i < 1 || static_cast<std::size_t>(i) > list.size()) return Text();
  return list[static_cast<std::size_t>(i) - 1];
}

void setItemAt(TextList& list, int i, const Text& t) {
  if (i < 1 || static_cast<std::size_t>(i) > list.size()) return;
  list[static_cast<std::size_t>(i) - 1] = t;
}

void appendItem(TextList& list, const Text& t) { list.push_back(t); }

void appendItem(TextList& list, Text&& t) { list.push_back(std::move(t)); }

void clearList(TextList& list) { list.clear(); }

}  // namespace velkaro
