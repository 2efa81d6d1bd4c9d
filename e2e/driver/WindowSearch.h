#pragma once
// Finding a program's windows from outside, shared by the end-to-end driver
// and the start-up benchmark's timer.
#include <windows.h>

namespace quillon::e2e {

// A visible top-level window of the process, of the named class when one is
// given; null while there is none.
HWND VisibleWindowOf(DWORD processId, const char* className = nullptr);

// True once every control of the table exists in the utility's main window:
// the pages behind the one in front are built just after the window shows.
bool EveryControlBuilt(HWND mainWindow);

}  // namespace quillon::e2e
