// The restore run: every "*.jpg" file of a folder renamed to "mmexport",
// the fourteen digits YYYYMMDDHHMMSS of its capture time and ".jpg".

#ifndef VELKARO_RESTORE_RESTORE_RUN_H_
#define VELKARO_RESTORE_RESTORE_RUN_H_

#include <functional>

#include "values/text.h"

namespace velkaro {

// Returns the folder path as it is at the moment of the call.
using FolderSource = std::function<Text()>;

// Lists the folder that folder() names, then, for each listed file in
// listing order, takes the stamp between "mmexport" and ".jpg", converts it,
// reads folder() afresh and renames the file to
// folder + separator + "mmexport" + YYYYMMDDHHMMSS + ".jpg".
// Only a stamp of exactly 10 digits (at most 2147483647) or 13 digits whose
// conversion reads as a date gives a new name; every other file keeps its
// name. Nothing is reported and no failure ends the run; an existing file is
// never replaced (of two pictures of the same second the first listed is
// renamed, the other keeps its name).
//   D:\pics\mmexport1543717408.jpg -> D:\pics\mmexport20181202102328.jpg
void restoreFolder(const FolderSource& folder);

// The new name stamp for a stamp ("1543717408" -> "20181202102328"), or the
// empty text when the stamp gives no usable capture time.
Text nameStampFor(const Text& stamp);

}  // namespace velkaro

#endif  // VELKARO_RESTORE_RESTORE_RUN_H_
