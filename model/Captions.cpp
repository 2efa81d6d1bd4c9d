// The captions of the boxes that have none of their own, and the headings of
// the settings.
#include "model/Captions.h"

#include <algorithm>
#include <string_view>

#include "settings/Spelling.h"

namespace quillon {
namespace {

using Id = ControlId;

struct CaptionParts {
  Id box;
  std::string_view lead;  // a list's item shown before the labels
  Id first;
  std::optional<Id> second{};
};
constexpr CaptionParts kBoxCaptions[] = {
    {Id::txtDefaultPath, {}, Id::Label5},
    {Id::txtDefaultWatermarkFile, {}, Id::Label20},
    {Id::txtMailSubject, {}, Id::Label6},
    {Id::txtMailAddress, {}, Id::Label7},
    {Id::txtMailCCAddress, {}, Id::Label11},
    {Id::txtMailBody, {}, Id::Label8},
    {Id::txtPDFFileName, {}, Id::Label2},
    {Id::txtAutoNameContentSearchWord, {}, Id::Label1},
    {Id::txtPostAction, {}, Id::Label9},
    {Id::cboMergeCommand, {}, Id::lblAppend},
    {Id::txtMergeFile, kAppendItem, Id::lblAppend},
    {Id::cboWatermarkCommand, {}, Id::lblApply},
    {Id::txtWatermarkFile, {}, Id::lblApply, Id::lblWatermarkFile},
    {Id::txtExcludeWatermarkPre, {}, Id::lblWatermark, Id::lblWatermarkPre},
    {Id::txtExcludeWatermarkPost, {}, Id::lblWatermark, Id::lblWatermarkPost},
    {Id::txtQuillonTEMP, {}, Id::Label12},
    {Id::txtAutoMergeInterval, {}, Id::lblAutoMergeInterval},
    {Id::txtAppendErrorRetryCount, {}, Id::lblAppendRetry},
    {Id::txtCopyErrorRetryCount, {}, Id::lblCopyErrorRetryCount},
    {Id::txtRenameErrorRetryCount, {}, Id::lblRenameError},
    {Id::txtDeleteErrorRetryCount, {}, Id::lblDeleteErrorRetryCount},
    {Id::txtUserPass, {}, Id::Label13},
    {Id::txtMasterPass, {}, Id::Label14},
    {Id::cboEncryptLevel, {}, Id::Label15},
    {Id::cboPrintPermission, {}, Id::Label16},
    {Id::cboCopyPermission, {}, Id::Label17},
    {Id::cboModifyPermission, {}, Id::Label18},
};

std::string OwnCaption(Id id) { return std::string(DefinitionOf(id).caption); }

}  // namespace

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

std::optional<Page> PageOf(const Setting& row) {
  const std::optional<ControlId> anchor = AnchorOf(row);
  if (!anchor) return std::nullopt;
  return DefinitionOf(*anchor).page;
}

std::string CaptionOf(ControlId id) {
  const auto parts = std::ranges::find(kBoxCaptions, id, &CaptionParts::box);
  if (parts == std::end(kBoxCaptions)) return OwnCaption(id);
  std::string caption = parts->lead.empty() ? "" : std::string(parts->lead) + " ";
  caption += OwnCaption(parts->first);
  if (parts->second) caption += " " + OwnCaption(*parts->second);
  return caption;
}

std::string Heading(const Setting& row) {
  if (row.bitSet) return Quoted(row.name) + " (a bit set)";
  if (!row.control) return Quoted(row.name);
  return CaptionOf(*row.control);
}

}  // namespace quillon
