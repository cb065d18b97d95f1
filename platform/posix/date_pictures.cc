#include "platform/posix/date_pictures.h"

#include <cstdint>
#include <cstring>

#include "values/date_time.h"

namespace velkaro {
namespace {

constexpr const char* kDayNames[7] = {"Sunday",    "Monday",   "Tuesday",
                                      "Wednesday", "Thursday", "Friday",
                                      "Saturday"};
constexpr const char* kDayAbbreviations[7] = {"Sun", "Mon", "Tue", "Wed",
                                              "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[12] = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kMonthAbbreviations[12] = {"Jan", "Feb", "Mar", "Apr",
                                                 "May", "Jun", "Jul", "Aug",
                                                 "Sep", "Oct", "Nov", "Dec"};

enum class PictureKind { kDate, kTime };

// The fields one picture reads, already checked.
struct Fields {
  int year = 0;
  int month = 0;
  int day = 0;
  int weekday = 0;  // 0 is Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Collects the output and remembers whether it ever grew past its limit, so
// that no part longer than the limit is ever kept.
class Output {
 public:
  Output(Text* out, std::size_t maxBytes) : out_(out), maxBytes_(maxBytes) {
    out_->clear();
  }

  bool full() const { return overflow_; }

  void append(std::string_view bytes) {
    if (overflow_) return;
    if (bytes.size() > maxBytes_ - out_->size()) {
      overflow_ = true;
      return;
    }
    out_->append(bytes);
  }

  // value in decimal with at least minDigits digits (value >= 0).
  void appendNumber(int value, int minDigits) {
    char digits[12];
    int n = 0;
    unsigned v = static_cast<unsigned>(value);
    do {
      digits[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0 && n < 10);
    while (n < minDigits && n < 10) digits[n++] = '0';
    char text[12];
    for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
    append(std::string_view(text, static_cast<std::size_t>(n)));
  }

 private:
  Text* out_;
  std::size_t maxBytes_;
  bool overflow_ = false;
};

bool isElementLetter(char c, PictureKind kind) {
  if (kind == PictureKind::kDate) {
    return c == 'd' || c == 'M' || c == 'y' || c == 'g';
  }
  return c == 'h' || c == 'H' || c == 'm' || c == 's' || c == 't';
}

int twelveHour(int hour) {
  const int h = hour % 12;
  return h == 0 ? 12 : h;
}

// Writes the element made of count letters c.
void writeElement(char c, std::size_t count, const Fields& f, bool force24,
                  Output& out) {
  const int width = count >= 2 ? 2 : 1;
  switch (c) {
    case 'd':
      if (count >= 4) {
        out.append(kDayNames[f.weekday]);
      } else if (count == 3) {
        out.append(kDayAbbreviations[f.weekday]);
      } else {
        out.appendNumber(f.day, width);
      }
      break;
    case 'M':
      if (count >= 4) {
        out.append(kMonthNames[f.month - 1]);
      } else if (count == 3) {
        out.append(kMonthAbbreviations[f.month - 1]);
      } else {
        out.appendNumber(f.month, width);
      }
      break;
    case 'y':
      if (count >= 3) {
        out.appendNumber(f.year, 4);
      } else {
        out.appendNumber(f.year % 100, width);
      }
      break;
    case 'g':
      out.append("A.D.");
      break;
    case 'h':
      out.appendNumber(force24 ? f.hour : twelveHour(f.hour), width);
      break;
    case 'H':
      out.appendNumber(f.hour, width);
      break;
    case 'm':
      out.appendNumber(f.minute, width);
      break;
    case 's':
      out.appendNumber(f.second, width);
      break;
    case 't':
      out.append(f.hour < 12 ? std::string_view("AM", width)
                             : std::string_view("PM", width));
      break;
    default:
      break;
  }
}

// The picture up to its first zero byte, as the platform reads it.
std::string_view untilZero(std::string_view picture) {
  const std::size_t zero = picture.find('\0');
  return zero == std::string_view::npos ? picture : picture.substr(0, zero);
}

// The number of bytes of the character at p[i]: 2 for a lead byte with a
// byte after it, 1 otherwise.
std::size_t charWidth(std::string_view p, std::size_t i) {
  return static_cast<unsigned char>(p[i]) >= 0x80 && i + 1 < p.size() ? 2 : 1;
}

bool formatPicture(const Fields& f, PictureKind kind, bool force24,
                   std::string_view picture, std::size_t maxBytes, Text* out) {
  const std::string_view p = untilZero(picture);
  Output o(out, maxBytes);
  std::size_t i = 0;
  while (i < p.size() && !o.full()) {
    const char c = p[i];
    if (c == '\'') {
      if (i + 1 < p.size() && p[i + 1] == '\'') {
        o.append("'");
        i += 2;
        continue;
      }
      ++i;
      while (i < p.size() && !o.full()) {
        if (p[i] == '\'') {
          if (i + 1 < p.size() && p[i + 1] == '\'') {
            o.append("'");
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        const std::size_t w = charWidth(p, i);
        o.append(p.substr(i, w));
        i += w;
      }
      continue;
    }
    if (isElementLetter(c, kind)) {
      std::size_t count = 1;
      while (i + count < p.size() && p[i + count] == c) ++count;
      writeElement(c, count, f, force24, o);
      i += count;
      continue;
    }
    const std::size_t w = charWidth(p, i);
    o.append(p.substr(i, w));
    i += w;
  }
  return !o.full();
}

}  // namespace

bool formatDatePicture(const SystemTime& time, std::string_view picture,
                       std::size_t maxBytes, Text* out) {
  if (out == nullptr) return false;
  Fields f;
  f.year = time.year;
  f.month = time.month;
  f.day = time.day;
  if (f.year < 1 || f.year > 9999 || f.month < 1 || f.month > 12 || f.day < 1 ||
      f.day > daysInMonth(f.year, f.month)) {
    return false;
  }
  // 1899-12-30, day 0, was a Saturday.
  const int64_t days = daysFromEpoch(f.year, f.month, f.day);
  f.weekday = static_cast<int>(((days + 6) % 7 + 7) % 7);
  return formatPicture(f, PictureKind::kDate, false, picture, maxBytes, out);
}

bool formatTimePicture(const SystemTime& time, bool force24Hour,
                       std::string_view picture, std::size_t maxBytes,
                       Text* out) {
  if (out == nullptr) return false;
  if (time.hour > 23 || time.minute > 59 || time.second > 59 ||
      time.milliseconds > 999) {
    return false;
  }
  Fields f;
  f.hour = time.hour;
  f.minute = time.minute;
  f.second = time.second;
  return formatPicture(f, PictureKind::kTime, force24Hour, picture, maxBytes,
                       out);
}

bool writeBufferText(std::string_view text, Text& buffer) {
  if (text.size() >= buffer.size()) return false;
  if (!text.empty()) std::memcpy(buffer.data(), text.data(), text.size());
  buffer[text.size()] = '\0';
  return true;
}

}  // namespace velkaro
