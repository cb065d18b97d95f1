// The system's own literal texts are GBK bytes; the window shows them as
// characters. These turn such a literal into a QString for display.

#ifndef VELKARO_APP_GBK_TEXT_H_
#define VELKARO_APP_GBK_TEXT_H_

#include <QString>

#include "values/text.h"

namespace velkaro {

// The characters that the GBK bytes of gbk spell. Uses the Qt build's GBK
// codec when it has one and gbkToQStringByTable otherwise. A byte sequence
// that is not GBK gives U+FFFD for each character that cannot be read; it
// never fails.
//   gbkToQString("\xBB\xB9\xD4\xAD") == u"\u8FD8\u539F"   (the two
//   characters "restore")
//   gbkToQString("Velkaro") == u"Velkaro"
QString gbkToQString(const Text& gbk);

// The same through a small table of the GBK characters that the system's
// own literals use, for a Qt build without a GBK codec. A byte below 0x80 is
// a character of its own; a byte of 0x80 or above begins a two-byte
// character with the byte after it, and a pair that the table does not hold
// (or a lead byte at the very end) gives U+FFFD.
//   gbkToQStringByTable("\xD1\xA1\xD4\xF1\xC4\xBF\xC2\xBC") ==
//       u"\u9009\u62E9\u76EE\u5F55"   ("choose folder")
//   gbkToQStringByTable("\xFE\xFE") == u"\uFFFD"
QString gbkToQStringByTable(const Text& gbk);

}  // namespace velkaro

#endif  // VELKARO_APP_GBK_TEXT_H_
