// The event pump: what handles every pending window event without waiting.
// Nothing is installed by default; the window installs its own.

#ifndef VELKARO_PLATFORM_EVENT_PUMP_H_
#define VELKARO_PLATFORM_EVENT_PUMP_H_

#include <functional>
#include <utility>

namespace velkaro {

using EventPump = std::function<void()>;

// Installs pump (an empty one removes it); returns the one installed before.
EventPump installEventPump(EventPump pump);

// Runs the installed pump once, if there is one.
void runEventPump();

// Installs a pump for the length of a scope and puts the earlier one back:
//   ScopedPump pump([&] { ++events; });
class ScopedPump {
 public:
  explicit ScopedPump(EventPump pump)
      : previous_(installEventPump(std::move(pump))) {}
  ~ScopedPump() { installEventPump(std::move(previous_)); }
  ScopedPump(const ScopedPump&) = delete;
  ScopedPump& operator=(const ScopedPump&) = delete;

 private:
  EventPump previous_;
};

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_EVENT_PUMP_H_
