// Settings named and shown as the window names and shows them.
#include "commands/SettingsDisplay.h"

#include <algorithm>
#include <tuple>

#include "model/BitSets.h"
#include "model/ControlTable.h"

namespace quillon {

std::string KeyName(FoundAt at, WindowsWidth width) {
  const CopyPlace& place = PlaceOf(at);
  return KeyNameInView(place.location.root, place.location.path, place.view, width);
}

std::string CannotCheck(const ReadFailure& failure, WindowsWidth width) {
  return "Cannot check: " + KeyNameInView(failure.root, failure.path, failure.view, width) +
         " could not be read (error " + std::to_string(failure.code) + ").";
}

std::string ShownIn(const Controls& controls, ControlId id) {
  if (DefinitionOf(id).kind != ControlKind::kCheckBox) return Quoted(controls.Text(id));
  constexpr const char* kBoxStates[] = {"clear", "ticked", "greyed"};
  return kBoxStates[controls.Value(id)];
}

namespace {

// A bit set as the boxes it ticks and the lists it chooses an item in.
std::string ShownAsBoxes(const Controls& controls, BitSet set) {
  std::string shown;
  for (const ControlId id : ControlsOf(set)) {
    const bool box = DefinitionOf(id).kind == ControlKind::kCheckBox;
    if (box ? controls.Value(id) == 0 : controls.Text(id).empty()) continue;
    shown += (shown.empty() ? "" : "; ") +
             (box ? "[x] " + CaptionOf(id) : CaptionOf(id) + ": " + Quoted(controls.Text(id)));
  }
  return shown.empty() ? "no box ticked, no list item chosen" : shown;
}

}  // namespace

std::string ShownFor(const Controls& controls, const Setting& row,
                     const std::set<ControlId>& passwordsNotShown) {
  if (row.bitSet) return ShownAsBoxes(controls, *row.bitSet);
  const ControlId id = *row.control;
  if (row.read != ReadRule::Password) return ShownIn(controls, id);
  if (passwordsNotShown.contains(id)) return "a password that cannot be decoded";
  return controls.Text(id).empty() ? "no password (not set)" : "a password (set)";
}

std::vector<const Setting*> InPageOrder() {
  std::vector<const Setting*> rows;
  for (const Setting& row : SettingsCatalogue()) rows.push_back(&row);
  const auto place = [](const Setting* row) {
    const std::optional<ControlId> anchor = AnchorOf(*row);
    const ControlDefinition* control = anchor ? &DefinitionOf(*anchor) : nullptr;
    return std::tuple(control ? static_cast<int>(*control->page) : static_cast<int>(kPageCount),
                      control ? control->tabOrder.value_or(0) : 0, LoadRank(*row));
  };
  std::ranges::stable_sort(rows, {}, place);
  return rows;
}

std::string PageTitle(const Setting& row) {
  const std::optional<Page> page = PageOf(row);
  if (!page) return "Kept by the utility, shown in no control";
  return std::string(kTabControl.tabCaptions[static_cast<std::size_t>(*page)]) + " page";
}

}  // namespace quillon
