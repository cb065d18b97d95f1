#include "bench/prototype.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/file_system.h"
#include "platform/locale_services.h"
#include "platform/posix/file_system_posix.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace velkaro::bench {
namespace {

// The host's locale services, with the clock setting read once for each
// state of the variables that select the time locale.
class CachedClockLocale : public LocaleServices {
 public:
  void getClockSetting(Text& buffer) override {
    std::string key = buffer;  // what the host would find in the buffer
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
      const char* value = std::getenv(name);
      key.push_back(value != nullptr ? '=' : '-');
      if (value != nullptr) key.append(value).push_back('\0');
    }
    if (!known_ || key != key_) {
      key_ = std::move(key);
      host_.getClockSetting(buffer);
      written_ = buffer;
      known_ = true;
      return;
    }
    buffer = written_;
  }
  bool toSystemTime(DateTime value, SystemTime* out) override {
    return host_.toSystemTime(value, out);
  }
  void formatDate(const SystemTime& time, const Text& picture,
                  Text& buffer) override {
    host_.formatDate(time, picture, buffer);
  }
  void formatTime(const SystemTime& time, unsigned flags, const Text& picture,
                  Text& buffer) override {
    host_.formatTime(time, flags, picture, buffer);
  }

 private:
  LocaleServices& host_ = hostLocaleServices();
  bool known_ = false;
  std::string key_;
  Text written_;
};

// The host's file system, whose move tries the rename without replacing
// before anything else and leaves every other case (no such rename here, a
// move across file systems) to the host's own move, which looks at the
// source first. A missing source or an existing target fail the rename
// just as they fail the host's checks.
class RenameFirstFileSystem : public PosixFileSystem {
 public:
  bool moveFile(const Text& source, const Text& target) override {
    if (source.empty() || target.empty() || source.find('\0') != Text::npos ||
        target.find('\0') != Text::npos) {
      return false;
    }
    if (syscall(SYS_renameat2, AT_FDCWD, source.c_str(), AT_FDCWD,
                target.c_str(), RENAME_NOREPLACE) == 0) {
      return true;
    }
    const int error = errno;
    if (error == EXDEV || error == EINVAL || error == ENOSYS ||
        error == ENOTSUP || error == EOPNOTSUPP) {
      return PosixFileSystem::moveFile(source, target);
    }
    return false;
  }
};

}  // namespace

struct ScopedFixes::State {
  CachedClockLocale locale;
  RenameFirstFileSystem fileSystem;
  LocaleServices* previousLocale = nullptr;
  FileSystem* previousFileSystem = nullptr;
  Fixes fixes;
};

ScopedFixes::ScopedFixes(Fixes fixes) : state_(std::make_unique<State>()) {
  state_->fixes = fixes;
  if (fixes.cachedClock) {
    state_->previousLocale = installLocaleServices(&state_->locale);
  }
  if (fixes.renameFirst) {
    state_->previousFileSystem = installFileSystem(&state_->fileSystem);
  }
}

ScopedFixes::~ScopedFixes() {
  if (state_->fixes.cachedClock) installLocaleServices(state_->previousLocale);
  if (state_->fixes.renameFirst) {
    installFileSystem(state_->previousFileSystem);
  }
}

}  // namespace velkaro::bench
