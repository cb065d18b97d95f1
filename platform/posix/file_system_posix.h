// The file system of a POSIX host, on the real disk.
//
// Names are bytes, in whatever encoding the disk holds them. A search lists
// one folder in the order the system returns its entries, matching the
// pattern against whole names with letter case ignored ("*.jpg" finds
// "A.JPG" and the hidden ".b.jpg"); a symbolic link counts as what it points
// to, a dangling one as a file. A move never replaces anything: it renames
// without replacing where the file system can, and otherwise copies or
// links in ways that leave the source untouched when they fail.

#ifndef VELKARO_PLATFORM_POSIX_FILE_SYSTEM_POSIX_H_
#define VELKARO_PLATFORM_POSIX_FILE_SYSTEM_POSIX_H_

#include <memory>

#include "platform/file_system.h"

namespace velkaro {

class PosixFileSystem : public FileSystem {
 public:
  // With renameNoReplace false, moves go as on a file system that refuses
  // the rename without replacing: by hard link and removal. For tests.
  explicit PosixFileSystem(bool renameNoReplace = true);

  // kPosix.
  PathStyle pathStyle() const override;

  // searchText is split at its last "/": the folder before it ("/" when it
  // is the first byte, "." when there is none) and the pattern after it,
  // where "?" matches one byte. "." and ".." are never yielded. Null when
  // the pattern is empty, the folder cannot be opened or nothing matches.
  //   findFiles("/home/u/pics/*.jpg") yields "a.jpg", "B.JPG", "old.jpg"
  //   (a folder, isFolder true), ".b.jpg"
  std::unique_ptr<DirectorySearch> findFiles(const Text& searchText) override;

  // Renames source to target, never over an existing file or folder:
  // rename without replacing; where the file system refuses that, a hard
  // link to target and then the removal of source (regular files only);
  // across file systems, a copy under a temporary name in target's folder
  // (data flushed, permission bits and times kept) that is published under
  // target without replacing, and only then the removal of source.
  // Returns false, with source as it was and no temporary file left, when
  // source or target is empty, source is missing, anything named target
  // exists, a folder would have to cross file systems, or any step fails.
  bool moveFile(const Text& source, const Text& target) override;

  // posixFileNameStart(path).
  int fileNameStart(const Text& path) override;

 private:
  bool renameNoReplace_;
};

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_POSIX_FILE_SYSTEM_POSIX_H_
