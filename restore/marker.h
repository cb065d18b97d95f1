// Marker extraction: the text between a left marker and the first right
// marker after it, as the restore run takes a timestamp out of a path.

#ifndef VELKARO_RESTORE_MARKER_H_
#define VELKARO_RESTORE_MARKER_H_

#include "values/text.h"

namespace velkaro {

// In a marker, these five GBK bytes ("#引号") stand for a double quote.
inline constexpr char kQuoteMarker[] = "\x23\xD2\xFD\xBA\xC5";

// The bytes between the end of the first occurrence of leftMarker at or
// after startPosition and the first occurrence of rightMarker after it; the
// empty text when either is not found or they touch. Both searches follow
// the two-byte character rule and, with ignoreCase, ignore ASCII letter
// case. Every "#引号" in a marker is first replaced by a double quote.
//   textBetween("D:\\pics\\mmexport1543712345678.jpg", "mmexport", ".jpg")
//       == "1543712345678"
//   textBetween("D:\\mmexport\\mmexport15.jpg", "mmexport", ".jpg")
//       == "\\mmexport15"
//   textBetween("mmexport1.jpg mmexport2.jpg", "mmexport", ".jpg", 2) == "2"
Text textBetween(const Text& t, const Text& leftMarker, const Text& rightMarker,
                 int startPosition = 0, bool ignoreCase = false);
Text textBetween(const Text& t, const Text& leftMarker, const Text& rightMarker,
                 bool ignoreCase);

}  // namespace velkaro

#endif  // VELKARO_RESTORE_MARKER_H_
