#pragma once
// The main window over native substitutes, opened the way the program opens it
// (construct, then load) on a registry seeded first. Registry values are
// written "<place>:<name>=<data>", with places machine (the default view),
// machine64 (the 64-bit view of 64-bit Windows), user, legacy, savedialog,
// environment and userenvironment, and data a number or a "text"; controls "<control>=<text>" or
// the value of a check box. Lists of them end each entry with a ";".
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "model/AdminUtilityMain.h"
#include "model/ControlModel.h"
#include "model/substitute/RecordedOpenFileDialog.h"
#include "model/substitute/RecordedPrinters.h"
#include "crypto/substitute/SubstituteHelperLibrary.h"
#include "platform/substitute/RecordedMessageBoxes.h"
#include "settings/substitute/RecordedEnvironmentBroadcast.h"
#include "settings/substitute/SubstituteRegistry.h"

namespace quillon {

using Windows = SubstituteRegistry::Windows;
using Lines = std::vector<std::string>;

struct PlaceLabel {
  std::string_view label;
  FoundAt at;
};
inline constexpr PlaceLabel kPlaceLabels[] = {
    {"machine", FoundAt::MachineKey},   {"machine64", FoundAt::MachineKey64BitView},
    {"user", FoundAt::UserKey},         {"legacy", FoundAt::LegacyUserKey},
    {"savedialog", FoundAt::SaveDialogKey}, {"environment", FoundAt::EnvironmentKey},
    {"userenvironment", FoundAt::UserEnvironmentKey}};

inline const CopyPlace& PlaceLabelled(std::string_view label) {
  return PlaceOf(std::ranges::find(kPlaceLabels, label, &PlaceLabel::label)->at);
}

inline Lines Split(std::string_view list) {
  Lines entries;
  for (std::size_t end; (end = list.find(';')) != list.npos; list.remove_prefix(end + 1)) {
    const std::string_view entry = list.substr(0, end);
    entries.emplace_back(entry.substr(std::min(entry.find_first_not_of(" \n"), entry.size())));
  }
  return entries;
}

inline ControlId IdNamed(std::string_view name) {
  return static_cast<ControlId>(std::ranges::find(kControlNames, name) - kControlNames.begin());
}

// A value as seeded: "<place>:<name>=<data>". Data "text" is a REG_SZ, a
// number a REG_DWORD, hex:0a0b REG_BINARY bytes and multi:"text" a
// REG_MULTI_SZ of one string.
struct SeededValue {
  const CopyPlace& place;
  std::string name;
  std::uint32_t type;
  std::vector<std::uint8_t> data;
};
inline SeededValue ParseSeed(const std::string& line) {
  const std::size_t colon = line.find(':');
  const std::size_t equals = line.find('=');
  std::string data = line.substr(equals + 1);
  std::uint32_t type = kRegDword;
  std::vector<std::uint8_t> bytes;
  if (data.starts_with("hex:")) {
    type = kRegBinary;
    for (std::size_t at = 4; at + 1 < data.size(); at += 2)
      bytes.push_back(static_cast<std::uint8_t>(std::stoi(data.substr(at, 2), nullptr, 16)));
  } else if (data[0] == '"' || data.starts_with("multi:")) {
    type = data[0] == '"' ? kRegSz : kRegMultiSz;
    data = data.substr(data.find('"') + 1);
    data.back() = '\0';
    if (type == kRegMultiSz) data += '\0';
    bytes.assign(data.begin(), data.end());
  } else {
    const auto number = DwordBytes(std::stoi(data));
    bytes.assign(number.begin(), number.end());
  }
  return {PlaceLabelled(line.substr(0, colon)), line.substr(colon + 1, equals - colon - 1), type,
          bytes};
}

struct Session {
  explicit Session(Windows windows = Windows::Bits64) : registry(windows) {}

  AdminUtilityMain& Open() {
    window.emplace(AdminUtilityPorts{
        controls, dialog, {".", ","}, registry, messages, printers, broadcast, library});
    window->Form_Load();
    return *window;
  }
  void Seed(const std::string& line) {
    const SeededValue value = ParseSeed(line);
    registry.PutValue(value.place.location.root, value.place.location.path, value.place.view,
                      value.name, value.type, value.data);
  }
  // The key of a place, as seeded, refuses every open.
  void Deny(std::string_view label) {
    const CopyPlace& at = PlaceLabelled(label);
    registry.deniedKeys.insert(registry.PhysicalKey(at.location.root, at.location.path, at.view));
  }
  // Every value but the processor architecture, sorted.
  Lines Describe() const {
    Lines lines;
    for (auto [key, value] : registry.values) {
      const auto place = std::ranges::find_if(kPlaceLabels, [&](const PlaceLabel& label) {
        const CopyPlace& at = PlaceOf(label.at);
        return key.first == registry.PhysicalKey(at.location.root, at.location.path, at.view);
      });
      std::string text(value.data.begin(), value.data.end());
      std::erase(text, '\0');
      value.data.resize(kDwordSize);
      const auto number = DwordNumber({value.data[0], value.data[1], value.data[2], value.data[3]});
      if (value.name == kProcessorArchitectureValue) continue;
      lines.push_back((place == std::end(kPlaceLabels) ? key.first : std::string(place->label)) + ":" +
                      value.name + "=" +
                      (value.type == kRegDword ? std::to_string(number) : '"' + text + '"'));
    }
    std::ranges::sort(lines);
    return lines;
  }

  std::string Shown(ControlId id) const {
    return DefinitionOf(id).kind == ControlKind::kCheckBox ? std::to_string(controls.Value(id))
                                                           : controls.Text(id);
  }
  // "<control>=<what it shows>" of every control.
  Lines Snapshot() const {
    Lines shown;
    for (const ControlDefinition& c : ControlTable())
      shown.push_back(std::string(ControlName(c.id)) + "=" + Shown(c.id));
    return shown;
  }
  // Types a text into its control, sets a check box, or clicks a button and
  // chooses the file in its dialog (none: cancels it).
  void Type(const std::string& entry) {
    const ControlId id = IdNamed(entry.substr(0, entry.find('=')));
    const std::string typed = entry.substr(entry.find('=') + 1);
    if (DefinitionOf(id).kind == ControlKind::kCheckBox)
      return controls.SetValue(id, std::stoi(typed));
    if (DefinitionOf(id).kind != ControlKind::kButton) return controls.SetText(id, typed);
    if (!typed.empty()) dialog.answer = typed;
    window->Click(id);
  }

  ControlModel controls;
  RecordedOpenFileDialog dialog;
  SubstituteRegistry registry;
  RecordedMessageBoxes messages;
  // Only the first printer named exactly "Quillon" is to be made current.
  RecordedPrinters printers{{"Office", "quillon", "Quillon", "Quillon"}, "Office"};
  RecordedEnvironmentBroadcast broadcast;
  SubstituteHelperLibrary library;
  std::optional<AdminUtilityMain> window;
};

// After a pass: the eight machine numbers every pass writes, 0 unless the
// list gives them, and the rest of the list; sorted.
inline Lines Pass(std::string_view list) {
  Lines lines = Split(list);
  for (const std::string& zero :
       Split("machine:PDFMailResolveNames=0; machine:PDFPreview=0; machine:default options=0; "
             "machine:default options mask=0; machine:default permissions=0; machine:default "
             "permissions mask=0; machine:disable autoname keyboard check=0; machine:disabled "
             "options=0;")) {
    const std::string value = zero.substr(0, zero.size() - 1);
    if (std::ranges::none_of(lines, [&](const std::string& l) { return l.starts_with(value); })) {
      lines.push_back(zero);
    }
  }
  std::ranges::sort(lines);
  return lines;
}

}  // namespace quillon
