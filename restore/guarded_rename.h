// The guarded rename: the one place that changes the file system. A file is
// renamed only to a target path that the path style accepts, and never over
// an existing file.

#ifndef VELKARO_RESTORE_GUARDED_RENAME_H_
#define VELKARO_RESTORE_GUARDED_RENAME_H_

#include "platform/path_style.h"
#include "values/text.h"

namespace velkaro {

// Renames source to target when isValidFilePath(target) holds. Returns false
// when the target was refused (the file system is not touched) or the move
// failed (a file or folder of that name exists, source is gone, the move was
// refused); the file then keeps its name and place.
bool renameIfValid(const Text& source, const Text& target);

// Whether path may be a rename target, in the installed file system's style.
// Windows: an ASCII letter first; ":\" or else ":/" somewhere in the path;
// a non-empty file name holding no forbidden character.
//   "C:\\pics\\a.jpg", "d:/pics\\a.jpg", "C:\\a.jpg" are accepted;
//   "\\a.jpg", "1:\\a.jpg", "pics\\a.jpg", "C:a.jpg", "C:\\pics\\",
//   "C:\\pics\\a*b.jpg" are refused.
// POSIX: "/" first; one more "/" before the file name; a non-empty file name
// holding no forbidden character.
//   "/pics/a.jpg", "//a.jpg" are accepted; "/a.jpg", "a/b.jpg", "/pics/" not.
bool isValidFilePath(const Text& path);
bool isValidFilePath(const Text& path, PathStyle style);

// The last component of path; "" when the path ends in a folder (its last
// component ends in the separator).
//   fileNameOf("C:\\pics\\a.jpg") == "a.jpg"; fileNameOf("C:\\pics\\") == ""
Text fileNameOf(const Text& path);

// Whether name holds one of ? / \ < > * | : or the double quote.
bool hasForbiddenNameChar(const Text& name);

}  // namespace velkaro

#endif  // VELKARO_RESTORE_GUARDED_RENAME_H_
