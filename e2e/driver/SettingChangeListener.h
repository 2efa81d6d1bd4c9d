#pragma once
// A top-level window of the driver's own, on a thread of its own that keeps
// answering messages, which records the WM_SETTINGCHANGE broadcasts it
// receives, as any other program's window would receive them. A window that
// stopped answering would hold up the utility's broadcast for its time-out.
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillon::e2e {

class SettingChangeListener {
 public:
  SettingChangeListener();
  ~SettingChangeListener();
  SettingChangeListener(const SettingChangeListener&) = delete;
  SettingChangeListener& operator=(const SettingChangeListener&) = delete;

  bool Listening() const { return window_ != nullptr; }
  // The text each broadcast's lParam named ("(null)" for none), in order.
  std::vector<std::string> Sections() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Run(HANDLE ready);

  mutable std::mutex mutex_;
  std::vector<std::string> sections_;
  HWND window_ = nullptr;
  std::thread thread_;
};

}  // namespace quillon::e2e
