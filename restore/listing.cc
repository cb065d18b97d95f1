#include "restore/listing.h"

#include <memory>
#include <utility>

#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/path_style.h"

namespace velkaro {

int listFiles(const Text& folder, const Text& pattern, TextList& files,
              bool withFolder) {
  FileSystem& fs = fileSystem();
  const Text& separator = separatorOf(fs.pathStyle());

  // The prefix and the search text are made before the list is emptied, so
  // that a folder or pattern that is an item of files stays readable.
  Text prefix = folder;
  if (compareText(rightText(prefix, 1), separator) != 0) {
    prefix += separator;
  }
  const Text searchText = concatText(prefix, pattern);

  clearList(files);
  std::unique_ptr<DirectorySearch> search = fs.findFiles(searchText);
  if (search == nullptr) {
    return 0;
  }
  FoundEntry entry;
  while (search->next(&entry)) {
    if (entry.isFolder) {
      continue;  // sub-folders, "." and ".." are never listed
    }
    if (withFolder) {
      appendItem(files, concatText(prefix, entry.name));
    } else {
      appendItem(files, std::move(entry.name));
    }
    pumpEvents();
  }
  search.reset();  // the search ends before the count is given
  return itemCount(files);
}

void pumpEvents() { runEventPump(); }

}  // namespace velkaro
