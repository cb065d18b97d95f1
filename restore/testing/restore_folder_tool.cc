// restore_folder_tool FOLDER: one restore run over FOLDER with the
// platform's own file system, locale and script host, as the window's
// restore button runs it. A test aid that shows what a system makes of a
// folder; it is never installed.
//   restore_folder_tool /home/u/pics     (renames /home/u/pics/*.jpg)
//   restore_folder_tool Z:\home\u\pics   (the Windows build)
//
// The folder is taken byte for byte as the program receives it: on Windows
// the argument vector of main is in the ANSI code page, the text every file
// and locale call of the Windows layer works in. Prints nothing. Exits 0
// after the run (a run reports no failure: a file it cannot rename keeps its
// name), 2 when it is not given exactly one argument.

#include <cstdio>

#include "restore/restore_run.h"
#include "values/text.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: restore_folder_tool FOLDER\n", stderr);
    return 2;
  }
  const velkaro::Text folder = argv[1];
  velkaro::restoreFolder([&folder] { return folder; });
  return 0;
}
