// Drives the running utility from outside for scripts/run.sh, which takes a
// screenshot between the steps:
//   page-tour wait       waits until the utility's window is on the screen
//   page-tour show <n>   brings page n (1 = "File Save") to the front and
//                        prints "<file name> <geometry>", the geometry of the
//                        window's client area as ImageMagick's -crop takes it
//   page-tour close      closes the window as its close box does
//   page-tour apply      presses Apply, confirms "Settings saved." and waits
//                        until the window has closed
// Every step gives up after a time-out and then exits with 1.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/ControlTable.h"
#include "app/win32/MainWindow.h"
#include "platform/MessageBoxes.h"

namespace quillon {
namespace {

using Clock = std::chrono::steady_clock;
// The first start in a new prefix takes a while.
constexpr auto kOpenPatience = std::chrono::seconds(60);
constexpr auto kStepPatience = std::chrono::seconds(10);
constexpr UINT kAnswerMilliseconds = 1000;

template <typename Condition>
bool WaitFor(Condition condition, Clock::duration patience) {
  const auto deadline = Clock::now() + patience;
  while (!condition()) {
    if (Clock::now() >= deadline) return false;
    Sleep(50);
  }
  return true;
}

int Fail(const char* why) {
  std::fprintf(stderr, "page-tour: %s\n", why);
  return 1;
}

HWND FindMainWindow() {
  const std::string title(kMainWindow.title);
  return FindWindowA(kMainWindowClassName, title.c_str());
}

// With a time-out, so that a hung utility cannot hang the script.
bool AskPageInFront(HWND tabControl, int& page) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(tabControl, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG,
                           kAnswerMilliseconds, &answer)) {
    return false;
  }
  page = static_cast<int>(answer);
  return true;
}

std::string FileNameOf(int page) {
  std::string name = std::to_string(page + 1) + "-";
  for (const char c : kTabControl.tabCaptions[static_cast<std::size_t>(page)]) {
    name += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return name;
}

int WaitForWindow() {
  const bool open = WaitFor(
      [] {
        HWND window = FindMainWindow();
        return window && IsWindowVisible(window);
      },
      kOpenPatience);
  return open ? 0 : Fail("the utility's window did not appear");
}

// Arrow keys move the tab control's selection as a user's would and make it
// notify the window. A TCM_SETCURSEL would change the tab without telling the
// window, and a WM_NOTIFY's pointer means nothing in another process.
int ShowPage(int page) {
  HWND window = FindMainWindow();
  if (!window) return Fail("the utility's window is not open");
  HWND tabControl = FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr);
  int current = -1;
  while (AskPageInFront(tabControl, current) && current != page) {
    const int before = current;
    PostMessageA(tabControl, WM_KEYDOWN, page < current ? VK_LEFT : VK_RIGHT, 1);
    const bool moved = WaitFor(
        [&] { return AskPageInFront(tabControl, current) && current != before; }, kStepPatience);
    if (!moved) return Fail("the page did not change");
  }
  if (current != page) return Fail("the tab control did not answer");
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::printf("%s %ldx%ld+%ld+%ld\n", FileNameOf(page).c_str(), client.right, client.bottom,
              origin.x, origin.y);
  return 0;
}

int CloseWindow() {
  HWND window = FindMainWindow();
  if (!window) return Fail("the utility's window is not open");
  PostMessageA(window, WM_CLOSE, 0, 0);
  return WaitFor([] { return FindMainWindow() == nullptr; }, kStepPatience)
             ? 0
             : Fail("the utility's window did not close");
}

// Posted, not sent: the click handler waits in its message box, and a sent
// click would wait with it.
int PressApply() {
  HWND window = FindMainWindow();
  if (!window) return Fail("the utility's window is not open");
  HWND apply = FindWindowExA(window, nullptr, "Button", "Apply");
  if (!apply) return Fail("the window has no Apply button");
  PostMessageA(apply, BM_CLICK, 0, 0);
  HWND box = nullptr;
  const bool asked = WaitFor(
      [&] {
        box = FindWindowA("#32770", kWindowMessageTitle);
        return box != nullptr;
      },
      kStepPatience);
  if (!asked) return Fail("no \"Settings saved.\" box appeared");
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return WaitFor([] { return FindMainWindow() == nullptr; }, kStepPatience)
             ? 0
             : Fail("the utility's window did not close after Apply");
}

int Usage() {
  std::fprintf(stderr, "usage: page-tour wait | show <1-%zu> | close | apply\n", kPageCount);
  return 2;
}

int Main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string_view step = argv[1];
  if (step == "wait" && argc == 2) return WaitForWindow();
  if (step == "close" && argc == 2) return CloseWindow();
  if (step == "apply" && argc == 2) return PressApply();
  if (step == "show" && argc == 3) {
    const long page = std::strtol(argv[2], nullptr, 10);
    if (page < 1 || page > static_cast<long>(kPageCount)) return Usage();
    return ShowPage(static_cast<int>(page - 1));
  }
  return Usage();
}

}  // namespace
}  // namespace quillon

int main(int argc, char** argv) { return quillon::Main(argc, argv); }
