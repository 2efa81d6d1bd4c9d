// The main window's control handlers and the tables that drive them.
#include "model/AdminUtilityMain.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "model/SettingsLoad.h"

namespace quillon {
namespace {

using Id = ControlId;

constexpr const char* kSettingsSaved = "Settings saved.";
constexpr const char* kNotAllSaved =
    "Not all settings were saved: the messages before this one name what failed. The window "
    "stays open with your entries, so that you can apply them again.";

// Open-file request flags, with their Win32 (OFN_*) values.
constexpr unsigned kOfnHideReadOnly = 0x4;
constexpr unsigned kOfnFileMustExist = 0x1000;
constexpr unsigned kOfnNoNetworkButton = 0x20000;
constexpr unsigned kOfnAnyName = kOfnHideReadOnly | kOfnNoNetworkButton;

struct Picker {
  ControlId button;
  std::string_view title;
  unsigned flags;
  ControlId target;
};

// The three job files may name files that do not exist yet; only the default
// watermark must exist when it is chosen.
constexpr Picker kPickers[] = {
    {Id::btnSelectPDFFileName, "Select the PDF file", kOfnAnyName, Id::txtPDFFileName},
    {Id::btnSelectMergeFile, "Select the PDF file to merge", kOfnAnyName, Id::txtMergeFile},
    {Id::btnSelectWatermarkFile, "Select the Watermark PDF file", kOfnAnyName,
     Id::txtWatermarkFile},
    {Id::btnSelectWatermark, "Select a watermark PDF file", kOfnAnyName | kOfnFileMustExist,
     Id::txtDefaultWatermarkFile},
};

// For a button without a row the search runs off the end of the table, which
// is not a constant expression, so such a call does not build.
consteval const Picker& PickerOf(ControlId button) {
  std::size_t index = 0;
  while (kPickers[index].button != button) ++index;
  return kPickers[index];
}

// Controls greyed while the text of their source box is empty. Only the empty
// text counts as empty: blanks are a name.
struct EnablingGroup {
  ControlId source;
  std::span<const ControlId> members;
};

constexpr ControlId kFileNameDependents[] = {
    Id::txtMergeFile, Id::txtWatermarkFile, Id::cboMergeCommand, Id::cboWatermarkCommand,
    Id::lblAppend,    Id::lblApply,         Id::lblWatermarkFile};
constexpr ControlId kWatermarkDependents[] = {Id::lblWatermark, Id::lblWatermarkPre,
                                              Id::lblWatermarkPost, Id::txtExcludeWatermarkPre,
                                              Id::txtExcludeWatermarkPost};

constexpr EnablingGroup kFileNameGroup{Id::txtPDFFileName, kFileNameDependents};
constexpr EnablingGroup kWatermarkGroup{Id::txtWatermarkFile, kWatermarkDependents};

using Handler = void (AdminUtilityMain::*)();

struct HandlerRow {
  ControlId control;
  Handler handler;
};

constexpr HandlerRow kChangeHandlers[] = {
    {Id::txtPDFFileName, &AdminUtilityMain::txtPDFFileName_Change},
    {Id::txtWatermarkFile, &AdminUtilityMain::txtWatermarkFile_Change},
    {Id::txtExcludeWatermarkPre, &AdminUtilityMain::txtExcludeWatermarkPre_Change},
    {Id::txtExcludeWatermarkPost, &AdminUtilityMain::txtExcludeWatermarkPost_Change},
};

constexpr HandlerRow kClickHandlers[] = {
    {Id::btnApply, &AdminUtilityMain::btnApply_Click},
    {Id::Command2, &AdminUtilityMain::Command2_Click},
    {Id::btnTestFile, &AdminUtilityMain::btnTestFile_Click},
    {Id::btnSelectPDFFileName, &AdminUtilityMain::btnSelectPDFFileName_Click},
    {Id::btnSelectMergeFile, &AdminUtilityMain::btnSelectMergeFile_Click},
    {Id::btnSelectWatermarkFile, &AdminUtilityMain::btnSelectWatermarkFile_Click},
    {Id::btnSelectWatermark, &AdminUtilityMain::btnSelectWatermark_Click},
};

void RunHandlerOf(std::span<const HandlerRow> rows, ControlId control, AdminUtilityMain& window) {
  const auto row = std::ranges::find(rows, control, &HandlerRow::control);
  if (row != rows.end()) (window.*(row->handler))();
}

void PickFile(const Picker& picker, const AdminUtilityPorts& ports) {
  const std::optional<std::string> path =
      ports.openFileDialog.Choose({.title = std::string(picker.title), .flags = picker.flags});
  if (path) ports.controls.SetText(picker.target, *path);
}

void SwitchGroup(const EnablingGroup& group, Controls& controls) {
  const bool enabled = !controls.Text(group.source).empty();
  for (ControlId member : group.members) controls.SetEnabled(member, enabled);
}

// The whole text becomes "0", not the text without its offending characters.
// Setting "0" notifies again, and "0" is numeric, so the second round stops.
void KeepNumeric(ControlId box, const AdminUtilityPorts& ports) {
  if (!IsNumeric(ports.controls.Text(box), ports.numberSeparators)) {
    ports.controls.SetText(box, "0");
  }
}

}  // namespace

AdminUtilityMain::AdminUtilityMain(AdminUtilityPorts ports)
    : ports_(std::move(ports)),
      registry_(ports_.registry, ports_.messageBoxes),
      locations_(registry_),
      passwords_(locations_, ports_.helperLibrary) {
  ports_.controls.SetChangeListener([this](ControlId textBox) { OnTextChanged(textBox); });
}

AdminUtilityMain::~AdminUtilityMain() { ports_.controls.SetChangeListener({}); }

void AdminUtilityMain::OnTextChanged(ControlId textBox) {
  RunHandlerOf(kChangeHandlers, textBox, *this);
}

void AdminUtilityMain::Click(ControlId button) { RunHandlerOf(kClickHandlers, button, *this); }

void AdminUtilityMain::Form_Load(LookDepth depth) {
  record_ = SettingsLoad(ports_.controls, locations_, depth, passwords_, ports_.messageBoxes).Run();
  passwordsNotShown_ = record_.passwordsNotShown;
  txtPDFFileName_Change();
}

ApplyOutcome AdminUtilityMain::ApplySettings() {
  return SettingsApply({.controls = ports_.controls,
                        .numberSeparators = ports_.numberSeparators,
                        .locations = locations_,
                        .passwords = passwords_,
                        .environmentBroadcast = ports_.environmentBroadcast,
                        .messageBoxes = ports_.messageBoxes},
                       passwordsNotShown_)
      .Run();
}

void AdminUtilityMain::btnApply_Click() {
  switch (ApplySettings()) {
    case ApplyOutcome::Refused:
      return;
    case ApplyOutcome::NotAllSaved:
      WarnNotAllSaved();
      return;
    case ApplyOutcome::Saved:
      ports_.messageBoxes.Show(kSettingsSaved, kWindowMessageTitle, kMbOk);
      locations_.ClearProductValue(std::string(kTitleValueName));
      ports_.controls.Close();
      return;
  }
}

void AdminUtilityMain::WarnNotAllSaved() { ShowWindowWarning(ports_.messageBoxes, kNotAllSaved); }

void AdminUtilityMain::Command2_Click() { ports_.controls.Close(); }

void AdminUtilityMain::btnSelectPDFFileName_Click() {
  PickFile(PickerOf(Id::btnSelectPDFFileName), ports_);
}

void AdminUtilityMain::btnSelectMergeFile_Click() {
  PickFile(PickerOf(Id::btnSelectMergeFile), ports_);
}

void AdminUtilityMain::btnSelectWatermarkFile_Click() {
  PickFile(PickerOf(Id::btnSelectWatermarkFile), ports_);
}

void AdminUtilityMain::btnSelectWatermark_Click() {
  PickFile(PickerOf(Id::btnSelectWatermark), ports_);
}

void AdminUtilityMain::txtPDFFileName_Change() { SwitchGroup(kFileNameGroup, ports_.controls); }

void AdminUtilityMain::txtWatermarkFile_Change() { SwitchGroup(kWatermarkGroup, ports_.controls); }

void AdminUtilityMain::txtExcludeWatermarkPre_Change() {
  KeepNumeric(Id::txtExcludeWatermarkPre, ports_);
}

void AdminUtilityMain::txtExcludeWatermarkPost_Change() {
  KeepNumeric(Id::txtExcludeWatermarkPost, ports_);
}

}  // namespace quillon
