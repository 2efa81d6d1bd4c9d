#pragma once
// The main window's controls in memory: the window the export loads into and
// applies from without showing anything, and the window of the native tests.
// It starts in the created state of the controls table, keeps what the core
// sets, raises the change listener as edit controls do (a text box, on a real
// change of its text), and notes what the core asked of the window itself.
#include <array>
#include <string>
#include <utility>

#include "model/ControlTable.h"
#include "model/Controls.h"

namespace quillon {

class ControlModel final : public Controls {
 public:
  ControlModel() {
    for (const ControlDefinition& c : ControlTable()) {
      const bool edit = c.kind == ControlKind::kTextBox || c.kind == ControlKind::kComboBox;
      states_[IndexOf(c.id)] = {std::string(edit ? c.created.text : c.caption), 0,
                                c.created.enabled};
    }
  }

  std::string Text(ControlId id) const override { return states_[IndexOf(id)].text; }
  void SetText(ControlId id, const std::string& text) override {
    if (std::exchange(states_[IndexOf(id)].text, text) == text) return;
    if (DefinitionOf(id).kind == ControlKind::kTextBox && listener_) listener_(id);
  }
  int Value(ControlId id) const override { return states_[IndexOf(id)].value; }
  void SetValue(ControlId id, int value) override { states_[IndexOf(id)].value = value; }
  void SetEnabled(ControlId id, bool enabled) override { states_[IndexOf(id)].enabled = enabled; }
  bool Enabled(ControlId id) const { return states_[IndexOf(id)].enabled; }
  void SetChangeListener(ChangeListener listener) override { listener_ = std::move(listener); }
  void Close() override { windowCalls += "close;"; }
  void ShowWaitPointer() override { windowCalls += "wait;"; }
  void RestorePointer() override { windowCalls += "restore;"; }

  bool Closed() const { return windowCalls.find("close;") != std::string::npos; }

  std::string windowCalls;  // "close;", "wait;" and "restore;" in order

 private:
  struct State {
    std::string text;
    int value;
    bool enabled;
  };
  std::array<State, kControlCount> states_;
  ChangeListener listener_;
};

}  // namespace quillon
