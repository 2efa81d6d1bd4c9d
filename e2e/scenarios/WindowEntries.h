#pragma once
// Filling the window as an administrator does, from a list of entries: text
// typed into a text box, an item picked from a list, a box ticked or cleared.
// The kind of the control says which.
#include <span>
#include <string>

#include "app/ControlId.h"
#include "e2e/driver/UtilityWindow.h"
#include "e2e/scenarios/WindowState.h"

namespace quillon::e2e {

struct Entry {
  ControlId control;
  std::string value;  // the text, the item, or "1" / "0" for a check box
};

// Makes every entry in order; false at the first that could not be made.
[[nodiscard]] bool Enter(UtilityWindow& window, std::span<const Entry> entries);

// The state a window shows once the entries are made on top of `base`.
WindowState WithEntries(WindowState base, std::span<const Entry> entries);

}  // namespace quillon::e2e
