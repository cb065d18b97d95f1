// Velkaro: opens the window and runs until it is closed. Takes no arguments,
// reads no settings and saves nothing; the exit code is 0.

#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The window is not destroyed when it is closed (a run may still be
  // listing then); the event loop ends once no window is left open, after
  // the handler that was running has returned.
  velkaro::MainWindow window;
  window.show();
  app.exec();
  return 0;
}
