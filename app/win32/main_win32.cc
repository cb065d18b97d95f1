// The Windows program: the main window "Velkaro" with its path box, the
// "....." button that opens the folder chooser and the "还原" button that
// restores the folder the box names, and the message loop.
//
// The window and its controls are made with the wide-character functions so
// that their captions read right on every code page; the path box is read
// as ANSI text, the text every file and locale call works in.

#include <windows.h>

#include <string>

#include "app/win32/folder_chooser_win32.h"
#include "platform/event_pump.h"
#include "platform/win32/window_messages.h"
#include "restore/restore_run.h"
#include "values/text.h"

namespace velkaro {
namespace {

constexpr wchar_t kClassName[] = L"VelkaroMainWindow";
constexpr wchar_t kCaption[] = L"Velkaro";
// The outer size; the frame is fixed, with a caption, a system menu and a
// minimise button.
constexpr int kWindowWidth = 339;
constexpr int kWindowHeight = 128;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The system's own icon and cursor (IDI_APPLICATION, IDC_ARROW, whose
// macros name the ANSI resources).
const LPCWSTR kApplicationIcon = MAKEINTRESOURCEW(32512);
const LPCWSTR kArrowCursor = MAKEINTRESOURCEW(32512);

enum ControlId : int {
  kLabelId = 1,    // 标签1
  kBrowseId = 2,   // 按钮2
  kPathId = 3,     // 编辑框1
  kRestoreId = 4,  // 变身
};

struct ControlLayout {
  int id;
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  DWORD exStyle;
  int x, y, width, height;  // in the client area
};

// In the order the window defines them.
constexpr ControlLayout kControls[] = {
    {kLabelId, L"STATIC", L"Velkaro", SS_LEFT, 0, 170, 61, 104, 24},
    {kBrowseId, L"BUTTON", L".....", BS_PUSHBUTTON | WS_TABSTOP, 0, 264, 16, 56,
     24},
    {kPathId, L"EDIT", L"", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
     WS_EX_CLIENTEDGE, 8, 16, 248, 24},
    {kRestoreId, L"BUTTON", L"\u8FD8\u539F", BS_PUSHBUTTON | WS_TABSTOP, 0, 75,
     56, 80, 32},
};

HWND g_pathBox = nullptr;

// The text of the path box at the moment of the call, in the ANSI code
// page; empty once the window is gone.
Text pathBoxText() {
  if (g_pathBox == nullptr || IsWindow(g_pathBox) == 0) return Text();
  const int length = GetWindowTextLengthA(g_pathBox);
  if (length <= 0) return Text();
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(g_pathBox, buffer.data(), length + 1);
  if (copied <= 0) return Text();
  buffer.resize(static_cast<std::size_t>(copied));
  return bufferText(buffer);
}

// "....." clicked: a chosen folder replaces the path box's text; a cancelled
// chooser leaves it as it was.
void onBrowseClicked() {
  const Text path = browseForFolder(kChooseFolderTitle);
  if (compareText(path, "") != 0 && g_pathBox != nullptr &&
      IsWindow(g_pathBox) != 0) {
    SetWindowTextA(g_pathBox, path.c_str());
  }
}

// "还原" clicked: the restore run over the folder the path box names, read
// afresh whenever the run asks; it shows nothing.
void onRestoreClicked() { restoreFolder(pathBoxText); }

void createControls(HWND window) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const ControlLayout& layout : kControls) {
    const HWND control = CreateWindowExW(
        layout.exStyle, layout.className, layout.text,
        WS_CHILD | WS_VISIBLE | layout.style, layout.x, layout.y, layout.width,
        layout.height, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance,
        nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (layout.id == kPathId) {
      g_pathBox = control;
      // No length limit of the box's own: the largest the control takes.
      SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    }
  }
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      createControls(window);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == kBrowseId) {
          onBrowseClicked();
          return 0;
        }
        if (LOWORD(wParam) == kRestoreId) {
          onRestoreClicked();
          return 0;
        }
      }
      break;
    case WM_DESTROY:
      g_pathBox = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND createMainWindow(HINSTANCE instance) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(nullptr, kApplicationIcon);
  windowClass.hCursor = LoadCursorW(nullptr, kArrowCursor);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassW(&windowClass) == 0) return nullptr;

  // Centred on the primary display, each division rounding toward zero.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  return CreateWindowExW(0, kClassName, kCaption, kWindowStyle, left, top,
                         kWindowWidth, kWindowHeight, nullptr, nullptr,
                         instance, nullptr);
}

// Shows the window and runs the message loop until the window is closed.
int runProgram(HINSTANCE instance, int show) {
  // The user-interface runtime: the shell's folder chooser needs COM on
  // this thread; every conversion's own initialisation then nests in it.
  const bool oleStarted = SUCCEEDED(OleInitialize(nullptr));
  installEventPump(pumpWindowMessages);

  const HWND window = createMainWindow(instance);
  if (window != nullptr) {
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  installEventPump(nullptr);
  if (oleStarted) OleUninitialize();
  return 0;
}

}  // namespace
}  // namespace velkaro

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  return velkaro::runProgram(instance, show);
}
