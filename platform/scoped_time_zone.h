// Sets the process's time zone (TZ) for the length of a scope, as tests and
// benchmarks do:   ScopedTimeZone zone("Asia/Shanghai");

#ifndef VELKARO_PLATFORM_SCOPED_TIME_ZONE_H_
#define VELKARO_PLATFORM_SCOPED_TIME_ZONE_H_

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace velkaro {

class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) {
      previous_ = old;
    }
    set(zone);
  }
  ~ScopedTimeZone() { set(previous_ ? previous_->c_str() : nullptr); }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  static void set(const char* zone) {
#if defined(_WIN32)
    _putenv_s("TZ", zone != nullptr ? zone : "");
    _tzset();
#else
    if (zone != nullptr) {
      setenv("TZ", zone, 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
#endif
  }

  std::optional<std::string> previous_;
};

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_SCOPED_TIME_ZONE_H_
