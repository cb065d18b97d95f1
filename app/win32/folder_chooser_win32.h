// The folder chooser of the Windows program: the shell's modal dialog.

#ifndef VELKARO_APP_WIN32_FOLDER_CHOOSER_WIN32_H_
#define VELKARO_APP_WIN32_FOLDER_CHOOSER_WIN32_H_

#include "values/text.h"

namespace velkaro {

// "选择目录", the title the main window gives the chooser, in GBK.
inline constexpr char kChooseFolderTitle[] = "\xD1\xA1\xD4\xF1\xC4\xBF\xC2\xBC";

// Shows the shell's folder chooser, modal to every window of the program,
// with title (GBK text, like every literal text of the program) and an edit
// field to type a folder name in. Returns the chosen folder's full path as
// the platform gives it, in the ANSI code page ("C:\\" for a drive root,
// "D:\\pics" for any other folder); the empty text when the user cancels
// or chooses something without a file-system path. Afterwards every window
// of the program is enabled or disabled as before, and the windows that
// were in the foreground and active are so again.
Text browseForFolder(const Text& title);

}  // namespace velkaro

#endif  // VELKARO_APP_WIN32_FOLDER_CHOOSER_WIN32_H_
