#pragma once
// The names of the main window's controls. The list below is the one place
// where a control name is spelled: it yields both the enumerators and the
// names the window and its tests show, so the two cannot drift apart. The
// order is that of the controls table (Apply and Cancel, then each page in
// reading order), and the table is indexed by it.
#include <array>
#include <cstddef>
#include <string_view>

namespace quillon {

#define QUILLON_CONTROL_NAMES(X)                                                                 \
  X(btnApply) X(Command2)                                                                        \
  /* File Save */                                                                                \
  X(Label5) X(txtDefaultPath) X(Label20) X(txtDefaultWatermarkFile) X(btnSelectWatermark)        \
  X(chkSendPDF) X(chkDocumentTitle) X(chkDeleteAfterSending) X(chkDocumentAuthor) X(chkViewPDF)  \
  X(chkChangeWatermark) X(chkPrintPDF) X(chkBestImageQuality) X(chkDisableAppendReplace)         \
  X(chkApplyWatermark)                                                                           \
  /* Email */                                                                                    \
  X(Label6) X(txtMailSubject) X(Label7) X(txtMailAddress) X(Label11) X(txtMailCCAddress)         \
  X(Label8) X(txtMailBody) X(chkResolveNames)                                                    \
  /* File Name */                                                                                \
  X(Label2) X(txtPDFFileName) X(btnSelectPDFFileName) X(txtAutoNameContentSearchWord) X(Label1)  \
  X(Label9) X(chkPostActionWait) X(txtPostAction) X(cboMergeCommand) X(lblAppend)                \
  X(txtMergeFile) X(btnSelectMergeFile) X(cboWatermarkCommand) X(lblApply) X(lblWatermarkFile)   \
  X(txtWatermarkFile) X(btnSelectWatermarkFile) X(lblWatermark) X(txtExcludeWatermarkPre)        \
  X(lblWatermarkPre) X(txtExcludeWatermarkPost) X(lblWatermarkPost) X(chkApplyToAllUsers)        \
  X(chkPersistent) X(btnTestFile)                                                                \
  /* Troubleshooting */                                                                          \
  X(Label12) X(txtQuillonTEMP) X(chkDisableResizing) X(chkUseQuillonDestkopPreview)              \
  X(chkDisableAutoNameKeyboardCheck) X(txtAutoMergeInterval) X(lblAutoMergeInterval)             \
  X(txtAppendErrorRetryCount) X(lblAppendRetry) X(txtCopyErrorRetryCount)                        \
  X(lblCopyErrorRetryCount) X(txtRenameErrorRetryCount) X(lblRenameError)                        \
  X(txtDeleteErrorRetryCount) X(lblDeleteErrorRetryCount)                                        \
  /* Security */                                                                                 \
  X(Label13) X(chkUserPassEnabled) X(txtUserPass) X(Label14) X(txtMasterPass)                    \
  X(chkMasterPassEnabled) X(Label15) X(cboEncryptLevel) X(chkEncryptLevelEnabled) X(Label16)     \
  X(cboPrintPermission) X(chkPrintEnabled) X(Label17) X(cboCopyPermission) X(chkCopyEnabled)     \
  X(Label18) X(cboModifyPermission) X(chkModifyEnabled)

enum class ControlId {
#define QUILLON_CONTROL_ENUMERATOR(name) name,
  QUILLON_CONTROL_NAMES(QUILLON_CONTROL_ENUMERATOR)
#undef QUILLON_CONTROL_ENUMERATOR
};

inline constexpr std::array kControlNames = {
#define QUILLON_CONTROL_NAME(name) std::string_view(#name),
    QUILLON_CONTROL_NAMES(QUILLON_CONTROL_NAME)
#undef QUILLON_CONTROL_NAME
};

inline constexpr std::size_t kControlCount = kControlNames.size();

#undef QUILLON_CONTROL_NAMES

constexpr std::size_t IndexOf(ControlId id) { return static_cast<std::size_t>(id); }

constexpr std::string_view ControlName(ControlId id) { return kControlNames[IndexOf(id)]; }

}  // namespace quillon
