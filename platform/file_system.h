// The file system as the restore run uses it: a directory search over one
// folder, a move that never replaces anything, and the file-name split.

#ifndef VELKARO_PLATFORM_FILE_SYSTEM_H_
#define VELKARO_PLATFORM_FILE_SYSTEM_H_

#include <memory>

#include "platform/path_style.h"
#include "values/text.h"

namespace velkaro {

// One entry that a directory search found.
struct FoundEntry {
  Text name;              // the entry's own name, no folder
  bool isFolder = false;  // a folder (a link to a folder counts as one)
};

// One directory search, open until it is destroyed.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  // Fills *entry with the next matching entry, the first one included, in
  // the order the platform returns them. Returns false when none is left.
  virtual bool next(FoundEntry* entry) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The style of the paths this file system takes.
  virtual PathStyle pathStyle() const = 0;

  // Starts a search for searchText: a folder, its separator and a pattern
  // of "*" and "?" matched against whole names, ASCII letter case ignored
  // ("D:\\pics\\*.jpg", "/home/u/pics/*.jpg"). Returns null when nothing
  // matches or the folder cannot be read.
  virtual std::unique_ptr<DirectorySearch> findFiles(
      const Text& searchText) = 0;

  // Moves the file source to target, into another folder (or onto another
  // volume) when target names one. Returns true on success. Fails and
  // changes nothing when anything named target exists, when source does not
  // exist, or when the move is refused: it never replaces an existing file.
  virtual bool moveFile(const Text& source, const Text& target) = 0;

  // The 1-based position in path at which its last component begins (see
  // windowsFileNameStart and posixFileNameStart).
  virtual int fileNameStart(const Text& path) = 0;
};

// The file system in use: the one installed, else the host platform's own.
FileSystem& fileSystem();
// Installs a file system (null puts back the platform's own); returns the
// one installed before, null when that was the platform's own.
FileSystem* installFileSystem(FileSystem* fs);
// The platform's own file system.
FileSystem& hostFileSystem();

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_FILE_SYSTEM_H_
