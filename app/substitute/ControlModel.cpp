// The in-memory main window for native tests.
#include "app/substitute/ControlModel.h"

#include <utility>

#include "app/ControlTable.h"

namespace quillon {
namespace {

bool HasEditText(ControlKind kind) {
  return kind == ControlKind::kTextBox || kind == ControlKind::kComboBox;
}

}  // namespace

ControlModel::ControlModel() {
  for (const ControlDefinition& definition : ControlTable()) {
    State& state = StateOf(definition.id);
    state.text = std::string(HasEditText(definition.kind) ? definition.created.text : definition.caption);
    state.enabled = definition.created.enabled;
    state.visible = definition.created.visible;
  }
}

std::string ControlModel::Text(ControlId id) const { return StateOf(id).text; }

void ControlModel::SetText(ControlId id, const std::string& text) {
  State& state = StateOf(id);
  if (state.text == text) return;
  state.text = text;
  // Only edit controls notify; a combo box's edit field does not notify a
  // text set by the program.
  if (DefinitionOf(id).kind != ControlKind::kTextBox) return;
  raisedChanges.push_back(id);
  if (listener_) listener_(id);
}

int ControlModel::Value(ControlId id) const { return StateOf(id).value; }

void ControlModel::SetValue(ControlId id, int value) { StateOf(id).value = value; }

bool ControlModel::Enabled(ControlId id) const { return StateOf(id).enabled; }

void ControlModel::SetEnabled(ControlId id, bool enabled) { StateOf(id).enabled = enabled; }

bool ControlModel::Visible(ControlId id) const { return StateOf(id).visible; }

std::vector<std::string> ControlModel::ListItems(ControlId id) const {
  const auto& items = DefinitionOf(id).listItems;
  return {items.begin(), items.end()};
}

void ControlModel::SetChangeListener(ChangeListener listener) { listener_ = std::move(listener); }

void ControlModel::Close() { windowCalls.push_back(WindowCall::kClose); }

void ControlModel::ShowWaitPointer() { windowCalls.push_back(WindowCall::kShowWaitPointer); }

void ControlModel::RestorePointer() { windowCalls.push_back(WindowCall::kRestorePointer); }

}  // namespace quillon
