// Entries made through the window, one control kind at a time.
#include "e2e/scenarios/WindowEntries.h"

#include <gtest/gtest.h>

#include "app/ControlTable.h"

namespace quillon::e2e {
namespace {

constexpr char kTicked[] = "1";

}  // namespace

bool Enter(UtilityWindow& window, std::span<const Entry> entries) {
  for (const Entry& entry : entries) {
    bool made = false;
    switch (DefinitionOf(entry.control).kind) {
      case ControlKind::kTextBox: made = window.Type(entry.control, entry.value); break;
      case ControlKind::kComboBox: made = window.Choose(entry.control, entry.value); break;
      case ControlKind::kCheckBox:
        made = window.SetTick(entry.control, entry.value == kTicked);
        break;
      case ControlKind::kButton:
      case ControlKind::kLabel:
        ADD_FAILURE() << ControlName(entry.control) << " takes no entry";
        break;
    }
    if (!made) return false;
  }
  return true;
}

WindowState WithEntries(WindowState base, std::span<const Entry> entries) {
  for (const Entry& entry : entries) {
    if (DefinitionOf(entry.control).kind == ControlKind::kCheckBox) {
      base.checks[entry.control] = entry.value == kTicked ? 1 : 0;
    } else {
      base.texts[entry.control] = entry.value;
    }
  }
  return base;
}

}  // namespace quillon::e2e
