// The file system on Windows: the ANSI directory search, the move that never
// replaces an existing file, and the shell's file-name split.

#include <shlwapi.h>
#include <windows.h>

#include <memory>

#include "platform/file_system.h"
#include "platform/path_style.h"

namespace velkaro {
namespace {

// One FindFirstFileA search; the handle is closed when the search is
// destroyed, however far it got.
class Win32DirectorySearch : public DirectorySearch {
 public:
  Win32DirectorySearch(HANDLE handle, const WIN32_FIND_DATAA& first)
      : handle_(handle), data_(first) {}
  ~Win32DirectorySearch() override { FindClose(handle_); }
  Win32DirectorySearch(const Win32DirectorySearch&) = delete;
  Win32DirectorySearch& operator=(const Win32DirectorySearch&) = delete;

  bool next(FoundEntry* entry) override {
    if (done_) return false;
    if (!pending_ && FindNextFileA(handle_, &data_) == 0) {
      done_ = true;
      return false;
    }
    pending_ = false;
    if (entry != nullptr) {
      entry->name = Text(data_.cFileName);
      entry->isFolder =
          (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    return true;
  }

 private:
  HANDLE handle_;
  WIN32_FIND_DATAA data_;
  bool pending_ = true;  // data_ holds the entry FindFirstFileA found
  bool done_ = false;
};

class Win32FileSystem : public FileSystem {
 public:
  PathStyle pathStyle() const override { return PathStyle::kWindows; }

  std::unique_ptr<DirectorySearch> findFiles(const Text& searchText) override {
    WIN32_FIND_DATAA data;
    const HANDLE handle = FindFirstFileA(searchText.c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32DirectorySearch>(handle, data);
  }

  bool moveFile(const Text& source, const Text& target) override {
    return MoveFileA(source.c_str(), target.c_str()) != 0;
  }

  int fileNameStart(const Text& path) override {
    const char* start = path.c_str();
    const char* name = PathFindFileNameA(start);
    if (name == nullptr) return textLength(path) + 1;
    return static_cast<int>(name - start) + 1;
  }
};

}  // namespace

FileSystem& hostFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}

}  // namespace velkaro
