// Paths cross between the window's characters and the file system's bytes
// here, in the file system's own encoding (UTF-8 on a typical Linux system,
// the ANSI code page on Windows).

#ifndef VELKARO_APP_PATH_BYTES_H_
#define VELKARO_APP_PATH_BYTES_H_

#include <QString>

#include "values/text.h"

namespace velkaro {

// The file-system bytes of path. A Text holds no zero byte, so a path that
// holds the character U+0000 is cut before it. Never fails.
//   toPathBytes(u"/home/u/pics") == "/home/u/pics"
//   toPathBytes(u"/a\u0000b") == "/a"
Text toPathBytes(const QString& path);

// The characters of the file-system bytes path.
//   fromPathBytes("/home/u/pics") == u"/home/u/pics"
QString fromPathBytes(const Text& path);

}  // namespace velkaro

#endif  // VELKARO_APP_PATH_BYTES_H_
