#include "bench/window_pump.h"

#include "platform/event_pump.h"

#if VELKARO_BENCH_WINDOW || VELKARO_BENCH_QT
#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <memory>
#endif

#if VELKARO_BENCH_WINDOW
#include <QApplication>
#include <QLineEdit>

#include "app/main_window.h"
#include "app/path_bytes.h"
#elif VELKARO_BENCH_QT
#include <QGuiApplication>
#endif

namespace velkaro::bench {

#if VELKARO_BENCH_WINDOW || VELKARO_BENCH_QT

namespace {

#if VELKARO_BENCH_WINDOW
using Application = QApplication;
void pump() { pumpToolkitEvents(); }
constexpr char kPumpName[] = "pumpToolkitEvents";
#else
using Application = QGuiApplication;
void pump() { QCoreApplication::processEvents(); }
constexpr char kPumpName[] = "QCoreApplication::processEvents";
#endif

int g_argc = 1;
char g_name[] = "velkaro_bench";
char* g_argv[] = {g_name, nullptr};

std::unique_ptr<Application>& application() {
  static std::unique_ptr<Application> app;
  return app;
}

void makeApplication() {
  if (application() == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    application() = std::make_unique<Application>(g_argc, g_argv);
  }
}

#if VELKARO_BENCH_WINDOW
std::unique_ptr<MainWindow>& window() {
  static std::unique_ptr<MainWindow> w;
  return w;
}
#endif

}  // namespace

bool haveWindowPump() { return true; }
const char* windowPumpName() { return kPumpName; }

bool installWindowPump() {
  makeApplication();
  installEventPump(&pump);
  return true;
}

bool installThrottledWindowPump(int intervalMs) {
  makeApplication();
  // The pump is copied for every call, so its clock lives outside it.
  using Clock = std::chrono::steady_clock;
  static Clock::time_point last;
  static Clock::duration interval;
  last = Clock::time_point();
  interval = std::chrono::milliseconds(intervalMs);
  installEventPump([] {
    const Clock::time_point now = Clock::now();
    if (now - last >= interval) {
      last = now;
      pump();
    }
  });
  return true;
}

void removeWindowPump() { installEventPump(EventPump()); }

#if VELKARO_BENCH_WINDOW
bool haveWindow() { return true; }

bool restoreInWindow(const std::string& folder) {
  makeApplication();
  if (window() == nullptr) {
    window() = std::make_unique<MainWindow>();
    window()->show();
    pumpToolkitEvents();
  }
  QLineEdit* box = window()->findChild<QLineEdit*>();
  if (box == nullptr) return false;
  box->setText(fromPathBytes(folder));
  window()->onRestoreClicked();
  return true;
}
#else
bool haveWindow() { return false; }
bool restoreInWindow(const std::string&) { return false; }
#endif

void endWindowPump() {
  removeWindowPump();
#if VELKARO_BENCH_WINDOW
  window().reset();
#endif
  application().reset();
}

#else

bool haveWindowPump() { return false; }
const char* windowPumpName() { return "none"; }
bool installWindowPump() { return false; }
bool installThrottledWindowPump(int) { return false; }
void removeWindowPump() {}
bool haveWindow() { return false; }
bool restoreInWindow(const std::string&) { return false; }
void endWindowPump() {}

#endif

}  // namespace velkaro::bench
