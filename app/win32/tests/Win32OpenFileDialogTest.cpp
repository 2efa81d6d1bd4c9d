// The open-file dialog as a user meets it: a second thread waits for the
// dialog with the request's title, reads what it shows, types a name and
// confirms, or cancels. A request the dialog rejects shows no dialog at all,
// which these tests see as a dialog that never appeared.
#include "app/win32/Win32OpenFileDialog.h"

#include <gtest/gtest.h>
// Control ids of the dialog (cmb1, edt1, cmb13); needs windows.h first.
#include <dlgs.h>

#include <array>
#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

namespace quillon {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kMayBeNew = 0x20004;   // OFN_HIDEREADONLY | OFN_NONETWORKBUTTON
constexpr unsigned kMustExist = 0x21004;  // ... | OFN_FILEMUSTEXIST
constexpr auto kPatience = 15s;

template <typename Condition>
bool WaitFor(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(20);
  }
  return true;
}

std::string DialogItemText(HWND dialog, int id) {
  std::array<char, 512> text{};
  GetDlgItemTextA(dialog, id, text.data(), static_cast<int>(text.size()));
  return text.data();
}

struct OwnedBoxSearch {
  HWND dialog;
  HWND box = nullptr;
};

BOOL CALLBACK MatchOwnedBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<OwnedBoxSearch*>(param);
  if (GetWindow(window, GW_OWNER) != search->dialog || !IsWindowVisible(window)) return TRUE;
  search->box = window;
  return FALSE;
}

// A message box the dialog put up over itself, e.g. to refuse a name.
HWND FindOwnedBox(HWND dialog) {
  OwnedBoxSearch search{dialog};
  EnumThreadWindows(GetWindowThreadProcessId(dialog, nullptr), MatchOwnedBox,
                    reinterpret_cast<LPARAM>(&search));
  return search.box;
}

void Press(HWND dialog, int buttonId) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

// What the simulated user saw.
struct DialogView {
  bool appeared = false;
  HWND owner = nullptr;
  std::string fileType;      // the file-type box: the filter's description
  bool refusedName = false;  // a message box came up instead of the dialog closing
};

// Types `name` and confirms it, or cancels when `name` is empty. Gives up
// when the dialog call returns without a dialog ever being seen.
void ActAsUser(const std::string& title, const std::string& name,
               const std::atomic<bool>& chooseReturned, DialogView& view) {
  HWND dialog = nullptr;
  WaitFor([&] {
    dialog = FindWindowA("#32770", title.c_str());
    view.appeared = dialog && IsWindowVisible(dialog);
    return view.appeared || chooseReturned;
  });
  if (!view.appeared) return;
  view.owner = GetWindow(dialog, GW_OWNER);
  view.fileType = DialogItemText(dialog, cmb1);
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
  WaitFor([&] { return !IsWindow(dialog) || (box = FindOwnedBox(dialog)) != nullptr; });
  if (box) {
    view.refusedName = true;
    Press(box, IDOK);
    WaitFor([&] { return !IsWindow(box); });
  }
  // Whatever happened, never leave the test thread inside a modal dialog.
  if (IsWindow(dialog)) Press(dialog, IDCANCEL);
}

struct Outcome {
  std::optional<std::string> chosen;
  DialogView view;
};

Outcome Choose(Win32OpenFileDialog& dialog, const OpenFileRequest& request,
               const std::string& name) {
  Outcome outcome;
  std::atomic<bool> chooseReturned = false;
  std::thread user([&] { ActAsUser(request.title, name, chooseReturned, outcome.view); });
  outcome.chosen = dialog.Choose(request);
  chooseReturned = true;
  user.join();
  return outcome;
}

std::string TempFolder() {
  std::array<char, MAX_PATH + 1> path{};
  GetTempPathA(static_cast<DWORD>(path.size()), path.data());
  std::array<char, MAX_PATH + 1> longPath{};
  GetLongPathNameA(path.data(), longPath.data(), static_cast<DWORD>(longPath.size()));
  return longPath.data();
}

TEST(Win32OpenFileDialog, ShowsThePdfFilterAndReturnsANewNameWithoutExtension) {
  Win32OpenFileDialog dialog;
  const std::string typed = TempFolder() + "quillon-report";
  const Outcome outcome = Choose(dialog, {"Select the PDF file", kMayBeNew}, typed);
  ASSERT_TRUE(outcome.view.appeared);
  EXPECT_EQ(outcome.view.fileType, "Portable Document Files (*.PDF)");
  EXPECT_FALSE(outcome.view.refusedName);
  EXPECT_EQ(outcome.chosen, typed);
}

TEST(Win32OpenFileDialog, ReturnsAnExistingFileThatMustExist) {
  const std::string existing = TempFolder() + "quillon-watermark.pdf";
  std::ofstream(existing) << "%PDF-1.4\n";
  Win32OpenFileDialog dialog;
  const Outcome outcome = Choose(dialog, {"Select a watermark PDF file", kMustExist}, existing);
  ASSERT_TRUE(outcome.view.appeared);
  EXPECT_FALSE(outcome.view.refusedName);
  EXPECT_EQ(outcome.chosen, existing);
  DeleteFileA(existing.c_str());
}

TEST(Win32OpenFileDialog, RefusesAMissingFileThatMustExist) {
  Win32OpenFileDialog dialog;
  const std::string missing = TempFolder() + "quillon-missing.pdf";
  const Outcome outcome = Choose(dialog, {"Select a watermark PDF file", kMustExist}, missing);
  ASSERT_TRUE(outcome.view.appeared);
  EXPECT_TRUE(outcome.view.refusedName);
  EXPECT_EQ(outcome.chosen, std::nullopt);
}

TEST(Win32OpenFileDialog, IsOwnedByTheGivenWindowAndCancelReturnsNothing) {
  const HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  Win32OpenFileDialog dialog;
  dialog.SetOwner(owner);
  const Outcome outcome = Choose(dialog, {"Select the PDF file to merge", kMayBeNew}, "");
  ASSERT_TRUE(outcome.view.appeared);
  EXPECT_EQ(outcome.view.owner, owner);
  EXPECT_EQ(outcome.chosen, std::nullopt);
  DestroyWindow(owner);
}

}  // namespace
}  // namespace quillon
