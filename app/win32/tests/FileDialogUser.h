#pragma once
// Plays the user at a modal open-file dialog from a second thread while the
// test thread shows it: waits for the dialog with the expected title, notes
// what it shows, types a name and confirms it, or cancels when there is no
// name. A message box the dialog puts up over itself (a name it refuses) is
// noted and dismissed. A request the dialog rejects shows no dialog at all,
// which is seen as a dialog that never appeared; no dialog is left open.
#include <windows.h>
// Control ids of the dialog (cmb1, edt1, cmb13); needs windows.h first.
#include <dlgs.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace quillon {

template <typename Condition>
bool WaitFor(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(20);
  }
  return true;
}

// What the simulated user saw.
struct DialogView {
  bool appeared = false;
  HWND owner = nullptr;
  std::string fileType;      // the file-type box: the filter's description
  bool refusedName = false;  // a message box came up instead of the dialog closing
};

namespace dialog_user {

inline void Press(HWND window, int buttonId) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, buttonId)));
}

struct OwnedBoxSearch {
  HWND dialog;
  HWND box = nullptr;
};

inline BOOL CALLBACK MatchOwnedBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<OwnedBoxSearch*>(param);
  if (GetWindow(window, GW_OWNER) != search->dialog || !IsWindowVisible(window)) return TRUE;
  search->box = window;
  return FALSE;
}

// A visible window the dialog owns, such as a message box over it.
inline HWND OwnedBox(HWND dialog) {
  OwnedBoxSearch search{dialog};
  EnumThreadWindows(GetWindowThreadProcessId(dialog, nullptr), MatchOwnedBox,
                    reinterpret_cast<LPARAM>(&search));
  return search.box;
}

inline void ActAsUser(const std::string& title, const std::string& name,
                      const std::atomic<bool>& shown, DialogView& view) {
  HWND dialog = nullptr;
  WaitFor([&] {
    dialog = FindWindowA("#32770", title.c_str());
    view.appeared = dialog && IsWindowVisible(dialog);
    return view.appeared || shown;
  });
  if (!view.appeared) return;
  view.owner = GetWindow(dialog, GW_OWNER);
  std::array<char, 512> fileType{};
  GetDlgItemTextA(dialog, cmb1, fileType.data(), static_cast<int>(fileType.size()));
  view.fileType = fileType.data();
  if (name.empty()) {
    Press(dialog, IDCANCEL);
    return;
  }
  // The name box is an edit (edt1) in older layouts, a combo (cmb13) in newer.
  for (const int nameBox : {cmb13, edt1}) {
    if (GetDlgItem(dialog, nameBox)) SetDlgItemTextA(dialog, nameBox, name.c_str());
  }
  Press(dialog, IDOK);
  HWND box = nullptr;
  WaitFor([&] { return !IsWindow(dialog) || (box = OwnedBox(dialog)) != nullptr; });
  if (box) {
    view.refusedName = true;
    Press(box, IDOK);
    WaitFor([&] { return !IsWindow(box); });
  }
  if (IsWindow(dialog)) Press(dialog, IDCANCEL);
}

}  // namespace dialog_user

// Runs `show`, which is to bring up the dialog and return when it is gone,
// while the user answers it with `name` (empty: Cancel).
inline DialogView AnswerFileDialog(const std::string& title, const std::string& name,
                                   const std::function<void()>& show) {
  DialogView view;
  std::atomic<bool> shown = false;
  std::thread user([&] { dialog_user::ActAsUser(title, name, shown, view); });
  show();
  shown = true;
  user.join();
  return view;
}

}  // namespace quillon
