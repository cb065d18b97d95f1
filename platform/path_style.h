// Path styles: the separator that folder and file name are joined with and
// the rules a target path must meet. The Windows style is "\" with drive
// letters; the POSIX style is "/" with absolute paths. The build chooses the
// host's style; a file system says which one it follows.

#ifndef VELKARO_PLATFORM_PATH_STYLE_H_
#define VELKARO_PLATFORM_PATH_STYLE_H_

#include "values/text.h"

namespace velkaro {

enum class PathStyle { kWindows, kPosix };

// The style of the platform the program is built for.
PathStyle hostPathStyle();

// "\" for kWindows, "/" for kPosix.
const Text& separatorOf(PathStyle style);

// The 1-based position at which the last component of path begins, as the
// Windows shell finds it: after the last "\", "/" or ":" that is followed
// by a byte other than "\" and "/" (so never after the path's last byte,
// and of a run of separators only the last one counts), walking by the
// two-byte character rule (so a second byte 0x5C is no separator). 1 when
// there is none; textLength(path) + 1 for the empty path.
//   windowsFileNameStart("C:\\pics\\a.jpg") == 9
//   windowsFileNameStart("C:\\pics\\\\a.jpg") == 10
//   windowsFileNameStart("C:\\pics\\") == 4   (the name is "pics\\")
//   windowsFileNameStart("C:\\") == 1; windowsFileNameStart("C:") == 1
int windowsFileNameStart(const Text& path);

// The same for POSIX paths: after the last "/" that is not the last byte.
//   posixFileNameStart("/pics/a.jpg") == 7; posixFileNameStart("/pics/") == 2
int posixFileNameStart(const Text& path);

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_PATH_STYLE_H_
