// The generated picture folders the folder benchmarks run over: a seeded,
// reproducible set of exported-picture names, and a scratch folder that is
// filled with them afresh before every timed run.

#ifndef VELKARO_BENCH_BENCH_FOLDER_H_
#define VELKARO_BENCH_BENCH_FOLDER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::bench {

// Where a scratch folder lives: on a RAM file system (/dev/shm where it
// exists and can be written, else the temporary folder) or on the ordinary
// temporary folder.
enum class Medium { kRam, kDisk };

// "ram" or "disk".
const char* mediumName(Medium medium);

// The folder under which scratch folders of medium are made.
//   folderFor(Medium::kRam) == "/dev/shm" on Linux; the temporary folder
//   (TMPDIR, else the platform's) for kDisk and where /dev/shm is missing.
std::string folderFor(Medium medium);

// The name of the file system that holds path ("tmpfs", "ext4", ...), or
// its magic number in hex when it is not one of the common ones; "?" when
// path cannot be examined.
std::string fileSystemTypeOf(const std::string& path);

// Names kept end to end in one buffer, each followed by a zero byte: a
// folder of 100,000 names costs the harness 3 MiB, not the 6 MiB or more
// of as many strings, so that the process's peak memory is the run's.
class NameList {
 public:
  void add(std::string_view name);
  size_t size() const { return starts_.size(); }
  // The name at i, zero-terminated.
  const char* operator[](size_t i) const { return bytes_.data() + starts_[i]; }

 private:
  std::string bytes_;
  std::vector<uint32_t> starts_;
};

// count picture names "mmexport" + stamp + ".jpg" in creation order: the
// even positions hold 10-digit stamps (seconds), the odd ones 13-digit
// stamps (milliseconds), and every stamp falls in a second of its own
// between 2013 and 2024, so that every picture gets a name of its own.
// The same count and seed give the same names.
struct PictureSet {
  NameList names;
  // The capture second of every picture, sorted.
  std::vector<int64_t> seconds;
};
PictureSet makePictureSet(int count, uint64_t seed = 20181202);

// The set for count, made once per process and kept.
const PictureSet& pictureSetOf(int count);

// The name a picture of that capture second has once restored: the second
// written at +8 hours (the 10-digit rule, and the 13-digit rule in the
// Asia/Shanghai zone) as YYYYMMDDHHMMSS.
//   restoredNameOf(1543717408) == "mmexport20181202102328.jpg"
std::string restoredNameOf(int64_t second);

// Makes the folder path (its parent must exist) and creates every picture
// of set in it, in order, as empty files. Returns false, with errno set,
// when the folder or a file cannot be made.
bool makePictureFolder(const std::string& path, const PictureSet& set);

// Whether the folder path holds the restored name of every picture of set
// and nothing else.
bool folderHoldsRestored(const std::string& path, const PictureSet& set);

// A folder of its own under a parent folder, removed with everything in it
// when the object goes. Failures are reported by ok() and error().
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& parent);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  // Empties the picture folder and creates every picture of set in it, in
  // order, as empty files. Returns the picture folder's path (no separator
  // at the end), or "" when a file could not be made (see error()).
  const std::string& rebuild(const PictureSet& set);

  // The picture folder's path; "" before the first rebuild.
  const std::string& pictures() const { return pictures_; }

  // Whether the picture folder holds the restored names of set alone.
  bool holdsRestored(const PictureSet& set) const;

 private:
  void removePictures();

  std::string root_;
  std::string pictures_;
  std::string error_;
};

// The process's peak resident memory so far, in MiB: the kernel's
// high-water mark of this program (the peaks before resetPeakMemory()
// included), where Linux gives it; else getrusage's.
double peakMemoryMiB();

// Starts a new peak: resets the kernel's high-water mark of the process's
// resident memory (Linux). False where it cannot be reset.
bool resetPeakMemory();

// The peak resident memory since the last resetPeakMemory(), in MiB; 0
// where it cannot be read.
double peakMemorySinceResetMiB();

}  // namespace velkaro::bench

#endif  // VELKARO_BENCH_BENCH_FOLDER_H_
