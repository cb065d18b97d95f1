// Renders the window as it opens, without a display, into a PNG file:
//   velkaro_screenshot docs/window.png
// Exit code 0 when the file was written, 1 otherwise.

#include <QApplication>
#include <QPixmap>
#include <QString>
#include <cstdio>

#include "app/main_window.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velkaro_screenshot OUTPUT.png\n");
    return 1;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  velkaro::MainWindow window;
  window.show();
  QApplication::processEvents();
  const QPixmap picture = window.grab();
  if (picture.isNull() ||
      !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "velkaro_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
