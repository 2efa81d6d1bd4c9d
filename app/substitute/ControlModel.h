#pragma once
// The main window's controls in memory, for native tests: starts in the
// created state of the controls table, keeps what the core sets, raises the
// change listener as edit controls do, and records what the core asked of the
// window itself.
#include <array>
#include <string>
#include <vector>

#include "app/ControlId.h"
#include "app/Controls.h"

namespace quillon {

class ControlModel final : public Controls {
 public:
  enum class WindowCall { kClose, kShowWaitPointer, kRestorePointer };

  ControlModel();

  std::string Text(ControlId id) const override;
  void SetText(ControlId id, const std::string& text) override;
  int Value(ControlId id) const override;
  void SetValue(ControlId id, int value) override;
  bool Enabled(ControlId id) const override;
  void SetEnabled(ControlId id, bool enabled) override;
  bool Visible(ControlId id) const override;
  std::vector<std::string> ListItems(ControlId id) const override;
  void SetChangeListener(ChangeListener listener) override;
  void Close() override;
  void ShowWaitPointer() override;
  void RestorePointer() override;

  // Every change notification raised, in order, nested ones included.
  std::vector<ControlId> raisedChanges;
  // Close and pointer requests, in order.
  std::vector<WindowCall> windowCalls;

 private:
  struct State {
    std::string text;
    int value = 0;
    bool enabled = true;
    bool visible = true;
  };

  State& StateOf(ControlId id) { return states_[IndexOf(id)]; }
  const State& StateOf(ControlId id) const { return states_[IndexOf(id)]; }

  std::array<State, kControlCount> states_;
  ChangeListener listener_;
};

}  // namespace quillon
