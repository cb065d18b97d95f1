// Folder listing: the files of one folder whose names match a pattern,
// keeping the window's events handled while the folder is read.

#ifndef VELKARO_RESTORE_LISTING_H_
#define VELKARO_RESTORE_LISTING_H_

#include "values/text.h"

namespace velkaro {

// Empties files, then appends every file (never a folder) of folder whose
// name matches pattern ("*.jpg", letter case ignored), in the order the file
// system returns them: prefix + name with withFolder, the bare name without.
// The prefix is folder with the path style's separator appended unless it
// ends in one ("D:\\pics" and "D:\\pics\\" both give "D:\\pics\\a.jpg"; ""
// gives "\\a.jpg"). After each file taken, pumpEvents() runs. Returns the
// number of entries; 0 for a folder that does not exist or cannot be read.
int listFiles(const Text& folder, const Text& pattern, TextList& files,
              bool withFolder);

// Handles every pending window event without waiting, through the installed
// event pump; returns at once when none is installed.
void pumpEvents();

}  // namespace velkaro

#endif  // VELKARO_RESTORE_LISTING_H_
