#include "restore/guarded_rename.h"

#include <cstddef>
#include <string_view>

#include "platform/file_system.h"

namespace velkaro {
namespace {

// The nine characters no file name may hold.
constexpr std::string_view kForbidden = "?/\\<>*|:\"";

// Whether name holds a forbidden character, reading it by the two-byte
// character rule: a byte of 0x80 or above takes the byte after it along, so
// a second byte 0x5C or 0x7C is part of its character and no "\" or "|".
// This is what looking for each of the nine one-byte texts with findText
// finds, in one pass and without copying the name.
bool holdsForbiddenChar(std::string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c >= 0x80) {
      ++i;  // the second byte of a two-byte character
    } else if (kForbidden.find(static_cast<char>(c)) !=
               std::string_view::npos) {
      return true;
    }
  }
  return false;
}

// The file-name component of path, which begins at the 1-based position
// start; empty when the path names a folder (its last byte is separator).
std::string_view nameFrom(const Text& path, int start, char separator) {
  if (start < 1 || static_cast<std::size_t>(start) > path.size()) {
    return std::string_view();
  }
  const std::string_view name =
      std::string_view(path).substr(static_cast<std::size_t>(start) - 1);
  return name.back() == separator ? std::string_view() : name;
}

int styleFileNameStart(const Text& path, PathStyle style) {
  return style == PathStyle::kWindows ? windowsFileNameStart(path)
                                      : posixFileNameStart(path);
}

// The checks of a target path in style. nameStart gives the 1-based start
// of the path's last component; it is asked only when the checks before the
// file name have passed.
template <typename NameStart>
bool checkTarget(const Text& path, PathStyle style, NameStart nameStart) {
  if (style == PathStyle::kWindows) {
    static const Text kColonBackslash = ":\\";
    static const Text kColonSlash = ":/";
    const int first = charCode(toUpperText(leftText(path, 1)), 1);
    if (first < 'A' || first > 'Z') {
      return false;
    }
    if (findText(path, kColonBackslash) == -1 &&
        findText(path, kColonSlash) == -1) {
      return false;
    }
    const std::string_view name = nameFrom(path, nameStart(), '\\');
    return !name.empty() && !holdsForbiddenChar(name);
  }
  // POSIX: an absolute path with a folder part beyond the root "/" alone.
  if (path.empty() || path[0] != '/') {
    return false;
  }
  const int start = nameStart();
  // A "/" besides the first must stand before the file name: "/a.jpg"
  // names a file in the root alone and is refused, "//a.jpg" is not.
  const std::size_t second = path.find('/', 1);
  if (second == Text::npos || start < 1 ||
      second >= static_cast<std::size_t>(start) - 1) {
    return false;
  }
  const std::string_view name = nameFrom(path, start, '/');
  return !name.empty() && !holdsForbiddenChar(name);
}

}  // namespace

bool renameIfValid(const Text& source, const Text& target) {
  if (!isValidFilePath(target)) {
    return false;
  }
  return fileSystem().moveFile(source, target);
}

bool isValidFilePath(const Text& path) {
  FileSystem& fs = fileSystem();
  return checkTarget(path, fs.pathStyle(),
                     [&fs, &path] { return fs.fileNameStart(path); });
}

bool isValidFilePath(const Text& path, PathStyle style) {
  return checkTarget(
      path, style, [&path, style] { return styleFileNameStart(path, style); });
}

Text fileNameOf(const Text& path) {
  FileSystem& fs = fileSystem();
  const char separator = separatorOf(fs.pathStyle())[0];
  return Text(nameFrom(path, fs.fileNameStart(path), separator));
}

bool hasForbiddenNameChar(const Text& name) { return holdsForbiddenChar(name); }

}  // namespace velkaro
