#include "bench/floor.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <strings.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace velkaro::bench {
namespace {

int renameNoReplace(int folder, const char* from, const char* to) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 28)
  return renameat2(folder, from, folder, to, RENAME_NOREPLACE);
#else
  return static_cast<int>(
      syscall(SYS_renameat2, folder, from, folder, to, RENAME_NOREPLACE));
#endif
}

bool endsWithJpg(const char* name, size_t length) {
  return length >= 4 && strcasecmp(name + length - 4, ".jpg") == 0;
}

}  // namespace

bool floorNewName(const char* name, char* out, size_t outSize) {
  const char* marker = std::strstr(name, "mmexport");
  if (marker == nullptr) return false;
  const char* digits = marker + 8;
  const char* end = std::strstr(digits, ".jpg");
  if (end == nullptr) return false;
  int64_t value = 0;
  for (const char* p = digits; p != end; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + (*p - '0');
  }
  struct tm parts;
  if (end - digits == 10) {
    const time_t when = static_cast<time_t>(value + 8 * 3600);
    gmtime_r(&when, &parts);
  } else if (end - digits == 13) {
    const time_t when = static_cast<time_t>(value / 1000);
    localtime_r(&when, &parts);
  } else {
    return false;
  }
  std::snprintf(out, outSize, "mmexport%04d%02d%02d%02d%02d%02d.jpg",
                parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                parts.tm_hour, parts.tm_min, parts.tm_sec);
  return true;
}

int floorRestore(const std::string& folder, bool fullPaths) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return -1;
  const int fd = dirfd(dir);

  // Every name first, as the run lists the whole folder before it renames:
  // renaming while reading would let the directory hand back new names.
  std::vector<char> names;
  std::vector<size_t> starts;
  while (const struct dirent* entry = readdir(dir)) {
    if (entry->d_type != DT_REG) {
      if (entry->d_type != DT_UNKNOWN) continue;
      struct stat info;
      if (fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
          !S_ISREG(info.st_mode)) {
        continue;
      }
    }
    const size_t length = std::strlen(entry->d_name);
    if (!endsWithJpg(entry->d_name, length)) continue;
    starts.push_back(names.size());
    names.insert(names.end(), entry->d_name, entry->d_name + length + 1);
  }

  int renamed = 0;
  char target[64];
  std::string from = folder + "/";
  std::string to = from;
  const size_t prefix = from.size();
  for (const size_t start : starts) {
    const char* name = names.data() + start;
    if (!floorNewName(name, target, sizeof target)) continue;
    if (fullPaths) {
      from.resize(prefix);
      from.append(name);
      to.resize(prefix);
      to.append(target);
      if (renameNoReplace(AT_FDCWD, from.c_str(), to.c_str()) == 0) ++renamed;
    } else if (renameNoReplace(fd, name, target) == 0) {
      ++renamed;
    }
  }
  closedir(dir);
  return renamed;
}

}  // namespace velkaro::bench
