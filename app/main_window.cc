#include "app/main_window.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <limits>
#include <utility>

#include "app/gbk_text.h"
#include "app/path_bytes.h"
#include "platform/event_pump.h"
#include "restore/restore_run.h"

namespace velkaro {
namespace {

// A source that always has something ready (a timer of no interval) would
// keep the pump busy for ever; a listing moves on after this many rounds.
constexpr int kMaxPumpRounds = 64;

}  // namespace

FrameCorner centredFrameCorner(int screenWidth, int screenHeight) {
  // C++ division rounds toward zero, negative quotients included.
  return FrameCorner{(screenWidth - kOuterWidth) / 2,
                     (screenHeight - kOuterHeight) / 2};
}

void pumpToolkitEvents() {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher == nullptr) {
    return;
  }
  // Each round handles what is pending as it starts (window-system events,
  // posted events, timers that are due) and reports whether there was
  // anything; what those handlers post is taken by the next round.
  for (int round = 0; round < kMaxPumpRounds; ++round) {
    if (!dispatcher->processEvents(QEventLoop::AllEvents)) {
      return;
    }
  }
}

MainWindow::MainWindow(std::unique_ptr<FolderChooser> chooser)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      chooser_(std::move(chooser)) {
  setWindowTitle(QStringLiteral("Velkaro"));
  setFixedSize(kClientWidth, kClientHeight);
  // The window is closed, not destroyed, by its close command: a restore
  // run that is listing when the user closes it goes on to its end.
  setAttribute(Qt::WA_DeleteOnClose, false);

  // The controls, in the order the window defines them.
  label1_ = new QLabel(QStringLiteral("Velkaro"), this);
  label1_->setObjectName(QStringLiteral("label1"));
  label1_->setGeometry(170, 61, 104, 24);

  browseButton_ = new QPushButton(QStringLiteral("....."), this);
  browseButton_->setObjectName(QStringLiteral("browseButton"));
  browseButton_->setGeometry(264, 16, 56, 24);

  pathEdit_ = new QLineEdit(this);
  pathEdit_->setObjectName(QStringLiteral("pathEdit"));
  pathEdit_->setGeometry(8, 16, 248, 24);
  pathEdit_->setMaxLength(std::numeric_limits<int>::max());

  restoreButton_ = new QPushButton(gbkToQString(kRestoreCaption), this);
  restoreButton_->setObjectName(QStringLiteral("restoreButton"));
  restoreButton_->setGeometry(75, 56, 80, 32);

  connect(browseButton_, &QPushButton::clicked, this,
          &MainWindow::onBrowseClicked);
  connect(restoreButton_, &QPushButton::clicked, this,
          &MainWindow::onRestoreClicked);

  // Centred on the primary screen. A top-level window's position is that of
  // its outer frame; the frame is the window manager's and not known before
  // the window is shown, so the nominal outer size is centred.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    const FrameCorner corner = centredFrameCorner(area.width(), area.height());
    move(area.x() + corner.x, area.y() + corner.y);
  }
}

MainWindow::~MainWindow() = default;

void MainWindow::onBrowseClicked() {
  const Text path = chooser_->browseForFolder(kChooserTitle);
  if (compareText(path, "") != 0) {
    pathEdit_->setText(fromPathBytes(path));
  }
}

void MainWindow::onRestoreClicked() {
  // Everything the run uses lives on this stack frame, not in the window:
  // the box may be destroyed while the folder is listed (it is then no
  // longer read, and the text it last held stands), and nothing here
  // touches the window once the run has begun.
  const QPointer<QLineEdit> box(pathEdit_);
  Text lastRead;
  const FolderSource folder = [&box, &lastRead]() -> Text {
    if (box != nullptr) {
      lastRead = toPathBytes(box->text());
    }
    return lastRead;
  };

  const ScopedPump pump(&pumpToolkitEvents);
  restoreFolder(folder);
}

}  // namespace velkaro
