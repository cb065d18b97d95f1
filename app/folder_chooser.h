// The folder chooser: a modal dialog in which the user picks (or types) the
// folder whose pictures are to be renamed.

#ifndef VELKARO_APP_FOLDER_CHOOSER_H_
#define VELKARO_APP_FOLDER_CHOOSER_H_

#include "values/text.h"

namespace velkaro {

class FolderChooser {
 public:
  virtual ~FolderChooser() = default;

  // Shows the chooser with the title (GBK bytes) and returns the full path
  // of the chosen folder as file-system bytes, or the empty text when the
  // user cancels or closes it. A drive root keeps its separator ("C:\\",
  // "/"); any other folder has none ("/home/u/pics").
  virtual Text browseForFolder(const Text& title) = 0;
};

// The chooser of the window: the toolkit's own directory dialog (the same
// on every platform, with a line in which the path can be typed), modal to
// the whole program. The window that was active before it opened is active
// again after it closes, if it still exists.
class QtFolderChooser : public FolderChooser {
 public:
  Text browseForFolder(const Text& title) override;
};

}  // namespace velkaro

#endif  // VELKARO_APP_FOLDER_CHOOSER_H_
