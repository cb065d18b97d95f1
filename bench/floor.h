// The floor: the same restore done the plainest way the platform allows, as
// the measure no renaming tool can beat by much. It reads the folder with
// readdir, keeps the names of its "*.jpg" files in one buffer, and then for
// each name between "mmexport" and ".jpg" of 10 digits (seconds, written at
// +8 hours with gmtime_r) or 13 digits (milliseconds, in the process's time
// zone with localtime_r) writes the new name with snprintf and renames with
// renameat2(RENAME_NOREPLACE) relative to the open folder.

#ifndef VELKARO_BENCH_FLOOR_H_
#define VELKARO_BENCH_FLOOR_H_

#include <cstddef>
#include <string>

namespace velkaro::bench {

// Restores every picture of folder as above. Returns the number of files
// renamed; -1 when the folder cannot be opened. With fullPaths each rename
// names the folder + "/" + name on both sides, as the run's moves do,
// instead of names relative to the open folder: the difference is the
// kernel's walk of the folder's path, twice per file.
int floorRestore(const std::string& folder, bool fullPaths = false);

// The new name for name ("mmexport1543717408.jpg" ->
// "mmexport20181202102328.jpg") written into out (at least 32 bytes);
// false, out untouched, when the name holds no 10- or 13-digit stamp.
bool floorNewName(const char* name, char* out, size_t outSize);

}  // namespace velkaro::bench

#endif  // VELKARO_BENCH_FLOOR_H_
