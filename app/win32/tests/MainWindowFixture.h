#pragma once
// A main window on the screen with the core behind it, wired as the program
// wires them, in its created state (Load() runs the load), and the means to
// look at it and act on it as a user would. The registry is the real one;
// message boxes, printers, the broadcast and the helper library are
// recorded substitutes, so that nothing modal or outside the test appears.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "app/AdminUtilityMain.h"
#include "app/ControlTable.h"
#include "app/substitute/RecordedPrinters.h"
#include "app/win32/MainWindow.h"
#include "app/win32/Win32OpenFileDialog.h"
#include "crypto/substitute/SubstituteHelperLibrary.h"
#include "platform/substitute/RecordedMessageBoxes.h"
#include "settings/substitute/RecordedEnvironmentBroadcast.h"
#include "settings/win32/Win32Registry.h"

namespace quillon {

using Box = std::array<LONG, 4>;

inline bool Overlap(const Box& one, const Box& other) {
  return one[0] < other[2] && other[0] < one[2] && one[1] < other[3] && other[1] < one[3];
}

class MainWindowTest : public ::testing::Test {
 public:
  void SetUp() override {
    window = MainWindow::Create(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr) << "CreateWindow error " << GetLastError();
    dialog.SetOwner(window->Handle());
    core.emplace(AdminUtilityPorts{.controls = *window,
                                   .openFileDialog = dialog,
                                   .numberSeparators = {.decimal = ".", .group = ","},
                                   .registry = registry,
                                   .messageBoxes = messageBoxes,
                                   .printers = printers,
                                   .environmentBroadcast = broadcast,
                                   .helperLibrary = helperLibrary});
    window->SetClickListener([this](ControlId button) { core->Click(button); });
    ASSERT_TRUE(window->Show(SW_SHOWNORMAL)) << "CreateWindow error " << GetLastError();
    Pump();
  }

  // The rest of the program's opening: the load fills the controls.
  void Load() {
    core->Form_Load();
    Pump();
  }

  HWND Frame() const { return window->Handle(); }
  HWND Child(ControlId id) const { return GetDlgItem(Frame(), DialogIdOf(id)); }
  HWND TabControl() const { return GetDlgItem(Frame(), kTabControlDialogId); }

  // Lets the window handle what is queued (activation, painting, input) as
  // the program's loop would.
  void Pump(std::chrono::milliseconds duration = std::chrono::milliseconds(200)) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < deadline) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (Frame() && IsDialogMessageA(Frame(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      Sleep(10);
    }
  }

  // Brings a page to the front as a mouse click on its tab does.
  void ClickTab(Page page) {
    RECT item{};
    SendMessageA(TabControl(), TCM_GETITEMRECT, static_cast<WPARAM>(page),
                 reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(TabControl(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(TabControl(), WM_LBUTTONUP, 0, at);
    Pump();
  }

  // Table twips in pixels at this display's DPI, worked out here rather
  // than taken from the window. Rectangles as {left, top, right, bottom}.
  static int Pixels(int twips, int logPixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, logPixels);
    ReleaseDC(nullptr, screen);
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
  }
  static Box ExpectedBox(const TwipsRect& rect) {
    const int left = Pixels(rect.left, LOGPIXELSX);
    const int top = Pixels(rect.top, LOGPIXELSY);
    return {left, top, left + Pixels(rect.width, LOGPIXELSX),
            top + Pixels(rect.height, LOGPIXELSY)};
  }
  // Where a child lies in the window's client area.
  Box PlacedBox(HWND child) const {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, Frame(), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
  }

  // Members go in reverse: the core first, the window last.
  std::unique_ptr<MainWindow> window;
  Win32OpenFileDialog dialog;
  Win32Registry registry;
  RecordedMessageBoxes messageBoxes;
  RecordedPrinters printers{{"Quillon"}, "Quillon"};
  RecordedEnvironmentBroadcast broadcast;
  SubstituteHelperLibrary helperLibrary;
  std::optional<AdminUtilityMain> core;
};

inline std::string WindowText(HWND window) {
  std::array<char, 1024> text{};
  GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  return text.data();
}

}  // namespace quillon
