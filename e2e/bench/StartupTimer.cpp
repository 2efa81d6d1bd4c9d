// The start-up benchmark's timer, run under Wine by e2e/bench-startup.sh:
//   startup-timer RUNS UTILITY.EXE EMPTY-WINDOW.EXE
// Times, RUNS times each and alternating, how long each program takes from
// CreateProcess to its first visible top-level window, then how long one
// Apply pass of the utility takes (from the click to "Settings saved."), and
// prints the medians and the ratio of the two start-up medians. A warm-up
// start of each program comes first and is not counted. Every wait has a
// time-out; a program that misses one is ended and the timer exits with 1.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "model/ControlId.h"
#include "app/win32/MainWindow.h"
#include "e2e/driver/WindowSearch.h"

namespace quillon {
namespace {

using e2e::EveryControlBuilt;
using e2e::VisibleWindowOf;

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr auto kPatience = std::chrono::seconds(60);
constexpr char kDialogClass[] = "#32770";
constexpr char kSettingsSaved[] = "Settings saved.";
constexpr int kMessageTextId = 0xFFFF;
constexpr double kGoalRatio = 1.2;

template <typename Condition>
bool WaitFor(Condition condition) {
  const auto deadline = Clock::now() + kPatience;
  while (!condition()) {
    if (Clock::now() >= deadline) return false;
    Sleep(1);
  }
  return true;
}

// One started program, ended when it goes out of scope.
class Started {
 public:
  explicit Started(const std::string& program) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info_)) {
      info_ = {};
    }
  }
  ~Started() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  bool Running() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_{};
};

// From CreateProcess to a visible top-level window; the window is closed
// afterwards as its close box would.
std::optional<Milliseconds> TimeStartup(const std::string& program) {
  const auto start = Clock::now();
  const Started started(program);
  HWND window = nullptr;
  if (!started.Running() ||
      !WaitFor([&] { return (window = VisibleWindowOf(started.Id())) != nullptr; })) {
    std::fprintf(stderr, "no window from %s\n", program.c_str());
    return std::nullopt;
  }
  const Milliseconds elapsed = Clock::now() - start;
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  return elapsed;
}

bool Answers(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer) != 0;
}

std::string BoxText(HWND box) {
  char text[256] = {};
  GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
  return text;
}

// From the click on Apply to its confirmation, which follows the whole pass.
std::optional<Milliseconds> TimeApplyPass(const std::string& utility) {
  const Started started(utility);
  HWND window = nullptr;
  if (!started.Running() ||
      !WaitFor([&] { return (window = VisibleWindowOf(started.Id())) != nullptr; })) {
    std::fprintf(stderr, "the utility showed no window\n");
    return std::nullopt;
  }
  // The pages behind the one in front are built after the window shows;
  // the pass is timed from when the window takes input.
  if (!WaitFor([&] { return EveryControlBuilt(window) && Answers(window); })) {
    std::fprintf(stderr, "the utility's window was not ready for input\n");
    return std::nullopt;
  }
  const auto start = Clock::now();
  PostMessageA(GetDlgItem(window, DialogIdOf(ControlId::btnApply)), BM_CLICK, 0, 0);
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = VisibleWindowOf(started.Id(), kDialogClass)) != nullptr; })) {
    std::fprintf(stderr, "Apply showed no message\n");
    return std::nullopt;
  }
  const Milliseconds elapsed = Clock::now() - start;
  const std::string text = BoxText(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  if (text != kSettingsSaved) {
    std::fprintf(stderr, "Apply answered \"%s\"\n", text.c_str());
    return std::nullopt;
  }
  return elapsed;
}

double Median(std::vector<Milliseconds> times) {
  std::ranges::sort(times);
  const std::size_t middle = times.size() / 2;
  const Milliseconds median =
      times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2.0;
  return median.count();
}

int Run(int runs, const std::string& utility, const std::string& emptyWindow) {
  if (!TimeStartup(utility) || !TimeStartup(emptyWindow)) return 1;  // warm-up
  std::vector<Milliseconds> utilityTimes;
  std::vector<Milliseconds> emptyTimes;
  std::vector<Milliseconds> applyTimes;
  for (int run = 0; run < runs; ++run) {
    const std::optional<Milliseconds> utilityTime = TimeStartup(utility);
    const std::optional<Milliseconds> emptyTime = TimeStartup(emptyWindow);
    const std::optional<Milliseconds> applyTime = TimeApplyPass(utility);
    if (!utilityTime || !emptyTime || !applyTime) return 1;
    utilityTimes.push_back(*utilityTime);
    emptyTimes.push_back(*emptyTime);
    applyTimes.push_back(*applyTime);
  }
  const double utilityMedian = Median(utilityTimes);
  const double emptyMedian = Median(emptyTimes);
  const double ratio = utilityMedian / emptyMedian;
  std::printf("runs: %d each\n", runs);
  std::printf("start-up to window shown, utility:      median %8.1f ms\n", utilityMedian);
  std::printf("start-up to window shown, empty window: median %8.1f ms\n", emptyMedian);
  std::printf("ratio utility / empty window: %.2f (goal <= %.1f: %s)\n", ratio, kGoalRatio,
              ratio <= kGoalRatio ? "met" : "missed");
  std::printf("one Apply pass, click to \"%s\":    median %8.1f ms\n", kSettingsSaved,
              Median(applyTimes));
  return 0;
}

}  // namespace
}  // namespace quillon

int main(int argc, char** argv) {
  if (argc != 4 || std::atoi(argv[1]) < 1) {
    std::fprintf(stderr, "usage: %s RUNS UTILITY.EXE EMPTY-WINDOW.EXE\n", argv[0]);
    return 2;
  }
  return quillon::Run(std::atoi(argv[1]), argv[2], argv[3]);
}
