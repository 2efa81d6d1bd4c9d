#pragma once
// The numbers the printer keeps as bit sets, and the check boxes and list
// items they stand for: the bit tables, and the mapping both ways, packed by
// Apply and unpacked by the load.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/ControlId.h"
#include "model/ControlTable.h"
#include "model/Controls.h"

namespace quillon {

enum class BitSet {
  Options,
  OptionsMask,
  Permissions,
  PermissionsMask,
  DisabledOptions,
  FileOptions
};

// One number per bit set, as Apply packs them or the load reads them.
class BitSets {
 public:
  std::uint32_t& operator[](BitSet set) { return values_[static_cast<std::size_t>(set)]; }
  std::uint32_t operator[](BitSet set) const { return values_[static_cast<std::size_t>(set)]; }

 private:
  std::array<std::uint32_t, 6> values_{};
};

// `disabled options`: a box of sense Set sets its bit when ticked (any value
// but 0); one of sense Clear sets it when cleared. In the load's order.
enum class Sense { Set, Clear };
struct DisabledOptionBit {
  ControlId box;
  std::uint32_t bit;
  Sense sense;
};
inline constexpr DisabledOptionBit kDisabledOptionBits[] = {
    {ControlId::chkSendPDF, 0x1, Sense::Set},
    {ControlId::chkDeleteAfterSending, 0x40, Sense::Set},
    {ControlId::chkViewPDF, 0x2, Sense::Set},
    {ControlId::chkPrintPDF, 0x80, Sense::Set},
    {ControlId::chkBestImageQuality, 0x100, Sense::Set},
    {ControlId::chkDocumentTitle, 0x8000000, Sense::Set},
    {ControlId::chkDocumentAuthor, 0x10000000, Sense::Set},
    {ControlId::chkUserPassEnabled, 0x200000, Sense::Clear},
    {ControlId::chkMasterPassEnabled, 0x400000, Sense::Clear},
    {ControlId::chkEncryptLevelEnabled, 0x800000, Sense::Clear},
    {ControlId::chkPrintEnabled, 0x1000000, Sense::Clear},
    {ControlId::chkCopyEnabled, 0x4000000, Sense::Clear},
    {ControlId::chkModifyEnabled, 0x2000000, Sense::Clear},
    {ControlId::chkApplyWatermark, 0x200, Sense::Set},
    {ControlId::chkChangeWatermark, 0x40000, Sense::Set},
    {ControlId::chkDisableAppendReplace, 0x8000, Sense::Set},
};

// `default options` and its mask: the encryption level and the resizing of
// the File Save window.
inline constexpr ControlId kEncryptionCombo = ControlId::cboEncryptLevel;
inline constexpr std::uint32_t kEncryptionGroup = 0x2018;
struct EncryptionLevel {
  std::string_view item;
  std::uint32_t bit;
};
// In the order the load tests them; "No Encryption" has no bit of its own
// and so is what the load shows when none of the others is set.
inline constexpr EncryptionLevel kEncryptionLevels[] = {
    {k40BitEncryptionItem, 0x8},
    {k128BitEncryptionItem, 0x10},
    {k256BitEncryptionItem, 0x2000},
    {kNoEncryptionItem, 0x0},
};
inline constexpr ControlId kResizingBox = ControlId::chkDisableResizing;
inline constexpr std::uint32_t kResizingBit = 0x10000;

// `default permissions` and its mask: each combo allows or prevents a group
// of bits; the load shows a combo only when the mask holds any of them.
struct PermissionCombo {
  ControlId combo;
  std::uint32_t bits;
  std::string_view allowItem;
  std::string_view preventItem;
};
inline constexpr PermissionCombo kPermissionCombos[] = {
    {ControlId::cboPrintPermission, 0x4, kAllowPrintingItem, kPreventPrintingItem},
    {ControlId::cboCopyPermission, 0x10, kAllowCopyingItem, kPreventCopyingItem},
    {ControlId::cboModifyPermission, 0x528, kAllowModificationItem, kPreventModificationItem},
};

// `file options`: where the watermark lies, in the order the load tests them.
inline constexpr ControlId kWatermarkPlacementCombo = ControlId::cboWatermarkCommand;
struct WatermarkPlacement {
  std::string_view item;
  std::uint32_t bit;
};
inline constexpr WatermarkPlacement kWatermarkPlacements[] = {
    {kBackgroundItem, 0x800},
    {kForegroundItem, 0x200},
};

// Apply's direction: the numbers the window's boxes and lists stand for.
BitSets PackBitSets(const Controls& controls);
// The load's direction: the boxes and lists the numbers stand for. Ticks
// only, since every box starts clear; a combo whose bits are not set keeps
// what it shows.
void ShowBitSets(const BitSets& loaded, Controls& controls);

}  // namespace quillon
