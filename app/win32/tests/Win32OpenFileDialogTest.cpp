// The open-file dialog as a user meets it: the PDF filter, new and existing
// names, a missing name that must exist, the owner, and Cancel.
#include "app/win32/Win32OpenFileDialog.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <optional>
#include <string>

#include "app/win32/tests/FileDialogUser.h"

namespace quillon {
namespace {

constexpr unsigned kMayBeNew = 0x20004;   // OFN_HIDEREADONLY | OFN_NONETWORKBUTTON
constexpr unsigned kMustExist = 0x21004;  // ... | OFN_FILEMUSTEXIST

struct Outcome {
  std::optional<std::string> chosen;
  DialogView view;
};

Outcome Choose(Win32OpenFileDialog& dialog, const OpenFileRequest& request,
               const std::string& name) {
  Outcome outcome;
  outcome.view =
      AnswerFileDialog(request.title, name, [&] { outcome.chosen = dialog.Choose(request); });
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

TEST(Win32OpenFileDialog, AFileThatMustExistIsReturnedOnlyWhenItDoes) {
  const std::string existing = TempFolder() + "quillon-watermark.pdf";
  std::ofstream(existing) << "%PDF-1.4\n";
  for (const std::string& name : {existing, TempFolder() + "quillon-missing.pdf"}) {
    SCOPED_TRACE(name);
    Win32OpenFileDialog dialog;
    const Outcome outcome = Choose(dialog, {"Select a watermark PDF file", kMustExist}, name);
    ASSERT_TRUE(outcome.view.appeared);
    EXPECT_EQ(outcome.view.refusedName, name != existing);
    EXPECT_EQ(outcome.chosen, name == existing ? std::optional(name) : std::nullopt);
  }
  DeleteFileA(existing.c_str());
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
