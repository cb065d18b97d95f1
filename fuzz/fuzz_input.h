// What the fuzz targets share: arguments taken from the fuzzer's bytes, and
// the check that ends the run with a finding.

#ifndef VELKARO_FUZZ_FUZZ_INPUT_H_
#define VELKARO_FUZZ_FUZZ_INPUT_H_

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "values/text.h"

namespace velkaro {

// Ends the run with a finding: libFuzzer keeps the input that caused it.
[[noreturn]] inline void fuzzFailure(const char* file, int line,
                                     const char* condition,
                                     const std::string& detail) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n  %s\n", file, line,
               condition, detail.c_str());
  std::abort();
}

#define FUZZ_CHECK(condition, detail)                                   \
  do {                                                                  \
    if (!(condition)) {                                                 \
      ::velkaro::fuzzFailure(__FILE__, __LINE__, #condition, (detail)); \
    }                                                                   \
  } while (false)

// t with the bytes outside printable ASCII escaped, for a finding's report.
inline std::string escaped(const std::string& t) {
  std::string out = "\"";
  for (const char c : t) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out + "\"";
}

// A text of at most maxBytes bytes. A Text never holds a zero byte, so a
// zero is read as 0x30 ("0") to keep the input's length.
inline Text takeText(FuzzedDataProvider& in, std::size_t maxBytes = 64) {
  Text t = in.ConsumeRandomLengthString(maxBytes);
  for (char& c : t) {
    if (c == '\0') {
      c = '0';
    }
  }
  return t;
}

// A signed 32-bit position or count: anywhere in the range, near the
// length of a text of length bytes, or one of the ends of the range.
inline int takePosition(FuzzedDataProvider& in, int length) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      return in.ConsumeIntegral<int32_t>();
    case 1:
      return in.ConsumeIntegralInRange<int>(-3, 3);
    case 2: {
      const int64_t near =
          static_cast<int64_t>(length) + in.ConsumeIntegralInRange<int>(-3, 3);
      return static_cast<int>(near);
    }
    default: {
      static constexpr int kEnds[] = {INT_MIN, INT_MIN + 1, INT_MAX - 1,
                                      INT_MAX};
      return kEnds[in.ConsumeIntegralInRange<int>(0, 3)];
    }
  }
}

}  // namespace velkaro

#endif  // VELKARO_FUZZ_FUZZ_INPUT_H_
