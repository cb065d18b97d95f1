// The window message pump against the real message queue.

#include "platform/win32/window_messages.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/event_pump.h"
#include "platform/win32/temp_folder.h"
#include "restore/listing.h"

namespace velkaro {
namespace {

int g_delivered = 0;

LRESULT CALLBACK countingProcedure(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
  if (message == WM_APP) ++g_delivered;
  return DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window that counts the WM_APP messages it is handed.
class CountingWindow {
 public:
  CountingWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = countingProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelkaroCountingWindow";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, L"VelkaroCountingWindow", L"", 0, 0, 0, 0, 0,
                              HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    g_delivered = 0;
  }
  ~CountingWindow() { DestroyWindow(window_); }

  void post(int count) const {
    for (int i = 0; i < count; ++i) PostMessageW(window_, WM_APP, 0, 0);
  }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

bool queueIsEmpty() {
  MSG message;
  return PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) == 0;
}

TEST(Win32WindowMessages, DispatchesEveryWaitingMessageWithoutWaiting) {
  CountingWindow window;
  ASSERT_NE(window.get(), nullptr);
  pumpWindowMessages();  // nothing waiting: returns at once
  EXPECT_EQ(g_delivered, 0);
  window.post(3);
  pumpWindowMessages();
  EXPECT_EQ(g_delivered, 3);
  EXPECT_TRUE(queueIsEmpty());
}

TEST(Win32WindowMessages, RequestToEndStaysForTheMessageLoop) {
  CountingWindow window;
  ASSERT_NE(window.get(), nullptr);
  window.post(2);
  PostQuitMessage(7);
  pumpWindowMessages();
  EXPECT_EQ(g_delivered, 2);
  MSG message;
  ASSERT_NE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), 0);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);
  EXPECT_TRUE(queueIsEmpty());
}

// The listing pumps after each file it takes, and only then.
TEST(Win32WindowMessages, ListingPumpsAfterEachFileTaken) {
  CountingWindow window;
  ASSERT_NE(window.get(), nullptr);
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  ASSERT_TRUE(folder.addFile("note.txt"));
  ASSERT_TRUE(folder.addFolder("old.jpg"));
  const EventPump previous = installEventPump(pumpWindowMessages);

  TextList files;
  window.post(1);
  listFiles(folder.path(), "*.jpg", files, true);
  EXPECT_EQ(g_delivered, 0) << "no file taken, no message dispatched";

  ASSERT_TRUE(folder.addFile("a.jpg"));
  listFiles(folder.path(), "*.jpg", files, true);
  EXPECT_EQ(g_delivered, 1);
  EXPECT_TRUE(queueIsEmpty());

  installEventPump(previous);
}

}  // namespace
}  // namespace velkaro
