#pragma once
// The main window's controls in memory, for native tests: starts in the
// created state of the controls table, keeps what the core sets, raises the
// change listener as edit controls do (a text box, on a real change of its
// text), and notes what the core asked of the window itself.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/ControlTable.h"
#include "app/Controls.h"

namespace quillon {

class ControlModel final : public Controls {
 public:
  ControlModel() {
    for (const ControlDefinition& c : ControlTable()) {
      const bool edit = c.kind == ControlKind::kTextBox || c.kind == ControlKind::kComboBox;
      states_[IndexOf(c.id)] = {std::string(edit ? c.created.text : c.caption), 0,
                                c.created.enabled, c.created.visible};
    }
  }

  std::string Text(ControlId id) const override { return states_[IndexOf(id)].text; }
  void SetText(ControlId id, const std::string& text) override {
    if (std::exchange(states_[IndexOf(id)].text, text) == text) return;
    if (DefinitionOf(id).kind == ControlKind::kTextBox && listener_) listener_(id);
  }
  int Value(ControlId id) const override { return states_[IndexOf(id)].value; }
  void SetValue(ControlId id, int value) override { states_[IndexOf(id)].value = value; }
  bool Enabled(ControlId id) const override { return states_[IndexOf(id)].enabled; }
  void SetEnabled(ControlId id, bool enabled) override { states_[IndexOf(id)].enabled = enabled; }
  bool Visible(ControlId id) const override { return states_[IndexOf(id)].visible; }
  std::vector<std::string> ListItems(ControlId id) const override {
    return {DefinitionOf(id).listItems.begin(), DefinitionOf(id).listItems.end()};
  }
  void SetChangeListener(ChangeListener listener) override { listener_ = std::move(listener); }
  void Close() override { windowCalls += "close;"; }
  void ShowWaitPointer() override { windowCalls += "wait;"; }
  void RestorePointer() override { windowCalls += "restore;"; }

  std::string windowCalls;  // "close;", "wait;" and "restore;" in order

 private:
  struct State {
    std::string text;
    int value;
    bool enabled;
    bool visible;
  };
  std::array<State, kControlCount> states_;
  ChangeListener listener_;
};

}  // namespace quillon
