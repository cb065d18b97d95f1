#include "bench/bench_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <random>

namespace velkaro::bench {
namespace {

// 2013-01-01 00:00:00 and 2024-01-01 00:00:00 UTC.
constexpr int64_t kFirstSecond = 1356998400;
constexpr int64_t kEndSecond = 1704067200;
// A 10-digit stamp is written at +8 hours.
constexpr int64_t kEightHours = 8 * 3600;

std::string errnoText(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

// Whether name is a restored name; its capture second then goes to *second.
bool restoredSecondOf(const char* name, int64_t* second) {
  if (std::strlen(name) != 26 || std::strncmp(name, "mmexport", 8) != 0 ||
      std::strcmp(name + 22, ".jpg") != 0) {
    return false;
  }
  int field[6];
  const int widths[6] = {4, 2, 2, 2, 2, 2};
  const char* p = name + 8;
  for (int f = 0; f < 6; ++f) {
    field[f] = 0;
    for (int i = 0; i < widths[f]; ++i, ++p) {
      if (*p < '0' || *p > '9') return false;
      field[f] = field[f] * 10 + (*p - '0');
    }
  }
  struct tm parts = {};
  parts.tm_year = field[0] - 1900;
  parts.tm_mon = field[1] - 1;
  parts.tm_mday = field[2];
  parts.tm_hour = field[3];
  parts.tm_min = field[4];
  parts.tm_sec = field[5];
  *second = static_cast<int64_t>(timegm(&parts)) - kEightHours;
  // A field out of range would alias another second: the name must be the
  // one that second gives.
  return restoredNameOf(*second) == name;
}

}  // namespace

std::string restoredNameOf(int64_t second) {
  const time_t shifted = static_cast<time_t>(second + kEightHours);
  struct tm parts;
  gmtime_r(&shifted, &parts);
  char name[64];
  std::snprintf(name, sizeof name, "mmexport%04d%02d%02d%02d%02d%02d.jpg",
                parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                parts.tm_hour, parts.tm_min, parts.tm_sec);
  return name;
}

const char* mediumName(Medium medium) {
  return medium == Medium::kRam ? "ram" : "disk";
}

std::string folderFor(Medium medium) {
  if (medium == Medium::kRam) {
    struct stat info;
    if (stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) &&
        access("/dev/shm", W_OK | X_OK) == 0) {
      return "/dev/shm";
    }
  }
  std::error_code error;
  std::string temp = std::filesystem::temp_directory_path(error).string();
  if (error || temp.empty()) temp = P_tmpdir;  // from <cstdio>
  while (temp.size() > 1 && temp.back() == '/') temp.pop_back();
  return temp;
}

std::string fileSystemTypeOf(const std::string& path) {
  struct statfs info;
  if (statfs(path.c_str(), &info) != 0) return "?";
  static const std::map<unsigned long, const char*> kNames = {
      {0x01021994, "tmpfs"}, {0xEF53, "ext4"},        {0x58465342, "xfs"},
      {0x9123683E, "btrfs"}, {0x794C7630, "overlay"}, {0x858458F6, "ramfs"},
      {0x6969, "nfs"},       {0x2FC12FC1, "zfs"},     {0x65735546, "fuse"},
      {0xF2F52010, "f2fs"}};
  const auto found = kNames.find(static_cast<unsigned long>(info.f_type));
  if (found != kNames.end()) return found->second;
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%lx",
                static_cast<unsigned long>(info.f_type));
  return hex;
}

void NameList::add(std::string_view name) {
  starts_.push_back(static_cast<uint32_t>(bytes_.size()));
  bytes_.append(name);
  bytes_.push_back('\0');
}

PictureSet makePictureSet(int count, uint64_t seed) {
  std::mt19937_64 random(seed);
  std::uniform_int_distribution<int64_t> seconds(kFirstSecond, kEndSecond - 1);
  std::uniform_int_distribution<int> milliseconds(0, 999);

  // Seconds drawn in order; one drawn before is drawn again (rare: a few
  // in 100,000), found through a sorted copy rather than a hash set, which
  // would cost the harness more memory than the names.
  std::vector<int64_t> drawn(static_cast<size_t>(count));
  for (int64_t& second : drawn) second = seconds(random);
  std::vector<int64_t> unique = drawn;
  std::sort(unique.begin(), unique.end());
  unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
  std::vector<bool> used(unique.size(), false);
  std::vector<int64_t> extra;  // the seconds drawn again, sorted
  const auto taken = [&](int64_t second) {
    return std::binary_search(unique.begin(), unique.end(), second) ||
           std::binary_search(extra.begin(), extra.end(), second);
  };
  for (int64_t& second : drawn) {
    const size_t at = static_cast<size_t>(
        std::lower_bound(unique.begin(), unique.end(), second) -
        unique.begin());
    if (!used[at]) {
      used[at] = true;
      continue;
    }
    do {
      second = seconds(random);
    } while (taken(second));
    extra.insert(std::lower_bound(extra.begin(), extra.end(), second), second);
  }

  PictureSet set;
  for (size_t i = 0; i < drawn.size(); ++i) {
    char name[64];
    if (i % 2 == 0) {
      std::snprintf(name, sizeof name, "mmexport%lld.jpg",
                    static_cast<long long>(drawn[i]));
    } else {
      std::snprintf(name, sizeof name, "mmexport%lld%03d.jpg",
                    static_cast<long long>(drawn[i]), milliseconds(random));
    }
    set.names.add(name);
  }
  set.seconds = std::move(drawn);
  std::sort(set.seconds.begin(), set.seconds.end());
  return set;
}

const PictureSet& pictureSetOf(int count) {
  static std::map<int, std::unique_ptr<PictureSet>> sets;
  std::unique_ptr<PictureSet>& set = sets[count];
  if (set == nullptr) set = std::make_unique<PictureSet>(makePictureSet(count));
  return *set;
}

ScratchFolder::ScratchFolder(const std::string& parent) {
  std::string pattern = parent + "/velkaro-bench-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    error_ = errnoText("cannot make a folder in", parent);
    return;
  }
  root_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  if (root_.empty()) return;
  removePictures();
  rmdir(root_.c_str());
}

void ScratchFolder::removePictures() {
  if (pictures_.empty()) return;
  if (DIR* dir = opendir(pictures_.c_str())) {
    const int fd = dirfd(dir);
    while (const struct dirent* entry = readdir(dir)) {
      if (std::strcmp(entry->d_name, ".") == 0 ||
          std::strcmp(entry->d_name, "..") == 0) {
        continue;
      }
      unlinkat(fd, entry->d_name, 0);
    }
    closedir(dir);
  }
  rmdir(pictures_.c_str());
  pictures_.clear();
}

bool makePictureFolder(const std::string& path, const PictureSet& set) {
  if (mkdir(path.c_str(), 0755) != 0) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  for (size_t i = 0; i < set.names.size(); ++i) {
    const int file =
        openat(fd, set.names[i], O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0) {
      const int error = errno;
      close(fd);
      errno = error;
      return false;
    }
    close(file);
  }
  close(fd);
  return true;
}

bool folderHoldsRestored(const std::string& path, const PictureSet& set) {
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return false;
  // The names of one folder differ, and so do the seconds they stand for:
  // as many entries as pictures, each the restored name of one of them,
  // make the whole set.
  size_t entries = 0;
  size_t restored = 0;
  while (const struct dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 ||
        std::strcmp(entry->d_name, "..") == 0) {
      continue;
    }
    ++entries;
    int64_t second = 0;
    if (restoredSecondOf(entry->d_name, &second) &&
        std::binary_search(set.seconds.begin(), set.seconds.end(), second)) {
      ++restored;
    }
  }
  closedir(dir);
  return entries == set.seconds.size() && restored == entries;
}

const std::string& ScratchFolder::rebuild(const PictureSet& set) {
  static const std::string kNone;
  if (root_.empty()) return kNone;
  removePictures();
  const std::string folder = root_ + "/pictures";
  if (!makePictureFolder(folder, set)) {
    error_ = errnoText("cannot fill", folder);
    if (access(folder.c_str(), F_OK) == 0) pictures_ = folder;
    return kNone;
  }
  pictures_ = folder;
  return pictures_;
}

bool ScratchFolder::holdsRestored(const PictureSet& set) const {
  return folderHoldsRestored(pictures_, set);
}

namespace {

// The kernel's high-water mark of this process's resident memory (VmHWM),
// in MiB; -1 where it cannot be read. Unlike getrusage's ru_maxrss, which
// keeps the peak of the process that started this one (the peak is carried
// across exec), it counts this program's memory alone.
double highWaterMiB() {
  FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  char line[256];
  double peak = -1;
  while (std::fgets(line, sizeof line, status) != nullptr) {
    long kib = 0;
    if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1) {
      peak = static_cast<double>(kib) / 1024.0;
      break;
    }
  }
  std::fclose(status);
  return peak;
}

// The highest mark seen before a reset.
double g_peakBeforeReset = 0;

}  // namespace

bool resetPeakMemory() {
  const double before = highWaterMiB();
  if (before < 0) return false;
  g_peakBeforeReset = std::max(g_peakBeforeReset, before);
  const int fd = open("/proc/self/clear_refs", O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool done = write(fd, "5", 1) == 1;
  close(fd);
  return done;
}

double peakMemorySinceResetMiB() { return std::max(highWaterMiB(), 0.0); }

double peakMemoryMiB() {
  const double now = highWaterMiB();
  if (now >= 0) return std::max(g_peakBeforeReset, now);
  struct rusage usage;
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is KiB
}

}  // namespace velkaro::bench
