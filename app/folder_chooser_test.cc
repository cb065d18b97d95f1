#include "app/folder_chooser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>
#include <utility>

#include "app/main_window.h"
#include "app/path_bytes.h"
#include "app/typing_testing.h"

namespace velkaro {
namespace {

// Calls act with the chooser's dialog once it is open and modal. Gives up
// (and closes whatever dialog is open) after five seconds, so that a
// chooser that never shows up fails the test instead of hanging it.
void whenChooserOpens(std::function<void(QFileDialog*)> act) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(
      timer, &QTimer::timeout, [timer, tries, act = std::move(act)] {
        if (auto* dialog =
                qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
          timer->stop();
          timer->deleteLater();
          act(dialog);
          return;
        }
        if (++*tries > 500) {
          timer->stop();
          timer->deleteLater();
          ADD_FAILURE() << "no modal folder dialog opened";
          for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QFileDialog*>(widget)) {
              dialog->reject();
            }
          }
        }
      });
  timer->start(10);
}

// A window with one button, active, standing for the main window.
class ChooserTest : public testing::Test {
 protected:
  void SetUp() override {
    owner_.resize(200, 100);
    button_ = new QPushButton(QStringLiteral("b"), &owner_);
    button_->setGeometry(10, 10, 80, 30);
    QObject::connect(button_, &QPushButton::clicked, [this] { ++clicks_; });
    owner_.show();
    owner_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner_));
  }

  // A click on the button as the window system delivers it, subject to
  // the program's modal dialogs.
  void clickButtonThroughTheWindow() {
    QTest::mouseClick(owner_.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      button_->geometry().center());
  }

  QWidget owner_;
  QPushButton* button_ = nullptr;
  int clicks_ = 0;
  QtFolderChooser chooser_;
};

TEST_F(ChooserTest, TypedFolderComesBackAsFileSystemBytes) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString folder =
      root.path() + QString::fromUtf16(u"/\u76F8\u518C");  // .../相册
  ASSERT_TRUE(QDir().mkpath(folder));

  bool seen = false;
  whenChooserOpens([&](QFileDialog* dialog) {
    seen = true;
    EXPECT_EQ(dialog->windowTitle(),
              QString::fromUtf16(u"\u9009\u62E9\u76EE\u5F55"));  // 选择目录
    EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(dialog->testOption(QFileDialog::ShowDirsOnly));
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);

    // The window behind takes no input while the chooser is open.
    clickButtonThroughTheWindow();
    EXPECT_EQ(clicks_, 0);

    auto* line = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(line, nullptr);
    typeOver(line, folder);
    QTest::keyClick(line, Qt::Key_Return);
  });
  const Text chosen = chooser_.browseForFolder(kChooserTitle);
  EXPECT_TRUE(seen);
  EXPECT_EQ(chosen, toPathBytes(QDir::toNativeSeparators(folder)));

  // The window is active again and takes clicks.
  EXPECT_TRUE(QTest::qWaitForWindowActive(&owner_));
  clickButtonThroughTheWindow();
  EXPECT_EQ(clicks_, 1);
}

TEST_F(ChooserTest, CancelGivesTheEmptyText) {
  bool seen = false;
  whenChooserOpens([&](QFileDialog* dialog) {
    seen = true;
    dialog->reject();
  });
  EXPECT_EQ(chooser_.browseForFolder(kChooserTitle), "");
  EXPECT_TRUE(seen);
  EXPECT_TRUE(QTest::qWaitForWindowActive(&owner_));
}

}  // namespace
}  // namespace velkaro
