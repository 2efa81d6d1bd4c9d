// Settings named and shown as the window names and shows them.
#include "commands/SettingsDisplay.h"

#include <algorithm>
#include <tuple>

#include "app/BitSets.h"
#include "app/ControlTable.h"

namespace quillon {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string KeyName(FoundAt at, WindowsWidth width) {
  const CopyPlace& place = PlaceOf(at);
  const Location& key = place.location;
  return (key.root == RootKey::LocalMachine ? "HKLM\\" : "HKCU\\") + std::string(key.path) +
         ViewSuffix(key.root, key.path, place.view, width);
}

std::vector<ControlId> ControlsOf(BitSet set) {
  std::vector<ControlId> ids;
  switch (set) {
    case BitSet::Options:
    case BitSet::OptionsMask:
      return {kEncryptionCombo, kResizingBox};
    case BitSet::Permissions:
    case BitSet::PermissionsMask:
      for (const PermissionCombo& combo : kPermissionCombos) ids.push_back(combo.combo);
      return ids;
    case BitSet::DisabledOptions:
      for (const DisabledOptionBit& bit : kDisabledOptionBits) ids.push_back(bit.box);
      return ids;
    case BitSet::FileOptions:
      return {kWatermarkPlacementCombo};
  }
  return ids;
}

std::optional<ControlId> AnchorOf(const Setting& row) {
  if (row.control) return row.control;
  if (row.bitSet) return ControlsOf(*row.bitSet).front();
  return std::nullopt;
}

// A control without a caption of its own is named by the label nearest to it
// on its page, the one beside or above it sharing the most width on a tie.
std::string_view CaptionOf(ControlId id) {
  const ControlDefinition& control = DefinitionOf(id);
  if (!control.caption.empty()) return control.caption;
  const auto gap = [](int start, int length, int otherStart, int otherLength) {
    return std::max({0, otherStart - (start + length), start - (otherStart + otherLength)});
  };
  const auto score = [&](const ControlDefinition& label) {
    const TwipsRect &a = control.rect, &b = label.rect;
    const int overlap = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    return (gap(a.top, a.height, b.top, b.height) + gap(a.left, a.width, b.left, b.width)) *
               100000 -
           overlap;
  };
  const ControlDefinition* nearest = nullptr;
  for (const ControlDefinition& label : ControlTable()) {
    if (label.kind != ControlKind::kLabel || label.page != control.page) continue;
    if (!nearest || score(label) < score(*nearest)) nearest = &label;
  }
  return nearest ? nearest->caption : ControlName(id);
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
             (box ? "[x] " + std::string(CaptionOf(id))
                  : std::string(CaptionOf(id)) + ": " + Quoted(controls.Text(id)));
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
  const std::optional<ControlId> anchor = AnchorOf(row);
  if (!anchor) return "Kept by the utility, shown in no control";
  return std::string(
             kTabControl.tabCaptions[static_cast<std::size_t>(*DefinitionOf(*anchor).page)]) +
         " page";
}

std::string Heading(const Setting& row) {
  if (row.bitSet) return Quoted(row.name) + ", a bit set";
  if (!row.control) return Quoted(row.name);
  return std::string(row.label ? DefinitionOf(*row.label).caption : CaptionOf(*row.control));
}

}  // namespace quillon
