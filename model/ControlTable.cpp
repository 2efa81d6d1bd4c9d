// The rows of the main window's controls table.
#include "model/ControlTable.h"

#include <cstddef>

namespace quillon {
namespace {

using enum ControlKind;
using enum Page;
using Id = ControlId;

constexpr std::string_view kMergeCommands[] = {kAppendItem, kPrependItem, kOverlayItem};
constexpr std::string_view kWatermarkCommands[] = {kForegroundItem, kBackgroundItem};
// The Security combos start with an empty item: choosing it leaves the
// setting unset.
constexpr std::string_view kEncryptLevels[] = {"", kNoEncryptionItem, k40BitEncryptionItem,
                                               k128BitEncryptionItem, k256BitEncryptionItem};
constexpr std::string_view kPrintPermissions[] = {"", kAllowPrintingItem, kPreventPrintingItem};
constexpr std::string_view kCopyPermissions[] = {"", kAllowCopyingItem, kPreventCopyingItem};
constexpr std::string_view kModifyPermissions[] = {"", kAllowModificationItem,
                                                   kPreventModificationItem};

constexpr CreatedState kDisabled{.enabled = false};
constexpr CreatedState kPageCountBox{.text = "0", .enabled = false};
constexpr CreatedState kPasswordBox{.passwordChar = '*'};

constexpr ControlDefinition kControls[] = {
    // Beside the pages, on every page.
    {.id = Id::btnApply, .kind = kButton, .caption = "Apply",
     .rect = {3480, 5760, 1335, 375}, .tabOrder = 0},
    {.id = Id::Command2, .kind = kButton, .caption = "Cancel",
     .rect = {5040, 5760, 1335, 375}, .tabOrder = 1},

    // File Save
    {.id = Id::Label5, .kind = kLabel, .page = kFileSave, .caption = "Default path on first use",
     .rect = {720, 840, 2535, 255}},
    {.id = Id::txtDefaultPath, .kind = kTextBox, .page = kFileSave,
     .toolTip = "The folder displayed in the file save window the first time Quillon is used.  "
                "After the first display, Quillon saves and restores the last used folder on a "
                "per application basis.",
     .rect = {720, 1080, 5175, 375}, .tabOrder = 3},
    {.id = Id::Label20, .kind = kLabel, .page = kFileSave, .caption = "Default watermark PDF file",
     .rect = {720, 1560, 2892, 252}},
    {.id = Id::txtDefaultWatermarkFile, .kind = kTextBox, .page = kFileSave,
     .rect = {720, 1800, 5172, 372}, .tabOrder = 38},
    {.id = Id::btnSelectWatermark, .kind = kButton, .page = kFileSave, .caption = "...",
     .rect = {6120, 1800, 372, 372}, .tabOrder = 39},
    {.id = Id::chkSendPDF, .kind = kCheckBox, .page = kFileSave,
     .caption = "Disable \"Send File\"",
     .toolTip = "Prevent users from using the \"Send File\" option to email a file after creation.",
     .rect = {720, 2400, 3255, 375}, .tabOrder = 4},
    {.id = Id::chkDocumentTitle, .kind = kCheckBox, .page = kFileSave,
     .caption = "Disable document title",
     .toolTip = "Don't set the PDF document information title with the current document title.",
     .rect = {3600, 2400, 2175, 375}, .tabOrder = 62},
    {.id = Id::chkDeleteAfterSending, .kind = kCheckBox, .page = kFileSave,
     .caption = "Disable \"Delete after sending\"",
     .toolTip = "Prevent users from using the \"Delete after sending\" option to delete a file "
                "after emailing.",
     .rect = {720, 2880, 3255, 375}, .tabOrder = 5},
    {.id = Id::chkDocumentAuthor, .kind = kCheckBox, .page = kFileSave,
     .caption = "Disable document author",
     .toolTip = "Don't set the PDF document information author with the currently logged in "
                "user name.",
     .rect = {3600, 2880, 2535, 375}, .tabOrder = 61},
    {.id = Id::chkViewPDF, .kind = kCheckBox, .page = kFileSave,
     .caption = "Disable \"View File\"",
     .toolTip = "Prevent users from using the \"View File\" option to view a file in the default "
                "viewer after creation.",
     .rect = {720, 3360, 3255, 375}, .tabOrder = 44},
    {.id = Id::chkChangeWatermark, .kind = kCheckBox, .page = kFileSave,
     .caption = "Disable \"Change...\" watermark",
     .toolTip = "Prevent users from changing the watermark file from the \"PDF Options...\" "
                "window",
     .rect = {3600, 3421, 3252, 252}, .tabOrder = 60},
    {.id = Id::chkPrintPDF, .kind = kCheckBox, .page = kFileSave,
     .caption = "Disable \"Print File\"",
     .toolTip = "Prevent users from using the \"Print File\" option to print a file to a paper "
                "printer after creation.",
     .rect = {720, 3840, 3255, 375}, .tabOrder = 63},
    {.id = Id::chkBestImageQuality, .kind = kCheckBox, .page = kFileSave,
     .caption = "Disable \"Optimize image file size\"",
     .rect = {3600, 3901, 3252, 252}, .tabOrder = 64},
    {.id = Id::chkDisableAppendReplace, .kind = kCheckBox, .page = kFileSave,
     .caption = "Disable append window \"Replace\" button",
     .toolTip = "Prevent users from overwriting existing files when creating a new PDF.",
     .rect = {3600, 4320, 3615, 375}, .tabOrder = 66},
    {.id = Id::chkApplyWatermark, .kind = kCheckBox, .page = kFileSave,
     .caption = "Disable \"Apply Watermark\"",
     .rect = {720, 4411, 2412, 192}, .tabOrder = 43},

    // Email
    {.id = Id::Label6, .kind = kLabel, .page = kEmail, .caption = "Default Subject",
     .rect = {480, 960, 1455, 255}},
    {.id = Id::txtMailSubject, .kind = kTextBox, .page = kEmail,
     .rect = {480, 1200, 5655, 285}, .tabOrder = 7},
    {.id = Id::Label7, .kind = kLabel, .page = kEmail, .caption = "Default To: addresses",
     .rect = {480, 1760, 3495, 255}},
    {.id = Id::txtMailAddress, .kind = kTextBox, .page = kEmail,
     .rect = {480, 2000, 5655, 285}, .tabOrder = 8},
    {.id = Id::Label11, .kind = kLabel, .page = kEmail, .caption = "Default CC: addresses",
     .rect = {480, 2560, 2055, 255}},
    {.id = Id::txtMailCCAddress, .kind = kTextBox, .page = kEmail,
     .rect = {480, 2800, 5655, 285}, .tabOrder = 24},
    {.id = Id::Label8, .kind = kLabel, .page = kEmail, .caption = "Default body text",
     .rect = {480, 3360, 1455, 255}},
    {.id = Id::txtMailBody, .kind = kTextBox, .page = kEmail,
     .rect = {480, 3600, 5655, 285}, .tabOrder = 13},
    {.id = Id::chkResolveNames, .kind = kCheckBox, .page = kEmail,
     .caption = "Use Address Book to verify addresses",
     .rect = {480, 4200, 3015, 375}, .tabOrder = 23},

    // File Name
    {.id = Id::Label2, .kind = kLabel, .page = kFileName,
     .caption = "PDF file name (include full path)", .rect = {540, 600, 2772, 252}},
    {.id = Id::txtPDFFileName, .kind = kTextBox, .page = kFileName,
     .rect = {480, 840, 5535, 375}, .tabOrder = 11},
    {.id = Id::btnSelectPDFFileName, .kind = kButton, .page = kFileName, .caption = "...",
     .rect = {6120, 840, 372, 372}, .tabOrder = 41},
    {.id = Id::txtAutoNameContentSearchWord, .kind = kTextBox, .page = kFileName,
     .rect = {3960, 1320, 2052, 375}, .tabOrder = 79},
    {.id = Id::Label1, .kind = kLabel, .page = kFileName,
     .caption = "Content Based Naming Search Word (optional)",
     .toolTip = "Places word following Search Word in a variable named "
                "%PDFAutoNameContentSearch%.",
     .rect = {480, 1440, 3372, 252}},
    {.id = Id::Label9, .kind = kLabel, .page = kFileName,
     .caption = "Run the following program after PDF creation (optional)",
     .rect = {480, 1920, 5292, 372}},
    {.id = Id::chkPostActionWait, .kind = kCheckBox, .page = kFileName,
     .caption = "Wait To Finish", .rect = {5160, 1920, 1572, 252}, .tabOrder = 81},
    {.id = Id::txtPostAction, .kind = kTextBox, .page = kFileName,
     .rect = {480, 2160, 5535, 375}, .tabOrder = 17},
    {.id = Id::cboMergeCommand, .kind = kComboBox, .page = kFileName,
     .listItems = kMergeCommands, .created = {.text = kAppendItem},
     .rect = {480, 2760, 1095, 288}, .tabOrder = 19},
    {.id = Id::lblAppend, .kind = kLabel, .page = kFileName,
     .caption = "the following PDF file after creation (optional)",
     .rect = {1680, 2880, 3972, 252}},
    {.id = Id::txtMergeFile, .kind = kTextBox, .page = kFileName,
     .rect = {480, 3120, 5535, 405}, .tabOrder = 20},
    {.id = Id::btnSelectMergeFile, .kind = kButton, .page = kFileName, .caption = "...",
     .rect = {6120, 3120, 372, 372}, .tabOrder = 42},
    {.id = Id::cboWatermarkCommand, .kind = kComboBox, .page = kFileName,
     .listItems = kWatermarkCommands, .created = {.text = kBackgroundItem},
     .rect = {960, 3720, 1332, 288}, .tabOrder = 77},
    {.id = Id::lblApply, .kind = kLabel, .page = kFileName, .caption = "Apply",
     .rect = {480, 3840, 972, 288}},
    {.id = Id::lblWatermarkFile, .kind = kLabel, .page = kFileName,
     .caption = "watermark PDF file after creation (Quillon Pro, optional)",
     .rect = {2400, 3840, 4332, 372}},
    {.id = Id::txtWatermarkFile, .kind = kTextBox, .page = kFileName,
     .rect = {480, 4080, 5532, 372}, .tabOrder = 52},
    {.id = Id::btnSelectWatermarkFile, .kind = kButton, .page = kFileName, .caption = "...",
     .rect = {6120, 4080, 372, 372}, .tabOrder = 54},
    {.id = Id::lblWatermark, .kind = kLabel, .page = kFileName,
     .caption = "Exclude watermark from:", .created = kDisabled,
     .rect = {480, 4560, 1932, 252}},
    {.id = Id::txtExcludeWatermarkPre, .kind = kTextBox, .page = kFileName,
     .created = kPageCountBox, .rect = {2280, 4560, 492, 288}, .tabOrder = 56},
    {.id = Id::lblWatermarkPre, .kind = kLabel, .page = kFileName,
     .caption = "pages from the document start", .created = kDisabled,
     .rect = {2880, 4560, 3252, 252}},
    {.id = Id::txtExcludeWatermarkPost, .kind = kTextBox, .page = kFileName,
     .created = kPageCountBox, .rect = {2280, 4920, 492, 288}, .tabOrder = 57},
    {.id = Id::lblWatermarkPost, .kind = kLabel, .page = kFileName,
     .caption = "pages from the document end", .created = kDisabled,
     .rect = {2880, 4920, 2412, 252}},
    {.id = Id::chkApplyToAllUsers, .kind = kCheckBox, .page = kFileName,
     .caption = "Apply to all users", .rect = {480, 5160, 1815, 495}, .tabOrder = 10},
    // Never shown: it only carries a value from the load to Apply.
    {.id = Id::chkPersistent, .kind = kCheckBox, .page = kFileName,
     .caption = "Always use these settings", .created = {.visible = false},
     .rect = {3600, 5221, 2772, 372}, .tabOrder = 82},
    {.id = Id::btnTestFile, .kind = kButton, .page = kFileName, .caption = "Test",
     .rect = {480, 5760, 1455, 375}, .tabOrder = 9},

    // Troubleshooting
    {.id = Id::Label12, .kind = kLabel, .page = kTroubleshooting,
     .caption = "Quillon Temporary Folder", .rect = {360, 480, 2172, 252}},
    {.id = Id::txtQuillonTEMP, .kind = kTextBox, .page = kTroubleshooting,
     .toolTip = "Folder used for temporary files used while creating a PDF. Permissions are "
                "inherited.",
     .rect = {360, 720, 5532, 285}, .tabOrder = 25},
    {.id = Id::chkDisableResizing, .kind = kCheckBox, .page = kTroubleshooting,
     .caption = "Disable \"File Save\" window resizing",
     .toolTip = "Some applications like WordPerfect do not handle resizeable File Save windows "
                "correctly.",
     .rect = {360, 1149, 2892, 375}, .tabOrder = 65},
    {.id = Id::chkUseQuillonDestkopPreview, .kind = kCheckBox, .page = kTroubleshooting,
     .caption = "View File - Use Quillon Desktop PDF Viewer",
     .rect = {360, 1668, 3732, 372}, .tabOrder = 67},
    {.id = Id::chkDisableAutoNameKeyboardCheck, .kind = kCheckBox, .page = kTroubleshooting,
     .caption = "Disable Auto-name Shift Key Check",
     .toolTip = "Pressing the shift key disabled auto-name. Setting this will prevent this from "
                "happening when printing to Quillon in the background.",
     .rect = {360, 2184, 3252, 372}, .tabOrder = 68},
    {.id = Id::txtAutoMergeInterval, .kind = kTextBox, .page = kTroubleshooting,
     .rect = {360, 2721, 612, 288}, .tabOrder = 74},
    {.id = Id::lblAutoMergeInterval, .kind = kLabel, .page = kTroubleshooting,
     .caption = "Auto Merge Interval",
     .toolTip = "Amount of time in milliseconds between print jobs to automatically merge",
     .rect = {1200, 2736, 2532, 252}},
    {.id = Id::txtAppendErrorRetryCount, .kind = kTextBox, .page = kTroubleshooting,
     .rect = {360, 3174, 612, 288}, .tabOrder = 69},
    {.id = Id::lblAppendRetry, .kind = kLabel, .page = kTroubleshooting,
     .caption = "Append Error Retry Count", .rect = {1200, 3192, 3132, 252}},
    {.id = Id::txtCopyErrorRetryCount, .kind = kTextBox, .page = kTroubleshooting,
     .rect = {360, 3627, 612, 288}, .tabOrder = 75},
    {.id = Id::lblCopyErrorRetryCount, .kind = kLabel, .page = kTroubleshooting,
     .caption = "Copy Error Retry Count", .rect = {1200, 3636, 2292, 252}},
    {.id = Id::txtRenameErrorRetryCount, .kind = kTextBox, .page = kTroubleshooting,
     .rect = {360, 4080, 612, 288}, .tabOrder = 76},
    {.id = Id::lblRenameError, .kind = kLabel, .page = kTroubleshooting,
     .caption = "Rename Error Retry Count", .rect = {1200, 4104, 2652, 252}},
    {.id = Id::txtDeleteErrorRetryCount, .kind = kTextBox, .page = kTroubleshooting,
     .rect = {360, 4560, 612, 288}, .tabOrder = 84},
    {.id = Id::lblDeleteErrorRetryCount, .kind = kLabel, .page = kTroubleshooting,
     .caption = "Delete Error Retry Count", .rect = {1200, 4560, 2652, 252}},

    // Security
    {.id = Id::Label13, .kind = kLabel, .page = kSecurity, .caption = "Default user password",
     .rect = {240, 600, 3732, 252}},
    {.id = Id::chkUserPassEnabled, .kind = kCheckBox, .page = kSecurity,
     .caption = "Allow user password  to be changed",
     .rect = {3840, 798, 3132, 372}, .tabOrder = 51},
    {.id = Id::txtUserPass, .kind = kTextBox, .page = kSecurity, .created = kPasswordBox,
     .rect = {240, 840, 3372, 288}, .tabOrder = 45},
    {.id = Id::Label14, .kind = kLabel, .page = kSecurity, .caption = "Default master password",
     .rect = {240, 1392, 3732, 252}},
    {.id = Id::txtMasterPass, .kind = kTextBox, .page = kSecurity, .created = kPasswordBox,
     .rect = {240, 1632, 3372, 288}, .tabOrder = 28},
    {.id = Id::chkMasterPassEnabled, .kind = kCheckBox, .page = kSecurity,
     .caption = "Allow master password to be changed",
     .rect = {3840, 1650, 3132, 252}, .tabOrder = 50},
    {.id = Id::Label15, .kind = kLabel, .page = kSecurity, .caption = "Default Encryption Level",
     .rect = {240, 2184, 3612, 252}},
    {.id = Id::cboEncryptLevel, .kind = kComboBox, .page = kSecurity,
     .listItems = kEncryptLevels, .rect = {240, 2424, 3372, 288}, .tabOrder = 30},
    {.id = Id::chkEncryptLevelEnabled, .kind = kCheckBox, .page = kSecurity,
     .caption = "Allow encryption level to be changed",
     .rect = {3840, 2442, 3132, 252}, .tabOrder = 49},
    {.id = Id::Label16, .kind = kLabel, .page = kSecurity, .caption = "Default print permission",
     .rect = {240, 2976, 2652, 252}},
    {.id = Id::cboPrintPermission, .kind = kComboBox, .page = kSecurity,
     .listItems = kPrintPermissions, .rect = {240, 3216, 3372, 288}, .tabOrder = 35},
    {.id = Id::chkPrintEnabled, .kind = kCheckBox, .page = kSecurity,
     .caption = "Allow print permission to be changed",
     .rect = {3840, 3234, 3132, 252}, .tabOrder = 48},
    {.id = Id::Label17, .kind = kLabel, .page = kSecurity, .caption = "Default copy permission",
     .rect = {240, 3768, 2532, 252}},
    {.id = Id::cboCopyPermission, .kind = kComboBox, .page = kSecurity,
     .listItems = kCopyPermissions, .rect = {240, 4008, 3372, 288}, .tabOrder = 36},
    {.id = Id::chkCopyEnabled, .kind = kCheckBox, .page = kSecurity,
     .caption = "Allow copy permission to be changed",
     .rect = {3840, 4026, 3252, 252}, .tabOrder = 47},
    {.id = Id::Label18, .kind = kLabel, .page = kSecurity, .caption = "Default modify permission",
     .rect = {240, 4560, 2172, 252}},
    {.id = Id::cboModifyPermission, .kind = kComboBox, .page = kSecurity,
     .listItems = kModifyPermissions, .rect = {240, 4800, 3372, 288}, .tabOrder = 37},
    {.id = Id::chkModifyEnabled, .kind = kCheckBox, .page = kSecurity,
     .caption = "Allow modify permission to be changed",
     .rect = {3840, 4818, 3252, 252}, .tabOrder = 46},
};

static_assert(std::size(kControls) == kControlCount, "one row per control name");

// DefinitionOf indexes the table by id, so each row must stand at its id's place.
constexpr bool RowsInIdOrder() {
  for (std::size_t index = 0; index < std::size(kControls); ++index) {
    if (IndexOf(kControls[index].id) != index) return false;
  }
  return true;
}
static_assert(RowsInIdOrder(), "rows must follow the order of ControlId");

}  // namespace

std::span<const ControlDefinition> ControlTable() { return kControls; }

const ControlDefinition& DefinitionOf(ControlId id) { return kControls[IndexOf(id)]; }

}  // namespace quillon
