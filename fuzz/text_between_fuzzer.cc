// textBetween on arbitrary bytes, markers and start positions: the result
// is the stretch of the text between the left marker's first occurrence at
// or after the start and the right marker's first occurrence after it, as
// findText finds them; never longer than the text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "restore/marker.h"
#include "values/text.h"

namespace velkaro {
namespace {

std::string describe(const Text& t, const Text& left, const Text& right,
                     int start, bool ignoreCase, const Text& got) {
  return "textBetween(" + escaped(t) + ", " + escaped(left) + ", " +
         escaped(right) + ", " + std::to_string(start) +
         (ignoreCase ? ", true" : ", false") + ") == " + escaped(got);
}

// What textBetween must give, from findText and midText.
Text expected(const Text& t, const Text& leftMarker, const Text& rightMarker,
              int start, bool ignoreCase) {
  const Text left = replaceText(leftMarker, kQuoteMarker, "\"");
  const Text right = replaceText(rightMarker, kQuoteMarker, "\"");
  const int p = findText(t, left, start, ignoreCase);
  if (p == -1) {
    return Text();
  }
  const int q = p + textLength(left);
  const int r = findText(t, right, q, ignoreCase);
  if (r == -1 || r < q) {
    return Text();
  }
  return t.substr(static_cast<std::size_t>(q) - 1,
                  static_cast<std::size_t>(r - q));
}

void check(const Text& t, const Text& left, const Text& right, int start,
           bool ignoreCase) {
  const Text got = textBetween(t, left, right, start, ignoreCase);
  const std::string what = describe(t, left, right, start, ignoreCase, got);
  FUZZ_CHECK(got.size() <= t.size(), what);
  FUZZ_CHECK(got == expected(t, left, right, start, ignoreCase), what);
  if (start == 0) {
    FUZZ_CHECK(textBetween(t, left, right, ignoreCase) == got, what);
  }
}

}  // namespace
}  // namespace velkaro

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const velkaro::Text t = velkaro::takeText(in, 256);
  // The restore run's own call, then markers and a start from the input.
  velkaro::check(t, "mmexport", ".jpg", 0, false);
  velkaro::Text left = velkaro::takeText(in, 12);
  velkaro::Text right = velkaro::takeText(in, 12);
  if (in.ConsumeBool()) {
    left += velkaro::kQuoteMarker;
  }
  if (in.ConsumeBool()) {
    right = velkaro::kQuoteMarker + right;
  }
  const int start = velkaro::takePosition(in, velkaro::textLength(t));
  velkaro::check(t, left, right, start, in.ConsumeBool());
  return 0;
}
