// For tests: every entry a directory search yields, in its order.

#ifndef VELKARO_PLATFORM_SEARCH_TESTING_H_
#define VELKARO_PLATFORM_SEARCH_TESTING_H_

#include <memory>

#include "platform/file_system.h"

namespace velkaro {

// Every entry a search for searchText yields, as "name", or "name/" for one
// reported as a folder; {"<null>"} when findFiles gives no search at all.
inline TextList listedEntries(FileSystem& fs, const Text& searchText) {
  std::unique_ptr<DirectorySearch> search = fs.findFiles(searchText);
  if (search == nullptr) {
    return {"<null>"};
  }
  TextList names;
  FoundEntry entry;
  while (search->next(&entry)) {
    names.push_back(entry.isFolder ? entry.name + "/" : entry.name);
  }
  return names;
}

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_SEARCH_TESTING_H_
