// The timestamp conversion's script route on arbitrary literals:
// - the POSIX script host's reading of a literal as a number agrees with
//   the C library's correctly rounded reading wherever the two grammars
//   meet, and the time value is that number clipped;
// - the host's date text holds local fields consistent with the instant,
//   and rearrangeScriptDate makes it a text that toDateTime reads as those
//   fields (or fails for a year outside 100 to 9999);
// - a literal that isSafeScriptLiteral lets through never changes the
//   shape of the script it is placed in, read as bytes (the POSIX host) or
//   by the two-byte character rule (the ANSI code page the Windows host
//   converts the script from), and the host runs it to the same text;
// - timestampToDateText gives the empty text for every other literal that
//   is not 10 bytes long, and a 10-byte literal its seconds after the base.
// The last input byte picks the machine's time zone.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_input.h"
#include "platform/posix/ecma_date.h"
#include "platform/script_host.h"
#include "timeconv/compact_date_time.h"
#include "timeconv/timestamp_conversion.h"
#include "values/date_time.h"
#include "values/text.h"

namespace velkaro {
namespace {

constexpr std::string_view kScriptHead =
    "function timea(){var d,s;d=new Date();d.setTime('";
constexpr std::string_view kScriptTail = "');return(d);}";

constexpr const char* kZones[] = {"UTC0",
                                  "Asia/Shanghai",
                                  "America/New_York",
                                  "Europe/Dublin",
                                  "Asia/Kathmandu",
                                  "Australia/Lord_Howe",
                                  "America/St_Johns",
                                  "Pacific/Kiritimati"};

void useZone(const char* zone) {
  static const char* current = nullptr;
  if (current != zone) {
    setenv("TZ", zone, 1);
    tzset();
    current = zone;
  }
}

bool isAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whether s (white space already trimmed) is a signed decimal number in the
// form both ECMAScript and strtod read the same way: digits with an
// optional fraction and exponent.
bool isPlainDecimal(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    ++i;
  }
  std::size_t digits = 0;
  for (; i < s.size() && isDigit(s[i]); ++i) {
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && isDigit(s[i]); ++i) {
      ++digits;
    }
  }
  if (digits == 0) {
    return false;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
      ++i;
    }
    std::size_t exponentDigits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) {
      ++exponentDigits;
    }
    if (exponentDigits == 0) {
      return false;
    }
  }
  return i == s.size();
}

// "0x..." for the integer after 0x, 0o or 0b, or the empty text when s is
// not such an integer: strtod reads hexadecimal correctly rounded.
std::string asHexadecimal(std::string_view s) {
  if (s.size() < 3 || s[0] != '0') {
    return std::string();
  }
  const char prefix = static_cast<char>(s[1] | 0x20);
  const int bits = prefix == 'x'   ? 4
                   : prefix == 'o' ? 3
                   : prefix == 'b' ? 1
                                   : 0;
  if (bits == 0) {
    return std::string();
  }
  std::string binary;
  for (const char c : s.substr(2)) {
    int v = -1;
    if (isDigit(c)) {
      v = c - '0';
    } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
      v = (c | 0x20) - 'a' + 10;
    }
    if (v < 0 || v >= (1 << bits)) {
      return std::string();
    }
    for (int b = bits - 1; b >= 0; --b) {
      binary += ((v >> b) & 1) != 0 ? '1' : '0';
    }
  }
  while (binary.size() % 4 != 0) {
    binary.insert(binary.begin(), '0');
  }
  std::string hex = "0x";
  for (std::size_t i = 0; i < binary.size(); i += 4) {
    const int v = std::stoi(binary.substr(i, 4), nullptr, 2);
    hex += "0123456789abcdef"[v];
  }
  return hex;
}

bool sameNumber(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) ||
         (a == b && std::signbit(a) == std::signbit(b));
}

void checkNumber(const Text& literal, double number) {
  std::string_view s = literal;
  while (!s.empty() && isAsciiSpace(s.front())) {
    s.remove_prefix(1);
  }
  while (!s.empty() && isAsciiSpace(s.back())) {
    s.remove_suffix(1);
  }
  std::string reference;
  if (isPlainDecimal(s)) {
    reference = std::string(s);
  } else {
    reference = asHexadecimal(s);
  }
  if (s.empty()) {
    FUZZ_CHECK(sameNumber(number, 0.0),
               "white space reads as +0: " + escaped(literal));
  } else if (!reference.empty()) {
    const double expected = std::strtod(reference.c_str(), nullptr);
    char got[64];
    std::snprintf(got, sizeof got, "%.17g, strtod %.17g", number, expected);
    FUZZ_CHECK(sameNumber(number, expected),
               "ecmaStringToNumber(" + escaped(literal) + ") == " + got);
  } else if (s == "Infinity" || s == "+Infinity" || s == "-Infinity") {
    FUZZ_CHECK(std::isinf(number) && std::signbit(number) == (s[0] == '-'),
               escaped(literal));
  }
}

int64_t floorDiv(int64_t a, int64_t b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

// Days from 1970-01-01 to the proleptic Gregorian date.
int64_t daysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = floorDiv(year, 400);
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear =
      (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 +
         dayOfYear - 719468;
}

void checkDateText(const Text& literal, double time, const Text& dateText) {
  const std::string what = escaped(literal) + " gave " + escaped(dateText);
  if (std::isnan(time)) {
    FUZZ_CHECK(dateText == "NaN", what);
    FUZZ_CHECK(rearrangeScriptDate(dateText).empty(), what);
    return;
  }
  FUZZ_CHECK(time == std::trunc(time) && std::fabs(time) <= kEcmaMaxTime &&
                 !std::signbit(time == 0 ? time : 1.0),
             what);
  EcmaLocalTime local;
  FUZZ_CHECK(ecmaLocalTime(time, &local), what);
  FUZZ_CHECK(dateText == jscriptDateText(local), what);
  // The local fields less the offset are the instant, floored to seconds.
  const int64_t days = daysFromCivil(local.year, local.month, local.day);
  const int64_t seconds = floorDiv(static_cast<int64_t>(time), 1000);
  FUZZ_CHECK(local.month >= 1 && local.month <= 12 && local.day >= 1 &&
                 local.day <= 31 && local.hour >= 0 && local.hour <= 23 &&
                 local.minute >= 0 && local.minute <= 59 && local.second >= 0 &&
                 local.second <= 59,
             what);
  const int64_t localSeconds = days * 86400 + int64_t{local.hour} * 3600 +
                               int64_t{local.minute} * 60 + local.second;
  FUZZ_CHECK(localSeconds - local.offsetSeconds == seconds,
             what + " offset " + std::to_string(local.offsetSeconds));
  FUZZ_CHECK(((days + 4) % 7 + 7) % 7 == local.weekday, what);

  const Text rearranged = rearrangeScriptDate(dateText);
  FUZZ_CHECK(!rearranged.empty(), what);
  const DateTime value = toDateTime(rearranged);
  if (local.year >= 100 && local.year <= 9999) {
    FUZZ_CHECK(value == makeDateTime(static_cast<int>(local.year), local.month,
                                     local.day, local.hour, local.minute,
                                     local.second),
               what + ", rearranged " + escaped(rearranged));
  } else if (local.year > 0) {
    FUZZ_CHECK(value == kMinDateTime,
               what + ", rearranged " + escaped(rearranged));
  }
  // A year before 1 is written "1200 B.C."; the rearranging keeps six
  // fields and drops the seventh, so it reads as the year 1200. No picture's
  // stamp comes near it.
}

// Where the string literal that opens at script[open] (a quote) ends: the
// offset of its closing quote, or npos when it holds an escape or a line
// terminator, or is never closed. With pairBytes a byte of 0x80 or above
// takes the byte after it into its character, as a double-byte code page
// reads the script; otherwise the bytes are read one by one, as UTF-8.
std::size_t literalEnd(std::string_view script, std::size_t open,
                       bool pairBytes) {
  std::size_t i = open + 1;
  while (i < script.size()) {
    const unsigned char c = static_cast<unsigned char>(script[i]);
    if (pairBytes && c >= 0x80) {
      i += 2;
      continue;
    }
    if (c == '\'') {
      return i;
    }
    if (c == '\\' || c == '\n' || c == '\r') {
      return std::string_view::npos;
    }
    if (!pairBytes && script.substr(i, 3) == "\xE2\x80\xA8") {
      return std::string_view::npos;
    }
    if (!pairBytes && script.substr(i, 3) == "\xE2\x80\xA9") {
      return std::string_view::npos;
    }
    ++i;
  }
  return std::string_view::npos;
}

void checkScript(const Text& literal, const Text& hostText) {
  const Text script = concatText(kScriptHead, literal, kScriptTail);
  const std::size_t open = kScriptHead.size() - 1;
  const std::size_t close = kScriptHead.size() + literal.size();
  const bool safe = isSafeScriptLiteral(literal);
  if (safe) {
    FUZZ_CHECK(
        literalEnd(script, open, false) == close,
        "a safe literal changes the script read as bytes: " + escaped(literal));
    FUZZ_CHECK(literalEnd(script, open, true) == close,
               "a safe literal changes the script read by the two-byte "
               "character rule: " +
                   escaped(literal));
    ScriptRuntime& runtime = hostScriptRuntime();
    runtime.initialize();
    std::unique_ptr<ScriptHost> host = runtime.createHost("ScriptControl");
    FUZZ_CHECK(host != nullptr, "no script host");
    host->setProperty("Language", "JScript");
    FUZZ_CHECK(host->executeStatement(script),
               "the host refused a safe literal: " + escaped(literal));
    const Text got = host->runProcedure("timea");
    host.reset();
    runtime.uninitialize();
    FUZZ_CHECK(got == hostText, escaped(literal) + " ran to " + escaped(got));
  }

  const Text converted = timestampToDateText(literal);
  if (textLength(literal) == 10) {
    // The same instant; values made by different sums may differ in their
    // last bits, their components never.
    const DateTime base = toDateTime("1970.01.01 08:00:00");
    const DateTime expected = addSeconds(base, textToInt(literal));
    FUZZ_CHECK(!converted.empty() &&
                   dateTimeToText(toDateTime(converted), "-", ":", 3) ==
                       dateTimeToText(expected, "-", ":", 3),
               escaped(literal) + " converted to " + escaped(converted));
  } else if (safe) {
    FUZZ_CHECK(converted == rearrangeScriptDate(hostText),
               escaped(literal) + " converted to " + escaped(converted));
  } else {
    FUZZ_CHECK(converted.empty(),
               "an unsafe literal was converted: " + escaped(literal));
  }
}

}  // namespace
}  // namespace velkaro

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velkaro;
  FuzzedDataProvider in(data, size);
  useZone(
      kZones[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kZones) - 1)]);
  Text literal = in.ConsumeRemainingBytesAsString();
  for (char& c : literal) {
    if (c == '\0') {
      c = '0';  // a Text never holds a zero byte
    }
  }
  const double number = ecmaStringToNumber(literal);
  checkNumber(literal, number);
  const double time = ecmaTimeClip(number);
  FUZZ_CHECK(std::isnan(time) == (std::isnan(number) || std::isinf(number) ||
                                  std::fabs(number) > kEcmaMaxTime),
             escaped(literal));
  const Text hostText = jscriptDateString(time);
  checkDateText(literal, time, hostText);
  checkScript(literal, hostText);
  return 0;
}
