#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/path_bytes.h"
#include "app/typing_testing.h"
#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/memory_file_system.h"
#include "platform/scoped_install.h"

namespace velkaro {
namespace {

using Files = std::vector<std::pair<Text, Text>>;

// A chooser that gives a fixed answer and keeps the titles it was shown with.
class FakeChooser : public FolderChooser {
 public:
  struct Record {
    Text answer;
    std::vector<Text> titles;
  };
  explicit FakeChooser(Record* record) : record_(record) {}
  Text browseForFolder(const Text& title) override {
    record_->titles.push_back(title);
    return record_->answer;
  }

 private:
  Record* record_;
};

Files sorted(Files files) {
  std::sort(files.begin(), files.end());
  return files;
}

class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest() : window_(std::make_unique<FakeChooser>(&chooser_)) {}

  void SetUp() override {
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    box_ = window_.findChild<QLineEdit*>(QStringLiteral("pathEdit"));
    browse_ = window_.findChild<QPushButton*>(QStringLiteral("browseButton"));
    restore_ = window_.findChild<QPushButton*>(QStringLiteral("restoreButton"));
    ASSERT_NE(box_, nullptr);
    ASSERT_NE(browse_, nullptr);
    ASSERT_NE(restore_, nullptr);
  }

  void typeIntoBox(const QString& text) {
    typeOver(box_, text);
    ASSERT_EQ(box_->text(), text);
  }

  FakeChooser::Record chooser_;
  MainWindow window_;
  QLineEdit* box_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* restore_ = nullptr;
};

TEST_F(MainWindowTest, FixedFrameCentredOnThePrimaryScreen) {
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("Velkaro"));
  EXPECT_EQ(window_.size(), QSize(333, 100));
  EXPECT_EQ(window_.minimumSize(), QSize(333, 100));
  EXPECT_EQ(window_.maximumSize(), QSize(333, 100));

  const Qt::WindowFlags flags = window_.windowFlags();
  EXPECT_TRUE(window_.isWindow());
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(window_.testAttribute(Qt::WA_DeleteOnClose));

  // The offscreen platform draws no frame: the frame's corner is the
  // window's.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window_.pos(),
            screen.topLeft() + QPoint((screen.width() - 339) / 2,
                                      (screen.height() - 128) / 2));
  EXPECT_EQ(window_.font(), QApplication::font());
}

TEST(CentredFrameCornerTest, DivisionsRoundTowardZero) {
  struct Case {
    int width, height, x, y;
  };
  const Case cases[] = {
      {1920, 1080, 790, 476},
      {1366, 768, 513, 320},  // 1027 / 2 and 640 / 2
      {339, 128, 0, 0},
      {300, 100, -19, -14},  // a screen smaller than the frame
  };
  for (const Case& c : cases) {
    const FrameCorner corner = centredFrameCorner(c.width, c.height);
    EXPECT_EQ(corner.x, c.x) << c.width;
    EXPECT_EQ(corner.y, c.y) << c.height;
  }
}

TEST_F(MainWindowTest, ControlsInTheOrderAndPlacesTheWindowDefines) {
  struct Control {
    const char* objectName;
    const char* className;
    QRect geometry;
    QString text;
  };
  const Control controls[] = {
      {"label1", "QLabel", QRect(170, 61, 104, 24), QStringLiteral("Velkaro")},
      {"browseButton", "QPushButton", QRect(264, 16, 56, 24),
       QStringLiteral(".....")},
      {"pathEdit", "QLineEdit", QRect(8, 16, 248, 24), QString()},
      {"restoreButton", "QPushButton", QRect(75, 56, 80, 32),
       QString::fromUtf16(u"\u8FD8\u539F")},  // 还原, shown as characters
  };
  const QList<QWidget*> children =
      window_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(children.size(), std::size(controls));
  for (size_t i = 0; i < std::size(controls); ++i) {
    const Control& want = controls[i];
    SCOPED_TRACE(want.objectName);
    QWidget* widget = children[static_cast<qsizetype>(i)];
    EXPECT_EQ(widget->objectName(), QLatin1String(want.objectName));
    EXPECT_STREQ(widget->metaObject()->className(), want.className);
    EXPECT_EQ(widget->geometry(), want.geometry);
    EXPECT_EQ(widget->property("text").toString(), want.text);
    EXPECT_EQ(widget->font(), QApplication::font());
  }
}

TEST_F(MainWindowTest, PathBoxHoldsAPathOfAnyLength) {
  // Longer than the box's own default limit of 32767 characters.
  const QString longPath = QStringLiteral("/") + QString(40000, QChar(u'p'));
  box_->setText(longPath);
  EXPECT_EQ(box_->text(), longPath);
}

TEST_F(MainWindowTest, BrowseReplacesTheBoxOnlyWithAChosenFolder) {
  struct Case {
    const char* typed;
    Text chosen;  // file-system bytes; "" is a cancelled chooser
    QString shown;
  };
  const Case cases[] = {
      {"/home/u/typed", "", QStringLiteral("/home/u/typed")},
      {"", "", QString()},
      {"/home/u/typed", "/srv/pics", QStringLiteral("/srv/pics")},
      {"", "/", QStringLiteral("/")},
      // A folder 相册 (UTF-8 bytes on this file system).
      {"x", "/srv/\xE7\x9B\xB8\xE5\x86\x8C",
       QString::fromUtf16(u"/srv/\u76F8\u518C")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    box_->setText(QString::fromUtf8(c.typed));
    chooser_.answer = c.chosen;
    chooser_.titles.clear();
    QTest::mouseClick(browse_, Qt::LeftButton);
    EXPECT_EQ(box_->text(), c.shown);
    EXPECT_EQ(chooser_.titles, std::vector<Text>{kChooserTitle});
  }
}

// A folder of the disk with pictures in it.
class DiskFolder {
 public:
  explicit DiskFolder(const QString& name)
      : path_(root_.path() + QStringLiteral("/") + name) {
    QDir().mkpath(path_);
  }
  bool valid() const { return root_.isValid() && QDir(path_).exists(); }
  const QString& path() const { return path_; }
  void addFile(const char* name, const char* content) const {
    std::ofstream(toPathBytes(path_) + "/" + name) << content;
  }
  // The names and contents of the folder's files.
  Files files() const {
    Files result;
    for (const QString& name : QDir(path_).entryList(QDir::Files)) {
      QFile file(path_ + QStringLiteral("/") + name);
      if (file.open(QIODevice::ReadOnly)) {
        result.emplace_back(toPathBytes(name), file.readAll().toStdString());
      }
    }
    return sorted(result);
  }

 private:
  QTemporaryDir root_;
  QString path_;
};

TEST_F(MainWindowTest, RestoreRenamesThePicturesOfTheTypedFolder) {
  const QString folders[] = {
      QStringLiteral("pics"),
      QString::fromUtf16(u"\u76F8\u518C 2018"),  // 相册 2018
  };
  for (const QString& name : folders) {
    SCOPED_TRACE(name.toStdString());
    DiskFolder folder(name);
    ASSERT_TRUE(folder.valid());
    folder.addFile("mmexport1543717408.jpg", "one");
    folder.addFile("mmexport1543717409.jpg", "two");
    folder.addFile("IMG_0001.jpg", "kept");
    typeIntoBox(folder.path());

    int outerPumpRuns = 0;
    installEventPump([&outerPumpRuns] { ++outerPumpRuns; });
    QTest::mouseClick(restore_, Qt::LeftButton);

    EXPECT_EQ(folder.files(), (Files{{"IMG_0001.jpg", "kept"},
                                     {"mmexport20181202102328.jpg", "one"},
                                     {"mmexport20181202102329.jpg", "two"}}));
    // The pump that was installed before the click is back, unused.
    EXPECT_EQ(outerPumpRuns, 0);
    const EventPump previous = installEventPump(nullptr);
    ASSERT_TRUE(previous);
    previous();
    EXPECT_EQ(outerPumpRuns, 1);
  }
}

// The window over an in-memory file system whose folder /a holds pictures.
class ListingTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ASSERT_TRUE(fs_.addFolder("/b"));
    ASSERT_TRUE(fs_.addFile("/a/mmexport1543717408.jpg", "one"));
    ASSERT_TRUE(fs_.addFile("/a/mmexport1543717409.jpg", "two"));
    ASSERT_TRUE(fs_.addFile("/a/mmexport1543717410.jpg", "three"));
    typeIntoBox(QStringLiteral("/a"));
  }

  // Calls act once, when the first file has been listed.
  void onFirstListed(std::function<void()> act) {
    fs_.setOnListed([this, act = std::move(act)](const FoundEntry&) {
      if (++listed_ == 1) {
        act();
      }
    });
  }

  MemoryFileSystem fs_{PathStyle::kPosix};
  ScopedInstall<FileSystem, installFileSystem> use_{&fs_};
  int listed_ = 0;
};

const Files kRestoredInA = {{"/a/mmexport20181202102328.jpg", "one"},
                            {"/a/mmexport20181202102329.jpg", "two"},
                            {"/a/mmexport20181202102330.jpg", "three"}};

TEST_F(ListingTest, TextTypedDuringTheListingIsTheFolderOfTheTargets) {
  // The keys are only posted: the run's own event pump delivers them.
  onFirstListed([this] { postTypingOver(box_, QStringLiteral("/b")); });
  QTest::mouseClick(restore_, Qt::LeftButton);

  EXPECT_EQ(box_->text(), QStringLiteral("/b"));
  EXPECT_EQ(sorted(fs_.allFiles()),
            (Files{{"/b/mmexport20181202102328.jpg", "one"},
                   {"/b/mmexport20181202102329.jpg", "two"},
                   {"/b/mmexport20181202102330.jpg", "three"}}));
}

TEST_F(ListingTest, BoxDestroyedDuringTheListingLeavesItsLastText) {
  QPointer<QLineEdit> box(box_);
  onFirstListed([box] { delete box.data(); });
  QTest::mouseClick(restore_, Qt::LeftButton);

  EXPECT_EQ(box, nullptr);
  EXPECT_EQ(sorted(fs_.allFiles()), kRestoredInA);
}

TEST_F(ListingTest, SecondClickDuringTheListingLosesNoFile) {
  // The click reaches the window through the pump: a nested run over the
  // same folder while the first is still listing it.
  onFirstListed([this] {
    QMetaObject::invokeMethod(restore_, &QPushButton::click,
                              Qt::QueuedConnection);
  });
  QTest::mouseClick(restore_, Qt::LeftButton);

  EXPECT_GT(listed_, 3);  // the nested run listed the folder too
  EXPECT_EQ(sorted(fs_.allFiles()), kRestoredInA);
}

TEST_F(ListingTest, ClosedDuringTheListingTheRunEndsThenTheProgramWithZero) {
  onFirstListed([this] {
    QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
  });
  // Whether the window was still open when the renaming began.
  int openAtMoves = 0;
  fs_.setMoveRefusal([this, &openAtMoves](const Text&, const Text&) {
    openAtMoves += window_.isVisible() ? 1 : 0;
    return false;
  });
  // The click comes from the program's event loop, as a user's would; the
  // loop must end by itself (with 0) once the run is over.
  QTimer::singleShot(0, restore_,
                     [this] { QTest::mouseClick(restore_, Qt::LeftButton); });
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout,
                   [] { QCoreApplication::exit(99); });
  watchdog.start(10000);
  const int exitCode = QApplication::exec();
  watchdog.stop();

  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(openAtMoves, 0);  // closed during the listing, not after the run
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(sorted(fs_.allFiles()), kRestoredInA);
}

TEST(PumpToolkitEventsTest, HandlesEventsPostedWhileItRuns) {
  std::vector<int> handled;
  QObject receiver;
  QMetaObject::invokeMethod(
      &receiver,
      [&] {
        handled.push_back(1);
        QMetaObject::invokeMethod(
            &receiver, [&] { handled.push_back(2); }, Qt::QueuedConnection);
      },
      Qt::QueuedConnection);
  pumpToolkitEvents();
  EXPECT_EQ(handled, (std::vector<int>{1, 2}));
  pumpToolkitEvents();  // nothing pending: returns at once
  EXPECT_EQ(handled.size(), 2u);
}

TEST(PumpToolkitEventsTest, DestroysNothingUnderTheHandlerThatRunsIt) {
  // The handler that runs the pump gives up one object; a handler that the
  // pump runs gives up another. Only the second goes while the first
  // handler is still running.
  QPointer<QObject> ownObject = new QObject;
  QPointer<QObject> nestedObject = new QObject;
  bool ran = false;
  QObject receiver;
  QMetaObject::invokeMethod(
      &receiver,
      [&] {
        ownObject->deleteLater();
        QMetaObject::invokeMethod(
            &receiver, [&] { nestedObject->deleteLater(); },
            Qt::QueuedConnection);
        pumpToolkitEvents();
        EXPECT_NE(ownObject, nullptr);
        EXPECT_EQ(nestedObject, nullptr);
        ran = true;
      },
      Qt::QueuedConnection);
  QCoreApplication::sendPostedEvents();
  ASSERT_TRUE(ran);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(ownObject, nullptr);
  delete ownObject.data();
}

}  // namespace
}  // namespace velkaro
