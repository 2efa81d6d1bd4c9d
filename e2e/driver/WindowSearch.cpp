// Window searches from outside the program that owns the windows.
#include "e2e/driver/WindowSearch.h"

#include <algorithm>
#include <string_view>

#include "app/ControlTable.h"
#include "app/win32/MainWindow.h"

namespace quillon::e2e {
namespace {

struct Search {
  DWORD processId;
  const char* className;  // null: any class
  HWND found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window)) return TRUE;
  if (search->className) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string_view(className) != search->className) return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

HWND VisibleWindowOf(DWORD processId, const char* className) {
  Search search{processId, className};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool EveryControlBuilt(HWND mainWindow) {
  return std::ranges::all_of(ControlTable(), [mainWindow](const ControlDefinition& row) {
    return GetDlgItem(mainWindow, DialogIdOf(row.id)) != nullptr;
  });
}

}  // namespace quillon::e2e
