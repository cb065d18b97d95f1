#include "app/win32/folder_chooser_win32.h"

#include <shlobj.h>
#include <windows.h>

#include <climits>
#include <string>
#include <vector>

namespace velkaro {
namespace {

// Code page 936, in which the program's literal texts are written.
constexpr UINT kGbkCodePage = 936;
// The size of the shell's display-name and path buffers.
constexpr int kShellBufferSize = MAX_PATH;  // 260

struct WindowState {
  HWND window;
  bool enabled;
};

// Collects every top-level window of this process.
BOOL CALLBACK collectProgramWindow(HWND window, LPARAM states) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) {
    reinterpret_cast<std::vector<WindowState>*>(states)->push_back(
        {window, IsWindowEnabled(window) != 0});
  }
  return TRUE;
}

// The title as UTF-16: read as GBK, or in the ANSI code page where GBK is
// not installed or the text is no GBK.
std::wstring wideTitle(const Text& title) {
  if (title.empty() || title.size() > static_cast<std::size_t>(INT_MAX)) {
    return std::wstring();
  }
  const int length = static_cast<int>(title.size());
  for (const UINT codePage : {kGbkCodePage, static_cast<UINT>(CP_ACP)}) {
    const DWORD flags = codePage == kGbkCodePage ? MB_ERR_INVALID_CHARS : 0;
    const int wideLength =
        MultiByteToWideChar(codePage, flags, title.data(), length, nullptr, 0);
    if (wideLength <= 0) continue;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, flags, title.data(), length, wide.data(),
                        wideLength);
    return wide;
  }
  return std::wstring();
}

}  // namespace

Text browseForFolder(const Text& title) {
  // 1. The active window, if it still is one, and the foreground window.
  HWND active = GetActiveWindow();
  if (active != nullptr && IsWindow(active) == 0) active = nullptr;
  const HWND foreground = GetForegroundWindow();

  // 2. Every top-level window of the program disabled, its state kept.
  std::vector<WindowState> windows;
  EnumWindows(collectProgramWindow, reinterpret_cast<LPARAM>(&windows));
  for (const WindowState& state : windows) EnableWindow(state.window, FALSE);

  // 3. The dialog: owned by the active window, starting at the desktop,
  // with an edit field, no callback.
  const std::wstring wide = wideTitle(title);
  wchar_t displayName[kShellBufferSize] = {};
  BROWSEINFOW info = {};
  info.hwndOwner = active;
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = wide.c_str();
  info.ulFlags = BIF_EDITBOX;
  info.lpfn = nullptr;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);

  // 4. The windows' states back, then the foreground and active windows.
  for (const WindowState& state : windows) {
    if (IsWindow(state.window) != 0) {
      EnableWindow(state.window, state.enabled ? TRUE : FALSE);
    }
  }
  if (foreground != nullptr && IsWindow(foreground) != 0) {
    SetForegroundWindow(foreground);
  }
  if (active != nullptr && IsWindow(active) != 0) SetActiveWindow(active);

  // 5. The chosen item's path, and the item list freed.
  Text result;
  if (chosen != nullptr) {
    char path[kShellBufferSize] = {};
    if (SHGetPathFromIDListA(chosen, path) != 0 && path[0] != '\0') {
      result = path;
    }
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator != nullptr) {
      allocator->Free(chosen);
      allocator->Release();
    }
  }
  // 6. Nothing chosen: the empty text.
  return result;
}

}  // namespace velkaro
