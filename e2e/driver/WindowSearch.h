#pragma once
// Finding a program's windows from outside, shared by the end-to-end driver
// and the start-up benchmark's timer.
#include <windows.h>

#include <algorithm>
#include <functional>

#include "app/win32/MainWindow.h"

namespace quillon::e2e {

// A visible top-level window of the process, of the named class when one is
// given, that `wanted` accepts when given; null while there is none.
inline HWND VisibleWindowOf(DWORD processId, const char* className = nullptr,
                            const std::function<bool(HWND)>& wanted = {}) {
  for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window;
       window = FindWindowExA(nullptr, window, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window) && (!wanted || wanted(window))) return window;
  }
  return nullptr;
}

// True once every control of the table exists in the utility's main window:
// the pages behind the one in front are built just after the window shows.
inline bool EveryControlBuilt(HWND mainWindow) {
  return std::ranges::all_of(ControlTable(), [mainWindow](const ControlDefinition& row) {
    return GetDlgItem(mainWindow, DialogIdOf(row.id)) != nullptr;
  });
}

}  // namespace quillon::e2e
