// The rows of the settings catalogue, in the order Apply handles them.
#include "model/SettingsCatalogue.h"

#include <algorithm>
#include <iterator>
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
    {.name = "Default Path", .control = Id::txtDefaultPath, .read = R::MachineText,
     .when = TextNotEmpty},
    {.name = "PDFDefaultWatermarkFile", .control = Id::txtDefaultWatermarkFile,
     .read = R::MachineText, .when = TextNotEmpty},

    // The save dialog's own number, dropped when printing is disabled.
    {.name = "file options", .type = Number, .write = W::SaveDialog,
     .noPolicyBecause = "The save dialog's own per-user number, which the window never shows: "
                        "Apply only removes it."},

    // The fixed PDF file name, persistent or for the next job.
    {.name = "PDFFileName", .control = Id::txtPDFFileName, .read = R::FileName,
     .ticksApplyToAllUsers = true, .write = W::FileName},
    {.name = "PDFDefaultFileName", .control = Id::txtPDFFileName, .read = R::FileName,
     .ticksApplyToAllUsers = true, .write = W::FileName,
     .variant = {.persistent = true}},

    {.name = "PDFAutoNameContentSearchWord", .control = Id::txtAutoNameContentSearchWord,
     .read = R::UserFirstText, .ticksApplyToAllUsers = true, .write = W::ChosenScope,
     .when = TextNotEmpty},

    // The program run after each PDF: one command under four names.
    {.name = "Post Action", .control = Id::txtPostAction, .read = R::PostAction,
     .ticksApplyToAllUsers = true, .write = W::PostAction},
    {.name = "Default Post Action", .control = Id::txtPostAction, .read = R::PostAction,
     .ticksApplyToAllUsers = true, .write = W::PostAction,
     .variant = {.persistent = true}},
    {.name = "Post Action Nowait", .control = Id::txtPostAction, .read = R::PostAction,
     .ticksApplyToAllUsers = true, .write = W::PostAction,
     .variant = {.noWait = true}},
    {.name = "Default Post Action Nowait", .control = Id::txtPostAction,
     .read = R::PostAction, .ticksApplyToAllUsers = true,
     .write = W::PostAction, .variant = {.persistent = true, .noWait = true}},

    // Mail defaults, always for all users. The load reads the note before
    // the CC addresses.
    {.name = "PDFMailDefaultSubject", .control = Id::txtMailSubject, .read = R::MachineText,
     .when = TextNotEmpty},
    {.name = "PDFMailDefaultRecipients", .control = Id::txtMailAddress, .read = R::MachineText,
     .when = TextNotEmpty},
    {.name = "PDFMailDefaultCCRecipients", .control = Id::txtMailCCAddress, .read = R::MachineText,
     .when = TextNotEmpty},
    {.name = "PDFMailDefaultNote", .control = Id::txtMailBody, .read = R::MachineText,
     .when = TextNotEmpty},
    {.name = "PDFMailResolveNames", .type = Number, .control = Id::chkResolveNames,
     .read = R::FirstNonZero},

    // The file merged with each PDF. The "Default" names are never read and
    // never written, only removed. A merge file counts as a job option
    // whatever the merge command shows.
    {.name = "PDFAppendFile", .control = Id::txtMergeFile, .read = R::MergeFile,
     .ticksApplyToAllUsers = true, .write = W::MergeFile, .jobOption = true,
     .variant = {.mergeCommand = kAppendItem}},
    {.name = "PDFPrependFile", .control = Id::txtMergeFile, .read = R::MergeFile,
     .ticksApplyToAllUsers = true, .write = W::MergeFile, .jobOption = true,
     .variant = {.mergeCommand = kPrependItem}},
    {.name = "PDFDefaultAppendFile", .control = Id::txtMergeFile, .write = W::MergeFile,
     .jobOption = true},
    {.name = "PDFDefaultPrependFile", .control = Id::txtMergeFile, .write = W::MergeFile,
     .jobOption = true},

    // The watermark and the pages it skips.
    {.name = "PDFWatermarkFile", .control = Id::txtWatermarkFile, .read = R::UserFirstText,
     .ticksApplyToAllUsers = true, .write = W::ChosenScope, .when = TextNotEmpty,
     .jobOption = true},
    {.name = "PDFExcludeWatermarkPre", .type = Number, .control = Id::txtExcludeWatermarkPre,
     .read = R::UserFirstNumber, .ticksApplyToAllUsers = true, .write = W::ChosenScope,
     .when = TextNotExactlyZero, .jobOption = true, .label = Id::lblWatermarkPre},
    {.name = "PDFExcludeWatermarkPost", .type = Number, .control = Id::txtExcludeWatermarkPost,
     .read = R::UserFirstNumber, .ticksApplyToAllUsers = true, .write = W::ChosenScope,
     .when = TextNotExactlyZero, .jobOption = true, .label = Id::lblWatermarkPost},

    {.name = "QUILLONTEMP", .control = Id::txtQuillonTEMP, .read = R::EnvironmentText,
     .write = W::TempFolder,
     .noPolicyBecause =
         "A system environment variable under SYSTEM\\, which Intune refuses, and which running "
         "programs see only once the change is announced. Group Policy Preferences' Environment "
         "items (Computer Configuration, Preferences, Windows Settings, Environment: a system "
         "variable named QUILLONTEMP) set it and announce it."},

    // A password typed in counts as a job option, stored or not.
    {.name = "default user password", .control = Id::txtUserPass, .read = R::Password,
     .write = W::Password, .jobOption = true,
     .noPolicyBecause =
         "A GPO's Registry.pol lies in SYSVOL, which every domain user can read, and the stored "
         "form of the password can be decoded by anyone with the utility. Set it with the "
         "utility, or carry its /export file through a share only administrators can read."},
    {.name = "default master password", .control = Id::txtMasterPass, .read = R::Password,
     .write = W::Password, .jobOption = true,
     .noPolicyBecause = "As the default user password: nothing secret belongs in a GPO."},

    // The machine-wide bit sets, written on every pass.
    {.name = "default options", .type = Number, .bitSet = BitSet::Options,
     .read = R::MachineNumber},
    {.name = "default options mask", .type = Number, .bitSet = BitSet::OptionsMask,
     .read = R::MachineNumber},
    {.name = "default permissions", .type = Number, .bitSet = BitSet::Permissions,
     .read = R::MachineNumber},
    {.name = "default permissions mask", .type = Number, .bitSet = BitSet::PermissionsMask,
     .read = R::MachineNumber},
    {.name = "disabled options", .type = Number, .bitSet = BitSet::DisabledOptions,
     .read = R::MachineNumber},

    {.name = "disable autoname keyboard check", .type = Number,
     .control = Id::chkDisableAutoNameKeyboardCheck, .read = R::UserFirstNumber},
    {.name = "PDFPreview", .type = Number, .control = Id::chkUseQuillonDestkopPreview,
     .read = R::UserFirstNumber},

    // Numbers left absent while they hold their default.
    {.name = "auto merge interval", .type = Number, .control = Id::txtAutoMergeInterval,
     .read = R::UserFirstNumber, .when = NumberNotDefault, .defaultNumber = 2000,
     .label = Id::lblAutoMergeInterval},
    {.name = "append error retry count", .type = Number, .control = Id::txtAppendErrorRetryCount,
     .read = R::UserFirstNumber, .when = NumberNotDefault, .defaultNumber = 4,
     .label = Id::lblAppendRetry},
    {.name = "copy error retry count", .type = Number, .control = Id::txtCopyErrorRetryCount,
     .read = R::UserFirstNumber, .when = NumberNotDefault, .defaultNumber = 10,
     .label = Id::lblCopyErrorRetryCount},
    {.name = "rename error retry count", .type = Number, .control = Id::txtRenameErrorRetryCount,
     .read = R::UserFirstNumber, .when = NumberNotDefault, .defaultNumber = 4,
     .label = Id::lblRenameError},
    {.name = "delete error retry count", .type = Number, .control = Id::txtDeleteErrorRetryCount,
     .read = R::UserFirstNumber, .when = NumberNotDefault, .defaultNumber = 10,
     .label = Id::lblDeleteErrorRetryCount},

    // The watermark placement, stored only with a watermark file.
    {.name = "file options", .type = Number, .bitSet = BitSet::FileOptions,
     .read = R::UserFirstNumber, .ticksApplyToAllUsers = true, .write = W::ChosenScope,
     .when = NumberNotZero, .jobOption = true},

    {.name = "persistent", .type = Number, .write = W::Persistent,
     .noPolicyBecause = "Not a setting of its own: the policies for the job's options set it to 1 "
                        "beside their value, as Apply does."},
};

// The order the load reads the values in, which is the order the registry
// sees the reads in and the text boxes raise their change notifications in.
// Machine-wide values come first, the passwords before the job's options,
// and the post action before the merge file and the PDF file name.
constexpr std::string_view kLoadOrder[] = {
    "Default Path",
    "PDFDefaultWatermarkFile",
    "default options",
    "default options mask",
    "default permissions",
    "default permissions mask",
    "disabled options",
    "default user password",
    "default master password",
    "Post Action",
    "Post Action Nowait",
    "Default Post Action",
    "Default Post Action Nowait",
    "PDFPrependFile",
    "PDFAppendFile",
    "PDFFileName",
    "PDFDefaultFileName",
    "PDFAutoNameContentSearchWord",
    "PDFMailDefaultSubject",
    "PDFMailDefaultRecipients",
    "PDFMailDefaultNote",
    "PDFMailDefaultCCRecipients",
    "QUILLONTEMP",
    "PDFMailResolveNames",
    "file options",
    "PDFExcludeWatermarkPre",
    "PDFExcludeWatermarkPost",
    "PDFWatermarkFile",
    "auto merge interval",
    "append error retry count",
    "copy error retry count",
    "rename error retry count",
    "delete error retry count",
    "disable autoname keyboard check",
    "PDFPreview",
};

// Checked while building: the list names each row the load reads once, and
// no other.
consteval bool LoadOrderNamesEveryReadRowOnce() {
  std::size_t readRows = 0;
  for (const Setting& row : kSettings) {
    if (row.read == ReadRule::Never) continue;
    ++readRows;
    if (std::ranges::count(kLoadOrder, row.name) != 1) return false;
  }
  return readRows == std::size(kLoadOrder);
}
static_assert(LoadOrderNamesEveryReadRowOnce());

const Setting& ReadRowNamed(std::string_view name) {
  return *std::ranges::find_if(kSettings, [name](const Setting& row) {
    return row.name == name && row.read != ReadRule::Never;
  });
}

}  // namespace

std::span<const Setting> SettingsCatalogue() { return kSettings; }

std::span<const Setting* const> LoadOrder() {
  static const std::vector<const Setting*> order = [] {
    std::vector<const Setting*> rows;
    for (const std::string_view name : kLoadOrder) rows.push_back(&ReadRowNamed(name));
    return rows;
  }();
  return order;
}

std::size_t LoadRank(const Setting& row) {
  if (row.read == ReadRule::Never) return std::size(kLoadOrder);
  return static_cast<std::size_t>(std::ranges::find(kLoadOrder, row.name) -
                                  std::begin(kLoadOrder));
}

Residence ResidenceOf(const Setting& row) {
  if (row.write == WriteRule::TempFolder) return Residence::Environment;
  if (row.write == WriteRule::SaveDialog) return Residence::SaveDialog;
  const bool machineOnly = row.read == ReadRule::MachineText || row.read == ReadRule::MachineNumber;
  return machineOnly ? Residence::MachineKey : Residence::UserFirst;
}

}  // namespace quillon
