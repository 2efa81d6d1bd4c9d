// The environment broadcast as top-level windows receive it: one on the
// broadcasting thread and one on a thread of its own, as another program's
// window would be.
#include "app/win32/Win32EnvironmentBroadcast.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillon {
namespace {

// What one window was told: wParam and the text lParam points to. Guarded,
// because the window may live on another thread.
struct SettingChangeLog {
  std::mutex mutex;
  std::vector<std::pair<WPARAM, std::string>> received;

  std::vector<std::pair<WPARAM, std::string>> Received() {
    const std::lock_guard lock(mutex);
    return received;
  }
};

constexpr char kListenerClass[] = "QuillonSettingChangeListener";

LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == WM_SETTINGCHANGE) {
    auto* log = reinterpret_cast<SettingChangeLog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const char* section = reinterpret_cast<const char*>(lParam);
    const std::lock_guard lock(log->mutex);
    log->received.emplace_back(wParam, section ? section : "(null)");
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden, ordinary top-level window (not message-only: those get no broadcasts).
HWND CreateListener(SettingChangeLog& log) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ListenerProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kListenerClass;
  RegisterClassA(&windowClass);  // a second registration fails harmlessly
  return CreateWindowExA(0, kListenerClass, "listener", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                         nullptr, nullptr, GetModuleHandleA(nullptr), &log);
}

// Only the arrival is checked here: Wine hands a broadcast's ANSI text to the
// sending thread's own windows as if it were wide text, so "Environment"
// arrives garbled there. Windows of other threads and programs get it intact
// (next case).
TEST(Win32EnvironmentBroadcast, ReachesAWindowOfTheBroadcastingThread) {
  SettingChangeLog log;
  const HWND window = CreateListener(log);
  ASSERT_NE(window, nullptr);
  Win32EnvironmentBroadcast().AnnounceEnvironmentChange();
  const auto received = log.Received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].first, 0u);
  DestroyWindow(window);
}

TEST(Win32EnvironmentBroadcast, IsDeliveredToAnotherThreadsWindowBeforeItReturns) {
  SettingChangeLog log;
  std::promise<std::pair<HWND, DWORD>> created;
  std::thread windowThread([&] {
    const HWND window = CreateListener(log);
    created.set_value({window, GetCurrentThreadId()});
    MSG message;
    while (window && GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    if (window) DestroyWindow(window);
  });
  const auto [window, threadId] = created.get_future().get();
  if (!window) windowThread.join();
  ASSERT_NE(window, nullptr);

  Win32EnvironmentBroadcast().AnnounceEnvironmentChange();
  const auto received = log.Received();

  PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  windowThread.join();
  EXPECT_EQ(received, (std::vector<std::pair<WPARAM, std::string>>{{0, "Environment"}}));
}

}  // namespace
}  // namespace quillon
