// The window's event pump for the benchmarks, on the offscreen platform.
// With the window's library in the build this is the window's own pump
// (pumpToolkitEvents, under a QApplication), and the window itself can run
// a restore; with Qt alone, QCoreApplication::processEvents() under a
// QGuiApplication stands in for it; without Qt there is no pump.

#ifndef VELKARO_BENCH_WINDOW_PUMP_H_
#define VELKARO_BENCH_WINDOW_PUMP_H_

#include <string>

namespace velkaro::bench {

// Whether this build has a pump; what it is ("pumpToolkitEvents",
// "QCoreApplication::processEvents", "none").
bool haveWindowPump();
const char* windowPumpName();

// Makes the application on first use (QT_QPA_PLATFORM=offscreen unless the
// environment names a platform) and installs the pump. False without Qt.
bool installWindowPump();

// The same pump, dispatching only when at least intervalMs milliseconds
// have passed since it last did (a prototype of a cheaper window pump: a
// clock read per file instead of a dispatch per file). False without Qt.
bool installThrottledWindowPump(int intervalMs);

// Removes the pump; the application stays until endWindowPump().
void removeWindowPump();

// Whether the window itself is in the build.
bool haveWindow();

// Sets the shown window's path box to folder and runs its restore button's
// handler, which reads the box afresh for each file with the window's pump
// installed. False (nothing done) without the window.
bool restoreInWindow(const std::string& folder);

// Destroys the window and the application, if they were made.
void endWindowPump();

}  // namespace velkaro::bench

#endif  // VELKARO_BENCH_WINDOW_PUMP_H_
