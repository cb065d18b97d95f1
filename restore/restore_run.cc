#include "restore/restore_run.h"

#include <cstddef>

#include "platform/file_system.h"
#include "platform/path_style.h"
#include "restore/guarded_rename.h"
#include "restore/listing.h"
#include "restore/marker.h"
#include "timeconv/compact_date_time.h"
#include "timeconv/timestamp_conversion.h"
#include "values/date_time.h"

namespace velkaro {
namespace {

const Text& pattern() {
  static const Text kPattern = "*.jpg";
  return kPattern;
}
const Text& marker() {
  static const Text kMarker = "mmexport";
  return kMarker;
}
const Text& extension() {
  static const Text kExtension = ".jpg";
  return kExtension;
}

// Whether stamp can stand for a capture time: exactly 13 decimal digits
// (milliseconds), or exactly 10 (seconds) that a signed 32-bit count holds.
// Anything else ("", "1543717408 (1)", an already restored
// "20181202102328", "2147483648") would be read as a false date.
bool isUsableStamp(const Text& stamp) {
  const std::size_t length = stamp.size();
  if (length != 10 && length != 13) {
    return false;
  }
  for (const char c : stamp) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  // Same length, digits only: the byte order is the numeric order.
  return length == 13 || stamp <= "2147483647";
}

}  // namespace

Text nameStampFor(const Text& stamp) {
  if (!isUsableStamp(stamp)) {
    return Text();
  }
  const DateTime when = toDateTime(timestampToDateText(stamp));
  if (when == kMinDateTime) {
    return Text();  // the conversion failed
  }
  static const Text kEmpty;
  static const Text kSpace = " ";
  return replaceText(dateTimeToText(when, kEmpty, kEmpty, 3), kSpace, kEmpty);
}

void restoreFolder(const FolderSource& folder) {
  Text folderText = folder();
  TextList files;
  listFiles(folderText, pattern(), files, true);
  // The list is complete now: a file renamed below is never met again.
  const int count = itemCount(files);
  if (count == 0) {
    return;
  }
  const Text& separator = separatorOf(fileSystem().pathStyle());

  Text target;  // one buffer for every target of the run
  for (int i = 0; i < count; ++i) {
    const Text& path = files[static_cast<std::size_t>(i)];
    const Text nameStamp =
        nameStampFor(textBetween(path, marker(), extension()));
    // The folder is read afresh for every file, whether it is renamed or
    // not: the path box may name another folder by now.
    folderText = folder();
    if (nameStamp.empty()) {
      continue;  // no usable capture time: the file keeps its name
    }
    target.clear();
    target.reserve(folderText.size() + separator.size() + marker().size() +
                   nameStamp.size() + extension().size());
    target.append(folderText)
        .append(separator)
        .append(marker())
        .append(nameStamp)
        .append(extension());
    renameIfValid(path, target);  // a refused file keeps its name
  }
}

}  // namespace velkaro
