#pragma once
// What an administrator reads for each control and each setting, stated once:
// the window's labels, the report's and the check's lines and the policy
// templates' display names all take it from here.
#include <optional>
#include <string>
#include <vector>

#include "model/BitSets.h"
#include "model/ControlId.h"
#include "model/ControlTable.h"
#include "model/SettingsCatalogue.h"

namespace quillon {

// The controls a bit set's bits tick or choose in.
std::vector<ControlId> ControlsOf(BitSet set);
// The control a row is shown under: its own, or its bit set's first.
std::optional<ControlId> AnchorOf(const Setting& row);
// The page that shows a row, if any control does.
std::optional<Page> PageOf(const Setting& row);
// A control's caption; a box without one of its own goes by the label beside
// it, some by a sentence of several labels (or a list's item) as they read.
std::string CaptionOf(ControlId id);
// What a setting goes by: its control's caption, or its value name.
std::string Heading(const Setting& row);

}  // namespace quillon
