// Packing the bit sets from the window, and showing them in it.
#include "model/BitSets.h"

#include <string>

namespace quillon {
namespace {

void ShowEncryptionLevel(const BitSets& loaded, Controls& controls) {
  if ((loaded[BitSet::OptionsMask] & kEncryptionGroup) != kEncryptionGroup) {
    controls.SetText(kEncryptionCombo, "");
    return;
  }
  for (const EncryptionLevel& level : kEncryptionLevels) {
    if ((loaded[BitSet::Options] & level.bit) == level.bit) {
      controls.SetText(kEncryptionCombo, std::string(level.item));
      return;
    }
  }
}

// A combo whose bits the mask lacks keeps its empty item.
void ShowPermissions(const BitSets& loaded, Controls& controls) {
  for (const PermissionCombo& combo : kPermissionCombos) {
    if ((loaded[BitSet::PermissionsMask] & combo.bits) == 0) continue;
    const bool allowed = (loaded[BitSet::Permissions] & combo.bits) != 0;
    controls.SetText(combo.combo, std::string(allowed ? combo.allowItem : combo.preventItem));
  }
}

void ShowDisabledOptions(const BitSets& loaded, Controls& controls) {
  for (const DisabledOptionBit& option : kDisabledOptionBits) {
    const bool bitSet = (loaded[BitSet::DisabledOptions] & option.bit) != 0;
    if (bitSet == (option.sense == Sense::Set)) controls.SetValue(option.box, 1);
  }
}

void ShowResizing(const BitSets& loaded, Controls& controls) {
  if (loaded[BitSet::OptionsMask] != 0 && (loaded[BitSet::Options] & kResizingBit) != 0) {
    controls.SetValue(kResizingBox, 1);
  }
}

// Without a placement bit the combo keeps its initial item.
void ShowWatermarkPlacement(const BitSets& loaded, Controls& controls) {
  for (const WatermarkPlacement& placement : kWatermarkPlacements) {
    if ((loaded[BitSet::FileOptions] & placement.bit) != 0) {
      controls.SetText(kWatermarkPlacementCombo, std::string(placement.item));
      return;
    }
  }
}

}  // namespace

BitSets PackBitSets(const Controls& controls) {
  BitSets packed;
  if (controls.Value(kResizingBox) != 0) {
    packed[BitSet::Options] |= kResizingBit;
    packed[BitSet::OptionsMask] |= kResizingBit;
  }
  const std::string level = controls.Text(kEncryptionCombo);
  for (const EncryptionLevel& item : kEncryptionLevels) {
    if (level != item.item) continue;
    packed[BitSet::Options] |= item.bit;
    packed[BitSet::OptionsMask] |= kEncryptionGroup;
  }
  for (const PermissionCombo& combo : kPermissionCombos) {
    const std::string chosen = controls.Text(combo.combo);
    if (chosen == combo.allowItem) packed[BitSet::Permissions] |= combo.bits;
    if (chosen == combo.allowItem || chosen == combo.preventItem) {
      packed[BitSet::PermissionsMask] |= combo.bits;
    }
  }
  for (const DisabledOptionBit& option : kDisabledOptionBits) {
    const bool ticked = controls.Value(option.box) != 0;
    if (ticked == (option.sense == Sense::Set)) packed[BitSet::DisabledOptions] |= option.bit;
  }
  // The placement counts only with a watermark file to place.
  if (!controls.Text(ControlId::txtWatermarkFile).empty()) {
    const std::string placement = controls.Text(kWatermarkPlacementCombo);
    for (const WatermarkPlacement& item : kWatermarkPlacements) {
      if (placement == item.item) packed[BitSet::FileOptions] |= item.bit;
    }
  }
  return packed;
}

// Each part sets controls that no other touches and that raise no change
// notification, so the order of the parts shows nowhere.
void ShowBitSets(const BitSets& loaded, Controls& controls) {
  ShowEncryptionLevel(loaded, controls);
  ShowPermissions(loaded, controls);
  ShowDisabledOptions(loaded, controls);
  ShowResizing(loaded, controls);
  ShowWatermarkPlacement(loaded, controls);
}

}  // namespace quillon
