// Path styles and the file-name split of each.

#include "platform/path_style.h"

#include <cstddef>

namespace velkaro {
namespace {

bool isWindowsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

PathStyle hostPathStyle() {
#ifdef _WIN32
  return PathStyle::kWindows;
#else
  return PathStyle::kPosix;
#endif
}

const Text& separatorOf(PathStyle style) {
  static const Text kBackslash = "\\";
  static const Text kSlash = "/";
  return style == PathStyle::kWindows ? kBackslash : kSlash;
}

int windowsFileNameStart(const Text& path) {
  const size_t length = path.size();
  size_t start = 0;  // 0-based
  size_t i = 0;
  while (i < length) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (c >= 0x80) {
      // A two-byte character: its second byte, whatever it is, is part of
      // it and never a separator.
      i += 2;
      continue;
    }
    if (isWindowsSeparator(path[i]) || path[i] == ':') {
      // A separator begins a component only when a byte follows that is
      // not itself a separator: "C:\\pics\\" keeps "pics\\", and a run of
      // separators counts from its last one.
      if (i + 1 < length && !isWindowsSeparator(path[i + 1])) {
        start = i + 1;
      }
    }
    ++i;
  }
  return static_cast<int>(start) + 1;
}

int posixFileNameStart(const Text& path) {
  if (path.size() < 2) {
    return 1;  // "", a lone name byte or a lone "/"
  }
  // The last "/" that is not the last byte.
  const size_t slash = path.find_last_of('/', path.size() - 2);
  if (slash == Text::npos) {
    return 1;
  }
  return static_cast<int>(slash) + 2;
}

}  // namespace velkaro
