#include "app/folder_chooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "app/gbk_text.h"
#include "app/path_bytes.h"

namespace velkaro {

Text QtFolderChooser::browseForFolder(const Text& title) {
  QPointer<QWidget> active = QApplication::activeWindow();

  QFileDialog dialog(active, gbkToQString(title));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOptions(QFileDialog::ShowDirsOnly |
                    QFileDialog::DontUseNativeDialog);
  dialog.setWindowModality(Qt::ApplicationModal);
  const bool chosen = dialog.exec() == QDialog::Accepted;
  const QStringList selected = dialog.selectedFiles();

  if (active != nullptr) {
    active->activateWindow();
  }
  if (!chosen || selected.isEmpty() || selected.first().isEmpty()) {
    return Text();
  }
  return toPathBytes(QDir::toNativeSeparators(selected.first()));
}

}  // namespace velkaro
