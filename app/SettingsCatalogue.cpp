// The rows of the settings catalogue, in the order Apply handles them.
#include "app/SettingsCatalogue.h"

#include <algorithm>
#include <vector>

namespace quillon {
namespace {

using Id = ControlId;
using enum ValueType;
using R = ReadRule;
using W = WriteRule;
using enum StoredWhen;

constexpr Setting kSettings[] = {
    // Machine-wide paths.
    {.name = "Default Path", .control = Id::txtDefaultPath, .read = R::MachineText, .load = {1},
     .when = TextNotEmpty},
    {.name = "PDFDefaultWatermarkFile", .control = Id::txtDefaultWatermarkFile,
     .read = R::MachineText, .load = {2}, .when = TextNotEmpty},

    // The save dialog's own number, dropped when printing is disabled.
    {.name = "file options", .type = Number, .write = W::SaveDialog},

    // The fixed PDF file name, persistent or for the next job.
    {.name = "PDFFileName", .control = Id::txtPDFFileName, .read = R::FileName,
     .ticksApplyToAllUsers = true, .load = {13, 1}, .write = W::FileName},
    {.name = "PDFDefaultFileName", .control = Id::txtPDFFileName, .read = R::FileName,
     .ticksApplyToAllUsers = true, .load = {13, 2}, .write = W::FileName,
     .variant = {.persistent = true}},

    {.name = "PDFAutoNameContentSearchWord", .control = Id::txtAutoNameContentSearchWord,
     .read = R::UserFirstText, .ticksApplyToAllUsers = true, .load = {14}, .write = W::ChosenScope,
     .when = TextNotEmpty},

    // The program run after each PDF: one command under four names.
    {.name = "Post Action", .control = Id::txtPostAction, .read = R::PostAction,
     .ticksApplyToAllUsers = true, .load = {11, 1}, .write = W::PostAction},
    {.name = "Default Post Action", .control = Id::txtPostAction, .read = R::PostAction,
     .ticksApplyToAllUsers = true, .load = {11, 3}, .write = W::PostAction,
     .variant = {.persistent = true}},
    {.name = "Post Action Nowait", .control = Id::txtPostAction, .read = R::PostAction,
     .ticksApplyToAllUsers = true, .load = {11, 2}, .write = W::PostAction,
     .variant = {.noWait = true}},
    {.name = "Default Post Action Nowait", .control = Id::txtPostAction,
     .read = R::PostAction, .ticksApplyToAllUsers = true, .load = {11, 4},
     .write = W::PostAction, .variant = {.persistent = true, .noWait = true}},

    // Mail defaults, always for all users. The load reads the note before
    // the CC addresses.
    {.name = "PDFMailDefaultSubject", .control = Id::txtMailSubject, .read = R::MachineText,
     .load = {15, 1}, .when = TextNotEmpty},
    {.name = "PDFMailDefaultRecipients", .control = Id::txtMailAddress, .read = R::MachineText,
     .load = {15, 2}, .when = TextNotEmpty},
    {.name = "PDFMailDefaultCCRecipients", .control = Id::txtMailCCAddress, .read = R::MachineText,
     .load = {15, 4}, .when = TextNotEmpty},
    {.name = "PDFMailDefaultNote", .control = Id::txtMailBody, .read = R::MachineText,
     .load = {15, 3}, .when = TextNotEmpty},
    {.name = "PDFMailResolveNames", .type = Number, .control = Id::chkResolveNames,
     .read = R::FirstNonZero, .load = {17}},

    // The file merged with each PDF. The "Default" names are never read and
    // never written, only removed.
    {.name = "PDFAppendFile", .control = Id::txtMergeFile, .read = R::MergeFile,
     .ticksApplyToAllUsers = true, .load = {12, 2}, .write = W::MergeFile,
     .variant = {.mergeCommand = "Append"}},
    {.name = "PDFPrependFile", .control = Id::txtMergeFile, .read = R::MergeFile,
     .ticksApplyToAllUsers = true, .load = {12, 1}, .write = W::MergeFile,
     .variant = {.mergeCommand = "Prepend"}},
    {.name = "PDFDefaultAppendFile", .control = Id::txtMergeFile, .write = W::MergeFile},
    {.name = "PDFDefaultPrependFile", .control = Id::txtMergeFile, .write = W::MergeFile},

    // The watermark and the pages it skips.
    {.name = "PDFWatermarkFile", .control = Id::txtWatermarkFile, .read = R::UserFirstText,
     .ticksApplyToAllUsers = true, .load = {20}, .write = W::ChosenScope, .when = TextNotEmpty,
     .jobOption = true},
    {.name = "PDFExcludeWatermarkPre", .type = Number, .control = Id::txtExcludeWatermarkPre,
     .read = R::UserFirstNumber, .ticksApplyToAllUsers = true, .load = {19, 1}, .write = W::ChosenScope,
     .when = TextNotExactlyZero, .jobOption = true, .label = Id::lblWatermarkPre},
    {.name = "PDFExcludeWatermarkPost", .type = Number, .control = Id::txtExcludeWatermarkPost,
     .read = R::UserFirstNumber, .ticksApplyToAllUsers = true, .load = {19, 2}, .write = W::ChosenScope,
     .when = TextNotExactlyZero, .jobOption = true, .label = Id::lblWatermarkPost},

    {.name = "QUILLONTEMP", .control = Id::txtQuillonTEMP, .read = R::EnvironmentText,
     .load = {16}, .write = W::TempFolder},

    {.name = "default user password", .control = Id::txtUserPass, .read = R::Password,
     .load = {9}, .write = W::Password},
    {.name = "default master password", .control = Id::txtMasterPass,
     .read = R::Password, .load = {10}, .write = W::Password},

    // The machine-wide bit sets, written on every pass.
    {.name = "default options", .type = Number, .bitSet = BitSet::Options, .read = R::MachineNumber,
     .load = {3, 1}},
    {.name = "default options mask", .type = Number, .bitSet = BitSet::OptionsMask,
     .read = R::MachineNumber, .load = {3, 2}},
    {.name = "default permissions", .type = Number, .bitSet = BitSet::Permissions,
     .read = R::MachineNumber, .load = {3, 3}},
    {.name = "default permissions mask", .type = Number, .bitSet = BitSet::PermissionsMask,
     .read = R::MachineNumber, .load = {3, 4}},
    {.name = "disabled options", .type = Number, .bitSet = BitSet::DisabledOptions,
     .read = R::MachineNumber, .load = {3, 5}},

    {.name = "disable autoname keyboard check", .type = Number,
     .control = Id::chkDisableAutoNameKeyboardCheck, .read = R::UserFirstNumber, .load = {22, 1}},
    {.name = "PDFPreview", .type = Number, .control = Id::chkUseQuillonDestkopPreview,
     .read = R::UserFirstNumber, .load = {22, 2}},

    // Numbers left absent while they hold their default.
    {.name = "auto merge interval", .type = Number, .control = Id::txtAutoMergeInterval,
     .read = R::UserFirstNumber, .load = {21, 1}, .when = NumberNotDefault, .defaultNumber = 2000,
     .label = Id::lblAutoMergeInterval},
    {.name = "append error retry count", .type = Number, .control = Id::txtAppendErrorRetryCount,
     .read = R::UserFirstNumber, .load = {21, 2}, .when = NumberNotDefault, .defaultNumber = 4,
     .label = Id::lblAppendRetry},
    {.name = "copy error retry count", .type = Number, .control = Id::txtCopyErrorRetryCount,
     .read = R::UserFirstNumber, .load = {21, 3}, .when = NumberNotDefault, .defaultNumber = 10,
     .label = Id::lblCopyErrorRetryCount},
    {.name = "rename error retry count", .type = Number, .control = Id::txtRenameErrorRetryCount,
     .read = R::UserFirstNumber, .load = {21, 4}, .when = NumberNotDefault, .defaultNumber = 4,
     .label = Id::lblRenameError},
    {.name = "delete error retry count", .type = Number, .control = Id::txtDeleteErrorRetryCount,
     .read = R::UserFirstNumber, .load = {21, 5}, .when = NumberNotDefault, .defaultNumber = 10,
     .label = Id::lblDeleteErrorRetryCount},

    // The watermark placement, stored only with a watermark file.
    {.name = "file options", .type = Number, .bitSet = BitSet::FileOptions,
     .read = R::UserFirstNumber, .ticksApplyToAllUsers = true, .load = {18}, .write = W::ChosenScope,
     .when = NumberNotZero, .jobOption = true},

    {.name = "persistent", .type = Number, .write = W::Persistent},
};

}  // namespace

std::span<const Setting> SettingsCatalogue() { return kSettings; }

std::span<const Setting* const> ApplyOrder() {
  static const std::vector<const Setting*> order = [] {
    std::vector<const Setting*> rows;
    for (const Setting& row : kSettings) rows.push_back(&row);
    return rows;
  }();
  return order;
}

std::span<const Setting* const> LoadOrder() {
  static const std::vector<const Setting*> order = [] {
    std::vector<const Setting*> rows;
    for (const Setting& row : kSettings) {
      if (row.read != ReadRule::Never) rows.push_back(&row);
    }
    std::ranges::sort(rows, {}, &Setting::load);
    return rows;
  }();
  return order;
}

}  // namespace quillon
