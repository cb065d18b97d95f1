// A file system held in memory, for tests: folders and files in a map, with
// the Windows style's letter-case and separator rules or the POSIX ones, and
// moves that can be told to fail.
//
// Windows style: "\" and "/" both separate; names compare with ASCII letter
// case ignored; a path begins with a drive ("D:") or with a separator, which
// means the root of the current drive. POSIX style: "/" separates, case
// counts, paths begin with "/". In both, repeated separators count as one.
// A relative path (no drive or root) is taken relative to the current
// folder, the root of the current drive by default. "." and ".." are
// resolved. In the Windows style a path that begins with two separators
// (a network path) names nothing, nor does a name holding one of
// < > : " | ? * or a control character; in both, a path that ends in a
// separator names no file.
//
// Entries are listed in the order they were created in their folder, as an
// unsorted directory would return them; a file moved into a folder counts
// as created there. A search reads its folder as it goes: it yields an
// entry made or moved in after it began, and not one that left before it
// was reached. Patterns ignore ASCII letter case in both styles; in the
// Windows style "?" takes a whole two-byte character.

#ifndef VELKARO_PLATFORM_MEMORY_FILE_SYSTEM_H_
#define VELKARO_PLATFORM_MEMORY_FILE_SYSTEM_H_

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/file_system.h"

namespace velkaro {

class MemoryFileSystem : public FileSystem {
 public:
  // The drive of the Windows style's root-relative paths is "C:". Drive C:
  // always exists; another drive exists once something is made on it. A
  // search must not outlive the file system that made it.
  explicit MemoryFileSystem(PathStyle style);
  ~MemoryFileSystem() override;

  // Creates the folder and every missing parent. Returns false when a file
  // stands in the way.
  bool addFolder(const Text& path);
  // Creates the file with content, and every missing parent folder. Returns
  // false when anything of that name exists already or a file stands in the
  // way of a parent.
  bool addFile(const Text& path, const Text& content = "");

  bool exists(const Text& path) const;
  bool isFolder(const Text& path) const;
  // The content of the file at path; nothing for a folder or a missing path.
  std::optional<Text> contentOf(const Text& path) const;
  // The names in a folder (files and folders), in listing order; empty for
  // a missing folder.
  TextList namesIn(const Text& folder) const;
  // The number of files (not folders) in the whole file system.
  size_t fileCount() const;
  // Every file's full path (in this style, the drive or root first) with
  // its content.
  std::vector<std::pair<Text, Text>> allFiles() const;

  // A move for which refuse(source, target) is true fails and changes
  // nothing. An empty function (the default) refuses nothing.
  void setMoveRefusal(std::function<bool(const Text&, const Text&)> refuse);
  // The number of moves that succeeded.
  int movesMade() const;
  // Called after every entry (file or folder) that a search yields, before
  // next() returns it.
  void setOnListed(std::function<void(const FoundEntry&)> onListed);

  // FileSystem.
  PathStyle pathStyle() const override;
  std::unique_ptr<DirectorySearch> findFiles(const Text& searchText) override;
  bool moveFile(const Text& source, const Text& target) override;
  int fileNameStart(const Text& path) override;

  struct Node;

 private:
  PathStyle style_;
  std::unique_ptr<Node> root_;
  std::function<bool(const Text&, const Text&)> refuse_;
  std::function<void(const FoundEntry&)> onListed_;
  int movesMade_ = 0;
};

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_MEMORY_FILE_SYSTEM_H_
