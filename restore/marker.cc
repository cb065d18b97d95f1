#include "restore/marker.h"

#include <climits>
#include <cstdint>

namespace velkaro {

namespace {

// The marker with every kQuoteMarker made a double quote. A marker without a
// '#' cannot hold one and is used in place, so the usual call copies nothing.
const Text& withQuotes(const Text& marker, Text& storage) {
  if (marker.find('#') == Text::npos) return marker;
  storage = replaceText(marker, kQuoteMarker, "\"");
  return storage;
}

}  // namespace

Text textBetween(const Text& t, const Text& leftMarker, const Text& rightMarker,
                 int startPosition, bool ignoreCase) {
  Text leftStorage;
  Text rightStorage;
  const Text& left = withQuotes(leftMarker, leftStorage);
  const Text& right = withQuotes(rightMarker, rightStorage);

  const int p = findText(t, left, startPosition, ignoreCase);
  if (p == -1) return Text();
  // The first byte after the occurrence; at most textLength(t) + 1, but the
  // sum is formed wide so that no length can make it wrap.
  const std::int64_t end =
      static_cast<std::int64_t>(p) + static_cast<std::int64_t>(left.size());
  if (end > INT_MAX) return Text();  // nothing can follow the occurrence
  const int q = static_cast<int>(end);
  const int r = findText(t, right, q, ignoreCase);
  if (r == -1) return Text();
  // An empty right marker is found at 1, before q: midText gives nothing.
  return midText(t, q, r - q);
}

Text textBetween(const Text& t, const Text& leftMarker, const Text& rightMarker,
                 bool ignoreCase) {
  return textBetween(t, leftMarker, rightMarker, 0, ignoreCase);
}

}  // namespace velkaro
