// The host file system on POSIX systems.

#include "platform/posix/file_system_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/wildcard.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace velkaro {
namespace {

// ---------------------------------------------------------------------------
// Directory search

class PosixSearch : public DirectorySearch {
 public:
  PosixSearch(DIR* dir, Text pattern)
      : dir_(dir), pattern_(std::move(pattern)) {}
  ~PosixSearch() override { closedir(dir_); }
  PosixSearch(const PosixSearch&) = delete;
  PosixSearch& operator=(const PosixSearch&) = delete;

  // Reads on to the next matching entry. False at the end of the folder or
  // when it can no longer be read.
  bool readMatch(FoundEntry* entry) {
    for (;;) {
      errno = 0;
      const dirent* d = readdir(dir_);
      if (d == nullptr) {
        return false;
      }
      const Text name = d->d_name;
      if (name == "." || name == "..") {
        continue;
      }
      if (!wildcardMatches(pattern_, name, /*twoByteCharacters=*/false)) {
        continue;
      }
      entry->name = name;
      entry->isFolder = isFolderEntry(*d);
      return true;
    }
  }

  // Keeps the first match that findFiles read to learn whether there is one.
  void holdFirst(FoundEntry entry) {
    first_ = std::move(entry);
    haveFirst_ = true;
  }

  bool next(FoundEntry* entry) override {
    if (haveFirst_) {
      haveFirst_ = false;
      *entry = std::move(first_);
      return true;
    }
    return readMatch(entry);
  }

 private:
  // Whether the entry is a folder, a symbolic link counting as what it
  // points to; anything that cannot be looked at (a dangling link, an entry
  // gone meanwhile) counts as a file.
  bool isFolderEntry(const dirent& d) const {
#ifdef _DIRENT_HAVE_D_TYPE
    if (d.d_type == DT_DIR) {
      return true;
    }
    if (d.d_type != DT_LNK && d.d_type != DT_UNKNOWN) {
      return false;
    }
#endif
    struct stat st;
    if (fstatat(dirfd(dir_), d.d_name, &st, 0) != 0) {
      return false;
    }
    return S_ISDIR(st.st_mode);
  }

  DIR* dir_;
  Text pattern_;
  FoundEntry first_;
  bool haveFirst_ = false;
};

// ---------------------------------------------------------------------------
// Moves

bool holdsZeroByte(const Text& t) { return t.find('\0') != Text::npos; }

// Renames from to to unless something named to exists. Returns 0 or the
// error; ENOSYS where the system has no such rename.
int renameNoReplace(const char* from, const char* to) {
#if defined(__linux__) && defined(SYS_renameat2)
  if (syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) ==
      0) {
    return 0;
  }
  return errno;
#elif defined(__APPLE__) && defined(RENAME_EXCL)
  return renamex_np(from, to, RENAME_EXCL) == 0 ? 0 : errno;
#else
  (void)from;
  (void)to;
  return ENOSYS;
#endif
}

// Whether the error says that the rename without replacing is not to be
// had here, rather than that this rename failed.
bool isUnsupported(int error) {
  return error == EINVAL || error == ENOSYS || error == ENOTSUP ||
         error == EOPNOTSUPP;
}

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes path when it still is the file identified by st.
void removeIfSame(const char* path, const struct stat& st) {
  struct stat now;
  if (lstat(path, &now) == 0 && sameFile(now, st)) {
    unlink(path);
  }
}

enum class Outcome { kMoved, kFailed, kCrossDevice };

// Publishes from under to without replacing anything: a rename without
// replacing, or where that is refused a hard link (whose creation fails on
// an existing name) followed by the removal of from.
Outcome publishNoReplace(const char* from, const char* to,
                         const struct stat& fromStat, bool renameFirst) {
  const int error = renameFirst ? renameNoReplace(from, to) : ENOSYS;
  if (error == 0) {
    return Outcome::kMoved;
  }
  if (error == EXDEV) {
    return Outcome::kCrossDevice;
  }
  if (!isUnsupported(error)) {
    return Outcome::kFailed;
  }
  // A hard link is only safe to stand in for a rename of a regular file.
  if (!S_ISREG(fromStat.st_mode)) {
    return Outcome::kFailed;
  }
  if (linkat(AT_FDCWD, from, AT_FDCWD, to, 0) != 0) {
    return errno == EXDEV ? Outcome::kCrossDevice : Outcome::kFailed;
  }
  if (unlink(from) == 0 || errno == ENOENT) {
    return Outcome::kMoved;
  }
  // Both names stand for the file; take the new one back.
  removeIfSame(to, fromStat);
  return Outcome::kFailed;
}

// The folder part of path with its trailing "/": "" for a bare name.
Text folderPartOf(const Text& path) {
  const size_t slash = path.rfind('/');
  return slash == Text::npos ? Text() : path.substr(0, slash + 1);
}

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool copyData(int in, int out) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = read(in, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    if (n == 0) {
      return true;
    }
    if (!writeAll(out, buffer.data(), static_cast<size_t>(n))) {
      return false;
    }
  }
}

// Flushes the folder's own entries; nothing is lost when this fails.
void syncFolder(const Text& folder) {
  const int fd = open(folder.empty() ? "." : folder.c_str(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

// An open file descriptor, closed when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now; false when closing reports an error.
  bool closeNow() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

// The move across file systems: a copy in target's folder under a
// temporary name, published under target without replacing, and then the
// removal of source. On any failure the temporary file is removed and
// source stays as it was.
bool moveAcross(const Text& source, const Text& target, bool renameFirst) {
  Descriptor in(open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_NOCTTY |
                                         O_NONBLOCK | O_CLOEXEC));
  if (in.get() < 0) {
    return false;
  }
  struct stat sourceStat;
  if (fstat(in.get(), &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode)) {
    return false;
  }

  const Text folder = folderPartOf(target);
  Text temporary = folder + ".velkaro-move-XXXXXX";
  Descriptor out(mkstemp(temporary.data()));
  if (out.get() < 0) {
    return false;
  }
  struct stat copyStat;
  const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
  bool ok = fstat(out.get(), &copyStat) == 0 && copyData(in.get(), out.get());
  if (ok) {
    // The owner where the process may set it (as the superuser); the mode
    // after it, since a change of owner may clear the set-id bits.
    (void)!fchown(out.get(), sourceStat.st_uid, sourceStat.st_gid);
    ok = fchmod(out.get(), sourceStat.st_mode & 07777) == 0 &&
         futimens(out.get(), times) == 0 && fsync(out.get()) == 0;
  }
  ok = out.closeNow() && ok;
  if (!ok) {
    unlink(temporary.c_str());
    return false;
  }

  if (publishNoReplace(temporary.c_str(), target.c_str(), copyStat,
                       renameFirst) != Outcome::kMoved) {
    unlink(temporary.c_str());
    return false;
  }
  syncFolder(folder);

  // Remove the source only when it still is the file that was copied.
  struct stat now;
  if (lstat(source.c_str(), &now) != 0 || !sameFile(now, sourceStat)) {
    removeIfSame(target.c_str(), copyStat);
    return false;
  }
  if (unlink(source.c_str()) != 0 && errno != ENOENT) {
    removeIfSame(target.c_str(), copyStat);
    return false;
  }
  syncFolder(folderPartOf(source));
  return true;
}

}  // namespace

PosixFileSystem::PosixFileSystem(bool renameNoReplace)
    : renameNoReplace_(renameNoReplace) {}

PathStyle PosixFileSystem::pathStyle() const { return PathStyle::kPosix; }

std::unique_ptr<DirectorySearch> PosixFileSystem::findFiles(
    const Text& searchText) {
  if (holdsZeroByte(searchText)) {
    return nullptr;
  }
  const size_t slash = searchText.rfind('/');
  Text folder;
  Text pattern;
  if (slash == Text::npos) {
    folder = ".";
    pattern = searchText;
  } else {
    folder = slash == 0 ? Text("/") : searchText.substr(0, slash);
    pattern = searchText.substr(slash + 1);
  }
  if (pattern.empty()) {
    return nullptr;
  }
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    return nullptr;
  }
  auto search = std::make_unique<PosixSearch>(dir, std::move(pattern));
  FoundEntry first;
  if (!search->readMatch(&first)) {
    return nullptr;
  }
  search->holdFirst(std::move(first));
  return search;
}

bool PosixFileSystem::moveFile(const Text& source, const Text& target) {
  if (source.empty() || target.empty() || holdsZeroByte(source) ||
      holdsZeroByte(target)) {
    return false;
  }
  struct stat sourceStat;
  if (lstat(source.c_str(), &sourceStat) != 0) {
    return false;
  }
  switch (publishNoReplace(source.c_str(), target.c_str(), sourceStat,
                           renameNoReplace_)) {
    case Outcome::kMoved:
      return true;
    case Outcome::kCrossDevice:
      return moveAcross(source, target, renameNoReplace_);
    case Outcome::kFailed:
      break;
  }
  return false;
}

int PosixFileSystem::fileNameStart(const Text& path) {
  return posixFileNameStart(path);
}

FileSystem& hostFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace velkaro
