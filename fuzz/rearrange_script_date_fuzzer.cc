// rearrangeScriptDate on arbitrary bytes: the empty text, or fields 6, 2
// (a month abbreviation made a number), 3 and 4 of the space-separated
// text, and never longer than the text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "timeconv/timestamp_conversion.h"
#include "values/text.h"

namespace velkaro {
namespace {

Text expected(const Text& dateText) {
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr",
                                        "May", "Jun", "Jul", "Aug",
                                        "Sep", "Oct", "Nov", "Dec"};
  const TextList fields = splitText(dateText, " ");
  if (dateText.empty() || fields.size() < 6) {
    return Text();
  }
  Text month = fields[1];
  for (int i = 0; i < 12; ++i) {
    if (month == kMonths[i]) {
      month = std::to_string(i + 1);
      break;
    }
  }
  return fields[5] + "-" + month + "-" + fields[2] + " " + fields[3];
}

}  // namespace
}  // namespace velkaro

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velkaro::Text text(reinterpret_cast<const char*>(data), size);
  for (char& c : text) {
    if (c == '\0') {
      c = ' ';  // a Text never holds a zero byte
    }
  }
  const velkaro::Text got = velkaro::rearrangeScriptDate(text);
  const std::string what = "rearrangeScriptDate(" + velkaro::escaped(text) +
                           ") == " + velkaro::escaped(got);
  FUZZ_CHECK(got.size() <= text.size(), what);
  FUZZ_CHECK(got == velkaro::expected(text), what);
  return 0;
}
