#pragma once
// AdminUtilityMain on the screen: the top-level window with its tab control
// and every control of the controls table, created from that table (the
// page in front first, the others once it is shown), and the Controls
// interface over their handles. The window shows the page in front, raises
// its text boxes' change notifications and passes button clicks on; what a
// click or a change does is the core's business.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/ControlId.h"
#include "model/ControlTable.h"
#include "model/Controls.h"

namespace quillon {

// Raised with the id of a button the user pressed, by mouse or keyboard.
using ClickListener = std::function<void(ControlId)>;

// The registered window class, for whoever looks for the window from outside.
inline constexpr char kMainWindowClassName[] = "QuillonAdminUtilityMain";

// Dialog ids of the children. None is 1 (IDOK) or 2 (IDCANCEL): the dialog
// manager turns Enter and Esc into those, and no control answers them.
inline constexpr int kTabControlDialogId = 100;
inline constexpr int kFirstControlDialogId = 101;
constexpr int DialogIdOf(ControlId id) {
  return kFirstControlDialogId + static_cast<int>(IndexOf(id));
}

class MainWindow final : public Controls {
 public:
  // The window, hidden, with the initial page in front and every control in
  // its created state, though only the front page's controls and the
  // buttons beside the pages are built yet; nullptr when the platform
  // refuses any part of it (GetLastError tells why).
  static std::unique_ptr<MainWindow> Create(HINSTANCE instance);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Null once the window is closed.
  HWND Handle() const { return window_; }

  // Replaces the one listener; an empty function drops the clicks.
  void SetClickListener(ClickListener listener);

  // First display, with keyboard focus on Apply; the pages behind the one in
  // front are built right after it. False when the platform refuses one of
  // their controls (GetLastError tells why).
  [[nodiscard]] bool Show(int showCommand);

  // The program's message loop, as in a dialog box: Tab and the arrow keys
  // move between controls. Returns when the window is gone.
  void RunUntilClosed();

  std::string Text(ControlId id) const override;
  void SetText(ControlId id, const std::string& text) override;
  int Value(ControlId id) const override;
  void SetValue(ControlId id, int value) override;
  void SetEnabled(ControlId id, bool enabled) override;
  // The control's own visibility, whichever page is in front.
  void SetChangeListener(ChangeListener listener) override;
  void Close() override;
  void ShowWaitPointer() override;
  void RestorePointer() override;

 private:
  MainWindow() = default;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool Build(HINSTANCE instance);
  bool CreateFrame();
  bool CreateToolTips();
  bool CreateTabControl();
  bool CreateControls(bool (*wanted)(const ControlDefinition&));
  bool CreateControl(const ControlDefinition& definition, const RECT& rect);
  void PlaceInTabOrder(HWND child, int order);

  Page PageInFront() const;
  void ShowPage(Page page);
  void CutTabControlAroundControls(Page page);

  void OnCommand(int dialogId, int code);
  void OnActivate(bool active);
  void RaiseChangeIfTextChanged(ControlId id);
  void ToggleCheckBox(ControlId id);

  HWND HandleOf(ControlId id) const { return handles_[IndexOf(id)]; }

  // What the core set on a control that is not built yet.
  struct UnbuiltState {
    std::string text;
    int value = BST_UNCHECKED;
    bool enabled = true;
  };

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  HWND tabControl_ = nullptr;
  HWND toolTips_ = nullptr;
  std::array<HWND, kControlCount> handles_{};  // null until built
  std::array<UnbuiltState, kControlCount> unbuilt_{};
  HFONT font_ = nullptr;
  int dpiX_ = 0;
  int dpiY_ = 0;

  // Each text box's text as last reported to the change listener.
  std::array<std::string, kControlCount> knownTexts_{};
  ChangeListener changeListener_;
  ClickListener clickListener_;

  bool waiting_ = false;
  HWND focusToRestore_ = nullptr;
};

}  // namespace quillon
