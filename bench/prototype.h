// Prototypes of the fixes that bench/README.md proposes for the core, built
// on the platform's public interfaces so that the benchmarks can show the
// before and after figures side by side without touching the core:
//
//   - a clock setting kept for as long as the environment that selects the
//     time locale is unchanged, instead of a locale loaded for every
//     10-digit stamp;
//   - a move that asks for the rename without replacing first, and looks at
//     the source only when that is refused, instead of an lstat before
//     every rename;
//   - a window pump that dispatches at most once every few milliseconds
//     (installThrottledWindowPump, in bench/window_pump.h).

#ifndef VELKARO_BENCH_PROTOTYPE_H_
#define VELKARO_BENCH_PROTOTYPE_H_

#include <memory>

namespace velkaro::bench {

// Which of the fixes are installed while one object of this class lives.
struct Fixes {
  bool cachedClock = false;
  bool renameFirst = false;
};

class ScopedFixes {
 public:
  explicit ScopedFixes(Fixes fixes);
  ~ScopedFixes();
  ScopedFixes(const ScopedFixes&) = delete;
  ScopedFixes& operator=(const ScopedFixes&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace velkaro::bench

#endif  // VELKARO_BENCH_PROTOTYPE_H_
