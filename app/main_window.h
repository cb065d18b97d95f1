// The program's one window: a path box, a "....." button that opens the
// folder chooser, and a restore button that renames the pictures of the
// folder the box names.
//
//   +--------------------------------------------+
//   | [path box                      ] [.....]   |
//   |          [ restore ]   label               |
//   +--------------------------------------------+

#ifndef VELKARO_APP_MAIN_WINDOW_H_
#define VELKARO_APP_MAIN_WINDOW_H_

#include <QWidget>
#include <memory>

#include "app/folder_chooser.h"
#include "values/text.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace velkaro {

// The size of the client area: what an outer frame of 339 x 128 leaves
// inside borders of 3 pixels and a caption of 25.
inline constexpr int kClientWidth = 333;
inline constexpr int kClientHeight = 100;
inline constexpr int kOuterWidth = 339;
inline constexpr int kOuterHeight = 128;

// The window's own literals, GBK bytes.
inline constexpr char kRestoreCaption[] = "\xBB\xB9\xD4\xAD";
inline constexpr char kChooserTitle[] = "\xD1\xA1\xD4\xF1\xC4\xBF\xC2\xBC";

// The top-left corner of the outer frame that centres a frame of
// kOuterWidth x kOuterHeight on a screen of screenWidth x screenHeight
// (each division rounding toward zero).
//   centredFrameCorner(1920, 1080) == {790, 476}
//   centredFrameCorner(300, 100) == {-19, -14}
struct FrameCorner {
  int x;
  int y;
};
FrameCorner centredFrameCorner(int screenWidth, int screenHeight);

// Handles every pending event of the toolkit without waiting for one:
// input, paint and posted events, those posted while it runs included.
// Deferred deletions follow the toolkit's own rule: an object whose deletion
// was asked for inside the handler that is running goes only once that
// handler has returned, so nothing is destroyed under a caller's feet.
void pumpToolkitEvents();

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // chooser: the folder chooser that "....." opens; the toolkit's own
  // directory dialog when left out. The window is centred on the primary
  // screen and not yet shown.
  explicit MainWindow(std::unique_ptr<FolderChooser> chooser =
                          std::make_unique<QtFolderChooser>());
  ~MainWindow() override;

 public slots:
  // Opens the chooser titled "choose folder"; a chosen folder replaces the
  // text of the path box, a cancelled chooser leaves it as it was.
  void onBrowseClicked();

  // Renames the pictures of the folder that the path box names, reading
  // the box afresh for every file. Events are handled while the folder is
  // listed, so the window may be closed, or this handler run again, before
  // it returns; when the box has gone meanwhile, the text it last held is
  // used. Returns when the run has ended; shows nothing. The window itself
  // is not touched after the run, so it may even be destroyed during it.
  void onRestoreClicked();

 private:
  std::unique_ptr<FolderChooser> chooser_;
  QLabel* label1_;              // 标签1: the credit line
  QPushButton* browseButton_;   // 按钮2: "....."
  QLineEdit* pathEdit_;         // 编辑框1: the folder path
  QPushButton* restoreButton_;  // 变身: "还原"
};

}  // namespace velkaro

#endif  // VELKARO_APP_MAIN_WINDOW_H_
