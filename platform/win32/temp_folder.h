// A folder of its own under the system's temporary folder for one test,
// removed with everything in it when the test ends. Paths are ANSI texts.
//   TempFolder folder;
//   folder.addFile("mmexport1543717408.jpg");
//   folder.namesIn("")  -> {"mmexport1543717408.jpg"}

#ifndef VELKARO_PLATFORM_WIN32_TEMP_FOLDER_H_
#define VELKARO_PLATFORM_WIN32_TEMP_FOLDER_H_

#include <windows.h>

#include <algorithm>
#include <string>

#include "values/text.h"

namespace velkaro {

class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, base);
    const Text root = length > 0 && length < MAX_PATH ? Text(base) : Text();
    for (unsigned attempt = 0; attempt < 1000 && path_.empty(); ++attempt) {
      const Text candidate =
          root + "velkaro-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(GetTickCount()) + "-" + std::to_string(attempt);
      if (CreateDirectoryA(candidate.c_str(), nullptr) != 0) {
        path_ = candidate;
      }
    }
  }
  ~TempFolder() {
    if (!path_.empty()) removeTree(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's full path, without a trailing separator; empty when it
  // could not be made.
  const Text& path() const { return path_; }

  // The full path of a name relative to the folder.
  Text at(const Text& relative) const {
    return relative.empty() ? path_ : path_ + "\\" + relative;
  }

  bool addFolder(const Text& relative) const {
    return CreateDirectoryA(at(relative).c_str(), nullptr) != 0;
  }

  // Creates the file (it must not exist yet) with content.
  bool addFile(const Text& relative, const Text& content = "") const {
    const HANDLE file =
        CreateFileA(at(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()),
                  &written, nullptr) != 0 &&
        written == content.size();
    CloseHandle(file);
    return ok;
  }

  // The content of a file; "<missing>" when it cannot be read.
  Text contentOf(const Text& relative) const {
    const HANDLE file =
        CreateFileA(at(relative).c_str(), GENERIC_READ, FILE_SHARE_READ,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    Text content;
    char chunk[256];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) != 0 && got > 0) {
      content.append(chunk, got);
    }
    CloseHandle(file);
    return content;
  }

  // The names in a folder relative to this one, sorted by bytes; folders
  // end in "\", "." and ".." are left out.
  TextList namesIn(const Text& relative) const {
    TextList names;
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA((at(relative) + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const Text name = data.cFileName;
      if (name == "." || name == "..") continue;
      const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
      names.push_back(folder ? name + "\\" : name);
    } while (FindNextFileA(search, &data) != 0);
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  static void removeTree(const Text& folder) {
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const Text name = data.cFileName;
        if (name == "." || name == "..") continue;
        const Text path = folder + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          removeTree(path);
        } else {
          SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA(path.c_str());
        }
      } while (FindNextFileA(search, &data) != 0);
      FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
  }

  Text path_;
};

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_WIN32_TEMP_FOLDER_H_
