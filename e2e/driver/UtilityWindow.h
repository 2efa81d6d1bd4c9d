#pragma once
// The utility's main window seen and worked from outside, as an
// administrator would: find it, read what its controls show, switch pages,
// type, tick, pick and press. Controls are found by the dialog ids the
// window gives them. Every call is bounded in time; an action that cannot be
// done the way a user would do it (the control is on no page in front, or
// greyed) adds a failure and returns false.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/ControlId.h"
#include "app/ControlTable.h"
#include "e2e/driver/UtilityProcess.h"

namespace quillon::e2e {

class UtilityWindow {
 public:
  // Waits until the process shows its window; none after a time-out.
  static std::optional<UtilityWindow> WaitForOpen(const UtilityProcess& process);

  HWND Handle() const { return window_; }
  bool IsOpen() const { return IsWindow(window_) != FALSE; }
  HWND Control(ControlId id) const;
  HWND TabControl() const;

  // What the window shows.
  std::string Title() const;
  std::string Text(ControlId id) const;
  int Check(ControlId id) const;  // 0 clear, 1 ticked, 2 greyed
  bool Enabled(ControlId id) const;
  bool OnScreen(ControlId id) const;
  RECT PlacedRect(ControlId id) const;  // pixels, in the client area's coordinates
  SIZE ClientSize() const;
  std::string ClassName(ControlId id) const;
  DWORD Style(ControlId id) const;
  char PasswordChar(ControlId id) const;
  std::vector<std::string> ListItems(ControlId id) const;
  std::vector<std::string> TabCaptions() const;
  std::optional<Page> PageInFront() const;
  HWND KeyboardFocus() const;

  // What a user does.
  [[nodiscard]] bool ShowPage(Page page);
  [[nodiscard]] bool Type(ControlId box, const std::string& text);
  [[nodiscard]] bool SetTick(ControlId box, bool ticked);
  [[nodiscard]] bool Choose(ControlId combo, const std::string& item);
  // Returns once the click is on its way: what it leads to (a message box,
  // the window closing) is for the caller to wait for.
  [[nodiscard]] bool Press(ControlId button);
  // A key pressed while `target` has the keyboard focus.
  void PressKey(HWND target, WORD key, bool withAlt = false);
  // The close box of the title bar.
  void PressCloseBox();

  // Returns once the window's thread answers a message, i.e. it is not
  // inside a long operation; false when it does not answer in time.
  [[nodiscard]] bool Settle() const;

 private:
  explicit UtilityWindow(HWND window) : window_(window) {}

  [[nodiscard]] bool ReadyForInput(ControlId id);

  HWND window_;
};

}  // namespace quillon::e2e
